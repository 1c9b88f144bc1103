#include "ui/ListControls.h"

#include <algorithm>

#include "ui/ComboWnd.h"
#include "ui/PaintManager.h"
#include "ui/Painter.h"

namespace dravik::ui {
namespace {

CListElementBase* AsElement(CControlUI* c) {
    if (auto* e = static_cast<CListLabelElementUI*>(c->GetInterface("ListLabelElement")))
        return e;
    if (auto* e = static_cast<CListContainerElementUI*>(c->GetInterface("ListContainerElement")))
        return e;
    return nullptr;
}

// An element was clicked: select it in its owner and tell the window.
bool ActivateElement(CControlUI* self, CListElementBase* element) {
    if (!self->IsEffectivelyEnabled())
        return false;
    if (CPaintManagerUI* pm = self->GetManager())
        pm->SendNotify(self, "itemclick");
    if (element->GetOwner())
        element->GetOwner()->SelectItem(element->GetIndex(), true, true);
    return true;
}

void ElementEvent(CControlUI* self, TEventUI& event) {
    if (event.type == UIEvent::ButtonUp && self->GetPos().Contains(event.ptMouse)) {
        self->Activate();
    } else if (event.type == UIEvent::DblClick) {
        if (CPaintManagerUI* pm = self->GetManager())
            pm->SendNotify(self, "itemactivate");
    } else if (event.type == UIEvent::ScrollWheel && self->GetParent()) {
        self->GetParent()->DoEvent(event);
    }
}

}  // namespace

// The selection bookkeeping lists and combos share.
struct ListElementAccess {
    static void ReindexElements(CContainerUI& box, IListOwnerUI* owner, int& curSel);
    static bool MoveSelection(CContainerUI& box, int& curSel, int index);
};

// Keeps the elements' indexes and owner in step with their positions in the box.
void ListElementAccess::ReindexElements(CContainerUI& box, IListOwnerUI* owner, int& curSel) {
    for (int i = 0; i < box.GetCount(); ++i) {
        if (CListElementBase* e = AsElement(box.GetItemAt(i))) {
            e->index_ = i;
            e->owner_ = owner;
        }
    }
    if (curSel >= box.GetCount())
        curSel = -1;
}

// Moves the selection mark from the old to the new element; false for an index out of range.
bool ListElementAccess::MoveSelection(CContainerUI& box, int& curSel, int index) {
    if (index < -1 || index >= box.GetCount())
        return false;
    if (CControlUI* prev = box.GetItemAt(curSel))
        if (CListElementBase* e = AsElement(prev))
            e->selected_ = false;
    curSel = index;
    if (CControlUI* now = box.GetItemAt(index))
        if (CListElementBase* e = AsElement(now))
            e->selected_ = true;
    box.Invalidate();
    return true;
}

IListOwnerUI* ListOwnerOf(CControlUI* control) {
    CListElementBase* e = control ? AsElement(control) : nullptr;
    return e ? e->GetOwner() : nullptr;
}

void* CListLabelElementUI::GetInterface(const std::string& name) {
    if (name == "ListLabelElement" || name == "ListItem")
        return this;
    return CLabelUI::GetInterface(name);
}

void CListLabelElementUI::DoEvent(TEventUI& event) {
    if (!IsEffectivelyEnabled())
        return;
    ElementEvent(this, event);
}

bool CListLabelElementUI::Activate() {
    return ActivateElement(this, this);
}

void CListLabelElementUI::DoPaint(Painter& painter, const Rect& clip) {
    if (pos_.Intersect(clip).Empty())
        return;
    if (selected_)
        painter.FillRect(pos_, 0xFFD6E4F7);
    CLabelUI::DoPaint(painter, clip);
}

void* CListContainerElementUI::GetInterface(const std::string& name) {
    if (name == "ListContainerElement" || name == "ListItem")
        return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

void CListContainerElementUI::DoEvent(TEventUI& event) {
    if (!IsEffectivelyEnabled())
        return;
    ElementEvent(this, event);
}

bool CListContainerElementUI::Activate() {
    return ActivateElement(this, this);
}

CControlUI* CListContainerElementUI::FindControlAt(Point pt) {
    CControlUI* hit = CHorizontalLayoutUI::FindControlAt(pt);
    // Plain labels inside a row let the row take the click; buttons keep theirs.
    if (hit && hit != this && !hit->GetInterface("Button") && !hit->GetInterface("Edit"))
        return this;
    return hit;
}

void* CScrollBarUI::GetInterface(const std::string& name) {
    return name == "ScrollBar" ? this : CControlUI::GetInterface(name);
}

void CScrollBarUI::SetScrollRange(int range) {
    range_ = std::max(0, range);
    SetScrollPos(pos_value_);
}

void CScrollBarUI::SetScrollPos(int pos) {
    pos_value_ = std::clamp(pos, 0, range_);
}

// ---- list

void* CListUI::GetInterface(const std::string& name) {
    if (name == "List" || name == "IListOwner")
        return this;
    return CVerticalLayoutUI::GetInterface(name);
}

void CListUI::SetAttribute(const std::string& name, const std::string& value) {
    CVerticalLayoutUI::SetAttribute(name, value);
}

void CListUI::ReindexItems() {
    ListElementAccess::ReindexElements(*this, this, curSel_);
}

void CListUI::SetPos(const Rect& rc) {
    ReindexItems();
    // Lay the items out at their natural heights from the top, then shift by the scroll offset.
    CControlUI::SetPos(rc);
    Rect client = ClientRect();
    int y = client.top;
    int total = 0;
    for (CControlUI* c : items_) {
        if (!c->IsVisible())
            continue;
        Size sz = c->EstimateSize({client.Width(), client.Height()});
        int h = sz.cy > 0 ? sz.cy : ScaleValue(24);
        total += h + ScaleValue(childPadding_);
    }
    contentHeight_ = total;
    scrollRange_ = std::max(0, total - client.Height());
    scroll_ = std::clamp(scroll_, 0, scrollRange_);
    y -= scroll_;
    for (CControlUI* c : items_) {
        if (!c->IsVisible())
            continue;
        Size sz = c->EstimateSize({client.Width(), client.Height()});
        int h = sz.cy > 0 ? sz.cy : ScaleValue(24);
        int right = client.right - (scrollRange_ > 0 ? ScaleValue(8) : 0);
        c->SetPos({client.left, y, right, y + h});
        y += h + ScaleValue(childPadding_);
    }
}

void CListUI::SetScrollPos(int pos) {
    int clamped = std::clamp(pos, 0, scrollRange_);
    if (clamped == scroll_)
        return;
    scroll_ = clamped;
    SetPos(pos_);
    Invalidate();
}

void CListUI::EnsureVisible(int index) {
    CControlUI* c = GetItemAt(index);
    if (!c)
        return;
    Rect client = ClientRect();
    const Rect& r = c->GetPos();
    if (r.top < client.top)
        SetScrollPos(scroll_ - (client.top - r.top));
    else if (r.bottom > client.bottom)
        SetScrollPos(scroll_ + (r.bottom - client.bottom));
}

void CListUI::DoEvent(TEventUI& event) {
    if (event.type == UIEvent::ScrollWheel) {
        int delta = static_cast<int16_t>((event.wParam >> 16) & 0xFFFF);
        SetScrollPos(scroll_ - delta / 120 * ScaleValue(24));
        return;
    }
    CVerticalLayoutUI::DoEvent(event);
}

CControlUI* CListUI::FindControlAt(Point pt) {
    if (!pos_.Contains(pt))
        return nullptr;
    Rect client = ClientRect();
    if (!client.Contains(pt))
        return mouseEnabled_ ? this : nullptr;
    return CVerticalLayoutUI::FindControlAt(pt);
}

void CListUI::DoPaint(Painter& painter, const Rect& clip) {
    CVerticalLayoutUI::DoPaint(painter, clip);
    if (scrollRange_ > 0) {
        Rect client = ClientRect();
        int trackH = client.Height();
        int thumbH = std::max(ScaleValue(16), trackH * trackH / std::max(1, contentHeight_));
        int thumbTop = client.top + (trackH - thumbH) * scroll_ / scrollRange_;
        painter.FillRect({client.right - ScaleValue(6), thumbTop, client.right, thumbTop + thumbH},
                         0xFFB0B0B0);
    }
}

bool CListUI::SelectItem(int index, bool /*takeFocus*/, bool notify) {
    ReindexItems();
    int old = curSel_;
    if (index == old)
        return index >= -1 && index < GetCount();
    if (!ListElementAccess::MoveSelection(*this, curSel_, index))
        return false;
    EnsureVisible(index);
    if (notify && manager_)
        manager_->SendNotify(this, "itemselect", static_cast<uint64_t>(index), old);
    return true;
}

// ---- combo

void* CComboUI::GetInterface(const std::string& name) {
    if (name == "Combo" || name == "IListOwner")
        return this;
    return CContainerUI::GetInterface(name);
}

void CComboUI::ReindexItems() {
    ListElementAccess::ReindexElements(*this, this, curSel_);
}

void CComboUI::SetPos(const Rect& rc) {
    ReindexItems();
    CControlUI::SetPos(rc);  // the items live in the drop-down, not inside the box
    for (CControlUI* c : items_)
        c->SetPos({});
}

std::string CComboUI::GetText() const {
    CControlUI* sel = GetItemAt(curSel_);
    return sel ? sel->GetText() : std::string();
}

void CComboUI::DoEvent(TEventUI& event) {
    if (!IsEffectivelyEnabled())
        return;
    if (event.type == UIEvent::ButtonUp && pos_.Contains(event.ptMouse)) {
        Activate();
        return;
    }
    if (event.type == UIEvent::ScrollWheel) {
        int delta = static_cast<int16_t>((event.wParam >> 16) & 0xFFFF);
        int next = curSel_ + (delta < 0 ? 1 : -1);
        if (next >= 0 && next < GetCount())
            SelectItem(next, false, true);
        return;
    }
    CContainerUI::DoEvent(event);
}

bool CComboUI::Activate() {
    if (!CControlUI::Activate())
        return false;
    if (manager_)
        manager_->SendNotify(this, "dropdown");
    CComboWnd::Open(this);
    return true;
}

CControlUI* CComboUI::FindControlAt(Point pt) {
    if (!visible_ || !pos_.Contains(pt))
        return nullptr;
    return this;
}

void CComboUI::DoPaint(Painter& painter, const Rect& clip) {
    if (pos_.Intersect(clip).Empty())
        return;
    PaintBackground(painter);
    PaintText(painter);
    PaintBorder(painter);
}

bool CComboUI::SelectItem(int index, bool /*takeFocus*/, bool notify) {
    ReindexItems();
    int old = curSel_;
    if (index == old)
        return index >= -1 && index < GetCount();
    if (!ListElementAccess::MoveSelection(*this, curSel_, index))
        return false;
    if (notify && manager_)
        manager_->SendNotify(this, "itemselect", static_cast<uint64_t>(index), old);
    return true;
}

}  // namespace dravik::ui
