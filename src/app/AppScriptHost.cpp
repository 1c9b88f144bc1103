#include "app/AppScriptHost.h"

#include <cstdlib>

#include "platform/RegisteredMessages.h"
#include "ui/Automation.h"
#include "ui/Window.h"

namespace dravik {
namespace {

bool ParseInteger(const std::string& s, long long& out) {
    if (s.empty())
        return false;
    char* end = nullptr;
    out = std::strtoll(s.c_str(), &end, 0);
    return *end == '\0';
}

}  // namespace

std::optional<ui::ScriptHost::Outcome> AppScriptHost::RunAction(const std::vector<std::string>& w) {
    const std::string& action = w[0];
    if (action == "quit") {
        quit_ = true;
        // As the tray menu's "exit": the main window closes, which ends the loop.
        ui::RunOnUiThread([this] {
            if (auto* wnd = ui::WindowFromHandle(main_))
                wnd->Close(ui::IDOK);
        });
        return Outcome{0, {}};
    }
    if (action == "message") {
        if (w.size() != 4)
            return Outcome{2, "message needs ID WPARAM LPARAM"};
        long long id = 0, wp = 0, lp = 0;
        if (!ParseInteger(w[1], id)) {
            // A registered message travels by name.
            auto known = platform::RegisteredMessageName(platform::RegisterMessage(w[1]));
            id = known ? platform::RegisterMessage(*known) : 0;
        }
        if (id <= 0 || id > 0xFFFF)
            return Outcome{2, "bad message id " + w[1]};
        if (!ParseInteger(w[2], wp) || !ParseInteger(w[3], lp))
            return Outcome{2, "message WPARAM and LPARAM must be numbers"};
        if (!ui::PostMessage(main_, static_cast<uint32_t>(id), static_cast<uint64_t>(wp), lp))
            return Outcome{2, "the main window is gone"};
        ui::AutomationDriver::Settle();
        return Outcome{0, {}};
    }
    if (action == "plug" || action == "unplug") {
        if (w.size() != 2)
            return Outcome{2, action + " needs DEVICE"};
        auto err = action == "plug" ? devices_->Plug(w[1]) : devices_->Unplug(w[1]);
        if (err)
            return Outcome{2, *err};
        ui::AutomationDriver::Settle();
        return Outcome{0, {}};
    }
    if (action == "notify") {
        if (w.size() != 3)
            return Outcome{2, "notify needs DEVICE HEX"};
        auto bytes = ParseHexBytes(w[2]);
        if (!bytes)
            return Outcome{2, "notify: not hexadecimal bytes: " + w[2]};
        if (auto err = devices_->Notify(w[1], *bytes))
            return Outcome{2, *err};
        ui::AutomationDriver::Settle();
        return Outcome{0, {}};
    }
    if (action == "copydata" || action == "answer")
        return Outcome{2, action + ": not available yet (no audio companion or file dialogs)"};
    return std::nullopt;
}

}  // namespace dravik
