#pragma once
// The standard leaf controls: label, text, button, option, check box, edit, progress, slider.
#include <string>

#include "ui/Control.h"

namespace dravik::ui {

class CLabelUI : public CControlUI {
  public:
    std::string GetClass() const override { return "LabelUI"; }
    void* GetInterface(const std::string& name) override;
};

class CTextUI : public CLabelUI {
  public:
    std::string GetClass() const override { return "TextUI"; }
    void* GetInterface(const std::string& name) override;
};

class CButtonUI : public CLabelUI {
  public:
    std::string GetClass() const override { return "ButtonUI"; }
    void* GetInterface(const std::string& name) override;
    void SetAttribute(const std::string& name, const std::string& value) override;
    void DoEvent(TEventUI& event) override;
    bool Activate() override;
    void DoPaint(Painter& painter, const Rect& clip) override;

    bool IsHot() const { return hot_; }
    bool IsPushed() const { return pushed_; }
    // The state image for the current state (selected options override in subclasses).
    virtual std::string CurrentStateImage() const;

  protected:
    // The state colour, state image and fore image, drawn between the background and the text;
    // buttons with pictures of their own draw them here.
    virtual void PaintStatusImage(Painter& painter);

    bool hot_ = false;
    bool pushed_ = false;
    std::string normalImage_, hotImage_, pushedImage_, focusedImage_, disabledImage_, foreImage_;
    Color hotBkColor_ = 0, pushedBkColor_ = 0;
};

class COptionUI : public CButtonUI {
  public:
    std::string GetClass() const override { return "OptionUI"; }
    void* GetInterface(const std::string& name) override;
    void SetAttribute(const std::string& name, const std::string& value) override;
    bool Activate() override;
    std::string CurrentStateImage() const override;

    bool IsSelected() const { return selected_; }
    // Selects or clears the option. In a group, selecting clears the others silently and only
    // this option sends "selectchanged" (when notify); a clear never notifies in a group.
    virtual void Selected(bool selected, bool notify = true);
    const std::string& GetGroup() const { return group_; }
    void SetGroup(const std::string& group) { group_ = group; }

  protected:
    bool selected_ = false;
    std::string group_;
    std::string selectedImage_, selectedHotImage_;
    Color selectedBkColor_ = 0;
};

// A check box toggles and sends "selectchanged" on every toggle.
class CCheckBoxUI : public COptionUI {
  public:
    std::string GetClass() const override { return "CheckBoxUI"; }
    void* GetInterface(const std::string& name) override;
    void SetCheck(bool check, bool notify = true) { Selected(check, notify); }
    bool GetCheck() const { return selected_; }
};

class CEditUI : public CLabelUI {
  public:
    std::string GetClass() const override { return "EditUI"; }
    void* GetInterface(const std::string& name) override;
    void SetAttribute(const std::string& name, const std::string& value) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(Painter& painter, const Rect& clip) override;

    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on) { readOnly_ = on; }
    int GetMaxChar() const { return maxChar_; }
    void SetMaxChar(int n) { maxChar_ = n; }
    bool IsNumberOnly() const { return numberOnly_; }
    void SetNumberOnly(bool on) { numberOnly_ = on; }
    // Replaces the text as typing would: filtered, cut to the maximum, "textchanged" if changed.
    void ReplaceTextByUser(const std::string& text);

  private:
    bool InsertChar(uint32_t codepoint);
    bool readOnly_ = false;
    bool numberOnly_ = false;
    int maxChar_ = 255;
};

class CProgressUI : public CLabelUI {
  public:
    std::string GetClass() const override { return "ProgressUI"; }
    void* GetInterface(const std::string& name) override;
    void SetAttribute(const std::string& name, const std::string& value) override;
    void DoPaint(Painter& painter, const Rect& clip) override;

    int GetMinValue() const { return min_; }
    int GetMaxValue() const { return max_; }
    void SetMinValue(int v);
    void SetMaxValue(int v);
    int GetValue() const { return value_; }
    // Setting the value from code never notifies.
    void SetValue(int v);
    bool IsHorizontal() const { return horizontal_; }

  protected:
    int min_ = 0, max_ = 100, value_ = 0;
    bool horizontal_ = true;
    std::string foreImage_;
    Color foreColor_ = 0;
};

// A slider: "movevaluechanged" while dragged, "valuechanged" on release.
class CSliderUI : public CProgressUI {
  public:
    std::string GetClass() const override { return "SliderUI"; }
    void* GetInterface(const std::string& name) override;
    void SetAttribute(const std::string& name, const std::string& value) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(Painter& painter, const Rect& clip) override;

    int GetChangeStep() const { return step_; }
    void SetChangeStep(int step) { step_ = step > 0 ? step : 1; }
    // The value a pointer at x stands for, and the pixel that stands for a value.
    int ValueAt(int x) const;
    int PixelFor(int value) const;
    Rect GetThumbRect() const;
    bool IsDragging() const { return dragging_; }
    // While dragging: sets the exact value the drag stands at (a finer pointer would reach it),
    // sending "movevaluechanged"; the release then keeps it unless the pointer moved again.
    void SetDragValue(int value);

  private:
    void DragTo(int value);
    int step_ = 1;
    bool dragging_ = false;
    Point lastDragPoint_;
    Size thumbSize_{10, 10};
    std::string thumbImage_;
};

}  // namespace dravik::ui
