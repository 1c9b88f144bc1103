#pragma once
// Parser for USB HID report descriptors: splits a descriptor into its top-level collections and
// gives each one its usage, report IDs, report lengths (report-ID byte included, as the host sees
// reports) and the layout of every field, so that input reports can be unpacked.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dravik::hidio {

enum class ReportType : uint8_t { Input = 0, Output = 1, Feature = 2 };

struct ReportField {
    ReportType type = ReportType::Input;
    uint8_t reportId = 0;
    uint16_t usagePage = 0;
    uint32_t bitOffset = 0;  // from the first data bit (after the report-ID byte)
    uint16_t bitSize = 0;
    uint16_t count = 0;
    int32_t logicalMin = 0, logicalMax = 0;
    int32_t physicalMin = 0, physicalMax = 0;
    bool constant = false;
    bool variable = false;  // variable (one value per usage) rather than array (usage indices)
    // Usages in declaration order; for a range they are expanded (capped at 'count').
    std::vector<uint16_t> usages;
    uint16_t usageMin = 0, usageMax = 0;
    bool isRange = false;
    // Buttons are one-bit variable fields with a 0..1 logical range, or arrays.
    bool IsButton() const {
        return !variable || (bitSize == 1 && logicalMin == 0 && logicalMax == 1);
    }
};

struct TopLevelCollection {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    std::vector<uint8_t> reportIds;  // empty when the descriptor uses no report IDs
    // Byte lengths of the longest report of each type, report-ID byte included (0: none).
    uint16_t inputReportLength = 0;
    uint16_t outputReportLength = 0;
    uint16_t featureReportLength = 0;
    std::vector<ReportField> fields;  // data fields only (constant padding left out)
    bool usesReportIds() const { return !reportIds.empty(); }
    bool HasReportId(uint8_t id) const;
};

struct ParsedDescriptor {
    std::vector<TopLevelCollection> collections;
};

inline constexpr size_t kMaxDescriptorSize = 4096;  // the kernel's HID_MAX_DESCRIPTOR_SIZE
inline constexpr uint32_t kMaxReportBytes = 4096;

// Parses a descriptor; on malformed input (truncated item, unbalanced collections or push/pop,
// absurd sizes or counts, report ID 0, a report longer than kMaxReportBytes) returns nullopt and
// describes the fault in error.
std::optional<ParsedDescriptor> ParseReportDescriptor(const uint8_t* data, size_t size,
                                                      std::string* error = nullptr);

// Reads 'bitSize' bits at 'bitOffset' of a report's data (the bytes after the report-ID byte),
// sign-extended when 'isSigned'. Missing bytes read as zero.
int64_t ExtractBits(const uint8_t* data, size_t size, uint32_t bitOffset, uint16_t bitSize,
                    bool isSigned);

}  // namespace dravik::hidio
