#pragma once
// Image strings as the skin writes them: a plain file name, or attributes
//   file='power/powered.png' source='l,t,r,b' corner='l,t,r,b' dest='l,t,r,b' fade='0..255'
//   mask='#FFRRGGBB' hole='true' xtiled='true' ytiled='true'
#include <cstdint>
#include <optional>
#include <string>

#include "ui/Geometry.h"

namespace dravik::ui {

struct ImageSpec {
    std::string file;
    std::optional<Rect> source;  // part of the image to draw (whole image when absent)
    Rect corner;                 // 9-slice borders kept unscaled
    std::optional<Rect> dest;    // where in the control, relative to its top-left
    uint8_t fade = 255;
    std::optional<uint32_t> mask;  // colour drawn as transparent
    bool hole = false;
    bool xtiled = false, ytiled = false;
};

// Parses an image string; nullopt when it names no file or a value is malformed.
std::optional<ImageSpec> ParseImageString(const std::string& text);

}  // namespace dravik::ui
