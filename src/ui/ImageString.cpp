#include "ui/ImageString.h"

#include <cstdio>
#include <cstdlib>

namespace dravik::ui {
namespace {

bool ParseRectValue(const std::string& v, Rect& r) {
    char extra;
    return std::sscanf(v.c_str(), "%d,%d,%d,%d%c", &r.left, &r.top, &r.right, &r.bottom, &extra) ==
           4;
}

}  // namespace

std::optional<ImageSpec> ParseImageString(const std::string& text) {
    ImageSpec parsed;
    if (text.find('=') == std::string::npos) {
        if (text.empty())
            return std::nullopt;
        parsed.file = text;
        return parsed;
    }
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        if (i >= text.size())
            break;
        size_t eq = text.find('=', i);
        if (eq == std::string::npos)
            return std::nullopt;
        std::string key = text.substr(i, eq - i);
        while (!key.empty() && key.back() == ' ')
            key.pop_back();
        size_t q = eq + 1;
        while (q < text.size() && text[q] == ' ')
            ++q;
        if (q >= text.size() || (text[q] != '\'' && text[q] != '"'))
            return std::nullopt;
        char quote = text[q];
        size_t close = text.find(quote, q + 1);
        if (close == std::string::npos)
            return std::nullopt;
        std::string value = text.substr(q + 1, close - q - 1);
        i = close + 1;
        if (key == "file" || key == "res") {
            parsed.file = value;
        } else if (key == "source") {
            Rect r;
            if (!ParseRectValue(value, r))
                return std::nullopt;
            parsed.source = r;
        } else if (key == "corner") {
            if (!ParseRectValue(value, parsed.corner))
                return std::nullopt;
        } else if (key == "dest") {
            Rect r;
            if (!ParseRectValue(value, r))
                return std::nullopt;
            parsed.dest = r;
        } else if (key == "fade") {
            int f = std::atoi(value.c_str());
            parsed.fade = static_cast<uint8_t>(f < 0 ? 0 : f > 255 ? 255 : f);
        } else if (key == "mask") {
            std::string v = value[0] == '#' ? value.substr(1) : value;
            if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X'))
                v = v.substr(2);
            parsed.mask = static_cast<uint32_t>(std::strtoul(v.c_str(), nullptr, 16));
        } else if (key == "hole") {
            parsed.hole = value == "true";
        } else if (key == "xtiled") {
            parsed.xtiled = value == "true";
        } else if (key == "ytiled") {
            parsed.ytiled = value == "true";
        }
        // Unknown keys are ignored, as the skin may carry attributes for other renderers.
    }
    if (parsed.file.empty())
        return std::nullopt;
    return parsed;
}

}  // namespace dravik::ui
