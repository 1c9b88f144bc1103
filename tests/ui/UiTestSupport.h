#pragma once
// A window on the test skin that records every notification it receives.
#include <string>
#include <vector>

#include "ui/BasicControls.h"
#include "ui/ResourceManager.h"
#include "ui/WindowImplBase.h"

namespace dravik::test {

inline std::string TestSkinPath() {
    return std::string(DRAVIK_TEST_SKIN);
}

class RecordingWindow : public ui::WindowImplBase {
  public:
    std::string GetSkinFile() override { return "XML_TEST"; }
    std::string GetWindowClassName() const override { return "TestWnd"; }
    ui::CControlUI* CreateControl(const std::string& tag) override {
        if (tag == "SubLayoutUI") {
            // As the main window does: a fresh builder with no callback, so tags inside resolve
            // through the control factory only.
            ui::CDialogBuilder builder;
            return builder.Create("XML_SUB", "", nullptr, &pm_);
        }
        if (tag == "CallbackThing") {
            auto* c = new ui::CLabelUI;
            c->SetUserData("callback");
            return c;
        }
        return nullptr;
    }
    void Notify(ui::TNotifyUI& msg) override {
        std::string name = msg.pSender ? msg.pSender->GetName() : "";
        log.push_back(msg.sType + ":" + name);
        WindowImplBase::Notify(msg);
    }
    // Notifications of the given types only, in order.
    std::vector<std::string> Of(std::initializer_list<std::string> types) const {
        std::vector<std::string> out;
        for (const auto& l : log)
            for (const auto& t : types)
                if (l.rfind(t + ":", 0) == 0)
                    out.push_back(l);
        return out;
    }
    std::vector<std::string> log;
};

}  // namespace dravik::test
