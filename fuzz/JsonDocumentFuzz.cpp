#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/JsonFile.h"

namespace {
// Text values of documents are UTF-8; the writer cannot keep invalid sequences (overlong forms,
// surrogates, code points past U+10FFFF) byte for byte, so the round trip is checked on valid
// input only.
bool ValidUtf8(const uint8_t* p, size_t n) {
    for (size_t i = 0; i < n;) {
        uint8_t c = p[i];
        size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > n)
            return false;
        uint32_t cp = len == 1 ? c : c & (0x7F >> len);
        for (size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        static const uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
            return false;
        i += len;
    }
    return true;
}
// The styled writer writes member names as C strings; a name with a NUL byte cannot survive it.
bool HasNulInNames(const Json::Value& v) {
    if (v.isObject()) {
        for (const auto& name : v.getMemberNames())
            if (name.find('\0') != std::string::npos || HasNulInNames(v[name]))
                return true;
    } else if (v.isArray()) {
        for (const auto& item : v)
            if (HasNulInNames(item))
                return true;
    }
    return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    Json::Value v = dravik::platform::ParseJsonText(text);
    if (!v.isNull() && ValidUtf8(data, size) && !HasNulInNames(v)) {
        // What was read must survive the writer and read back equal.
        Json::Value back = dravik::platform::ParseJsonText(dravik::platform::FormatStyledJson(v));
        if (!(back == v))
            __builtin_trap();
    }
    return 0;
}
