#pragma once
// Building control trees from the skin's XML layouts. A tag is resolved in this order: the
// library's own controls, the builder's callback (per window), then the process-wide control
// factory (class name to creator). A tag that matches nothing creates no control.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace pugi {
class xml_node;
}

namespace dravik::ui {

class CPaintManagerUI;

class IDialogBuilderCallback {
  public:
    virtual ~IDialogBuilderCallback() = default;
    // Returns a new control for a tag the library does not know, or nullptr.
    virtual CControlUI* CreateControl(const std::string& tag) = 0;
};

class CControlFactory {
  public:
    using Creator = std::function<CControlUI*()>;
    static CControlFactory& GetInstance();
    // Registers a class name; a later registration of the same name is ignored (first wins).
    void RegistControl(const std::string& className, Creator creator);
    // Looks the name up as given, then as "C" + name + "UI"; case-insensitive.
    CControlUI* CreateControl(const std::string& className) const;
    // Class names in registration order.
    std::vector<std::string> RegisteredNames() const;
    void Clear();

  private:
    std::vector<std::pair<std::string, Creator>> creators_;
};

class CDialogBuilder {
  public:
    // Builds the layout of a resource name (through the resource index) or a file of the skin
    // folder. With a manager, the window's attributes and fonts of the layout go to it. Returns
    // the root control (not yet attached), or nullptr when the file cannot be read or holds no
    // control. type is accepted for compatibility (plain files only).
    CControlUI* Create(const std::string& xml, const std::string& type = "",
                       IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    // Builds from XML text (tests, generated layouts).
    CControlUI* CreateFromText(const std::string& text, IDialogBuilderCallback* callback = nullptr,
                               CPaintManagerUI* manager = nullptr);
    const std::string& LastError() const { return error_; }

  private:
    CControlUI* Build(const pugi::xml_node& root, CPaintManagerUI* manager);
    CControlUI* Parse(const pugi::xml_node& node, CControlUI* parent, CPaintManagerUI* manager);
    CControlUI* CreateByTag(const std::string& tag, const pugi::xml_node& node,
                            CPaintManagerUI* manager);

    IDialogBuilderCallback* callback_ = nullptr;
    std::string error_;
    int depth_ = 0;
};

// The library's own tags (VerticalLayout, Button, Option …); nullptr for others.
CControlUI* CreateStandardControl(const std::string& tag);

}  // namespace dravik::ui
