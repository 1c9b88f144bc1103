#include "hidio/HidBackend.h"

#include <cctype>
#include <cstdio>
#include <mutex>

namespace dravik::hidio {
namespace {
std::mutex gBackendsMutex;
std::vector<std::shared_ptr<HidBackend>> gBackends;
}  // namespace

std::vector<std::shared_ptr<HidBackend>> ActiveHidBackends() {
    std::lock_guard lock(gBackendsMutex);
    return gBackends;
}

void SetHidBackends(std::vector<std::shared_ptr<HidBackend>> backends) {
    std::lock_guard lock(gBackendsMutex);
    gBackends = std::move(backends);
}

std::string MakeHidPath(uint16_t vendorId, uint16_t productId, int interfaceNumber,
                        int collectionIndex, int collectionCount, const std::string& backendId) {
    char buf[96];
    int n = std::snprintf(buf, sizeof buf, "\\\\?\\hid#vid_%04x&pid_%04x", vendorId, productId);
    std::string path(buf, static_cast<size_t>(n));
    if (interfaceNumber >= 0) {
        std::snprintf(buf, sizeof buf, "&mi_%02x", interfaceNumber);
        path += buf;
    }
    if (collectionCount > 1) {
        std::snprintf(buf, sizeof buf, "&col%02x", collectionIndex);
        path += buf;
    }
    return path + "#" + backendId;
}

uint32_t HexNumberAfter(const std::string& path, const std::string& marker) {
    auto lower = [](std::string s) {
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    const std::string p = lower(path);
    size_t at = p.find(lower(marker));
    if (at == std::string::npos)
        return 0;
    uint32_t v = 0;
    for (size_t i = at + marker.size();
         i < p.size() && std::isxdigit(static_cast<unsigned char>(p[i])); ++i) {
        v = v * 16 + static_cast<uint32_t>(std::isdigit(static_cast<unsigned char>(p[i]))
                                               ? p[i] - '0'
                                               : p[i] - 'a' + 10);
        if (v > 0x0FFFFFFF)
            break;
    }
    return v;
}

}  // namespace dravik::hidio
