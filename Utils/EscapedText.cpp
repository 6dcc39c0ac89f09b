#include "Utils/EscapedText.h"

#include "Utils/Format.h"

std::string EscapedControls(std::string_view text) {
    std::string shown;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        const bool c1 = byte == 0xC2 && pos + 1 < text.size() &&
                        static_cast<unsigned char>(text[pos + 1]) < 0xA0;
        if (byte == '\r') {
            shown += "\\r";
        } else if (byte == '\t') {
            shown += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            shown += Format("\\x%02X", byte);
        } else if (c1) {
            shown += Format("\\u%04X", static_cast<unsigned char>(text[++pos]));
        } else {
            shown += static_cast<char>(byte);
        }
    }
    return shown;
}
