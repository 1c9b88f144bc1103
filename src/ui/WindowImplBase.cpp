#include "ui/WindowImplBase.h"

#include "platform/Trace.h"

namespace dravik::ui {

void WindowImplBase::Notify(TNotifyUI& msg) {
    if (msg.sType == "click") {
        OnClick(msg);
    }
    NotifyPump(msg);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
    if (!msg.pSender)
        return;
    const std::string& name = msg.pSender->GetName();
    if (name == "closebtn")
        Close(IDOK);
    else if (name == "minbtn")
        SetMinimized(true);
}

int64_t WindowImplBase::HandleCustomMessage(uint32_t, uint64_t, int64_t, bool& handled) {
    handled = false;
    return 0;
}

int64_t WindowImplBase::OnCreate() {
    pm_.Init(this);
    pm_.SetClientSize({GetWindowRect().Width(), GetWindowRect().Height()});
    CDialogBuilder builder;
    CControlUI* root = builder.Create(GetSkinFile(), "", this, &pm_);
    if (!root) {
        platform::Trace("layout %s could not be built: %s", GetSkinFile().c_str(),
                        builder.LastError().c_str());
        return -1;
    }
    pm_.AttachDialog(root);
    pm_.AddNotifier(this);
    InitWindow();
    return 0;
}

int64_t WindowImplBase::OnDestroy(bool& handled) {
    handled = false;
    return 0;
}

int64_t WindowImplBase::HandleMessage(uint32_t msg, uint64_t wParam, int64_t lParam) {
    bool handled = false;
    int64_t r = HandleCustomMessage(msg, wParam, lParam, handled);
    if (handled)
        return r;
    switch (msg) {
        case WM_CREATE:
            return OnCreate();
        case WM_DESTROY: {
            r = OnDestroy(handled);
            if (handled)
                return r;
            break;
        }
        case WM_SHOWWINDOW:
            if (wParam && !windowInitSent_ && pm_.GetRoot()) {
                windowInitSent_ = true;
                pm_.LayoutIfNeeded();
                pm_.SendNotify(pm_.GetRoot(), "windowinit", 0, 0, true);
            }
            break;
        case WM_SIZE:
            pm_.SetClientSize({LParamX(lParam) & 0xFFFF, LParamY(lParam) & 0xFFFF});
            break;
        default:
            break;
    }
    int64_t result = 0;
    if (pm_.MessageHandler(msg, wParam, lParam, result))
        return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

}  // namespace dravik::ui
