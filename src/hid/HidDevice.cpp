#include "hid/HidDevice.h"

#include <algorithm>

namespace dravik {
namespace {

using hidio::ReportField;
using hidio::ReportType;

// One item per button field, one per value usage, as the capability tables count them.
// A report cannot carry more than one data item per bit; the cap keeps a hostile descriptor (many
// fields with large usage ranges) from making a device cost gigabytes to open.
constexpr size_t kMaxDataItems = 8 * hidio::kMaxReportBytes;

std::vector<HidDataItem> BuildItems(const hidio::TopLevelCollection& c, ReportType type,
                                    uint16_t* buttonCaps, uint16_t* valueCaps) {
    std::vector<HidDataItem> items;
    *buttonCaps = *valueCaps = 0;
    for (const ReportField& f : c.fields) {
        if (f.type != type)
            continue;
        if (items.size() >= kMaxDataItems)
            break;
        HidDataItem base;
        base.usagePage = f.usagePage;
        base.reportId = f.reportId;
        base.bitOffset = f.bitOffset;
        base.bitSize = f.bitSize;
        base.reportCount = f.count;
        base.logicalMin = f.logicalMin;
        base.logicalMax = f.logicalMax;
        base.physicalMin = f.physicalMin;
        base.physicalMax = f.physicalMax;
        base.variable = f.variable;
        if (f.IsButton()) {
            ++*buttonCaps;
            HidDataItem b = base;
            b.usages = f.usages;  // buttons decode usages by position; values need only their own
            b.isButton = true;
            b.usageMin = f.usageMin;
            b.usageMax = f.usageMax;
            b.maxUsageListLength = f.count;
            b.usageList.assign(f.count, 0);
            items.push_back(std::move(b));
        } else {
            // One item per value usage. A usage range is one capability; separately listed
            // usages are one capability each, the last one covering any remaining elements.
            size_t n = std::max<size_t>(1, std::min<size_t>(f.usages.size(), f.count));
            n = std::min(n, kMaxDataItems - items.size());
            *valueCaps += static_cast<uint16_t>(f.isRange ? 1 : n);
            for (size_t i = 0; i < n; ++i) {
                HidDataItem v = base;
                v.usage = i < f.usages.size() ? f.usages[i] : 0;
                v.bitOffset = f.bitOffset + static_cast<uint32_t>(i) * f.bitSize;
                v.reportCount = static_cast<uint16_t>(i + 1 == n ? f.count - (n - 1) : 1);
                items.push_back(std::move(v));
            }
        }
    }
    return items;
}

}  // namespace

HidDevice::HidDevice() = default;

HidDevice::~HidDevice() {
    Close();
    FreePathList();
}

bool HidDevice::Enumerate() {
    std::vector<std::string> found;
    for (const auto& backend : hidio::ActiveHidBackends()) {
        if (!backend->Enumerate(found)) {
            paths_.clear();
            cursor_ = 0;
            return false;
        }
    }
    paths_ = std::move(found);
    cursor_ = 0;
    return true;
}

const char* HidDevice::NextPath() {
    if (cursor_ >= paths_.size())
        return nullptr;
    return paths_[cursor_++].c_str();
}

void HidDevice::FreePathList() {
    paths_.clear();
    paths_.shrink_to_fit();
    cursor_ = 0;
}

std::shared_ptr<hidio::HidHandle> HidDevice::CurrentHandle() const {
    std::lock_guard lock(handleMutex_);
    return handle_;
}

bool HidDevice::IsOpen() const {
    return CurrentHandle() != nullptr;
}

void HidDevice::ReleaseLocked() {
    if (handle_ && (readInProgress_ || writeInProgress_))
        handle_->Abort();
    handle_.reset();  // a waiting transfer holds its own reference until it returns
    inputReport_.clear();
    outputReport_.clear();
    featureReport_.clear();
    inputItems_.clear();
    outputItems_.clear();
    featureItems_.clear();
    inputReport_.shrink_to_fit();
    outputReport_.shrink_to_fit();
    featureReport_.shrink_to_fit();
    caps_ = HidCaps();
    attributes_ = hidio::HidAttributes();
}

bool HidDevice::Open(const std::string& path, bool read, bool write, bool overlapped,
                     bool shareReadOnly) {
    readAccess_ = read;
    writeAccess_ = write;
    overlapped_ = overlapped;
    shareReadOnly_ = shareReadOnly;
    devicePath_ = path;
    {
        std::lock_guard lock(handleMutex_);
        ReleaseLocked();
    }
    std::shared_ptr<hidio::HidHandle> handle;
    for (const auto& backend : hidio::ActiveHidBackends()) {
        if (!backend->Owns(path))
            continue;
        hidio::OpenFlags flags{read, write, shareReadOnly};
        handle = backend->Open(path, flags, nullptr);
        break;
    }
    if (!handle)
        return false;
    {
        std::lock_guard lock(handleMutex_);
        handle_ = handle;
    }
    if (!FillDeviceInformation()) {
        std::lock_guard lock(handleMutex_);
        ReleaseLocked();
        return false;
    }
    return true;
}

bool HidDevice::FillDeviceInformation() {
    auto handle = CurrentHandle();
    if (!handle)
        return false;
    const auto& info = handle->Info();
    attributes_ = info.attributes;
    const auto& c = info.collection;
    caps_.usage = c.usage;
    caps_.usagePage = c.usagePage;
    caps_.inputReportByteLength = c.inputReportLength;
    caps_.outputReportByteLength = c.outputReportLength;
    caps_.featureReportByteLength = c.featureReportLength;
    inputReport_.assign(c.inputReportLength, 0);
    outputReport_.assign(c.outputReportLength, 0);
    featureReport_.assign(c.featureReportLength, 0);
    inputItems_ =
        BuildItems(c, ReportType::Input, &caps_.numberInputButtonCaps, &caps_.numberInputValueCaps);
    outputItems_ = BuildItems(c, ReportType::Output, &caps_.numberOutputButtonCaps,
                              &caps_.numberOutputValueCaps);
    featureItems_ = BuildItems(c, ReportType::Feature, &caps_.numberFeatureButtonCaps,
                               &caps_.numberFeatureValueCaps);
    interfaceNumber_ = hidio::HexNumberAfter(devicePath_, "&mi_");
    collectionNumber_ = hidio::HexNumberAfter(devicePath_, "&col");
    return true;
}

void HidDevice::Close() {
    std::lock_guard lock(handleMutex_);
    ReleaseLocked();
}

bool HidDevice::Read(uint8_t* buffer, uint32_t length, uint32_t* bytes, uint32_t timeoutMs) {
    readInProgress_ = true;
    if (bytes)
        *bytes = 0;
    auto handle = CurrentHandle();
    bool ok = false;
    if (handle && buffer) {
        size_t got = 0;
        ok = handle->Read(buffer, length, &got, timeoutMs) == hidio::IoResult::Ok;
        if (ok && bytes)
            *bytes = static_cast<uint32_t>(got);
    }
    readInProgress_ = false;
    return ok;
}

bool HidDevice::Write(const uint8_t* buffer, uint32_t length, uint32_t* bytes, uint32_t timeoutMs) {
    writeInProgress_ = true;
    if (bytes)
        *bytes = 0;
    auto handle = CurrentHandle();
    bool ok = false;
    if (handle && buffer) {
        size_t done = 0;
        ok = handle->Write(buffer, length, &done, timeoutMs) == hidio::IoResult::Ok;
        if (ok && bytes)
            *bytes = static_cast<uint32_t>(done);
    }
    writeInProgress_ = false;
    return ok;
}

void HidDevice::Abort() {
    if (auto handle = CurrentHandle())
        handle->Abort();
}

bool HidDevice::FlushQueue() {
    auto handle = CurrentHandle();
    if (!handle)
        return false;
    handle->Flush();
    return true;
}

bool HidDevice::SetOutputReport(const uint8_t* buffer, uint32_t length) {
    auto handle = CurrentHandle();
    return handle && buffer && handle->SetOutputReport(buffer, length);
}

bool HidDevice::UnpackInputReport(const uint8_t* report, uint32_t length) {
    if (!report || length == 0)
        return false;
    const uint8_t id = report[0];
    const uint8_t* data = report + 1;
    const size_t size = length - 1;
    bool allValues = true;
    for (HidDataItem& item : inputItems_) {
        if (item.reportId != id)
            continue;
        if (item.isButton) {
            std::vector<uint16_t> found;
            for (uint16_t i = 0; i < item.reportCount; ++i) {
                uint32_t at = item.bitOffset + uint32_t(i) * item.bitSize;
                if (item.variable) {
                    if (hidio::ExtractBits(data, size, at, item.bitSize, false) &&
                        i < item.usages.size())
                        found.push_back(item.usages[i]);
                } else {
                    int64_t v =
                        hidio::ExtractBits(data, size, at, item.bitSize, item.logicalMin < 0);
                    if (v < item.logicalMin || v > item.logicalMax)
                        continue;
                    size_t index = static_cast<size_t>(v - item.logicalMin);
                    if (index < item.usages.size() && item.usages[index] != 0)
                        found.push_back(item.usages[index]);
                }
            }
            // Only usages within the item's range are kept, compacted to the front.
            std::erase_if(found,
                          [&](uint16_t u) { return u < item.usageMin || u > item.usageMax; });
            found.resize(std::min<size_t>(found.size(), item.maxUsageListLength));
            item.usageList = found;
            if (item.usageList.size() < item.maxUsageListLength) {
                item.usageList.push_back(0);
                item.usageList.resize(item.maxUsageListLength, 0);
            }
            item.status = 0;
            item.isSet = true;
        } else {
            if (item.bitSize == 0 || item.bitSize > 32) {
                item.status = -1;
                allValues = false;
                return false;
            }
            bool isSigned = item.logicalMin < 0;
            int64_t v = hidio::ExtractBits(data, size, item.bitOffset, item.bitSize, isSigned);
            item.rawValue = static_cast<uint32_t>(v);
            item.status = 0;
            // Scaled: logical to physical, when the device declares a physical range; else the
            // logical value itself.
            if (item.physicalMin != item.physicalMax && item.logicalMax != item.logicalMin) {
                double t = double(v - item.logicalMin) / double(item.logicalMax - item.logicalMin);
                item.scaledValue = static_cast<int32_t>(item.physicalMin +
                                                        t * (item.physicalMax - item.physicalMin));
            } else {
                item.scaledValue = static_cast<int32_t>(v);
            }
            item.isSet = true;
        }
    }
    return allValues;
}

}  // namespace dravik
