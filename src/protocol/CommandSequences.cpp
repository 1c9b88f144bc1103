#include "protocol/CommandSequences.h"

namespace dravik {

bool ReceiverPreQuery(DeviceLink& link) {
    return !link.ReceiverMode() || QueryReceiverLink(link);
}

ConfigurationRead ReadConfiguration(DeviceLink& link, DeviceFamily family) {
    using Stop = ConfigurationRead::Stop;
    ConfigurationRead out;
    if (!link.IsOpen() && !link.IsSuspended()) {
        out.stop = Stop::LinkClosed;
        return out;
    }
    if (family != DeviceFamily::MousePad && !ReceiverPreQuery(link)) {
        out.stop = Stop::ReceiverAbsent;
        return out;
    }
    BeginSession(link);
    out.result = ReadDeviceInfo(link, out.info);
    if (out.result != kResultSuccess) {
        out.stop = Stop::InfoFailed;
        return out;
    }
    if (family == DeviceFamily::MousePad) {
        EndSession(link);
        return out;
    }
    if (family == DeviceFamily::Mouse && !out.info.IsCurrent()) {
        if (!out.info.NeedsUpgrade()) {
            out.stop = Stop::InfoNotRecognised;
            return out;
        }
        out.info.bytes[7] = DeviceInfoBlock::kStateCurrent;
        out.result = WriteDeviceInfo(link, out.info.bytes.data());
        out.upgraded = out.result == kResultSuccess;
    }
    if (!link.SetImageSize(out.info.ImageSize())) {
        out.stop = Stop::ImageTooLarge;
        return out;
    }
    out.result = ReadConfigImage(link, out.image.data());
    out.imageRead = out.result == kResultSuccess;
    if (family == DeviceFamily::Keyboard && out.imageRead) {
        out.result = ReadAuxImage(link, out.aux.data());
        out.auxRead = out.result == kResultSuccess;
    }
    EndSession(link);
    return out;
}

ConfigurationWrite WriteConfiguration(DeviceLink& link, ConfigurationData what, const uint8_t* data,
                                      uint32_t count, int bank) {
    ConfigurationWrite out;
    if ((!link.IsOpen() && !link.IsSuspended()) || !ReceiverPreQuery(link)) {
        out.skipped = true;
        return out;
    }
    out.result = ReadDeviceInfo(link, out.info);
    if (out.result != kResultSuccess)
        return out;
    if (!ReceiverPreQuery(link)) {
        out.skipped = true;
        out.result = kResultNoAnswer;
        return out;
    }
    BeginSession(link);
    switch (what) {
        case ConfigurationData::KeyImage:
            out.result = WriteConfigImage(link, data, bank);
            break;
        case ConfigurationData::Macros:
            out.result = WriteMacroData(link, data, count);
            break;
        case ConfigurationData::Shoot:
            out.result = WriteShootData(link, data, count);
            break;
    }
    EndSession(link);
    return out;
}

int32_t ReadActiveProfileBlock(DeviceLink& link, uint8_t* destination, uint32_t count,
                               uint32_t stride, uint8_t* profile) {
    uint8_t active = 0;
    int32_t result = ReadProfileBlock(link, &active, 1, 0);
    if (result != kResultSuccess)
        return result;
    if (profile)
        *profile = active;
    return ReadProfileBlock(link, destination, count, static_cast<uint16_t>(active * stride));
}

int32_t WriteProfileBlockSequence(DeviceLink& link, const uint8_t* source, uint32_t count,
                                  uint16_t address) {
    if (link.IsOpen())
        BeginSession(link);
    int32_t result = WriteProfileBlock(link, source, count, address);
    EndSession(link);
    return result;
}

}  // namespace dravik
