#include "profiles/JsonFields.h"

#include <cmath>

namespace dravik::doc {

namespace {
const Json::Value& NullValue() {
    static const Json::Value null;
    return null;
}
}  // namespace

const Json::Value& Member(const Json::Value& obj, const char* key) {
    if (!obj.isObject())
        return NullValue();
    const Json::Value* found = obj.find(key, key + std::char_traits<char>::length(key));
    return found ? *found : NullValue();
}

const Json::Value& Element(const Json::Value& arr, int64_t index) {
    if (!arr.isArray() || index < 0 || static_cast<uint64_t>(index) >= arr.size())
        return NullValue();
    return arr[static_cast<Json::ArrayIndex>(index)];
}

std::optional<int64_t> IntegerOf(const Json::Value& v) {
    switch (v.type()) {
        case Json::intValue:
            return static_cast<int64_t>(v.asLargestInt());
        case Json::uintValue:
            return static_cast<int64_t>(v.asLargestUInt());
        case Json::booleanValue:
            return v.asBool() ? 1 : 0;
        case Json::realValue: {
            double d = v.asDouble();
            // Only reals that a 64-bit integer can hold; 2^63 itself is already out of range.
            if (!std::isfinite(d) || d < -9223372036854775808.0 || d >= 9223372036854775808.0)
                return std::nullopt;
            return static_cast<int64_t>(std::trunc(d));
        }
        default:
            return std::nullopt;
    }
}

uint8_t ByteOf(const Json::Value& v) {
    return static_cast<uint8_t>(IntegerOf(v).value_or(0) & 0xFF);
}
uint16_t WordOf(const Json::Value& v) {
    return static_cast<uint16_t>(IntegerOf(v).value_or(0) & 0xFFFF);
}
uint32_t UInt32Of(const Json::Value& v) {
    return static_cast<uint32_t>(IntegerOf(v).value_or(0) & 0xFFFFFFFF);
}
int32_t Int32Of(const Json::Value& v) {
    return static_cast<int32_t>(UInt32Of(v));
}
bool FlagOf(const Json::Value& v) {
    return IntegerOf(v).value_or(0) != 0;
}

std::string TextOf(const Json::Value& v) {
    return v.isString() ? v.asString() : std::string();
}

Json::Value& ObjectMember(Json::Value& v, const char* key) {
    if (!v.isObject())
        v = Json::Value(Json::objectValue);
    return v[key];
}

Json::Value& ArrayElement(Json::Value& v, Json::ArrayIndex index) {
    if (!v.isArray())
        v = Json::Value(Json::arrayValue);
    if (index >= v.size())
        v.resize(index + 1);
    return v[index];
}

}  // namespace dravik::doc
