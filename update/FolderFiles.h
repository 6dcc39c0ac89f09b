#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The files of the program's folder as an update reads and writes them: paths below the folder
// ("dst/name", parts joined by "/"), reached without ever going through a link. Whoever can plant
// a link in the folder must not turn a write of the update into one outside it.

enum class LocalKind {
    Missing,
    File,        // a regular file
    Link,        // a link at the path or at one of its folders
    NotRegular,  // a folder, pipe or device where a file should be, or a file where a folder should be
    Unreadable,
};

struct CLocalFile {
    LocalKind kind = LocalKind::Missing;
    std::uint64_t size = 0;  // for a File
    std::string bytes;       // the whole file, read only when its size is `wantedSize`
};

// What is at `relative`. A pipe is never opened for reading, so it cannot hold the update.
CLocalFile InspectFolderFile(const std::filesystem::path& folder, const std::string& relative,
                             std::uint64_t wantedSize);

enum class WriteOutcome { Written, LinkInTheWay, Failed };

// Writes `bytes` as a new file at `relative`: whatever file or link is there is removed (a link
// itself, never what it points to), then the file is created exclusively without following a
// link. Missing folders are made; a link among the folders refuses the write.
WriteOutcome WriteNewFolderFile(const std::filesystem::path& folder, const std::string& relative,
                                std::string_view bytes);

// Renames the file `from` of the folder itself to `to`, replacing what is at `to` itself.
bool RenameFolderFile(const std::filesystem::path& folder, const std::string& from,
                      const std::string& to);

// Removes the file or link at `relative`; a missing one is no failure.
void RemoveFolderFile(const std::filesystem::path& folder, const std::string& relative);
