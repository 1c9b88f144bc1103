#include "ui/MenuWnd.h"

#include <algorithm>

#include "ui/Container.h"
#include "ui/ListControls.h"
#include "ui/Screen.h"

namespace dravik::ui {

void* CMenuElementUI::GetInterface(const std::string& name) {
    return name == "MenuElement" ? this : CListLabelElementUI::GetInterface(name);
}

Rect CMenuWnd::Place(Point p, Size size, uint32_t alignment, Size screen) {
    int x = p.x, y = p.y;
    if (alignment & eMenuAlignment_Right)
        x = p.x - size.cx;
    if (alignment & eMenuAlignment_Bottom)
        y = p.y - size.cy;
    x = std::clamp(x, 0, std::max(0, screen.cx - size.cx));
    y = std::clamp(y, 0, std::max(0, screen.cy - size.cy));
    return {x, y, x + size.cx, y + size.cy};
}

bool CMenuWnd::Init(const std::string& xml, Point point, CPaintManagerUI* ownerManager,
                    uint32_t alignment) {
    xml_ = xml;
    owner_ = ownerManager ? ownerManager->GetPaintWindow() : 0;
    if (!Create(owner_, "", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, 0, 0, 160, 10))
        return false;
    CControlUI* root = pm_.GetRoot();
    if (!root) {
        DestroyWindow();
        return false;
    }
    // The menu is as tall as its items.
    int height = 0, width = 160;
    auto* box = static_cast<CContainerUI*>(root->GetInterface("Container"));
    for (int i = 0; box && i < box->GetCount(); ++i) {
        CControlUI* item = box->GetItemAt(i);
        if (!item->IsVisible())
            continue;
        height += item->GetFixedHeight() > 0 ? item->GetFixedHeight() : 30;
        width = std::max(width, item->GetFixedWidth());
    }
    if (box)
        height += box->GetInset().top + box->GetInset().bottom;
    Size size{pm_.Scale(width), pm_.Scale(std::max(height, 10))};
    Rect at = Place(point, size, alignment, ScreenSize());
    MoveWindow(at.left, at.top, at.Width(), at.Height());
    ShowWindow(true);
    return true;
}

void CMenuWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == "itemclick" && msg.pSender && msg.pSender->GetInterface("MenuElement")) {
        // The menu goes away first; the command reaches the owner from a clean stack, so that
        // what it opens (a modal window, say) does not run inside this menu's notification.
        MenuCommand cmd{msg.pSender->GetName(), msg.pSender->GetText()};
        HWND owner = owner_;
        ShowWindow(false);
        Close(IDOK);
        if (owner) {
            PostTask([owner, cmd] {
                SendMessageChecked(owner, kMenuCommandMessage, 0, reinterpret_cast<int64_t>(&cmd));
            });
        }
        return;
    }
    WindowImplBase::Notify(msg);
}

}  // namespace dravik::ui
