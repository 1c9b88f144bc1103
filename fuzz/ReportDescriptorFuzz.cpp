#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "hidio/ReportDescriptor.h"

using namespace dravik::hidio;

namespace {
void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}
}  // namespace

// A descriptor either is refused with a reason or gives collections whose every field lies inside
// the report length announced for its type, so that unpacking a report of that length never reads
// past it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    auto parsed = ParseReportDescriptor(data, size, &error);
    if (!parsed) {
        Check(!error.empty());
        return 0;
    }
    Check(!parsed->collections.empty());
    for (const TopLevelCollection& c : parsed->collections) {
        const uint16_t lengths[3] = {c.inputReportLength, c.outputReportLength,
                                     c.featureReportLength};
        for (uint16_t length : lengths)
            Check(length <= kMaxReportBytes);
        for (size_t i = 0; i < c.reportIds.size(); ++i) {
            Check(c.reportIds[i] != 0);
            for (size_t k = 0; k < i; ++k)
                Check(c.reportIds[k] != c.reportIds[i]);
        }
        for (const ReportField& f : c.fields) {
            Check(f.bitSize > 0 && f.bitSize <= 32 && f.count > 0);
            Check(f.reportId == 0 || c.HasReportId(f.reportId));
            Check(!f.isRange || f.usageMin <= f.usageMax);
            const uint64_t endBit = uint64_t(f.bitOffset) + uint64_t(f.bitSize) * f.count;
            const uint16_t length = lengths[static_cast<int>(f.type)];
            Check((endBit + 7) / 8 + 1 <= length);
            // Every element of the field read from a report of exactly that length.
            std::vector<uint8_t> report(length, 0xA5);
            for (uint32_t e = 0; e < f.count; ++e)
                (void)ExtractBits(report.data() + 1, report.size() - 1, f.bitOffset + e * f.bitSize,
                                  f.bitSize, f.logicalMin < 0);
        }
    }
    return 0;
}
