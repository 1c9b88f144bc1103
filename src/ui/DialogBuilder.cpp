#include "ui/DialogBuilder.h"

#include <strings.h>
#include <pugixml.hpp>

#include "ui/BasicControls.h"
#include "ui/Container.h"
#include "ui/ListControls.h"
#include "ui/MenuWnd.h"
#include "ui/PaintManager.h"
#include "ui/ResourceManager.h"
#include "ui/Window.h"

namespace dravik::ui {
namespace {

constexpr int kMaxIncludeDepth = 16;

bool SameText(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

}  // namespace

CControlFactory& CControlFactory::GetInstance() {
    static CControlFactory factory;
    return factory;
}

void CControlFactory::RegistControl(const std::string& className, Creator creator) {
    for (const auto& [name, c] : creators_)
        if (name == className)
            return;
    creators_.emplace_back(className, std::move(creator));
}

CControlUI* CControlFactory::CreateControl(const std::string& className) const {
    for (const std::string& candidate : {className, "C" + className + "UI"})
        for (const auto& [name, creator] : creators_)
            if (SameText(name, candidate))
                return creator();
    return nullptr;
}

std::vector<std::string> CControlFactory::RegisteredNames() const {
    std::vector<std::string> names;
    for (const auto& [name, c] : creators_)
        names.push_back(name);
    return names;
}

void CControlFactory::Clear() {
    creators_.clear();
}

CControlUI* CreateStandardControl(const std::string& tag) {
    static const std::vector<std::pair<const char*, std::function<CControlUI*()>>> table = {
        {"Control", [] { return new CControlUI; }},
        {"Container", [] { return new CContainerUI; }},
        {"VerticalLayout", [] { return new CVerticalLayoutUI; }},
        {"HorizontalLayout", [] { return new CHorizontalLayoutUI; }},
        {"TabLayout", [] { return new CTabLayoutUI; }},
        {"ChildLayout", [] { return new CChildLayoutUI; }},
        {"Label", [] { return new CLabelUI; }},
        {"Text", [] { return new CTextUI; }},
        {"Button", [] { return new CButtonUI; }},
        {"Option", [] { return new COptionUI; }},
        {"CheckBox", [] { return new CCheckBoxUI; }},
        {"Edit", [] { return new CEditUI; }},
        {"Progress", [] { return new CProgressUI; }},
        {"Slider", [] { return new CSliderUI; }},
        {"Combo", [] { return new CComboUI; }},
        {"List", [] { return new CListUI; }},
        {"ListLabelElement", [] { return new CListLabelElementUI; }},
        {"Menu", [] { return new CListUI; }},
        {"MenuElement", [] { return new CMenuElementUI; }},
        {"ListContainerElement", [] { return new CListContainerElementUI; }},
        {"ScrollBar", [] { return new CScrollBarUI; }},
    };
    for (const auto& [name, make] : table)
        if (tag == name)
            return make();
    return nullptr;
}

CControlUI* CDialogBuilder::Create(const std::string& xml, const std::string& /*type*/,
                                   IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                   CControlUI* /*parent*/) {
    callback_ = callback;
    auto& rm = CResourceManager::GetInstance();
    std::string file = rm.GetXmlPath(xml);
    pugi::xml_document doc;
    std::string why;
    if (!rm.LoadXml(file, doc, &why)) {
        error_ = "cannot read layout " + file + ": " + why;
        return nullptr;
    }
    return Build(doc.document_element(), manager);
}

CControlUI* CDialogBuilder::CreateFromText(const std::string& text,
                                           IDialogBuilderCallback* callback,
                                           CPaintManagerUI* manager) {
    callback_ = callback;
    pugi::xml_document doc;
    pugi::xml_parse_result ok = doc.load_string(text.c_str());
    if (!ok) {
        error_ = std::string("bad layout: ") + ok.description();
        return nullptr;
    }
    return Build(doc.document_element(), manager);
}

CControlUI* CDialogBuilder::Build(const pugi::xml_node& root, CPaintManagerUI* manager) {
    if (std::string(root.name()) != "Window")
        return Parse(root, nullptr, manager);
    // The window element: its size and fonts, then the first control inside it.
    if (manager) {
        std::string size = root.attribute("size").as_string();
        if (!size.empty() && manager->GetWindow()) {
            Size s = ParseSize(size);
            manager->GetWindow()->ResizeClient(s.cx, s.cy);
        }
        if (auto caption = root.attribute("caption"))
            manager->SetCaptionRect(ParseRect(caption.as_string()));
    }
    CControlUI* result = nullptr;
    for (pugi::xml_node child : root.children()) {
        std::string tag = child.name();
        if (tag == "Font") {
            if (!manager)
                continue;
            FontInfo f;
            f.face = child.attribute("name").as_string();
            f.size = child.attribute("size").as_int(12);
            f.bold = child.attribute("bold").as_bool();
            f.underline = child.attribute("underline").as_bool();
            f.italic = child.attribute("italic").as_bool();
            int id = child.attribute("id").as_int(-1);
            if (child.attribute("shared").as_bool())
                CPaintManagerUI::SetSharedFont(id, f);
            else
                manager->AddFont(id, f);
        } else if (tag == "Default" || tag == "Image" || tag == "Style") {
            continue;
        } else if (!result) {
            result = Parse(child, nullptr, manager);
        }
    }
    return result;
}

CControlUI* CDialogBuilder::CreateByTag(const std::string& tag, const pugi::xml_node& node,
                                        CPaintManagerUI* manager) {
    if (tag == "Include") {
        if (depth_ >= kMaxIncludeDepth)
            return nullptr;
        CDialogBuilder sub;
        sub.depth_ = depth_ + 1;
        return sub.Create(node.attribute("source").as_string(), "", callback_, manager);
    }
    if (CControlUI* c = CreateStandardControl(tag))
        return c;
    if (callback_)
        if (CControlUI* c = callback_->CreateControl(tag))
            return c;
    return CControlFactory::GetInstance().CreateControl(tag);
}

CControlUI* CDialogBuilder::Parse(const pugi::xml_node& node, CControlUI* parent,
                                  CPaintManagerUI* manager) {
    CControlUI* control = CreateByTag(node.name(), node, manager);
    if (!control)
        return nullptr;  // unknown tag: no control, its children are skipped too
    for (pugi::xml_attribute a : node.attributes())
        control->SetAttribute(a.name(), a.value());
    auto* container = static_cast<CContainerUI*>(control->GetInterface("Container"));
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element)
            continue;
        CControlUI* c = Parse(child, control, manager);
        if (!c)
            continue;
        if (container)
            container->Add(c);
        else
            delete c;  // a leaf control cannot hold children
    }
    (void)parent;
    return control;
}

}  // namespace dravik::ui
