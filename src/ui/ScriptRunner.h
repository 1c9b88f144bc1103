#pragma once
// Runs automation scripts: one action per line, '#' starts a comment, arguments with spaces in
// double quotes ("" is the empty text). Exit status: 0 every line ran and every expectation held,
// 1 an expect or waitfor failed, 2 a script error (unknown action or control, bad arguments).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Automation.h"

namespace dravik::ui {

// Actions that need the application (devices, main window, dialogs) are handed to the host.
class ScriptHost {
  public:
    virtual ~ScriptHost() = default;
    struct Outcome {
        int status = 0;  // 0 done, 1 failed, 2 script error
        std::string message;
    };
    // Handles plug, unplug, message, notify, copydata, answer, quit; nullopt when
    // the action is not the host's.
    virtual std::optional<Outcome> RunAction(const std::vector<std::string>& args) = 0;
    // The main window, shot when no window is visible.
    virtual HWND MainWindow() const { return 0; }
};

struct ScriptResult {
    int status = 0;
    int line = 0;  // the line that failed
    std::string message;
};

// Splits one script line into words; nullopt with error on an unterminated quote.
std::optional<std::vector<std::string>> TokenizeScriptLine(const std::string& line,
                                                           std::string& error);

class ScriptRunner {
  public:
    explicit ScriptRunner(ScriptHost* host = nullptr) : host_(host) {}
    ScriptResult RunFile(const std::string& path);
    ScriptResult RunText(const std::string& text);

  private:
    ScriptHost::Outcome RunLine(const std::vector<std::string>& words);
    ScriptHost::Outcome Screenshot(const std::string& file);
    ScriptHost::Outcome ScreenshotOnUi(const std::string& file);
    ScriptHost::Outcome Check(const std::vector<std::string>& words, bool wait);

    ScriptHost* host_;
    AutomationDriver driver_;
};

}  // namespace dravik::ui
