// Gateway replies of any bytes through the JSON reader and the walk over its tree: the nesting
// stays within the reader's bound, and a tree written back out reads as the same tree.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "update/Json.h"

namespace {
// The root and the reader's 64 levels below it.
constexpr int kMaxLevels = 65;

int Levels(const JSONValue& value) {
    int deepest = 0;
    if (value.IsArray()) {
        for (const auto& item : value.AsArray()) deepest = std::max(deepest, Levels(*item));
    } else if (value.IsObject()) {
        for (const auto& [key, item] : value.AsObject()) deepest = std::max(deepest, Levels(*item));
    }
    return deepest + 1;
}

void WriteString(std::u16string& out, const std::u16string& text) {
    out += u'"';
    for (const char16_t unit : text) {
        if (unit == u'"' || unit == u'\\') {
            out += u'\\';
            out += unit;
        } else if (unit < 0x20 || unit >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(unit));
            for (const char* c = escape; *c != '\0'; ++c) out += static_cast<char16_t>(*c);
        } else {
            out += unit;
        }
    }
    out += u'"';
}

void Write(std::u16string& out, const JSONValue& value) {
    switch (value.Kind()) {
        case JSONKind::Null:
            out += u"null";
            return;
        case JSONKind::Bool:
            out += value.AsBool() ? u"true" : u"false";
            return;
        case JSONKind::String:
            return WriteString(out, value.AsString());
        case JSONKind::Number: {
            const double number = value.AsNumber();
            FUZZ_CHECK(!std::isnan(number));
            char text[40];
            if (std::isinf(number)) {
                std::snprintf(text, sizeof text, "%s1e999", number < 0 ? "-" : "");
            } else {
                std::snprintf(text, sizeof text, "%.17g", number);
            }
            for (const char* c = text; *c != '\0'; ++c) out += static_cast<char16_t>(*c);
            return;
        }
        case JSONKind::Array: {
            out += u'[';
            const char16_t* separator = u"";
            for (const auto& item : value.AsArray()) {
                out += separator;
                Write(out, *item);
                separator = u",";
            }
            out += u']';
            return;
        }
        case JSONKind::Object: {
            out += u'{';
            const char16_t* separator = u"";
            for (const auto& [key, item] : value.AsObject()) {
                out += separator;
                WriteString(out, key);
                out += u':';
                Write(out, *item);
                separator = u",";
            }
            out += u'}';
            return;
        }
    }
}

// Numbers are read digit by digit, so a written-back number may differ in its last bits.
bool Near(double a, double b) {
    if (a == b) return true;
    const double difference = std::fabs(a - b);
    return difference <= 1e-12 * std::max(std::fabs(a), std::fabs(b)) || difference < 1e-300;
}

bool Same(const JSONValue& a, const JSONValue& b) {
    if (a.Kind() != b.Kind()) return false;
    switch (a.Kind()) {
        case JSONKind::Null:
            return true;
        case JSONKind::Bool:
            return a.AsBool() == b.AsBool();
        case JSONKind::String:
            return a.AsString() == b.AsString();
        case JSONKind::Number:
            return Near(a.AsNumber(), b.AsNumber());
        case JSONKind::Array: {
            const JSONArray &x = a.AsArray(), &y = b.AsArray();
            if (x.size() != y.size()) return false;
            for (std::size_t i = 0; i < x.size(); ++i)
                if (!Same(*x[i], *y[i])) return false;
            return true;
        }
        case JSONKind::Object: {
            const JSONObject &x = a.AsObject(), &y = b.AsObject();
            if (x.size() != y.size()) return false;
            for (auto i = x.begin(), j = y.begin(); i != x.end(); ++i, ++j)
                if (i->first != j->first || !Same(*i->second, *j->second)) return false;
            return true;
        }
    }
    return false;
}

// The walk the service's replies take: an element's field is its text when it is a String.
void CheckWalk(const JSONValue& root) {
    const JSONArray* elements = RootArray(&root);
    FUZZ_CHECK((elements != nullptr) == root.IsArray());
    if (elements == nullptr) return;
    for (const auto& element : *elements) {
        if (!element->IsObject()) {
            FUZZ_CHECK(StringField(*element, u"name").empty());
            continue;
        }
        for (const auto& [key, value] : element->AsObject()) {
            const std::string field = StringField(*element, key);
            FUZZ_CHECK(field == (value->IsString() ? NarrowUnits(value->AsString()) : ""));
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text =
        WidenBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(NarrowUnits(text).size() == size);
    const std::unique_ptr<JSONValue> root = ParseJson(text);
    if (root == nullptr) return 0;
    FUZZ_CHECK(Levels(*root) <= kMaxLevels);
    CheckWalk(*root);

    std::u16string written;
    Write(written, *root);
    const std::unique_ptr<JSONValue> again = ParseJson(written);
    FUZZ_CHECK(again != nullptr);
    FUZZ_CHECK(Same(*root, *again));
    return 0;
}
