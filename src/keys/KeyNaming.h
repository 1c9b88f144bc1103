#pragma once
// The text shown for a key function on a device page's key list and in the assignment editor.
#include <optional>
#include <string>
#include <vector>

#include "keys/KeyFunction.h"
#include "keys/TextLookup.h"

namespace dravik {

enum class KeyPage { Mouse, Keyboard };

// The display text of a function, or nothing when the function has no name (the caller then
// leaves the key's label as it was). macroNames are the names of the page's macro library in
// library order; macro functions are named by them. Unknown types show a fixed "关闭" that is not
// looked up.
std::optional<std::string> KeyFunctionName(KeyFunction f, KeyPage page,
                                           const std::vector<std::string>& macroNames,
                                           const ITextLookup& text);

}  // namespace dravik
