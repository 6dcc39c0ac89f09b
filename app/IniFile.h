#pragma once

#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <string>

// A value read from config.ini, whole: a port path or a list of network links may be long.
using CIniValue = std::string;

// The settings store config.ini in the working directory: 8-bit values, "key = value" lines
// ending in CR LF. The whole file is rewritten on every save, so sections and keys the program
// does not know survive. Failures are not shown: a file that cannot be read is an empty store,
// and a save that fails leaves the old file whole and is logged; the values in memory stay the
// truth.
class CIniFile {
public:
    CIniFile();
    virtual ~CIniFile() = default;

    // Leaves `value` as it is when the key is missing.
    void GetValue(const char* section, const char* key, CIniValue& value) const;
    // Stores the value and saves the whole file at once.
    void SetValue(const char* section, const char* key, const char* value);

private:
    void Load();
    void Save();

    CSimpleIniA ini_{false, false, false};
    int result_ = 0;  // of the last load or save; recorded, never consulted
};
