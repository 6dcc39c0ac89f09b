#pragma once

#include <string>
#include <string_view>

// Directory text is Windows-1251 in memory and UTF-8 in the database.

// Every byte from 0x80 up becomes its character's UTF-8 form; 0x98, unassigned, is dropped.
std::string Cp1251ToUtf8(std::string_view source);

// Characters the code page lacks but has a close form of become that form: the modifier-letter
// apostrophe U+02BC (and U+02BB, U+02B9, U+2032) the typographic U+2019, the hyphens U+2010 to
// U+2012 and the minus sign "-", figure, thin and narrow spaces the no-break space. Other
// characters without a Windows-1251 form, and malformed UTF-8, become "?".
std::string Utf8ToCp1251(std::string_view source);

// For text read from the database. Earlier versions stored some fields without conversion, so
// a text that is not valid UTF-8 is taken to be Windows-1251 already and kept as it is.
std::string StoredTextToCp1251(std::string_view source);

// The characters of a UTF-8 text that Utf8ToCp1251 would turn into "?", each once, in UTF-8.
std::string UnstorableCharacters(std::string_view source);

// Windows-1251 text with its Latin and Cyrillic capitals made small.
std::string Cp1251ToLower(std::string_view source);

void AppendUtf8(std::string& target, char32_t codePoint);
bool IsUtf8(std::string_view source);

// Whether a text read in chunks is valid UTF-8 as a whole; a sequence may be cut between chunks.
class CUtf8Check {
public:
    // False as soon as the text so far cannot be valid UTF-8.
    bool Feed(std::string_view chunk);
    // After the last chunk: false also when the text ends inside a sequence.
    bool Finish();

private:
    std::string carry_;  // the start of a sequence the last chunk cut
    bool valid_ = true;
};
