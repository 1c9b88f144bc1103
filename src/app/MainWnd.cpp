#include "app/MainWnd.h"

#include "app/ControlRegistry.h"
#include "app/RegisteredMessageTable.h"
#include "controls/AboutWnd.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/Trace.h"
#include "ui/MenuWnd.h"
#include "ui/ResourceManager.h"

namespace dravik {

void CMainWnd::InitWindow() {
    platform::Trace("InitWindow");
    ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
    SetIcon(kMainIconResource);
    tray_.Create(GetHWND(), kMainIconResource, platform::kProductIdentity, kTrayIconMessage);
}

ui::CControlUI* CMainWnd::CreateControl(const std::string& tag) {
    return CreateMainLayoutControl(tag, &pm_);
}

void CMainWnd::RestoreAndActivate() {
    SetMinimized(false);
    ShowWindow(true);
    SetTopmost(true);
    platform::SleepMs(10);
    SetTopmost(false);
}

void CMainWnd::OnClick(ui::TNotifyUI& msg) {
    if (!msg.pSender)
        return;
    const std::string& name = msg.pSender->GetName();
    if (name == "closebtn")
        ShowWindow(false);  // the program keeps running in the tray
    else if (name == "minbtn")
        SetMinimized(true);
}

int64_t CMainWnd::HandleCustomMessage(uint32_t msg, uint64_t wParam, int64_t lParam,
                                      bool& handled) {
    handled = false;
    if (msg == Messages().productIdentity && msg != 0) {
        RestoreAndActivate();
        handled = true;
        return 0;
    }
    if (msg == kTrayIconMessage) {
        if (lParam == ui::WM_LBUTTONUP) {
            if (IsVisible() && !IsMinimized())
                ShowWindow(false);
            else
                RestoreAndActivate();
        } else if (lParam == ui::WM_RBUTTONUP) {
            auto* menu = new ui::CMenuWnd;
            menu->Init("menu.xml", {GetWindowRect().right, GetWindowRect().bottom}, &pm_,
                       ui::eMenuAlignment_Right | ui::eMenuAlignment_Bottom);
        }
        handled = true;
        return 0;
    }
    if (msg == ui::kMenuCommandMessage) {
        auto* cmd = reinterpret_cast<const ui::MenuCommand*>(lParam);
        if (cmd && cmd->name == "exit")
            Close(ui::IDOK);
        if (cmd && cmd->name == "about_menu")
            CAboutWnd::Open(GetHWND(), aboutWindow_);
        handled = true;
        return 0;
    }
    (void)wParam;
    return 0;
}

int64_t CMainWnd::OnDestroy(bool& handled) {
    tray_.Remove();
    ui::PostQuitMessage(0);
    handled = false;  // the library's own destroy handling runs as well
    return 0;
}

}  // namespace dravik
