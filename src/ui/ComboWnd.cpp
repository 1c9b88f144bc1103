#include "ui/ComboWnd.h"

#include <algorithm>

#include "ui/ListControls.h"
#include "ui/Screen.h"

namespace dravik::ui {
namespace {
constexpr int kItemHeight = 26;
constexpr int kMaxVisibleItems = 8;
}  // namespace

CComboWnd* CComboWnd::Open(CComboUI* combo) {
    CPaintManagerUI* ownerPm = combo ? combo->GetManager() : nullptr;
    CWindowWnd* ownerWnd = ownerPm ? ownerPm->GetWindow() : nullptr;
    if (!ownerWnd)
        return nullptr;
    auto* wnd = new CComboWnd;
    wnd->combo_ = combo;
    wnd->owner_ = ownerWnd->GetHWND();
    // Below the combo, as wide as it, tall enough for up to eight items; on the screen.
    const Rect at =
        combo->GetPos().Offset(ownerWnd->GetWindowRect().left, ownerWnd->GetWindowRect().top);
    int rows = std::clamp(combo->GetCount(), 1, kMaxVisibleItems);
    int height = ownerPm->Scale(kItemHeight) * rows + 2;
    int y = at.bottom;
    if (y + height > ScreenSize().cy)
        y = std::max(0, at.top - height);
    if (!wnd->Create(wnd->owner_, "", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, at.left, y,
                     std::max(at.Width(), 40), height)) {
        delete wnd;
        return nullptr;
    }
    wnd->pm_.Init(wnd);
    wnd->pm_.SetDPI(ownerPm->GetDPI());
    wnd->pm_.SetClientSize({wnd->GetWindowRect().Width(), wnd->GetWindowRect().Height()});
    auto* list = new CListUI;
    list->SetName("combo_dropdown");
    list->SetBkColor(0xFFFFFFFF);
    list->SetAttribute("bordercolor", "#FF8A8F99");
    list->SetAttribute("bordersize", "1");
    list->SetInset({1, 1, 1, 1});
    for (int i = 0; i < combo->GetCount(); ++i) {
        CControlUI* source = combo->GetItemAt(i);
        auto* item = new CListLabelElementUI;
        item->SetName(source->GetName());
        item->SetText(source->GetRawText());
        item->SetResourceText(source->IsResourceText());
        item->SetFixedHeight(kItemHeight);
        item->SetAttribute("textpadding", "6,0,6,0");
        item->SetAttribute("valign", "center");
        item->SetVisible(source->IsVisible());
        list->Add(item);
    }
    wnd->pm_.AttachDialog(list);
    wnd->pm_.AddNotifier(wnd);
    list->SelectItem(combo->GetCurSel(), false, false);
    wnd->ShowWindow(true);
    return wnd;
}

int64_t CComboWnd::HandleMessage(uint32_t msg, uint64_t wParam, int64_t lParam) {
    int64_t result = 0;
    if (msg == WM_SIZE)
        pm_.SetClientSize({LParamX(lParam) & 0xFFFF, LParamY(lParam) & 0xFFFF});
    if (pm_.GetRoot() && pm_.MessageHandler(msg, wParam, lParam, result))
        return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

void CComboWnd::Notify(TNotifyUI& msg) {
    if (msg.sType != "itemselect" || !msg.pSender)
        return;
    // The choice reaches the combo once the drop-down is gone, from a clean stack.
    int index = static_cast<int>(msg.wParam);
    HWND owner = owner_;
    CComboUI* combo = combo_;
    ShowWindow(false);
    Close(IDOK);
    PostTask([owner, combo, index] {
        if (IsWindow(owner))
            combo->SelectItem(index, true, true);
    });
}

}  // namespace dravik::ui
