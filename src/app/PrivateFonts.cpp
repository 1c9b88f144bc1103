#include "app/PrivateFonts.h"

#include <fontconfig/fontconfig.h>

#include <fstream>

namespace dravik {

const char* const kPrivateFontFiles[4] = {"Font/Simplified_Chinese.ttf", "Font/Sorrel-Regular.otf",
                                          "Font/NotoSansThai-Regular.ttf",
                                          "Font/NotoSansCJKtc-Regular.otf"};

PrivateFonts::~PrivateFonts() {
    Release();
}

int PrivateFonts::Load(const std::filesystem::path& programFolder) {
    for (const char* rel : kPrivateFontFiles) {
        std::filesystem::path file = programFolder / rel;
        std::ifstream probe(file, std::ios::binary);
        if (!probe)
            continue;  // missing or unreadable: skipped without a message
        auto path = reinterpret_cast<const FcChar8*>(file.c_str());
        if (FcConfigAppFontAddFile(nullptr, path))
            loaded_.push_back(file);
    }
    return static_cast<int>(loaded_.size());
}

void PrivateFonts::Release() {
    // fontconfig removes application fonts only all at once; clearing the set removes exactly the
    // files added here, since nothing else adds application fonts.
    if (loaded_.empty())
        return;
    FcConfigAppFontClear(nullptr);
    loaded_.clear();
}

}  // namespace dravik
