#include <cstddef>
#include <cstdint>

#include "platform/InstancePacket.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto packet = dravik::platform::DecodeInstancePacket(data, size);
    if (packet) {
        // Whatever decodes must encode back to the same bytes.
        auto again = dravik::platform::EncodeInstancePacket(*packet);
        if (again.size() != size)
            __builtin_trap();
    }
    return 0;
}
