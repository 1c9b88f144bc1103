#include "controls/MsgWnd.h"

#include <strings.h>

#include "platform/Trace.h"

namespace dravik {

bool HandleCaptionButton(ui::CWindowWnd& wnd, const std::string& name, uint32_t closeResult) {
    auto is = [&](const char* n) { return strcasecmp(name.c_str(), n) == 0; };
    if (is("closebtn")) {
        wnd.Close(closeResult);
    } else if (is("minbtn")) {
        ui::SendMessage(wnd.GetHWND(), ui::WM_SYSCOMMAND, ui::SC_MINIMIZE, 0);
    } else if (is("maxbtn")) {
        ui::SendMessage(wnd.GetHWND(), ui::WM_SYSCOMMAND, ui::SC_MAXIMIZE, 0);
    } else if (is("restorebtn")) {
        ui::SendMessage(wnd.GetHWND(), ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    } else {
        return false;
    }
    return true;
}

int CMsgWnd::CheckedDpi(int dpi) {
    switch (dpi) {
        case 48:
        case 72:
        case 96:
        case 120:
        case 144:
        case 168:
        case 192:
            return dpi;
        default:
            platform::Trace("MSG_WND DPI SET ERROR");
            return 96;
    }
}

uint32_t CMsgWnd::ShowMessageBox(ui::HWND parent, const std::string& title, const std::string& text,
                                 int dpi, bool textIsResource, int buttonMode) {
    auto* wnd = new CMsgWnd;
    if (!wnd->Create(parent, "msgwnd", ui::WS_POPUP | ui::WS_CLIPCHILDREN, ui::WS_EX_TOOLWINDOW, 0,
                     0, 400, 200) ||
        !wnd->GetPaintManager().GetRoot()) {
        if (wnd->GetHWND())
            wnd->DestroyWindow();  // deletes itself
        else
            delete wnd;
        return 0;
    }
    ui::CPaintManagerUI& pm = wnd->GetPaintManager();
    if (!title.empty())
        if (ui::CControlUI* t = pm.FindControl("MessageTitle"))
            t->SetText(title);
    if (!text.empty()) {
        if (ui::CControlUI* t = pm.FindControl("MessageText")) {
            t->SetText(text);
            if (textIsResource)
                t->SetResourceText(true);
        }
    }
    wnd->dpi_ = CheckedDpi(dpi);
    ui::CPaintManagerUI::SetAllDPI(wnd->dpi_);
    ui::CControlUI* confirm = pm.FindControl("confirm_btn");
    ui::CControlUI* cancel = pm.FindControl("cancel_btn");
    if (buttonMode == 0) {
        if (confirm)
            confirm->SetVisible(true);
        if (cancel)
            cancel->SetVisible(false);
    } else if (buttonMode == 1) {
        if (confirm)
            confirm->SetVisible(true);
        if (cancel)
            cancel->SetVisible(true);
    }
    wnd->CenterWindow();
    return wnd->ShowModal();
}

int64_t CMsgWnd::HandleCustomMessage(uint32_t msg, uint64_t wParam, int64_t lParam, bool& handled) {
    handled = false;
    if (msg != ui::WM_DPICHANGED)
        return 0;
    handled = true;
    dpi_ = static_cast<int>(wParam & 0xFFFF);
    pm_.SetDPI(dpi_);
    if (const auto* suggested = reinterpret_cast<const ui::Rect*>(lParam))
        MoveWindow(suggested->left, suggested->top, suggested->Width(), suggested->Height());
    pm_.NeedUpdate();
    return 0;
}

void CMsgWnd::InitWindow() {
    closeButton_ = pm_.FindControl("closebtn");
}

void CMsgWnd::Notify(ui::TNotifyUI& msg) {
    if (msg.sType == "click" && msg.pSender) {
        const std::string& name = msg.pSender->GetName();
        if (strcasecmp(name.c_str(), "confirm_btn") == 0) {
            Close(1);
            return;
        }
        if (strcasecmp(name.c_str(), "cancel_btn") == 0) {
            Close(0);
            return;
        }
        if (HandleCaptionButton(*this, name, 0))
            return;
    }
    NotifyPump(msg);
}

}  // namespace dravik
