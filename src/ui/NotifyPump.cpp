#include "ui/NotifyPump.h"

namespace dravik::ui {

bool CNotifyPump::AddVirtualWnd(const std::string& name, CNotifyPump* pump) {
    if (name.empty() || !pump || virtualWnds_.count(name))
        return false;
    virtualWnds_[name] = pump;
    return true;
}

bool CNotifyPump::RemoveVirtualWnd(const std::string& name) {
    return virtualWnds_.erase(name) > 0;
}

bool CNotifyPump::NotifyPump(TNotifyUI& msg) {
    if (!msg.sVirtualWnd.empty()) {
        auto it = virtualWnds_.find(msg.sVirtualWnd);
        if (it != virtualWnds_.end())
            return it->second->LoopDispatch(msg);
    }
    return LoopDispatch(msg);
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg) {
    auto it = handlers_.find(msg.sType);
    if (it == handlers_.end())
        return false;
    it->second(msg);
    return true;
}

}  // namespace dravik::ui
