#pragma once
// Tolerant access to members of stored documents. A member that is absent, null or of the wrong
// JSON type reads as its default; integers are cut to the width of their field. Writers turn a
// container of the wrong type into the one they need, so writing never throws.
#include <json/value.h>

#include <cstdint>
#include <optional>
#include <string>

namespace dravik::doc {

// obj[key] when obj is an object holding key, else a null value.
const Json::Value& Member(const Json::Value& obj, const char* key);
// arr[index] when arr is an array that long, else a null value.
const Json::Value& Element(const Json::Value& arr, int64_t index);

// The integer a value stands for: integers (any sign and width, kept modulo 2^64), booleans as
// 0/1, and reals with a finite value within the 64-bit range (cut toward zero). Null, strings,
// arrays and objects have none.
std::optional<int64_t> IntegerOf(const Json::Value& v);

uint8_t ByteOf(const Json::Value& v);     // low 8 bits, default 0
uint16_t WordOf(const Json::Value& v);    // low 16 bits, default 0
int32_t Int32Of(const Json::Value& v);    // low 32 bits as signed, default 0
uint32_t UInt32Of(const Json::Value& v);  // low 32 bits, default 0
// Flags accept an integer (non-zero is true) or a JSON boolean; default false.
bool FlagOf(const Json::Value& v);
// A string member's text; empty for anything else.
std::string TextOf(const Json::Value& v);

// Integers are always written as JSON integers of the signed kind, the kind a reader produces.
inline Json::Value IntValue(int64_t v) {
    return Json::Value(static_cast<Json::Int64>(v));
}
inline Json::Value FlagValue(bool v) {
    return Json::Value(static_cast<Json::Int64>(v ? 1 : 0));
}

// v made an object (when it is not one) and its member key.
Json::Value& ObjectMember(Json::Value& v, const char* key);
// v made an array (when it is not one), grown to hold index, and its element index.
Json::Value& ArrayElement(Json::Value& v, Json::ArrayIndex index);

}  // namespace dravik::doc
