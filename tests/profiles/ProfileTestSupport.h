#pragma once
// Small helpers shared by the profile tests: files in a temporary folder and a stand-in default
// document.
#include <fstream>
#include <sstream>
#include <string>

#include "platform/JsonFile.h"
#include "support/TempDir.h"

namespace dravik::test {

inline std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void Spit(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

inline Json::Value Parse(const std::string& text) {
    Json::Value v = platform::ParseJsonText(text);
    if (v.isNull() && text != "null")
        throw std::runtime_error("bad test JSON: " + text);
    return v;
}

// A default document with a recognisable device entry.
inline constexpr const char* kDefaultDocument = R"({
  "Device": [ {
    "LightInfo": { "SelectItem": 3, "Light": 4, "Speed": 2, "Fx": 1, "MultiColor": 1,
                   "Red": 255, "Green": 0, "Blue": 0 },
    "KeyList": [ { "Assignment": 1048832, "DefaultAssignment": 1048832 } ],
    "DPIStages": { "StageActive": 1, "StageDPIs": [
      { "StageActive": 1, "StageXY": 0, "StageDPIX": 10, "StageDPIY": 10,
        "StageColorR": 0, "StageColorG": 255, "StageColorB": 0 } ] },
    "FactoryOnly": "from defaults"
  } ]
})";

}  // namespace dravik::test
