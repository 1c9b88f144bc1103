#include "controls/SimpleControls.h"

#include <strings.h>

namespace dravik {

void* CRedioMacroButtonUI::GetInterface(const std::string& name) {
    return name == "RedioMacroButton" ? this : CButtonUI::GetInterface(name);
}

void CRedioMacroButtonUI::SetAttribute(const std::string& name, const std::string& value) {
    if (strcasecmp(name.c_str(), "redioimage") == 0)
        redioImage_ = value;
    else
        CButtonUI::SetAttribute(name, value);
}

}  // namespace dravik
