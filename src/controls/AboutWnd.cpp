#include "controls/AboutWnd.h"

#include "controls/MsgWnd.h"

namespace dravik {

void CAboutWnd::Open(ui::HWND owner, ui::HWND& heldHandle) {
    if (heldHandle && ui::IsWindow(heldHandle))
        return;  // one About window at a time
    auto* wnd = new CAboutWnd;
    ui::HWND h = wnd->Create(owner, "  ", ui::WS_POPUP | ui::WS_VISIBLE, ui::WS_EX_TOOLWINDOW, 0, 0,
                             800, 572);
    if (!h || !wnd->GetPaintManager().GetRoot()) {
        if (h)
            wnd->DestroyWindow();
        else
            delete wnd;
        return;
    }
    heldHandle = h;
    wnd->CenterWindow();
    wnd->ShowModal();
    heldHandle = 0;
}

void CAboutWnd::InitWindow() {
    closeBtn_ = pm_.FindControl("closebtn");
    maxBtn_ = pm_.FindControl("maxbtn");
    restoreBtn_ = pm_.FindControl("restorebtn");
    minBtn_ = pm_.FindControl("minbtn");
    menuBtn_ = pm_.FindControl("menubtn");
    // The version text comes from the language, read back through the hidden lookup label.
    ui::CControlUI* lookup = pm_.FindControl("text_test");
    ui::CControlUI* version = pm_.FindControl("software_ver_label");
    if (lookup && version) {
        lookup->SetResourceText(true);
        lookup->SetText("software_rev_text");
        version->SetText(lookup->GetText());
    }
}

void CAboutWnd::Notify(ui::TNotifyUI& msg) {
    if (msg.sType == "click" && msg.pSender) {
        if (msg.pSender->GetName() == "homepage_btn")
            return;
        if (HandleCaptionButton(*this, msg.pSender->GetName(), ui::IDOK))
            return;
    }
    NotifyPump(msg);
}

void CAboutWnd::SwapZoomButtons() {
    if (maxBtn_)
        maxBtn_->SetVisible(!zoomed_);
    if (restoreBtn_)
        restoreBtn_->SetVisible(zoomed_);
}

int64_t CAboutWnd::HandleCustomMessage(uint32_t msg, uint64_t wParam, int64_t, bool& handled) {
    handled = false;
    if (msg == ui::WM_SYSCOMMAND) {
        handled = true;
        const uint64_t cmd = wParam & 0xFFF0;
        if (cmd == ui::SC_CLOSE) {
            // Closing the About window closes only this window, never the program.
            Close(ui::IDOK);
            return 0;
        }
        bool wasZoomed = zoomed_;
        if (cmd == ui::SC_MAXIMIZE)
            zoomed_ = true;
        if (cmd == ui::SC_RESTORE)
            zoomed_ = false;
        if (cmd == ui::SC_MINIMIZE)
            SetMinimized(true);
        if (zoomed_ != wasZoomed)
            SwapZoomButtons();
        return 0;
    }
    if (msg == ui::WM_TIMER && wParam == 1) {
        ui::KillTimer(GetHWND(), 1);
        handled = true;
        return 0;
    }
    if (msg == kLanguageChangedMessage) {
        pm_.NeedUpdate();
        pm_.Invalidate();
        handled = true;
    }
    return 0;
}

}  // namespace dravik
