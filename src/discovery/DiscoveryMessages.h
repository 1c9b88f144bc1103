#pragma once
// Private window messages between discovery, the device classes and the main window.
#include <cstdint>

namespace dravik {

inline constexpr uint32_t kMsgDeviceArrived = 0xC12;  // wParam: device-list row
inline constexpr uint32_t kMsgDeviceRemoved = 0xC13;  // wParam: device-list row
inline constexpr uint32_t kMsgDeviceValue = 0xD00;    // no handler
inline constexpr uint32_t kMsgPowerStatus = 0xD01;    // no handler
// wParam: device-option row; lParam 0 = gone behind the receiver, 1 = answers again.
inline constexpr uint32_t kMsgDeviceTab = 0xD03;
// wParam: 1 when the mouse recognised its information block, else 0.
inline constexpr uint32_t kMsgDeviceLinkConfirmed = 0xD05;

// Tab timers.
inline constexpr uint32_t kTimerLightFrame = 1000;
inline constexpr uint32_t kTimerConnect = 1001;
inline constexpr uint32_t kTimerRefreshProfile = 1002;
inline constexpr uint32_t kTimerReserved1 = 1003;
inline constexpr uint32_t kTimerReserved2 = 1004;
inline constexpr uint32_t kTimerPower = 1005;
inline constexpr uint32_t kTimerReceiverCheck = 1007;

}  // namespace dravik
