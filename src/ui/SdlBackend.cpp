#include "ui/SdlBackend.h"

#include <SDL.h>
#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <deque>
#include <map>
#include <shared_mutex>

#include "platform/Clock.h"
#include "platform/Trace.h"
#include "ui/CairoPainter.h"
#include "ui/Events.h"
#include "ui/PaintManager.h"
#include "ui/Window.h"

namespace dravik::ui {
namespace {

// The pointer must rest this long, within kHoverSlop pixels, for WM_MOUSEHOVER.
constexpr uint64_t kHoverMs = 400;
constexpr int kHoverSlop = 4;

// Button and modifier flags of mouse messages.
constexpr uint64_t MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8,
                   MK_MBUTTON = 0x10;

uint64_t ModifierFlags() {
    SDL_Keymod mod = SDL_GetModState();
    return ((mod & KMOD_SHIFT) ? MK_SHIFT : 0) | ((mod & KMOD_CTRL) ? MK_CONTROL : 0);
}

uint64_t ButtonFlags(uint32_t sdlState) {
    return ((sdlState & SDL_BUTTON_LMASK) ? MK_LBUTTON : 0) |
           ((sdlState & SDL_BUTTON_RMASK) ? MK_RBUTTON : 0) |
           ((sdlState & SDL_BUTTON_MMASK) ? MK_MBUTTON : 0);
}

// SDL key codes to the platform's virtual-key numbers that the key handling of the system uses.
uint32_t VirtualKeyFromSdl(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z)
        return static_cast<uint32_t>('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9)
        return static_cast<uint32_t>('0' + (k - SDLK_0));
    if (k >= SDLK_F1 && k <= SDLK_F12)
        return 0x70 + static_cast<uint32_t>(k - SDLK_F1);
    if (k >= SDLK_F13 && k <= SDLK_F24)
        return 0x7C + static_cast<uint32_t>(k - SDLK_F13);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9)
        return 0x61 + static_cast<uint32_t>(k - SDLK_KP_1);
    static const std::pair<SDL_Keycode, uint32_t> table[] = {
        {SDLK_BACKSPACE, VK_BACK},  {SDLK_TAB, VK_TAB},        {SDLK_RETURN, VK_RETURN},
        {SDLK_KP_ENTER, VK_RETURN}, {SDLK_ESCAPE, VK_ESCAPE},  {SDLK_SPACE, VK_SPACE},
        {SDLK_LSHIFT, VK_SHIFT},    {SDLK_RSHIFT, VK_SHIFT},   {SDLK_LCTRL, VK_CONTROL},
        {SDLK_RCTRL, VK_CONTROL},   {SDLK_LALT, VK_MENU},      {SDLK_RALT, VK_MENU},
        {SDLK_LGUI, 0x5B},          {SDLK_RGUI, 0x5C},         {SDLK_APPLICATION, 0x5D},
        {SDLK_PAUSE, 0x13},         {SDLK_CAPSLOCK, 0x14},     {SDLK_PAGEUP, 0x21},
        {SDLK_PAGEDOWN, 0x22},      {SDLK_END, 0x23},          {SDLK_HOME, 0x24},
        {SDLK_LEFT, VK_LEFT},       {SDLK_UP, VK_UP},          {SDLK_RIGHT, VK_RIGHT},
        {SDLK_DOWN, VK_DOWN},       {SDLK_PRINTSCREEN, 0x2C},  {SDLK_INSERT, 0x2D},
        {SDLK_DELETE, VK_DELETE},   {SDLK_KP_0, 0x60},         {SDLK_KP_MULTIPLY, 0x6A},
        {SDLK_KP_PLUS, 0x6B},       {SDLK_KP_MINUS, 0x6D},     {SDLK_KP_PERIOD, 0x6E},
        {SDLK_KP_DIVIDE, 0x6F},     {SDLK_NUMLOCKCLEAR, 0x90}, {SDLK_SCROLLLOCK, 0x91},
        {SDLK_SEMICOLON, 0xBA},     {SDLK_EQUALS, 0xBB},       {SDLK_COMMA, 0xBC},
        {SDLK_MINUS, 0xBD},         {SDLK_PERIOD, 0xBE},       {SDLK_SLASH, 0xBF},
        {SDLK_BACKQUOTE, 0xC0},     {SDLK_LEFTBRACKET, 0xDB},  {SDLK_BACKSLASH, 0xDC},
        {SDLK_RIGHTBRACKET, 0xDD},  {SDLK_QUOTE, 0xDE},
    };
    for (const auto& [sdl, vk] : table)
        if (sdl == k)
            return vk;
    return 0;
}

bool IsExtendedKey(SDL_Keycode k) {
    switch (k) {
        case SDLK_RCTRL:
        case SDLK_RALT:
        case SDLK_INSERT:
        case SDLK_DELETE:
        case SDLK_HOME:
        case SDLK_END:
        case SDLK_PAGEUP:
        case SDLK_PAGEDOWN:
        case SDLK_LEFT:
        case SDLK_RIGHT:
        case SDLK_UP:
        case SDLK_DOWN:
        case SDLK_KP_ENTER:
        case SDLK_KP_DIVIDE:
            return true;
        default:
            return false;
    }
}

// UTF-8 text to code points (malformed bytes are skipped).
std::vector<uint32_t> CodePoints(const char* text) {
    std::vector<uint32_t> out;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        unsigned char c = *p;
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (!len) {
            ++p;
            continue;
        }
        uint32_t cp = len == 1 ? c : c & (0x7F >> len);
        bool ok = true;
        for (int k = 1; k < len; ++k) {
            if ((p[k] & 0xC0) != 0x80) {
                ok = false;
                len = k;
                break;
            }
            cp = (cp << 6) | (p[k] & 0x3F);
        }
        if (ok)
            out.push_back(cp);
        p += len;
    }
    return out;
}

struct NativeWindow {
    HWND hwnd = 0;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    cairo_surface_t* surface = nullptr;
    int pixelW = 0, pixelH = 0;
    bool fullPaint = true;
    bool mapped = false;
    bool activateWhenMapped = false;
    // Geometry this program asked for and the desktop has not confirmed yet: the confirmations
    // of older requests must not undo a newer one.
    std::deque<Point> pendingMoves;
    std::deque<Size> pendingSizes;
    // Pointer tracking for hover and leave.
    bool pointerInside = false;
    bool hoverSent = false;
    bool leaveAfterRelease = false;
    Point pointer;
    Point hoverAnchor;
    uint64_t hoverSince = 0;
    uint64_t buttons = 0;

    ~NativeWindow() {
        if (texture)
            SDL_DestroyTexture(texture);
        if (renderer)
            SDL_DestroyRenderer(renderer);
        if (window)
            SDL_DestroyWindow(window);
        if (surface)
            cairo_surface_destroy(surface);
    }
};

class SdlBackend final : public DisplayBackend {
  public:
    explicit SdlBackend(uint32_t wakeEvent) : wakeEvent_(wakeEvent) {}
    ~SdlBackend() override {
        {
            std::unique_lock lock(lifeMutex_);
            alive_ = false;
        }
        windows_.clear();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Quit();
    }

    const char* Name() const override { return "sdl"; }

    void CreateNativeWindow(CWindowWnd& w) override {
        Rect r = w.GetWindowRect();
        uint32_t flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI;
        if (w.ClosesOnOutsideClick())
            flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
        else if (w.GetExStyle() & WS_EX_TOOLWINDOW)
            flags |= SDL_WINDOW_UTILITY | SDL_WINDOW_SKIP_TASKBAR;
        if (w.IsTopmost())
            flags |= SDL_WINDOW_ALWAYS_ON_TOP;
        auto n = std::make_unique<NativeWindow>();
        n->hwnd = w.GetHWND();
        n->window = SDL_CreateWindow(w.GetCaption().c_str(), r.left, r.top, std::max(1, r.Width()),
                                     std::max(1, r.Height()), flags);
        if (!n->window) {
            platform::Trace("SDL window %u not created: %s", n->hwnd, SDL_GetError());
            return;
        }
        n->renderer = SDL_CreateRenderer(n->window, -1, 0);
        if (!n->renderer)
            platform::Trace("SDL renderer for window %u not created: %s", n->hwnd, SDL_GetError());
        // An owned window stays above its owner.
        if (NativeWindow* owner = Find(w.GetOwner()))
            SDL_SetWindowModalFor(n->window, owner->window);
        // Presses on the skin's caption move the window (the desktop does the moving).
        SDL_SetWindowHitTest(n->window, &SdlBackend::HitTest, this);
        byId_[SDL_GetWindowID(n->window)] = n->hwnd;
        windows_[n->hwnd] = std::move(n);
    }

    void DestroyNativeWindow(HWND hwnd) override {
        auto it = windows_.find(hwnd);
        if (it == windows_.end())
            return;
        if (it->second->buttons)
            SDL_CaptureMouse(SDL_FALSE);
        byId_.erase(SDL_GetWindowID(it->second->window));
        windows_.erase(it);
    }

    void ShowNativeWindow(HWND hwnd, bool show, bool activate) override {
        NativeWindow* n = Find(hwnd);
        if (!n)
            return;
        if (!show) {
            n->activateWhenMapped = false;
            SDL_HideWindow(n->window);
            return;
        }
        n->fullPaint = true;
        SDL_ShowWindow(n->window);
        if (!activate)
            return;
        SDL_RaiseWindow(n->window);
        // Input focus can be given only to a mapped window; otherwise when it is mapped.
        if (n->mapped)
            SDL_SetWindowInputFocus(n->window);
        else
            n->activateWhenMapped = true;
    }

    void MoveNativeWindow(HWND hwnd, const Rect& r) override {
        NativeWindow* n = Find(hwnd);
        if (!n)
            return;
        int x = 0, y = 0, w = 0, h = 0;
        SDL_GetWindowPosition(n->window, &x, &y);
        SDL_GetWindowSize(n->window, &w, &h);
        if (x != r.left || y != r.top) {
            n->pendingMoves.push_back({r.left, r.top});
            SDL_SetWindowPosition(n->window, r.left, r.top);
        }
        Size size{std::max(1, r.Width()), std::max(1, r.Height())};
        if (w != size.cx || h != size.cy) {
            n->pendingSizes.push_back(size);
            SDL_SetWindowSize(n->window, size.cx, size.cy);
            n->fullPaint = true;
        }
    }

    void SetNativeTopmost(HWND hwnd, bool on) override {
        if (NativeWindow* n = Find(hwnd))
            SDL_SetWindowAlwaysOnTop(n->window, on ? SDL_TRUE : SDL_FALSE);
    }

    void SetNativeMinimized(HWND hwnd, bool on) override {
        NativeWindow* n = Find(hwnd);
        if (!n)
            return;
        if (on) {
            SDL_MinimizeWindow(n->window);
        } else {
            SDL_RestoreWindow(n->window);
            n->fullPaint = true;
        }
    }

    void SetNativeCaption(HWND hwnd, const std::string& caption) override {
        if (NativeWindow* n = Find(hwnd))
            SDL_SetWindowTitle(n->window, caption.c_str());
    }

    bool PumpEvents() override {
        bool any = false;
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            any = Translate(e) || any;
        }
        return CheckHover() || any;
    }

    bool WaitsForEvents() const override { return true; }

    void WaitEvents(uint32_t ms) override {
        // A resting pointer must be noticed on time even when nothing else happens.
        uint64_t now = platform::NowMs();
        for (const auto& [h, n] : windows_)
            if (n->pointerInside && !n->hoverSent)
                ms = static_cast<uint32_t>(std::min<uint64_t>(
                    ms, n->hoverSince + kHoverMs > now ? n->hoverSince + kHoverMs - now : 0));
        SDL_Event e;
        if (ms > 0 && SDL_WaitEventTimeout(&e, static_cast<int>(ms)))
            Translate(e);
        PumpEvents();
    }

    void Wake() override {
        if (wakePending_.exchange(true))
            return;  // a wake-up is already on its way
        std::shared_lock lock(lifeMutex_);
        if (!alive_)
            return;
        SDL_Event e{};
        e.type = wakeEvent_;
        if (SDL_PushEvent(&e) <= 0)
            wakePending_ = false;
    }

    void Present(CWindowWnd& w, CPaintManagerUI& pm) override {
        NativeWindow* n = Find(w.GetHWND());
        if (!n || !n->renderer) {
            pm.TakeInvalidRect();
            return;
        }
        int pw = 0, ph = 0, ww = 0, wh = 0;
        SDL_GetRendererOutputSize(n->renderer, &pw, &ph);
        SDL_GetWindowSize(n->window, &ww, &wh);
        if (pw <= 0 || ph <= 0 || ww <= 0)
            return;
        if (!n->surface || pw != n->pixelW || ph != n->pixelH) {
            if (n->surface)
                cairo_surface_destroy(n->surface);
            if (n->texture)
                SDL_DestroyTexture(n->texture);
            n->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pw, ph);
            // cairo's ARGB32 is a native-endian 32-bit word per pixel, as SDL's ARGB8888.
            n->texture = SDL_CreateTexture(n->renderer, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STREAMING, pw, ph);
            n->pixelW = pw;
            n->pixelH = ph;
            n->fullPaint = true;
        }
        if (!n->texture)
            return;
        const double scale = double(pw) / ww;
        Size client = pm.GetClientSize();
        Rect r = pm.TakeInvalidRect();
        if (n->fullPaint)
            r = {0, 0, client.cx, client.cy};
        n->fullPaint = false;
        if (!r.Empty()) {
            cairo_t* cr = cairo_create(n->surface);
            cairo_scale(cr, scale, scale);
            PaintTree(pm, cr, r);
            cairo_destroy(cr);
            cairo_surface_flush(n->surface);
            SDL_Rect px;
            px.x = std::clamp(static_cast<int>(std::floor(r.left * scale)), 0, pw);
            px.y = std::clamp(static_cast<int>(std::floor(r.top * scale)), 0, ph);
            px.w = std::clamp(static_cast<int>(std::ceil(r.right * scale)), 0, pw) - px.x;
            px.h = std::clamp(static_cast<int>(std::ceil(r.bottom * scale)), 0, ph) - px.y;
            if (px.w > 0 && px.h > 0) {
                const int stride = cairo_image_surface_get_stride(n->surface);
                const unsigned char* data = cairo_image_surface_get_data(n->surface);
                SDL_UpdateTexture(n->texture, &px, data + px.y * stride + px.x * 4, stride);
            }
        }
        Show(*n);
    }

    std::optional<Rect> MonitorRect(HWND hwnd) const override {
        int index = 0;
        if (const NativeWindow* n = Find(hwnd))
            index = std::max(0, SDL_GetWindowDisplayIndex(n->window));
        SDL_Rect r;
        if (SDL_GetDisplayBounds(index, &r) != 0)
            return std::nullopt;
        return Rect{r.x, r.y, r.x + r.w, r.y + r.h};
    }

    double PixelScale(HWND hwnd) const override {
        const NativeWindow* n = Find(hwnd);
        if (!n || !n->renderer)
            return 1.0;
        int pw = 0, ph = 0, ww = 0, wh = 0;
        SDL_GetRendererOutputSize(n->renderer, &pw, &ph);
        SDL_GetWindowSize(n->window, &ww, &wh);
        return ww > 0 && pw > 0 ? double(pw) / ww : 1.0;
    }

  private:
    static SDL_HitTestResult HitTest(SDL_Window* window, const SDL_Point* at, void* self) {
        auto* backend = static_cast<SdlBackend*>(self);
        NativeWindow* n = backend->FindById(SDL_GetWindowID(window));
        if (!n)
            return SDL_HITTEST_NORMAL;
        for (CPaintManagerUI* pm : CPaintManagerUI::AllManagers())
            if (pm->GetPaintWindow() == n->hwnd)
                return pm->IsCaptionAt({at->x, at->y}) ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
        return SDL_HITTEST_NORMAL;
    }

    NativeWindow* Find(HWND hwnd) const {
        auto it = windows_.find(hwnd);
        return it == windows_.end() ? nullptr : it->second.get();
    }
    NativeWindow* FindById(uint32_t id) const {
        auto it = byId_.find(id);
        return it == byId_.end() ? nullptr : Find(it->second);
    }

    // Copies the window's texture to the screen.
    void Show(NativeWindow& n) {
        if (!n.texture)
            return;
        SDL_RenderCopy(n.renderer, n.texture, nullptr, nullptr);
        SDL_RenderPresent(n.renderer);
    }

    void PointerAt(NativeWindow& n, Point p) {
        n.pointer = p;
        if (!n.pointerInside) {
            n.pointerInside = true;
            n.hoverSent = false;
            n.hoverAnchor = p;
            n.hoverSince = platform::NowMs();
            return;
        }
        if (std::abs(p.x - n.hoverAnchor.x) > kHoverSlop ||
            std::abs(p.y - n.hoverAnchor.y) > kHoverSlop) {
            // Moving on: the next rest counts afresh.
            n.hoverSent = false;
            n.hoverAnchor = p;
            n.hoverSince = platform::NowMs();
        }
    }

    void Leave(NativeWindow& n) {
        n.pointerInside = false;
        n.leaveAfterRelease = false;
        PostMessage(n.hwnd, WM_MOUSELEAVE, 0, 0);
    }

    bool CheckHover() {
        bool any = false;
        uint64_t now = platform::NowMs();
        for (auto& [h, n] : windows_) {
            if (n->pointerInside && !n->hoverSent && now >= n->hoverSince + kHoverMs) {
                n->hoverSent = true;
                PostMessage(h, WM_MOUSEHOVER, n->buttons | ModifierFlags(),
                            MakeLParam(n->pointer.x, n->pointer.y));
                any = true;
            }
        }
        return any;
    }

    void Press(NativeWindow& n, const SDL_MouseButtonEvent& b, bool down) {
        uint64_t flag = b.button == SDL_BUTTON_LEFT     ? MK_LBUTTON
                        : b.button == SDL_BUTTON_RIGHT  ? MK_RBUTTON
                        : b.button == SDL_BUTTON_MIDDLE ? MK_MBUTTON
                                                        : 0;
        if (!flag)
            return;
        Point p{b.x, b.y};
        uint64_t before = n.buttons;
        n.buttons = down ? n.buttons | flag : n.buttons & ~flag;
        // While a button is held the window keeps the pointer, inside or out (a drag).
        if (!before && n.buttons)
            SDL_CaptureMouse(SDL_TRUE);
        if (before && !n.buttons)
            SDL_CaptureMouse(SDL_FALSE);
        uint32_t msg = 0;
        if (flag == MK_LBUTTON)
            msg = !down ? WM_LBUTTONUP : (b.clicks % 2 == 0 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN);
        else if (flag == MK_RBUTTON)
            msg = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        if (msg)
            PostMessage(n.hwnd, msg, n.buttons | ModifierFlags(), MakeLParam(p.x, p.y));
        int w = 0, h = 0;
        SDL_GetWindowSize(n.window, &w, &h);
        if (!n.buttons && n.leaveAfterRelease && !Rect{0, 0, w, h}.Contains(p))
            Leave(n);
    }

    void Key(const SDL_KeyboardEvent& k, bool down) {
        NativeWindow* n = FindById(k.windowID);
        uint32_t vk = VirtualKeyFromSdl(k.keysym.sym);
        if (!n || !vk)
            return;
        // Repeat count 1, scan code, extended-key bit, previous state and transition bits.
        int64_t l = 1 | (static_cast<int64_t>(k.keysym.scancode & 0xFF) << 16);
        if (IsExtendedKey(k.keysym.sym))
            l |= int64_t(1) << 24;
        if (!down || k.repeat)
            l |= int64_t(1) << 30;
        if (!down)
            l |= int64_t(1) << 31;
        PostMessage(n->hwnd, down ? WM_KEYDOWN : WM_KEYUP, vk, l);
        // The keys that type a control character (text input reports only printable text).
        if (down && (vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE))
            PostMessage(n->hwnd, WM_CHAR, vk, l);
    }

    void WindowEvent(const SDL_WindowEvent& we) {
        NativeWindow* n = FindById(we.windowID);
        if (!n)
            return;
        CWindowWnd* w = WindowFromHandle(n->hwnd);
        switch (we.event) {
            case SDL_WINDOWEVENT_SHOWN:
                n->mapped = true;
                n->fullPaint = true;
                if (n->activateWhenMapped) {
                    n->activateWhenMapped = false;
                    SDL_SetWindowInputFocus(n->window);
                }
                if (w && w->IsVisible())
                    PresentAgain(*n);
                break;
            case SDL_WINDOWEVENT_HIDDEN:
                n->mapped = false;
                break;
            case SDL_WINDOWEVENT_EXPOSED:
                Show(*n);
                break;
            case SDL_WINDOWEVENT_MOVED: {
                Point p{we.data1, we.data2};
                if (Confirm(n->pendingMoves, p) || !w)
                    break;
                Rect r = w->GetWindowRect();
                w->OnDisplayMoved({p.x, p.y, p.x + r.Width(), p.y + r.Height()});
                break;
            }
            case SDL_WINDOWEVENT_SIZE_CHANGED: {
                Size s{we.data1, we.data2};
                n->fullPaint = true;
                if (Confirm(n->pendingSizes, s) || !w)
                    break;
                Rect r = w->GetWindowRect();
                w->OnDisplayMoved({r.left, r.top, r.left + s.cx, r.top + s.cy});
                break;
            }
            case SDL_WINDOWEVENT_MINIMIZED:
                if (w)
                    w->OnDisplayMinimized(true);
                break;
            case SDL_WINDOWEVENT_RESTORED:
                n->fullPaint = true;
                if (w) {
                    w->OnDisplayMinimized(false);
                    PresentAgain(*n);
                }
                break;
            case SDL_WINDOWEVENT_ENTER: {
                int x = 0, y = 0;
                SDL_GetMouseState(&x, &y);
                n->pointerInside = false;
                PointerAt(*n, {x, y});
                break;
            }
            case SDL_WINDOWEVENT_LEAVE:
                if (n->buttons)
                    n->leaveAfterRelease = true;  // the drag goes on; leave when it ends
                else if (n->pointerInside)
                    Leave(*n);
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                PostMessage(n->hwnd, WM_ACTIVATE, 1, 0);
                break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                PostMessage(n->hwnd, WM_ACTIVATE, 0, 0);
                break;
            case SDL_WINDOWEVENT_CLOSE:
                PostMessage(n->hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
                break;
            default:
                break;
        }
    }

    // Marks the window for a full repaint on the loop's next round.
    void PresentAgain(NativeWindow& n) {
        n.fullPaint = true;
        for (CPaintManagerUI* pm : CPaintManagerUI::AllManagers())
            if (pm->GetPaintWindow() == n.hwnd)
                pm->Invalidate();
    }

    // True when value answers one of our own requests (older ones are dropped with it).
    template <typename T>
    static bool Confirm(std::deque<T>& pending, const T& value) {
        auto it = std::find(pending.begin(), pending.end(), value);
        if (it == pending.end()) {
            pending.clear();  // the desktop's own change
            return false;
        }
        pending.erase(pending.begin(), it + 1);
        return true;
    }

    bool Translate(const SDL_Event& e) {
        if (e.type == wakeEvent_) {
            wakePending_ = false;
            return false;
        }
        switch (e.type) {
            case SDL_MOUSEMOTION: {
                NativeWindow* n = FindById(e.motion.windowID);
                if (!n)
                    return false;
                Point p{e.motion.x, e.motion.y};
                PointerAt(*n, p);
                PostMessage(n->hwnd, WM_MOUSEMOVE, ButtonFlags(e.motion.state) | ModifierFlags(),
                            MakeLParam(p.x, p.y));
                return true;
            }
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                NativeWindow* n = FindById(e.button.windowID);
                if (!n || e.button.which == SDL_TOUCH_MOUSEID)
                    return false;
                Press(*n, e.button, e.type == SDL_MOUSEBUTTONDOWN);
                return true;
            }
            case SDL_MOUSEWHEEL: {
                NativeWindow* n = FindById(e.wheel.windowID);
                if (!n)
                    return false;
                float y = e.wheel.preciseY;
                if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
                    y = -y;
                int delta = static_cast<int>(std::lround(y * 120));
                if (!delta)
                    return false;
                uint64_t w = (static_cast<uint64_t>(static_cast<uint16_t>(delta)) << 16) |
                             n->buttons | ModifierFlags();
                PostMessage(n->hwnd, WM_MOUSEWHEEL, w, MakeLParam(e.wheel.mouseX, e.wheel.mouseY));
                return true;
            }
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                Key(e.key, e.type == SDL_KEYDOWN);
                return true;
            case SDL_TEXTINPUT: {
                NativeWindow* n = FindById(e.text.windowID);
                if (!n)
                    return false;
                for (uint32_t cp : CodePoints(e.text.text))
                    PostMessage(n->hwnd, WM_CHAR, cp, 1);
                return true;
            }
            case SDL_WINDOWEVENT:
                WindowEvent(e.window);
                return true;
            case SDL_DISPLAYEVENT: {
                // A monitor came, went or turned: every window hears of it, as on a desktop.
                auto r = MonitorRect(0);
                for (const auto& [h, n] : windows_)
                    PostMessage(h, WM_DISPLAYCHANGE, 32,
                                r ? MakeLParam(r->Width(), r->Height()) : 0);
                return true;
            }
            default:
                return false;
        }
    }

    uint32_t wakeEvent_;
    std::atomic<bool> wakePending_{false};
    std::shared_mutex lifeMutex_;
    bool alive_ = true;
    std::map<HWND, std::unique_ptr<NativeWindow>> windows_;
    std::map<uint32_t, HWND> byId_;
};

}  // namespace

std::unique_ptr<DisplayBackend> CreateSdlBackend(std::string* error) {
    // The program handles its own signals; it does not keep the screen saver away; clicks reach
    // an inactive window; double clicks within the platform's 4-pixel square.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, "4");
    // The pixels are painted by cairo; the renderer only copies them to the window, which the
    // software renderer does without a GPU context (SDL_RENDER_DRIVER still overrides it).
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    // ... straight into the window's own framebuffer, not through a GL texture.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error)
            *error = SDL_GetError();
        SDL_Quit();
        return nullptr;
    }
    uint32_t wake = SDL_RegisterEvents(1);
    if (wake == static_cast<uint32_t>(-1)) {
        if (error)
            *error = "no user event for wake-ups";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Quit();
        return nullptr;
    }
    platform::Trace("display: SDL video driver %s", SDL_GetCurrentVideoDriver());
    return std::make_unique<SdlBackend>(wake);
}

}  // namespace dravik::ui
