#include "hidio/ReportDescriptor.h"

#include <algorithm>
#include <map>

namespace dravik::hidio {
namespace {

constexpr int kMaxPushDepth = 16;
constexpr int kMaxCollectionDepth = 32;
constexpr uint32_t kMaxReportSizeBits = 32;
constexpr uint32_t kMaxReportCount = 4096;
constexpr size_t kMaxUsagesPerField = 1024;

struct GlobalState {
    uint16_t usagePage = 0;
    int32_t logicalMin = 0, logicalMax = 0;
    int32_t physicalMin = 0, physicalMax = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

struct LocalState {
    std::vector<uint32_t> usages;  // extended (page << 16 | id) when 4 bytes were given
    bool haveMin = false, haveMax = false;
    uint32_t usageMin = 0, usageMax = 0;
    void Clear() { *this = LocalState(); }
};

bool Fail(std::string* error, const std::string& text) {
    if (error)
        *error = text;
    return false;
}

}  // namespace

bool TopLevelCollection::HasReportId(uint8_t id) const {
    return std::find(reportIds.begin(), reportIds.end(), id) != reportIds.end();
}

int64_t ExtractBits(const uint8_t* data, size_t size, uint32_t bitOffset, uint16_t bitSize,
                    bool isSigned) {
    uint64_t v = 0;
    for (uint16_t i = 0; i < bitSize && i < 64; ++i) {
        uint32_t bit = bitOffset + i;
        size_t byte = bit / 8;
        if (byte < size && (data[byte] >> (bit % 8)) & 1)
            v |= uint64_t(1) << i;
    }
    if (isSigned && bitSize > 0 && bitSize < 64 && (v >> (bitSize - 1)) & 1)
        v |= ~uint64_t(0) << bitSize;
    return static_cast<int64_t>(v);
}

std::optional<ParsedDescriptor> ParseReportDescriptor(const uint8_t* data, size_t size,
                                                      std::string* error) {
    if (!data || size == 0) {
        Fail(error, "empty report descriptor");
        return std::nullopt;
    }
    if (size > kMaxDescriptorSize) {
        Fail(error, "report descriptor longer than 4096 bytes");
        return std::nullopt;
    }
    ParsedDescriptor out;
    GlobalState global;
    std::vector<GlobalState> stack;
    LocalState local;
    int depth = 0;
    bool anyReportId = false;
    bool anyReportWithoutId = false;
    TopLevelCollection* current = nullptr;
    // Bit lengths per (collection, type, report ID).
    std::map<std::tuple<size_t, int, uint8_t>, uint32_t> bits;

    auto fail = [&](const std::string& text) -> std::optional<ParsedDescriptor> {
        Fail(error, text);
        return std::nullopt;
    };

    size_t pos = 0;
    while (pos < size) {
        uint8_t prefix = data[pos];
        if (prefix == 0xFE) {  // long item: skipped, but must fit
            if (pos + 2 >= size)
                return fail("truncated long item");
            size_t len = data[pos + 1];
            if (pos + 3 + len > size)
                return fail("truncated long item");
            pos += 3 + len;
            continue;
        }
        size_t len = prefix & 3;
        if (len == 3)
            len = 4;
        if (pos + 1 + len > size)
            return fail("truncated item at offset " + std::to_string(pos));
        uint32_t u = 0;
        for (size_t i = 0; i < len; ++i)
            u |= uint32_t(data[pos + 1 + i]) << (8 * i);
        int32_t s = static_cast<int32_t>(u);
        if (len == 1)
            s = static_cast<int8_t>(u);
        if (len == 2)
            s = static_cast<int16_t>(u);
        const uint8_t type = (prefix >> 2) & 3;
        const uint8_t tag = prefix >> 4;
        pos += 1 + len;

        if (type == 0) {  // main
            switch (tag) {
                case 0x8:
                case 0x9:
                case 0xB: {
                    if (!current)
                        return fail("report item outside any collection");
                    ReportType rt = tag == 0x8   ? ReportType::Input
                                    : tag == 0x9 ? ReportType::Output
                                                 : ReportType::Feature;
                    if (global.reportSize > kMaxReportSizeBits)
                        return fail("report size over 32 bits");
                    if (global.reportCount > kMaxReportCount)
                        return fail("absurd report count");
                    if (global.reportId)
                        anyReportId = true;
                    else
                        anyReportWithoutId = true;
                    if (anyReportId && anyReportWithoutId)
                        return fail("report items before the first report ID");
                    size_t ci = static_cast<size_t>(current - out.collections.data());
                    uint32_t& offset = bits[{ci, static_cast<int>(rt), global.reportId}];
                    uint32_t fieldBits = global.reportSize * global.reportCount;
                    if (global.reportId && !current->HasReportId(global.reportId))
                        current->reportIds.push_back(global.reportId);
                    ReportField f;
                    f.type = rt;
                    f.reportId = global.reportId;
                    f.usagePage = global.usagePage;
                    f.bitOffset = offset;
                    f.bitSize = static_cast<uint16_t>(global.reportSize);
                    f.count = static_cast<uint16_t>(global.reportCount);
                    f.logicalMin = global.logicalMin;
                    f.logicalMax = global.logicalMax;
                    f.physicalMin = global.physicalMin;
                    f.physicalMax = global.physicalMax;
                    f.constant = u & 1;
                    f.variable = u & 2;
                    offset += fieldBits;
                    if ((offset + 7) / 8 + 1 > kMaxReportBytes)
                        return fail("report too long");
                    if (local.haveMin && local.haveMax) {
                        uint16_t lo = static_cast<uint16_t>(local.usageMin);
                        uint16_t hi = static_cast<uint16_t>(local.usageMax);
                        if (hi < lo)
                            return fail("usage maximum below minimum");
                        f.isRange = true;
                        f.usageMin = lo;
                        f.usageMax = hi;
                        uint32_t n = std::min<uint32_t>(hi - lo + 1, kMaxUsagesPerField);
                        for (uint32_t i = 0; i < n; ++i)
                            f.usages.push_back(static_cast<uint16_t>(lo + i));
                        if (local.usageMin >> 16)
                            f.usagePage = static_cast<uint16_t>(local.usageMin >> 16);
                    } else {
                        for (uint32_t us : local.usages) {
                            if (f.usages.size() >= kMaxUsagesPerField)
                                break;
                            f.usages.push_back(static_cast<uint16_t>(us));
                            if (us >> 16)
                                f.usagePage = static_cast<uint16_t>(us >> 16);
                        }
                        if (!f.usages.empty()) {
                            f.usageMin = *std::min_element(f.usages.begin(), f.usages.end());
                            f.usageMax = *std::max_element(f.usages.begin(), f.usages.end());
                        }
                    }
                    if (!f.constant && fieldBits > 0)
                        current->fields.push_back(std::move(f));
                    local.Clear();
                    break;
                }
                case 0xA: {  // collection
                    if (depth >= kMaxCollectionDepth)
                        return fail("collections nested too deeply");
                    if (depth == 0) {
                        TopLevelCollection c;
                        uint32_t us = local.usages.empty() ? 0 : local.usages.front();
                        c.usagePage =
                            (us >> 16) ? static_cast<uint16_t>(us >> 16) : global.usagePage;
                        c.usage = static_cast<uint16_t>(us);
                        out.collections.push_back(std::move(c));
                        if (out.collections.size() > 255)
                            return fail("too many collections");
                        current = &out.collections.back();
                    }
                    ++depth;
                    local.Clear();
                    break;
                }
                case 0xC:  // end collection
                    if (depth == 0)
                        return fail("end collection without collection");
                    if (--depth == 0)
                        current = nullptr;
                    local.Clear();
                    break;
                default:
                    return fail("unknown main item");
            }
        } else if (type == 1) {  // global
            switch (tag) {
                case 0x0:
                    global.usagePage = static_cast<uint16_t>(u);
                    break;
                case 0x1:
                    global.logicalMin = s;
                    break;
                case 0x2:  // unsigned unless the minimum is negative
                    global.logicalMax = (global.logicalMin < 0 || len == 4) ? s : int32_t(u);
                    break;
                case 0x3:
                    global.physicalMin = s;
                    break;
                case 0x4:
                    global.physicalMax = s;
                    break;
                case 0x5:
                case 0x6:
                    break;  // unit exponent, unit
                case 0x7:
                    global.reportSize = u;
                    break;
                case 0x8:
                    if (u == 0 || u > 255)
                        return fail("invalid report ID");
                    global.reportId = static_cast<uint8_t>(u);
                    break;
                case 0x9:
                    global.reportCount = u;
                    break;
                case 0xA:
                    if (stack.size() >= kMaxPushDepth)
                        return fail("push without pop");
                    stack.push_back(global);
                    break;
                case 0xB:
                    if (stack.empty())
                        return fail("pop without push");
                    global = stack.back();
                    stack.pop_back();
                    break;
                default:
                    return fail("unknown global item");
            }
        } else if (type == 2) {  // local
            // A four-byte usage carries its own page; a shorter one takes the global page at the
            // main item.
            uint32_t usage = len == 4 ? u : (u & 0xFFFF);
            switch (tag) {
                case 0x0:
                    if (local.usages.size() >= kMaxUsagesPerField)
                        return fail("too many usages");
                    local.usages.push_back(usage);
                    break;
                case 0x1:
                    local.haveMin = true;
                    local.usageMin = usage;
                    break;
                case 0x2:
                    local.haveMax = true;
                    local.usageMax = usage;
                    break;
                default:
                    break;  // designators, strings, delimiters: not needed
            }
        } else {
            return fail("reserved item type");
        }
    }
    if (depth != 0)
        return fail("collection not closed");
    if (out.collections.empty())
        return fail("no top-level collection");
    for (size_t ci = 0; ci < out.collections.size(); ++ci) {
        TopLevelCollection& c = out.collections[ci];
        for (const auto& [key, nbits] : bits) {
            if (std::get<0>(key) != ci)
                continue;
            uint16_t bytes = static_cast<uint16_t>((nbits + 7) / 8 + 1);  // report-ID byte first
            uint16_t* slot = std::get<1>(key) == 0   ? &c.inputReportLength
                             : std::get<1>(key) == 1 ? &c.outputReportLength
                                                     : &c.featureReportLength;
            *slot = std::max(*slot, bytes);
        }
    }
    return out;
}

}  // namespace dravik::hidio
