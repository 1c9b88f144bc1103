#pragma once
// Lists and combos: a list is a vertical box of list elements with one selected index and a
// vertical scroll offset when its items overflow; a combo holds the same elements and shows the
// selected one's text.
#include <string>

#include "ui/BasicControls.h"
#include "ui/Container.h"

namespace dravik::ui {

class CListUI;

// Selection interface shared by lists and combos.
class IListOwnerUI {
  public:
    virtual ~IListOwnerUI() = default;
    virtual int GetCurSel() const = 0;
    // Selects index (-1 clears). notify: send "itemselect" (wParam new, lParam old) as a user's
    // choice would.
    virtual bool SelectItem(int index, bool takeFocus = false, bool notify = true) = 0;
    virtual CControlUI* OwnerControl() = 0;
};

class CListElementBase {
  public:
    virtual ~CListElementBase() = default;
    int GetIndex() const { return index_; }
    IListOwnerUI* GetOwner() const { return owner_; }
    bool IsSelected() const { return selected_; }

  protected:
    friend struct ListElementAccess;
    int index_ = -1;
    IListOwnerUI* owner_ = nullptr;
    bool selected_ = false;
};

class CListLabelElementUI : public CLabelUI, public CListElementBase {
  public:
    std::string GetClass() const override { return "ListLabelElementUI"; }
    void* GetInterface(const std::string& name) override;
    void DoEvent(TEventUI& event) override;
    bool Activate() override;
    void DoPaint(Painter& painter, const Rect& clip) override;
};

class CListContainerElementUI : public CHorizontalLayoutUI, public CListElementBase {
  public:
    std::string GetClass() const override { return "ListContainerElementUI"; }
    void* GetInterface(const std::string& name) override;
    void DoEvent(TEventUI& event) override;
    bool Activate() override;
    CControlUI* FindControlAt(Point pt) override;
};

class CScrollBarUI : public CControlUI {
  public:
    std::string GetClass() const override { return "ScrollBarUI"; }
    void* GetInterface(const std::string& name) override;
    int GetScrollRange() const { return range_; }
    int GetScrollPos() const { return pos_value_; }
    void SetScrollRange(int range);
    void SetScrollPos(int pos);

  private:
    int range_ = 0;
    int pos_value_ = 0;
};

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
  public:
    std::string GetClass() const override { return "ListUI"; }
    void* GetInterface(const std::string& name) override;
    void SetAttribute(const std::string& name, const std::string& value) override;
    void SetPos(const Rect& rc) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(Painter& painter, const Rect& clip) override;
    CControlUI* FindControlAt(Point pt) override;

    int GetCurSel() const override { return curSel_; }
    bool SelectItem(int index, bool takeFocus = false, bool notify = true) override;
    CControlUI* OwnerControl() override { return this; }
    // Keeps element indexes and owners in step after items were added or removed.
    void ReindexItems();
    // Scrolls so that the item is fully shown.
    void EnsureVisible(int index);
    int GetScrollPos() const { return scroll_; }
    int GetScrollRange() const { return scrollRange_; }
    void SetScrollPos(int pos);
    bool HasScrollBar() const { return scrollRange_ > 0; }

  private:
    int curSel_ = -1;
    int scroll_ = 0;
    int scrollRange_ = 0;
    int contentHeight_ = 0;
};

class CComboUI : public CContainerUI, public IListOwnerUI {
  public:
    std::string GetClass() const override { return "ComboUI"; }
    void* GetInterface(const std::string& name) override;
    void SetPos(const Rect& rc) override;
    std::string GetText() const override;
    void DoEvent(TEventUI& event) override;
    bool Activate() override;
    void DoPaint(Painter& painter, const Rect& clip) override;
    CControlUI* FindControlAt(Point pt) override;

    int GetCurSel() const override { return curSel_; }
    bool SelectItem(int index, bool takeFocus = false, bool notify = true) override;
    CControlUI* OwnerControl() override { return this; }
    void ReindexItems();

  private:
    int curSel_ = -1;
};

// The list or combo that owns an element control, if any.
IListOwnerUI* ListOwnerOf(CControlUI* control);

}  // namespace dravik::ui
