#include "update/Json.h"

#include <cmath>

namespace {

// Deep enough for any reply of the service; a hostile nesting must not exhaust the stack.
constexpr int kMaxDepth = 64;

class CJsonReader {
public:
    CJsonReader(std::u16string_view text, std::size_t maxValues)
        : text_(text), valuesLeft_(maxValues) {}

    std::unique_ptr<JSONValue> Document() {
        if (!SkipWhitespace()) return nullptr;
        auto value = Value(0);
        if (value == nullptr || SkipWhitespace()) return nullptr;
        return value;
    }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char16_t Peek() const { return text_[pos_]; }

    // Moves over blanks; true when a character is left.
    bool SkipWhitespace() {
        while (!AtEnd() &&
               (Peek() == u' ' || Peek() == u'\t' || Peek() == u'\r' || Peek() == u'\n'))
            ++pos_;
        return !AtEnd();
    }

    // The word at the cursor, compared without regard to case.
    bool Word(std::u16string_view word) {
        if (text_.size() - pos_ < word.size()) return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            char16_t c = text_[pos_ + i];
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
            if (c != word[i]) return false;
        }
        pos_ += word.size();
        return true;
    }

    std::unique_ptr<JSONValue> Value(int depth) {
        if (depth > kMaxDepth || AtEnd() || valuesLeft_ == 0) return nullptr;
        --valuesLeft_;
        const char16_t c = Peek();
        if (c == u'"') {
            ++pos_;
            std::u16string text;
            if (!String(text)) return nullptr;
            return std::make_unique<JSONValue>(std::move(text));
        }
        if (c == u't' || c == u'T' || c == u'f' || c == u'F') {
            if (Word(u"true")) return std::make_unique<JSONValue>(true);
            if (Word(u"false")) return std::make_unique<JSONValue>(false);
            return nullptr;
        }
        if (c == u'n' || c == u'N') return Word(u"null") ? std::make_unique<JSONValue>() : nullptr;
        if (c == u'-' || (c >= u'0' && c <= u'9')) return Number();
        if (c == u'[') return Array(depth);
        if (c == u'{') return Object(depth);
        return nullptr;
    }

    static int HexDigit(char16_t c) {
        if (c >= u'0' && c <= u'9') return c - u'0';
        if (c >= u'a' && c <= u'f') return c - u'a' + 10;
        if (c >= u'A' && c <= u'F') return c - u'A' + 10;
        return -1;
    }

    // After the opening quotation mark.
    bool String(std::u16string& text) {
        while (!AtEnd()) {
            const char16_t c = text_[pos_++];
            if (c == u'"') return true;
            if (c < 32 && c != u'\t') return false;
            if (c != u'\\') {
                text.push_back(c);
                continue;
            }
            if (AtEnd()) return false;
            switch (text_[pos_++]) {
                case u'"':
                    text.push_back(u'"');
                    break;
                case u'/':
                    text.push_back(u'/');
                    break;
                case u'\\':
                    text.push_back(u'\\');
                    break;
                case u'b':
                    text.push_back(8);
                    break;
                case u'f':
                    text.push_back(12);
                    break;
                case u'n':
                    text.push_back(10);
                    break;
                case u'r':
                    text.push_back(13);
                    break;
                case u't':
                    text.push_back(9);
                    break;
                case u'u': {
                    if (text_.size() - pos_ < 4) return false;
                    unsigned unit = 0;
                    for (int i = 0; i < 4; ++i) {
                        const int digit = HexDigit(text_[pos_++]);
                        if (digit < 0) return false;
                        unit = unit * 16 + static_cast<unsigned>(digit);
                    }
                    text.push_back(static_cast<char16_t>(unit));
                    break;
                }
                default:
                    return false;
            }
        }
        return false;
    }

    bool Digit() const { return !AtEnd() && Peek() >= u'0' && Peek() <= u'9'; }

    std::unique_ptr<JSONValue> Number() {
        const bool negative = Peek() == u'-';
        if (negative) ++pos_;
        if (!Digit()) return nullptr;
        double value = 0;
        if (Peek() == u'0') {
            ++pos_;
        } else {
            while (Digit()) value = value * 10 + (text_[pos_++] - u'0');
        }
        if (!AtEnd() && Peek() == u'.') {
            ++pos_;
            if (!Digit()) return nullptr;
            double factor = 0.1;
            while (Digit()) {
                value += (text_[pos_++] - u'0') * factor;
                factor *= 0.1;
            }
        }
        if (!AtEnd() && (Peek() == u'e' || Peek() == u'E')) {
            ++pos_;
            bool down = false;
            if (!AtEnd() && (Peek() == u'+' || Peek() == u'-')) down = text_[pos_++] == u'-';
            if (!Digit()) return nullptr;
            // Beyond a thousand every double is already zero or infinite: the exponent stops
            // growing there, and one power replaces the steps.
            int exponent = 0;
            while (Digit()) {
                exponent = exponent * 10 + (text_[pos_++] - u'0');
                if (exponent > 1000) exponent = 1000;
            }
            // A zero mantissa stays zero and an overflowed one infinite: 0 times an infinite
            // power, or the reverse, would give no number at all.
            if (value != 0 && !std::isinf(value))
                value *= std::pow(10.0, down ? -exponent : exponent);
        }
        return std::make_unique<JSONValue>(negative ? -value : value);
    }

    std::unique_ptr<JSONValue> Array(int depth) {
        ++pos_;
        JSONArray items;
        for (;;) {
            if (!SkipWhitespace()) return nullptr;
            if (items.empty() && Peek() == u']') {
                ++pos_;
                break;
            }
            auto item = Value(depth + 1);
            if (item == nullptr) return nullptr;
            items.push_back(std::move(item));
            if (!SkipWhitespace()) return nullptr;
            const char16_t c = text_[pos_++];
            if (c == u']') break;
            if (c != u',') return nullptr;
        }
        return std::make_unique<JSONValue>(std::move(items));
    }

    std::unique_ptr<JSONValue> Object(int depth) {
        ++pos_;
        JSONObject members;
        for (;;) {
            if (!SkipWhitespace()) return nullptr;
            if (members.empty() && Peek() == u'}') {
                ++pos_;
                break;
            }
            if (Peek() != u'"') return nullptr;
            ++pos_;
            std::u16string key;
            if (!String(key)) return nullptr;
            if (!SkipWhitespace() || text_[pos_++] != u':') return nullptr;
            if (!SkipWhitespace()) return nullptr;
            auto value = Value(depth + 1);
            if (value == nullptr) return nullptr;
            members[std::move(key)] = std::move(value);  // the last duplicate wins
            if (!SkipWhitespace()) return nullptr;
            const char16_t c = text_[pos_++];
            if (c == u'}') break;
            if (c != u',') return nullptr;
        }
        return std::make_unique<JSONValue>(std::move(members));
    }

    std::u16string_view text_;
    std::size_t valuesLeft_;
    std::size_t pos_ = 0;
};

}  // namespace

std::unique_ptr<JSONValue> ParseJson(std::u16string_view text, std::size_t maxValues) {
    return CJsonReader(text, maxValues).Document();
}

std::u16string WidenBytes(std::string_view bytes) {
    std::u16string units(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) units[i] = static_cast<unsigned char>(bytes[i]);
    return units;
}

std::string NarrowUnits(std::u16string_view units) {
    std::string bytes(units.size(), '\0');
    for (std::size_t i = 0; i < units.size(); ++i) bytes[i] = static_cast<char>(units[i] & 0xFF);
    return bytes;
}

const JSONArray* RootArray(const JSONValue* root) {
    return root != nullptr && root->IsArray() ? &root->AsArray() : nullptr;
}

std::string StringField(const JSONValue& element, std::u16string_view key) {
    if (!element.IsObject()) return {};
    const JSONObject& object = element.AsObject();
    const auto found = object.find(std::u16string(key));
    if (found == object.end() || !found->second->IsString()) return {};
    return NarrowUnits(found->second->AsString());
}
