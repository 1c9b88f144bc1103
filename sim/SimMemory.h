#pragma once
// The memory of an emulated device: one byte space per area, each from address 0. The commands
// reach them as follows: info (read/write information block), image (configuration image), aux
// (aux image), profile (the flat space of the profile-block commands), banks (bank images, 512
// bytes a bank), macro, shoot, power (power status) and frame (the last live light frame; for the
// headset its last twelve LED output reports).
#include <json/value.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace dravik::sim {

enum class Area { Info, Image, Aux, Profile, Banks, Macro, Shoot, Power, Frame };

const char* AreaName(Area area);
std::optional<Area> AreaFromName(const std::string& name);
inline constexpr Area kAllAreas[] = {Area::Info,    Area::Image, Area::Aux,
                                     Area::Profile, Area::Banks, Area::Macro,
                                     Area::Shoot,   Area::Power, Area::Frame};

// Lower-case hex without the trailing zero bytes; "" for an all-zero area.
std::string ToTrimmedHex(const std::vector<uint8_t>& bytes);
// Parses hex (either case, even length); nullopt on any other character or an odd length.
std::optional<std::vector<uint8_t>> ParseHex(const std::string& text);

class SimMemory {
  public:
    // Area capacities in bytes; an area the device does not have is left out (or 0).
    explicit SimMemory(const std::map<Area, size_t>& capacities);

    bool Has(Area area) const;
    size_t Capacity(Area area) const;
    // False (nothing copied) when the range does not lie inside the area.
    bool Read(Area area, size_t address, uint8_t* out, size_t count) const;
    bool Write(Area area, size_t address, const uint8_t* in, size_t count);
    // The whole area (capacity bytes).
    std::vector<uint8_t> Bytes(Area area) const;
    // Replaces the area: bytes beyond the capacity are cut, a shorter value reads as zeros after
    // its end.
    void Set(Area area, const std::vector<uint8_t>& bytes);

    // Headset LED output reports: keeps the last twelve, 17 bytes each, in the order sent.
    static constexpr size_t kLedReportSize = 17;
    static constexpr size_t kLedReportsKept = 12;
    void PushLedReport(const uint8_t* report, size_t length);

    // {"info": "aa55…", …}: every area the device has, trimmed hex.
    Json::Value AreasToJson() const;
    // Loads the areas named in the object; unknown names, areas the device lacks and malformed
    // hex are skipped. Returns the number of areas loaded.
    size_t LoadAreas(const Json::Value& areas);

  private:
    mutable std::mutex m_;
    std::map<Area, std::vector<uint8_t>> areas_;
};

}  // namespace dravik::sim
