#pragma once
// The program's own control classes: the process-wide factory registrations (class name to
// creator, in a fixed order) and the main layout's tag table (tag to class or sub-layout).
#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace dravik {

using ControlCreator = std::function<ui::CControlUI*()>;

struct ControlClass {
    const char* className;
    ControlCreator create;  // empty while the class is not part of the program yet
};

// The 24 class names in registration order; classes not built yet have no creator.
const std::vector<ControlClass>& ControlClassTable();
// Registers every class that has a creator, in table order.
void RegisterControlClasses();

// One row of the main layout's tag table: a tag creates a class, or is replaced by the root of
// a sub-layout file built without a callback.
struct LayoutTag {
    const char* tag;
    const char* className;  // nullptr for a sub-layout row
    const char* subLayout;  // nullptr for a class row
};
const std::vector<LayoutTag>& MainLayoutTags();

// The main window's layout callback: tags compared without case, first match wins; a tag that
// matches nothing (or whose class is not built yet) gives nullptr.
ui::CControlUI* CreateMainLayoutControl(const std::string& tag, ui::CPaintManagerUI* manager);

}  // namespace dravik
