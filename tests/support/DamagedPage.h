#pragma once

#include <filesystem>
#include <string>

// Overwrites the root page of `table` in the database file at `path` with bytes no page holds,
// as a failing disk or a copy cut short leaves one. False when the table is not found. A
// connection that has the page in its cache may not see the damage: open a new one.
bool DamageTable(const std::filesystem::path& path, const std::string& table);
