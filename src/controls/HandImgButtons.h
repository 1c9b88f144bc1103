#pragma once
// Buttons with a picture of their own.
//
// CHandImgButtonUI draws its "handimage" over its face and tells the window when the pointer
// enters or leaves it ("msenter", "msleave").
//
// CHandImgSelectButtonUI is a viewport on a picture larger than itself: a drag pans the window
// of the picture it shows, which never leaves the picture. It never sends "click".
#include <string>

#include "ui/BasicControls.h"

namespace dravik {

// The pointer-tracking both picture buttons share.
class CHoverNotifyButtonUI : public ui::CButtonUI {
  protected:
    // Mouse enter and leave while enabled: hot state, "msenter"/"msleave", repaint.
    bool HandleHover(ui::TEventUI& event);
};

class CHandImgButtonUI : public CHoverNotifyButtonUI {
  public:
    std::string GetClass() const override { return "HandImgButton"; }
    void* GetInterface(const std::string& name) override;
    void DoEvent(ui::TEventUI& event) override;
    void SetAttribute(const std::string& name, const std::string& value) override;

    const std::string& GetHandImage() const { return handImage_; }
    const std::string& GetDeleteNormalImage() const { return deleteNormalImage_; }
    const std::string& GetDeleteHotImage() const { return deleteHotImage_; }
    bool IsCaptured() const { return captured_; }

  protected:
    void PaintStatusImage(ui::Painter& painter) override;

    std::string handImage_;
    bool captured_ = false;

  private:
    std::string deleteNormalImage_, deleteHotImage_;
};

class CHandImgSelectButtonUI : public CHoverNotifyButtonUI {
  public:
    std::string GetClass() const override { return "HandImgSelectButton"; }
    void* GetInterface(const std::string& name) override;
    void DoEvent(ui::TEventUI& event) override;
    void SetAttribute(const std::string& name, const std::string& value) override;
    void SetPos(const ui::Rect& rc) override;

    const std::string& GetHandImage() const { return handImage_; }
    // The image string drawn: the picture whole, or narrowed to the source window.
    const std::string& GetDrawnImage() const { return drawnImage_; }
    // The part of the picture shown, in picture pixels.
    const ui::Rect& GetSourceWindow() const { return source_; }
    ui::Size GetPictureSize() const { return picture_; }
    bool IsPanning() const { return pressed_; }
    // The pointer shape by the platform's cursor number (32512 the arrow).
    int GetCursor() const { return cursor_; }

  protected:
    void PaintStatusImage(ui::Painter& painter) override;

  private:
    void LoadPicture();
    void Pan(ui::Point pt);
    void RebuildDrawnImage();

    std::string handImage_;
    std::string pictureFile_;
    std::string drawnImage_;
    ui::Rect source_;
    ui::Size picture_;
    ui::Point last_;
    bool pressed_ = false;
    bool captured_ = false;
    bool whole_ = false;  // the control shows the whole picture; nothing to pan
    int cursor_ = 32512;
};

// The platform cursor number for a cursor name ("arrow", "hand" …), or 0 for an unknown name.
int CursorFromName(const std::string& name);

}  // namespace dravik
