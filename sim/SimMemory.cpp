#include "sim/SimMemory.h"

#include <algorithm>
#include <cstring>

namespace dravik::sim {

const char* AreaName(Area area) {
    switch (area) {
        case Area::Info:
            return "info";
        case Area::Image:
            return "image";
        case Area::Aux:
            return "aux";
        case Area::Profile:
            return "profile";
        case Area::Banks:
            return "banks";
        case Area::Macro:
            return "macro";
        case Area::Shoot:
            return "shoot";
        case Area::Power:
            return "power";
        case Area::Frame:
            return "frame";
    }
    return "";
}

std::optional<Area> AreaFromName(const std::string& name) {
    for (Area a : kAllAreas)
        if (name == AreaName(a))
            return a;
    return std::nullopt;
}

std::string ToTrimmedHex(const std::vector<uint8_t>& bytes) {
    size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == 0)
        --end;
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(end * 2);
    for (size_t i = 0; i < end; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0x0F];
    }
    return out;
}

std::optional<std::vector<uint8_t>> ParseHex(const std::string& text) {
    if (text.size() % 2 != 0)
        return std::nullopt;
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::vector<uint8_t> out;
    out.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        int hi = nibble(text[i]), lo = nibble(text[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out.push_back(static_cast<uint8_t>(hi << 4 | lo));
    }
    return out;
}

SimMemory::SimMemory(const std::map<Area, size_t>& capacities) {
    for (const auto& [area, size] : capacities)
        if (size > 0)
            areas_[area].assign(size, 0);
}

bool SimMemory::Has(Area area) const {
    std::lock_guard lock(m_);
    return areas_.count(area) != 0;
}

size_t SimMemory::Capacity(Area area) const {
    std::lock_guard lock(m_);
    auto it = areas_.find(area);
    return it == areas_.end() ? 0 : it->second.size();
}

bool SimMemory::Read(Area area, size_t address, uint8_t* out, size_t count) const {
    std::lock_guard lock(m_);
    auto it = areas_.find(area);
    if (it == areas_.end() || address > it->second.size() || count > it->second.size() - address)
        return false;
    if (count)
        std::memcpy(out, it->second.data() + address, count);
    return true;
}

bool SimMemory::Write(Area area, size_t address, const uint8_t* in, size_t count) {
    std::lock_guard lock(m_);
    auto it = areas_.find(area);
    if (it == areas_.end() || address > it->second.size() || count > it->second.size() - address)
        return false;
    if (count)
        std::memcpy(it->second.data() + address, in, count);
    return true;
}

std::vector<uint8_t> SimMemory::Bytes(Area area) const {
    std::lock_guard lock(m_);
    auto it = areas_.find(area);
    return it == areas_.end() ? std::vector<uint8_t>() : it->second;
}

void SimMemory::Set(Area area, const std::vector<uint8_t>& bytes) {
    std::lock_guard lock(m_);
    auto it = areas_.find(area);
    if (it == areas_.end())
        return;
    std::fill(it->second.begin(), it->second.end(), 0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), it->second.size()), it->second.begin());
}

void SimMemory::PushLedReport(const uint8_t* report, size_t length) {
    std::lock_guard lock(m_);
    auto it = areas_.find(Area::Frame);
    if (it == areas_.end() || it->second.size() < kLedReportSize * kLedReportsKept)
        return;
    auto& frame = it->second;
    const size_t window = kLedReportSize * kLedReportsKept;
    std::memmove(frame.data(), frame.data() + kLedReportSize, window - kLedReportSize);
    uint8_t* last = frame.data() + window - kLedReportSize;
    std::memset(last, 0, kLedReportSize);
    std::memcpy(last, report, std::min(length, kLedReportSize));
}

Json::Value SimMemory::AreasToJson() const {
    std::lock_guard lock(m_);
    Json::Value out(Json::objectValue);
    for (const auto& [area, bytes] : areas_)
        out[AreaName(area)] = ToTrimmedHex(bytes);
    return out;
}

size_t SimMemory::LoadAreas(const Json::Value& areas) {
    if (!areas.isObject())
        return 0;
    size_t loaded = 0;
    for (const auto& name : areas.getMemberNames()) {
        auto area = AreaFromName(name);
        const Json::Value& v = areas[name];
        if (!area || !v.isString() || !Has(*area))
            continue;
        auto bytes = ParseHex(v.asString());
        if (!bytes)
            continue;
        Set(*area, *bytes);
        ++loaded;
    }
    return loaded;
}

}  // namespace dravik::sim
