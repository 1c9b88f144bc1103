#pragma once
// The application's side of automation scripts: posting messages to the main window and
// quitting; device and dialog actions join as their subsystems do.
#include "app/DemoDevices.h"
#include "ui/ScriptRunner.h"

namespace dravik {

class AppScriptHost : public ui::ScriptHost {
  public:
    AppScriptHost(ui::HWND mainWindow, DemoDevices* devices)
        : main_(mainWindow), devices_(devices) {}
    std::optional<Outcome> RunAction(const std::vector<std::string>& args) override;
    ui::HWND MainWindow() const override { return main_; }
    bool QuitAsked() const { return quit_; }

  private:
    ui::HWND main_;
    DemoDevices* devices_;
    bool quit_ = false;
};

}  // namespace dravik
