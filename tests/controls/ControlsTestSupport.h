#pragma once
// A window on the custom-control test skin, built as the main window builds its layout (the
// main layout's tag table first, then the control factory), that records its notifications; and
// a painter that records what controls draw.
#include <sstream>
#include <string>
#include <vector>

#include "app/ControlRegistry.h"
#include "ui/Painter.h"
#include "ui/WindowImplBase.h"

namespace dravik::test {

inline std::string ControlsSkinPath() {
    return std::string(DRAVIK_CONTROLS_SKIN);
}

class ControlsWindow : public ui::WindowImplBase {
  public:
    std::string GetSkinFile() override { return "XML_CONTROLS"; }
    std::string GetWindowClassName() const override { return "ControlsTestWnd"; }
    ui::CControlUI* CreateControl(const std::string& tag) override {
        return CreateMainLayoutControl(tag, &pm_);
    }
    void Notify(ui::TNotifyUI& msg) override {
        std::string name = msg.pSender ? msg.pSender->GetName() : "";
        log.push_back(msg.sType + ":" + name);
        params.emplace_back(msg.wParam, msg.lParam);
        WindowImplBase::Notify(msg);
    }
    std::vector<std::string> Of(std::initializer_list<std::string> types) const {
        std::vector<std::string> out;
        for (const auto& l : log)
            for (const auto& t : types)
                if (l.rfind(t + ":", 0) == 0)
                    out.push_back(l);
        return out;
    }
    void Clear() {
        log.clear();
        params.clear();
    }
    std::vector<std::string> log;
    std::vector<std::pair<uint64_t, int64_t>> params;
};

inline std::string RectText(const ui::Rect& r) {
    std::ostringstream o;
    o << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom;
    return o.str();
}

// Records drawing calls as text lines, e.g. "pie 0,0,60,60 90 360 ff3d7bd9".
class RecordingPainter : public ui::Painter {
  public:
    void FillRect(const ui::Rect& rc, uint32_t argb) override {
        Add("rect " + RectText(rc) + " " + Hex(argb));
    }
    void FillGradient(const ui::Rect& rc, uint32_t, uint32_t) override {
        Add("gradient " + RectText(rc));
    }
    void DrawBorder(const ui::Rect& rc, uint32_t, int, int, int) override {
        Add("border " + RectText(rc));
    }
    void DrawText(const ui::Rect& rc, const std::string& text, uint32_t, const ui::FontInfo&,
                  uint32_t) override {
        Add("text " + RectText(rc) + " " + text);
    }
    bool DrawImage(const ui::Rect& rc, const std::string& image) override {
        Add("image " + RectText(rc) + " " + image);
        return failing.empty() || image.find(failing) == std::string::npos;
    }
    bool DrawImageTinted(const ui::Rect& rc, const std::string& image, uint32_t argb) override {
        Add("tinted " + RectText(rc) + " " + image + " " + Hex(argb));
        return true;
    }
    void FillEllipse(const ui::Rect& rc, uint32_t argb) override {
        Add("ellipse " + RectText(rc) + " " + Hex(argb));
    }
    void DrawArc(const ui::Rect& rc, double, double, uint32_t, int) override {
        Add("arc " + RectText(rc));
    }
    void FillPie(const ui::Rect& rc, double start, double sweep, uint32_t argb) override {
        std::ostringstream o;
        o << "pie " << RectText(rc) << ' ' << start << ' ' << sweep << ' ' << Hex(argb);
        Add(o.str());
    }
    void PushClip(const ui::Rect& rc) override { Add("clip " + RectText(rc)); }
    void PopClip() override { Add("unclip"); }

    // Lines starting with the prefix.
    std::vector<std::string> Of(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& l : lines)
            if (l.rfind(prefix, 0) == 0)
                out.push_back(l);
        return out;
    }

    std::vector<std::string> lines;
    std::string failing;  // DrawImage fails for image strings containing this text

  private:
    static std::string Hex(uint32_t v) {
        std::ostringstream o;
        o << std::hex << v;
        return o.str();
    }
    void Add(std::string line) { lines.push_back(std::move(line)); }
};

}  // namespace dravik::test
