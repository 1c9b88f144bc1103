#pragma once
// The language lookup seen from the key functions: turns a text key ("keyboard_key_A",
// "media_play" …) into the text shown to the user. The language layer implements it; tests use a
// fake.
#include <string>

namespace dravik {

class ITextLookup {
  public:
    virtual ~ITextLookup() = default;
    virtual std::string LookupText(const std::string& key) const = 0;
};

}  // namespace dravik
