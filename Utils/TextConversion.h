#pragma once

#include <string>
#include <string_view>

// Directory text is Windows-1251 in memory and UTF-8 in the database.

// Every byte from 0x80 up becomes its character's UTF-8 form; 0x98, unassigned, is dropped.
std::string Cp1251ToUtf8(std::string_view source);

// Characters without a Windows-1251 form, and malformed UTF-8, become "?".
std::string Utf8ToCp1251(std::string_view source);

// For text read from the database. Earlier versions stored some fields without conversion, so
// a text that is not valid UTF-8 is taken to be Windows-1251 already and kept as it is.
std::string StoredTextToCp1251(std::string_view source);
