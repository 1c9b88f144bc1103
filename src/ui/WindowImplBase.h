#pragma once
// WindowImplBase: a window whose content is a skin layout. It owns the window's paint manager,
// builds the layout named by GetSkinFile() (with itself as the builder callback), sends
// "windowinit" once the window is laid out, routes notifications through its notify pump, and
// passes window messages to HandleCustomMessage before the library's own handling.
#include <string>

#include "ui/DialogBuilder.h"
#include "ui/NotifyPump.h"
#include "ui/PaintManager.h"
#include "ui/Window.h"

namespace dravik::ui {

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
  public:
    WindowImplBase() = default;
    ~WindowImplBase() override = default;

    virtual std::string GetSkinFile() = 0;
    virtual void InitWindow() {}
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const std::string& /*tag*/) override { return nullptr; }
    int64_t MessageHandler(uint32_t, uint64_t, int64_t, bool& handled) override {
        handled = false;
        return 0;
    }
    // The window's own handling of a message before the library's; set handled to stop.
    virtual int64_t HandleCustomMessage(uint32_t msg, uint64_t wParam, int64_t lParam,
                                        bool& handled);
    virtual void OnClick(TNotifyUI& msg);

    int64_t HandleMessage(uint32_t msg, uint64_t wParam, int64_t lParam) override;
    CPaintManagerUI& GetPaintManager() { return pm_; }

  protected:
    virtual int64_t OnCreate();
    virtual int64_t OnDestroy(bool& handled);

    CPaintManagerUI pm_;
    bool windowInitSent_ = false;
};

}  // namespace dravik::ui
