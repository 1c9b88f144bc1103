#pragma once
// The packet that carries a window message (or a data packet) between processes. Registered
// messages travel by name, because ids are per process.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dravik::platform {

inline constexpr size_t kMaxInstancePacket = 64 * 1024;
inline constexpr size_t kMaxMessageName = 256;

struct InstancePacket {
    enum class Kind : uint8_t { Message = 1, CopyData = 2 };
    Kind kind = Kind::Message;
    std::string name;  // registered message name; empty when id is a plain number
    uint32_t id = 0;   // message number when name is empty
    uint64_t wParam = 0;
    int64_t lParam = 0;
    uint32_t dwData = 0;  // CopyData: the data packet's tag
    std::vector<uint8_t> data;

    bool operator==(const InstancePacket&) const = default;
};

std::vector<uint8_t> EncodeInstancePacket(const InstancePacket& packet);
// Rejects anything that is not exactly one well-formed packet: wrong magic or version, unknown
// kind, lengths that disagree with the size, names too long or with NUL bytes, oversize.
std::optional<InstancePacket> DecodeInstancePacket(const uint8_t* bytes, size_t size);

}  // namespace dravik::platform
