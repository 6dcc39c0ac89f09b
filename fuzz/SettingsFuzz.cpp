// config.ini of any bytes: it loads, a value set reads back whole after the save, and every
// section and key the program does not know is kept with its value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/IniFile.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzWorkDir.h"

namespace {
void WriteFile(std::string_view bytes) {
    std::FILE* file = std::fopen("config.ini", "wb");
    if (file == nullptr) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// A value as the program sets one: a port path or a speed, one line without blanks at its ends.
std::string ValueOf(std::string_view bytes) {
    std::string value;
    for (const char c : bytes) {
        if (c != '\0' && c != '\r' && c != '\n') value += c;
    }
    const std::size_t first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return "/dev/ttyUSB0";
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}
}  // namespace

// The first line is the value to set, the rest the file as it was.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CScratchWorkDir workDir;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string value = ValueOf(input.substr(0, newline));
    const std::string_view file =
        newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);
    WriteFile(file);

    // What the store holds after the set: the same library over the same bytes.
    CSimpleIniA expected(false, false, false);
    expected.LoadData(file.data(), file.size());
    CSimpleIniA::TNamesDepend sections;
    expected.GetAllSections(sections);
    // A "[" line without its "]" makes the library run the section name on over the next
    // lines; what it does with that is its own affair, and no file the program writes has one.
    for (const auto& section : sections) {
        if (std::string_view(section.pItem).find_first_of("\r\n") != std::string_view::npos)
            return 0;
    }
    expected.SetValue("SERIAL", "COM", value.c_str());
    {
        CIniFile settings;
        settings.SetValue("SERIAL", "COM", value.c_str());
    }

    const CIniFile reread;
    CIniValue read;
    reread.GetValue("SERIAL", "COM", read);
    FUZZ_CHECK(read == value);
    sections.clear();
    expected.GetAllSections(sections);
    for (const auto& section : sections) {
        CSimpleIniA::TNamesDepend keys;
        expected.GetAllKeys(section.pItem, keys);
        for (const auto& key : keys) {
            CIniValue kept = "\x01missing";
            reread.GetValue(section.pItem, key.pItem, kept);
            FUZZ_CHECK(kept == expected.GetValue(section.pItem, key.pItem, ""));
        }
    }
    return 0;
}
