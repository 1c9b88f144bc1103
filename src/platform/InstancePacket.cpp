#include "platform/InstancePacket.h"

#include <cstring>

namespace dravik::platform {
namespace {

constexpr uint8_t kMagic[4] = {'D', 'R', 'V', 'K'};
constexpr uint8_t kVersion = 1;
// magic, version, kind, name length (2), id (4), wParam (8), lParam (8), dwData (4), data length
// (4)
constexpr size_t kHeader = 4 + 1 + 1 + 2 + 4 + 8 + 8 + 4 + 4;

template <typename T>
void Put(std::vector<uint8_t>& out, T v) {
    for (size_t i = 0; i < sizeof(T); ++i)
        out.push_back(static_cast<uint8_t>(uint64_t(v) >> (8 * i)));
}

template <typename T>
T Get(const uint8_t* p) {
    uint64_t v = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        v |= uint64_t(p[i]) << (8 * i);
    return static_cast<T>(v);
}

}  // namespace

std::vector<uint8_t> EncodeInstancePacket(const InstancePacket& p) {
    std::vector<uint8_t> out(kMagic, kMagic + 4);
    out.push_back(kVersion);
    out.push_back(static_cast<uint8_t>(p.kind));
    Put<uint16_t>(out, static_cast<uint16_t>(p.name.size()));
    Put<uint32_t>(out, p.id);
    Put<uint64_t>(out, p.wParam);
    Put<int64_t>(out, p.lParam);
    Put<uint32_t>(out, p.dwData);
    Put<uint32_t>(out, static_cast<uint32_t>(p.data.size()));
    out.insert(out.end(), p.name.begin(), p.name.end());
    out.insert(out.end(), p.data.begin(), p.data.end());
    return out;
}

std::optional<InstancePacket> DecodeInstancePacket(const uint8_t* b, size_t size) {
    if (!b || size < kHeader || size > kMaxInstancePacket)
        return std::nullopt;
    if (std::memcmp(b, kMagic, 4) != 0 || b[4] != kVersion)
        return std::nullopt;
    InstancePacket p;
    if (b[5] != 1 && b[5] != 2)
        return std::nullopt;
    p.kind = static_cast<InstancePacket::Kind>(b[5]);
    size_t nameLen = Get<uint16_t>(b + 6);
    p.id = Get<uint32_t>(b + 8);
    p.wParam = Get<uint64_t>(b + 12);
    p.lParam = Get<int64_t>(b + 20);
    p.dwData = Get<uint32_t>(b + 28);
    size_t dataLen = Get<uint32_t>(b + 32);
    if (nameLen > kMaxMessageName || kHeader + nameLen + dataLen != size)
        return std::nullopt;
    p.name.assign(reinterpret_cast<const char*>(b + kHeader), nameLen);
    if (p.name.find('\0') != std::string::npos)
        return std::nullopt;
    if (p.kind == InstancePacket::Kind::Message && p.name.empty() && p.id == 0)
        return std::nullopt;
    p.data.assign(b + kHeader + nameLen, b + size);
    return p;
}

}  // namespace dravik::platform
