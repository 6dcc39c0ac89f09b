#pragma once

#include <string>

// The files of an export, named by UTF-8 paths whatever the platform's own encoding of names.

// Makes the folder and those above it as needed; false when it cannot be made or written.
bool MakeWritableFolder(const std::string& path);

enum class NewFile {
    Made,
    Exists,
    Failed,
};

// Makes an empty file at `path` (UTF-8) only when no file of that name is there, in one step,
// so two exports never take the same name.
NewFile MakeNewFile(const std::string& path);
// Moves the file at `from` to `to` (both UTF-8, in one folder) only when no file is named `to`,
// in one step: a complete file appears under its name and never replaces another.
NewFile MoveToNewName(const std::string& from, const std::string& to);
// The name the C library's fopen opens the existing file at `path` (UTF-8) by: on Windows, where
// fopen reads the ANSI code page, its path in that page, or its short name where the page cannot
// hold the folders' names.
std::string CLibraryPath(const std::string& path);
// Removes the file at `path`; false when it could not be removed.
bool RemoveFile(const std::string& path);
