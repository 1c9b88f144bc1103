#pragma once
// CNotifyPump: notification dispatch by virtual window. A notification whose sender lies under a
// control with a "virtualwnd" attribute goes to the pump registered under that name; others go
// to the pump itself. Handlers are tables from notification type to function.
#include <functional>
#include <map>
#include <string>

#include "ui/Events.h"

namespace dravik::ui {

class CNotifyPump {
  public:
    virtual ~CNotifyPump() = default;
    bool AddVirtualWnd(const std::string& name, CNotifyPump* pump);
    bool RemoveVirtualWnd(const std::string& name);
    // Routes the notification; true when a handler took it.
    bool NotifyPump(TNotifyUI& msg);

    using Handler = std::function<void(TNotifyUI&)>;
    // Registers a handler for a notification type ("click", "selectchanged" …).
    void OnNotifyType(const std::string& type, Handler handler) {
        handlers_[type] = std::move(handler);
    }

  protected:
    // This pump's own dispatch; the default looks the type up in the handler table.
    virtual bool LoopDispatch(TNotifyUI& msg);

  private:
    std::map<std::string, CNotifyPump*> virtualWnds_;
    std::map<std::string, Handler> handlers_;
};

}  // namespace dravik::ui
