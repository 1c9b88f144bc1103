#include "ui/Container.h"

#include <algorithm>

#include "ui/DialogBuilder.h"
#include "ui/PaintManager.h"
#include "ui/Painter.h"

namespace dravik::ui {

CContainerUI::~CContainerUI() {
    for (CControlUI* c : items_)
        delete c;
}

void* CContainerUI::GetInterface(const std::string& name) {
    if (name == "Container" || name == "IContainer")
        return this;
    return CControlUI::GetInterface(name);
}

bool CContainerUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
    if (!control || index < 0 || index > GetCount())
        return false;
    items_.insert(items_.begin() + index, control);
    control->SetManager(manager_, this, manager_ != nullptr);
    NeedUpdate();
    Invalidate();
    return true;
}

bool CContainerUI::Remove(CControlUI* control, bool doNotDestroy) {
    int i = GetItemIndex(control);
    return i >= 0 && RemoveAt(i, doNotDestroy);
}

bool CContainerUI::RemoveAt(int index, bool doNotDestroy) {
    if (index < 0 || index >= GetCount())
        return false;
    CControlUI* c = items_[static_cast<size_t>(index)];
    items_.erase(items_.begin() + index);
    if (doNotDestroy) {
        if (manager_)
            manager_->ReapObjects(c);
        c->parent_ = nullptr;
    } else {
        delete c;
    }
    NeedUpdate();
    Invalidate();
    return true;
}

void CContainerUI::RemoveAll() {
    while (!items_.empty())
        RemoveAt(GetCount() - 1);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    return index >= 0 && index < GetCount() ? items_[static_cast<size_t>(index)] : nullptr;
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
    auto it = std::find(items_.begin(), items_.end(), control);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void CContainerUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "inset")
        SetInset(ParseRect(value));
    else if (name == "childpadding")
        SetChildPadding(ParseInt(value));
    CControlUI::SetAttribute(name, value);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    for (CControlUI* c : items_)
        c->SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

int CContainerUI::ScaleValue(int v) const {
    return manager_ ? manager_->Scale(v) : v;
}

Rect CContainerUI::ClientRect() const {
    Rect in{ScaleValue(inset_.left), ScaleValue(inset_.top), ScaleValue(inset_.right),
            ScaleValue(inset_.bottom)};
    return pos_.Deflate(in);
}

void CContainerUI::PlaceFloat(CControlUI* child, const Rect& client) {
    const Rect& f = child->GetFloatPos();
    int x = client.left + ScaleValue(f.left), y = client.top + ScaleValue(f.top);
    Size sz = child->EstimateSize({client.Width(), client.Height()});
    int w = sz.cx ? sz.cx : ScaleValue(f.Width());
    int h = sz.cy ? sz.cy : ScaleValue(f.Height());
    auto& rel = child->GetRelativePos();
    if (rel.on) {
        if (rel.parentAtStart == Size{})
            rel.parentAtStart = {client.Width(), client.Height()};
        int dx = client.Width() - rel.parentAtStart.cx, dy = client.Height() - rel.parentAtStart.cy;
        x += dx * rel.moveX / 100;
        y += dy * rel.moveY / 100;
        w += dx * rel.zoomX / 100;
        h += dy * rel.zoomY / 100;
    }
    child->SetPos({x, y, x + w, y + std::max(0, h)});
}

void CContainerUI::SetPos(const Rect& rc) {
    CControlUI::SetPos(rc);
    Rect client = ClientRect();
    for (CControlUI* c : items_) {
        if (!c->IsVisible())
            continue;
        if (c->IsFloat()) {
            PlaceFloat(c, client);
            continue;
        }
        const Rect& p = c->GetPadding();
        Rect r{client.left + ScaleValue(p.left), client.top + ScaleValue(p.top),
               client.right - ScaleValue(p.right), client.bottom - ScaleValue(p.bottom)};
        Size sz = c->EstimateSize({r.Width(), r.Height()});
        if (sz.cx > 0)
            r.right = r.left + std::min(sz.cx, r.Width());
        if (sz.cy > 0)
            r.bottom = r.top + std::min(sz.cy, r.Height());
        c->SetPos(r);
    }
}

CControlUI* CContainerUI::FindControlAt(Point pt) {
    if (!visible_ || !pos_.Contains(pt))
        return nullptr;
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        if (CControlUI* hit = (*it)->FindControlAt(pt))
            return hit;
    }
    return mouseEnabled_ ? this : nullptr;
}

CControlUI* CContainerUI::FindFirst(const std::function<bool(CControlUI*)>& match) {
    if (match(this))
        return this;
    for (CControlUI* c : items_)
        if (CControlUI* found = c->FindFirst(match))
            return found;
    return nullptr;
}

void CContainerUI::DoPaint(Painter& painter, const Rect& clip) {
    Rect visible = pos_.Intersect(clip);
    if (visible.Empty())
        return;
    CControlUI::DoPaint(painter, clip);
    painter.PushClip(visible);
    for (CControlUI* c : items_)
        if (c->IsVisible())
            c->DoPaint(painter, visible);
    painter.PopClip();
}

namespace {

// Lays children along one axis: fixed sizes first, the rest shared by stretching children.
template <bool Vertical>
void LayoutLine(CContainerUI& box, const std::vector<CControlUI*>& items, const Rect& client,
                int childPadding, CPaintManagerUI* pm) {
    auto scale = [&](int v) { return pm ? pm->Scale(v) : v; };
    auto along = [](Size s) { return Vertical ? s.cy : s.cx; };
    int avail = Vertical ? client.Height() : client.Width();
    int cross = Vertical ? client.Width() : client.Height();
    int fixedTotal = 0, stretchCount = 0, visibleCount = 0;
    std::vector<Size> est(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        CControlUI* c = items[i];
        if (!c->IsVisible() || c->IsFloat())
            continue;
        ++visibleCount;
        const Rect& p = c->GetPadding();
        est[i] = c->EstimateSize({client.Width(), client.Height()});
        fixedTotal += Vertical ? scale(p.top) + scale(p.bottom) : scale(p.left) + scale(p.right);
        if (along(est[i]) > 0)
            fixedTotal += along(est[i]);
        else
            ++stretchCount;
    }
    if (visibleCount > 1)
        fixedTotal += scale(childPadding) * (visibleCount - 1);
    int share = stretchCount ? std::max(0, avail - fixedTotal) / stretchCount : 0;
    int cursor = Vertical ? client.top : client.left;
    for (size_t i = 0; i < items.size(); ++i) {
        CControlUI* c = items[i];
        if (!c->IsVisible() || c->IsFloat())
            continue;
        const Rect& p = c->GetPadding();
        int len = along(est[i]);
        if (len <= 0) {
            int mn = scale(Vertical ? c->GetMinHeight() : c->GetMinWidth());
            int mx = scale(Vertical ? c->GetMaxHeight() : c->GetMaxWidth());
            len = std::clamp(share, mn, std::max(mn, mx));
        }
        int crossLen = Vertical ? est[i].cx : est[i].cy;
        Rect r;
        if (Vertical) {
            cursor += scale(p.top);
            int left = client.left + scale(p.left);
            int right = crossLen > 0 ? left + crossLen : client.right - scale(p.right);
            r = {left, cursor, right, cursor + len};
            cursor += len + scale(p.bottom) + scale(childPadding);
        } else {
            cursor += scale(p.left);
            int top = client.top + scale(p.top);
            int bottom = crossLen > 0 ? top + crossLen : client.bottom - scale(p.bottom);
            r = {cursor, top, cursor + len, bottom};
            cursor += len + scale(p.right) + scale(childPadding);
        }
        (void)cross;
        c->SetPos(r);
    }
    (void)box;
}

}  // namespace

void* CVerticalLayoutUI::GetInterface(const std::string& name) {
    return name == "VerticalLayout" ? this : CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(const Rect& rc) {
    CControlUI::SetPos(rc);
    Rect client = ClientRect();
    LayoutLine<true>(*this, items_, client, childPadding_, manager_);
    for (CControlUI* c : items_)
        if (c->IsVisible() && c->IsFloat())
            PlaceFloat(c, client);
}

void* CHorizontalLayoutUI::GetInterface(const std::string& name) {
    return name == "HorizontalLayout" ? this : CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(const Rect& rc) {
    CControlUI::SetPos(rc);
    Rect client = ClientRect();
    LayoutLine<false>(*this, items_, client, childPadding_, manager_);
    for (CControlUI* c : items_)
        if (c->IsVisible() && c->IsFloat())
            PlaceFloat(c, client);
}

void* CTabLayoutUI::GetInterface(const std::string& name) {
    return name == "TabLayout" ? this : CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= GetCount())
        return false;
    selected_ = index;
    for (int i = 0; i < GetCount(); ++i)
        GetItemAt(i)->SetVisible(i == index);
    NeedUpdate();
    Invalidate();
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* control) {
    return SelectItem(GetItemIndex(control));
}

void CTabLayoutUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "selectedid")
        initialSel_ = ParseInt(value);
    CContainerUI::SetAttribute(name, value);
}

void CTabLayoutUI::Init() {
    if (selected_ < 0 && GetCount() > 0)
        SelectItem(std::min(initialSel_, GetCount() - 1));
}

void CTabLayoutUI::SetPos(const Rect& rc) {
    if (selected_ < 0 && GetCount() > 0)
        SelectItem(std::min(initialSel_, GetCount() - 1));
    CContainerUI::SetPos(rc);
}

void* CChildLayoutUI::GetInterface(const std::string& name) {
    return name == "ChildLayout" ? this : CContainerUI::GetInterface(name);
}

void CChildLayoutUI::SetAttribute(const std::string& name, const std::string& value) {
    if (name == "xmlfile")
        xmlFile_ = value;
    CContainerUI::SetAttribute(name, value);
}

void CChildLayoutUI::Init() {
    if (built_ || xmlFile_.empty() || !manager_)
        return;
    built_ = true;
    CDialogBuilder builder;
    if (CControlUI* root = builder.Create(xmlFile_, "", nullptr, manager_, this))
        Add(root);
}

}  // namespace dravik::ui
