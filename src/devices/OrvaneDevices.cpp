#include "devices/OrvaneDevices.h"

#include "protocol/CommandSet.h"

namespace dravik {

bool COrvaneReceiverDevice::IsReceiverLinkAlive() {
    return link_.IsOpen() && link_.ReceiverMode() && QueryReceiverLink(link_);
}

void* COrvaneMouseDevice::GetInterface(const std::string& name) {
    if (name == "OrvaneMouseDevice")
        return this;
    return COrvaneUSBDevice::GetInterface(name);
}

void* COrvaneKeyboardDevice::GetInterface(const std::string& name) {
    if (name == "OrvaneKeyboardDevice")
        return this;
    return COrvaneUSBDevice::GetInterface(name);
}

void* COrvaneMousePadDevice::GetInterface(const std::string& name) {
    if (name == "OrvaneMousePadDevice")
        return this;
    return COrvaneUSBDevice::GetInterface(name);
}

void* COrvaneHS6533Device::GetInterface(const std::string& name) {
    if (name == "OrvaneHS6533Device")
        return this;
    return COrvaneUSBDevice::GetInterface(name);
}

}  // namespace dravik
