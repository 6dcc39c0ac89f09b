#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The program's JSON reader: replies of the remote service become a tree of JSONValue nodes.
// Texts are 16-bit code units; a node owns its whole subtree.
class JSONValue;
using JSONArray = std::vector<std::unique_ptr<JSONValue>>;
using JSONObject = std::map<std::u16string, std::unique_ptr<JSONValue>>;

enum class JSONKind { Null = 0, String = 1, Bool = 2, Number = 3, Array = 4, Object = 5 };

class JSONValue {
public:
    JSONValue() = default;
    explicit JSONValue(std::u16string text) : value_(std::move(text)) {}
    explicit JSONValue(bool flag) : value_(flag) {}
    explicit JSONValue(double number) : value_(number) {}
    explicit JSONValue(JSONArray array) : value_(std::move(array)) {}
    explicit JSONValue(JSONObject object) : value_(std::move(object)) {}

    JSONKind Kind() const { return static_cast<JSONKind>(value_.index()); }
    bool IsString() const { return Kind() == JSONKind::String; }
    bool IsArray() const { return Kind() == JSONKind::Array; }
    bool IsObject() const { return Kind() == JSONKind::Object; }
    // Only after the matching kind test.
    const std::u16string& AsString() const { return std::get<std::u16string>(value_); }
    bool AsBool() const { return std::get<bool>(value_); }
    double AsNumber() const { return std::get<double>(value_); }
    const JSONArray& AsArray() const { return std::get<JSONArray>(value_); }
    const JSONObject& AsObject() const { return std::get<JSONObject>(value_); }

private:
    std::variant<std::monostate, std::u16string, bool, double, JSONArray, JSONObject> value_;
};

// The most values one document may hold: each costs far more memory than its text, so a reply
// of a few megabytes could otherwise take gigabytes.
constexpr std::size_t kMaxJsonValues = 200000;

// The root of `text`, or null when it is not one complete JSON value (or nests deeper than
// the reader goes, or holds more than `maxValues` values).
std::unique_ptr<JSONValue> ParseJson(std::u16string_view text,
                                     std::size_t maxValues = kMaxJsonValues);

// Reply bytes to code units and back, one unit per byte: the bytes come through unchanged.
std::u16string WidenBytes(std::string_view bytes);
std::string NarrowUnits(std::u16string_view units);

// The service's replies: a root Array whose Object elements carry String fields.
const JSONArray* RootArray(const JSONValue* root);
// The field `key` of an element narrowed to bytes, or empty when the element is no Object or
// the field is missing or no String.
std::string StringField(const JSONValue& element, std::u16string_view key);
