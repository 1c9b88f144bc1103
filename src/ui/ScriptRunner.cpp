#include "ui/ScriptRunner.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/Clock.h"
#include "ui/CairoPainter.h"
#include "ui/PaintManager.h"
#include "ui/Window.h"

namespace dravik::ui {
namespace {

using Outcome = ScriptHost::Outcome;

Outcome Error(const std::string& m) {
    return {2, m};
}
Outcome Fail(const std::string& m) {
    return {1, m};
}
Outcome Done() {
    return {0, {}};
}

bool ParseNumber(const std::string& s, long& out) {
    if (s.empty())
        return false;
    char* end = nullptr;
    out = std::strtol(s.c_str(), &end, 0);
    return *end == '\0';
}

// Truth values may be written true/false or 1/0.
std::string Normalise(const std::string& prop, const std::string& v) {
    if (prop == "visible" || prop == "enabled" || prop == "selected") {
        if (v == "1")
            return "true";
        if (v == "0")
            return "false";
    }
    return v;
}

}  // namespace

std::optional<std::vector<std::string>> TokenizeScriptLine(const std::string& line,
                                                           std::string& error) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        std::string word;
        if (c == '"') {
            size_t close = line.find('"', i + 1);
            if (close == std::string::npos) {
                error = "unterminated quote";
                return std::nullopt;
            }
            word = line.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                word += line[i++];
        }
        words.push_back(word);
    }
    return words;
}

ScriptResult ScriptRunner::RunFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {2, 0, "cannot read script " + path};
    std::ostringstream s;
    s << in.rdbuf();
    return RunText(s.str());
}

ScriptResult ScriptRunner::RunText(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::string error;
        auto words = TokenizeScriptLine(line, error);
        if (!words)
            return {2, number, "line " + std::to_string(number) + ": " + error};
        if (words->empty())
            continue;
        Outcome o = RunLine(*words);
        if (o.status != 0)
            return {o.status, number, "line " + std::to_string(number) + ": " + o.message};
        if ((*words)[0] == "quit")
            break;
    }
    return {0, 0, {}};
}

Outcome ScriptRunner::Check(const std::vector<std::string>& w, bool wait) {
    if (w.size() < 4 || w.size() > (wait ? 5u : 4u))
        return Error(w[0] + " needs NAME PROP VALUE" + (wait ? " [MS]" : ""));
    const std::string& prop = w[2];
    static const char* props[] = {"text", "visible", "enabled", "selected", "value", "count"};
    if (std::find(std::begin(props), std::end(props), prop) == std::end(props))
        return Error("unknown property " + prop);
    long timeout = 5000;
    if (w.size() == 5 && !ParseNumber(w[4], timeout))
        return Error("bad time-out " + w[4]);
    const std::string want = Normalise(prop, w[3]);
    uint64_t end = platform::NowMs() + static_cast<uint64_t>(wait ? timeout : 0);
    std::optional<std::string> last;
    bool seen = false;
    for (;;) {
        AutomationDriver::Settle();
        if (CControlUI* c = driver_.FindForQuery(w[1])) {
            seen = true;
            last = driver_.Property(c, prop);
            if (!last)
                return Error("property " + prop + " does not apply to " + w[1]);
            if (*last == want)
                return Done();
        }
        if (!wait || platform::NowMs() >= end)
            break;
        AutomationDriver::WaitMs(10);
    }
    if (!seen)
        return Error("unknown control " + w[1]);
    return Fail(w[0] + " " + w[1] + " " + prop + ": expected \"" + want + "\", got \"" +
                last.value_or("") + "\"");
}

Outcome ScriptRunner::Screenshot(const std::string& file) {
    AutomationDriver::Settle();
    Outcome out = Error("no window to take a screenshot of");
    RunOnUiThread([&] { out = ScreenshotOnUi(file); });
    return out;
}

Outcome ScriptRunner::ScreenshotOnUi(const std::string& file) {
    auto windows = WindowsInZOrder();
    CWindowWnd* target = nullptr;
    for (CWindowWnd* w : windows)
        if (w->IsVisible()) {
            target = w;
            break;
        }
    if (!target && host_)
        target = WindowFromHandle(host_->MainWindow());
    if (!target && !windows.empty())
        target = windows.back();
    for (CPaintManagerUI* pm : CPaintManagerUI::AllManagers())
        if (target && pm->GetWindow() == target)
            return RenderToPng(*pm, file) ? Done() : Error("cannot write screenshot " + file);
    return Error("no window to take a screenshot of");
}

Outcome ScriptRunner::RunLine(const std::vector<std::string>& w) {
    const std::string& action = w[0];
    auto control = [&](CControlUI*& c) -> std::optional<Outcome> {
        if (w.size() < 2)
            return Error(action + " needs a control name");
        c = driver_.FindForAction(w[1]);
        if (!c)
            return Error("unknown control " + w[1] + " (none visible)");
        return std::nullopt;
    };
    auto result = [](std::optional<std::string> err) { return err ? Error(*err) : Done(); };
    CControlUI* c = nullptr;
    if (action == "click" || action == "dblclick" || action == "rclick") {
        if (w.size() != 2)
            return Error(action + " needs NAME");
        if (auto e = control(c))
            return *e;
        if (action == "click")
            return result(driver_.Click(c));
        if (action == "dblclick")
            return result(driver_.DoubleClick(c));
        return result(driver_.RightClick(c));
    }
    if (action == "drag") {
        long v[4];
        if (w.size() != 6)
            return Error("drag needs NAME X1 Y1 X2 Y2");
        for (int i = 0; i < 4; ++i)
            if (!ParseNumber(w[2 + i], v[i]))
                return Error("bad coordinate " + w[2 + i]);
        if (auto e = control(c))
            return *e;
        return result(driver_.Drag(c, int(v[0]), int(v[1]), int(v[2]), int(v[3])));
    }
    if (action == "set") {
        if (w.size() != 3)
            return Error("set needs NAME VALUE");
        if (auto e = control(c))
            return *e;
        return result(driver_.Set(c, w[2]));
    }
    if (action == "choose") {
        long index;
        if (w.size() != 3 || !ParseNumber(w[2], index))
            return Error("choose needs NAME INDEX");
        if (auto e = control(c))
            return *e;
        return result(driver_.Choose(c, int(index)));
    }
    if (action == "type") {
        if (w.size() != 2)
            return Error("type needs TEXT");
        return result(driver_.Type(w[1]));
    }
    if (action == "key" || action == "button") {
        if (w.size() < 2 || w.size() > 3)
            return Error(action + " needs a name and down|up");
        std::string phase = w.size() == 3 ? w[2] : "";
        return result(action == "key" ? driver_.Key(w[1], phase) : driver_.Button(w[1], phase));
    }
    if (action == "wait") {
        long ms;
        if (w.size() != 2 || !ParseNumber(w[1], ms) || ms < 0)
            return Error("wait needs MS");
        AutomationDriver::WaitMs(static_cast<uint32_t>(ms));
        return Done();
    }
    if (action == "screenshot") {
        if (w.size() != 2)
            return Error("screenshot needs FILE");
        return Screenshot(w[1]);
    }
    if (action == "expect")
        return Check(w, false);
    if (action == "waitfor")
        return Check(w, true);
    static const char* hostActions[] = {"message", "plug",     "unplug", "answer",
                                        "notify",  "copydata", "quit"};
    if (std::find(std::begin(hostActions), std::end(hostActions), action) !=
        std::end(hostActions)) {
        if (host_)
            if (auto o = host_->RunAction(w))
                return *o;
        return Error(action + ": not available in this build");
    }
    return Error("unknown action " + action);
}

}  // namespace dravik::ui
