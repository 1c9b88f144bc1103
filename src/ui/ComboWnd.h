#pragma once
// The drop-down of a combo: a popup window under the combo listing its items. Clicking an item
// closes the drop-down and selects the item in the combo as the user's choice ("itemselect");
// a click anywhere else closes it without a choice.
#include <string>

#include "ui/PaintManager.h"
#include "ui/Window.h"

namespace dravik::ui {

class CComboUI;

class CComboWnd : public CWindowWnd, public INotifyUI {
  public:
    // Opens the drop-down for combo; the object deletes itself when its window goes.
    static CComboWnd* Open(CComboUI* combo);
    std::string GetWindowClassName() const override { return "ComboWnd"; }
    bool ClosesOnOutsideClick() const override { return true; }
    int64_t HandleMessage(uint32_t msg, uint64_t wParam, int64_t lParam) override;
    void OnFinalMessage(HWND) override { delete this; }
    void Notify(TNotifyUI& msg) override;
    CPaintManagerUI& GetPaintManager() { return pm_; }

  private:
    CComboWnd() = default;
    CComboUI* combo_ = nullptr;
    HWND owner_ = 0;
    CPaintManagerUI pm_;
};

}  // namespace dravik::ui
