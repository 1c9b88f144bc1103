#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/JsonFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    Json::Value v = dravik::platform::ParseJsonText(text);
    if (!v.isNull()) {
        // What was read must survive the writer and read back equal.
        Json::Value back = dravik::platform::ParseJsonText(dravik::platform::FormatStyledJson(v));
        if (!(back == v)) __builtin_trap();
    }
    return 0;
}
