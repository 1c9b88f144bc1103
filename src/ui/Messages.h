#pragma once
// Window message numbers. They keep the values the system's code and its companions use.
#include <cstdint>

namespace dravik::ui {

using HWND = uint32_t;  // a window handle; 0 is none

inline constexpr uint32_t WM_CREATE = 0x0001;
inline constexpr uint32_t WM_DESTROY = 0x0002;
inline constexpr uint32_t WM_SIZE = 0x0005;
inline constexpr uint32_t WM_ACTIVATE = 0x0006;
inline constexpr uint32_t WM_SETFOCUS = 0x0007;
inline constexpr uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr uint32_t WM_COPYDATA = 0x004A;
inline constexpr uint32_t WM_DISPLAYCHANGE = 0x007E;
inline constexpr uint32_t WM_NCDESTROY = 0x0082;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr uint32_t WM_TIMER = 0x0113;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr uint32_t WM_MOUSEHOVER = 0x02A1;
inline constexpr uint32_t WM_MOUSELEAVE = 0x02A3;
inline constexpr uint32_t WM_DPICHANGED = 0x02E0;
inline constexpr uint32_t WM_USER = 0x0400;

inline constexpr uint64_t SC_MINIMIZE = 0xF020;
inline constexpr uint64_t SC_MAXIMIZE = 0xF030;
inline constexpr uint64_t SC_RESTORE = 0xF120;
inline constexpr uint64_t SC_CLOSE = 0xF060;

inline constexpr uint32_t IDOK = 1;
inline constexpr uint32_t IDCANCEL = 2;

// Window styles the system passes at creation (kept for the record; the backends honour
// visibility, caption and topmost).
inline constexpr uint32_t WS_POPUP = 0x80000000u;
inline constexpr uint32_t WS_VISIBLE = 0x10000000u;
inline constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000u;
inline constexpr uint32_t WS_CLIPCHILDREN = 0x02000000u;
inline constexpr uint32_t WS_CAPTION = 0x00C00000u;
inline constexpr uint32_t WS_SYSMENU = 0x00080000u;
inline constexpr uint32_t WS_MINIMIZEBOX = 0x00020000u;
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008u;
inline constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080u;

inline constexpr int64_t MakeLParam(int x, int y) {
    return static_cast<int64_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) |
                                static_cast<uint32_t>(x & 0xFFFF));
}
inline constexpr int LParamX(int64_t l) {
    return static_cast<int16_t>(l & 0xFFFF);
}
inline constexpr int LParamY(int64_t l) {
    return static_cast<int16_t>((l >> 16) & 0xFFFF);
}

}  // namespace dravik::ui
