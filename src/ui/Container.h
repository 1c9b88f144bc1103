#pragma once
// Containers: the plain container (every child fills the client area), vertical and horizontal
// layouts (fixed and stretching children, padding, child padding, min/max), the tab layout (one
// selected page shown) and the child layout (a sub-layout file built into it).
#include <string>
#include <vector>

#include "ui/Control.h"

namespace dravik::ui {

class CContainerUI : public CControlUI {
  public:
    CContainerUI() = default;
    ~CContainerUI() override;

    std::string GetClass() const override { return "ContainerUI"; }
    void* GetInterface(const std::string& name) override;

    bool Add(CControlUI* control);
    bool AddAt(CControlUI* control, int index);
    // Removes and destroys the control (unless doNotDestroy).
    bool Remove(CControlUI* control, bool doNotDestroy = false);
    bool RemoveAt(int index, bool doNotDestroy = false);
    void RemoveAll();
    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(CControlUI* control) const;
    int GetCount() const { return static_cast<int>(items_.size()); }

    const Rect& GetInset() const { return inset_; }
    void SetInset(const Rect& r) {
        inset_ = r;
        NeedUpdate();
    }
    int GetChildPadding() const { return childPadding_; }
    void SetChildPadding(int p) {
        childPadding_ = p;
        NeedUpdate();
    }

    void SetAttribute(const std::string& name, const std::string& value) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void SetPos(const Rect& rc) override;
    CControlUI* FindControlAt(Point pt) override;
    CControlUI* FindFirst(const std::function<bool(CControlUI*)>& match) override;
    void DoPaint(Painter& painter, const Rect& clip) override;

  protected:
    Rect ClientRect() const;
    void PlaceFloat(CControlUI* child, const Rect& client);
    int ScaleValue(int v) const;

    std::vector<CControlUI*> items_;
    Rect inset_;
    int childPadding_ = 0;
};

class CVerticalLayoutUI : public CContainerUI {
  public:
    std::string GetClass() const override { return "VerticalLayoutUI"; }
    void* GetInterface(const std::string& name) override;
    void SetPos(const Rect& rc) override;
};

class CHorizontalLayoutUI : public CContainerUI {
  public:
    std::string GetClass() const override { return "HorizontalLayoutUI"; }
    void* GetInterface(const std::string& name) override;
    void SetPos(const Rect& rc) override;
};

class CTabLayoutUI : public CContainerUI {
  public:
    std::string GetClass() const override { return "TabLayoutUI"; }
    void* GetInterface(const std::string& name) override;
    // Shows page index and hides the others; false for an index out of range.
    bool SelectItem(int index);
    bool SelectItem(CControlUI* control);
    int GetCurSel() const { return selected_; }
    void SetAttribute(const std::string& name, const std::string& value) override;
    void SetPos(const Rect& rc) override;
    void Init() override;

  private:
    int selected_ = -1;
    int initialSel_ = 0;
};

// Builds the layout file named by its "xmlfile" attribute into itself when attached.
class CChildLayoutUI : public CContainerUI {
  public:
    std::string GetClass() const override { return "ChildLayoutUI"; }
    void* GetInterface(const std::string& name) override;
    void SetAttribute(const std::string& name, const std::string& value) override;
    void Init() override;

  private:
    std::string xmlFile_;
    bool built_ = false;
};

}  // namespace dravik::ui
