#pragma once
// The program's private fonts, added to fontconfig as application fonts so the renderer finds
// them by family name; a missing or unreadable file is skipped silently.
#include <filesystem>
#include <string>
#include <vector>

namespace dravik {

// The four font files, relative to the program folder, in load order.
extern const char* const kPrivateFontFiles[4];

class PrivateFonts {
  public:
    PrivateFonts() = default;
    ~PrivateFonts();
    PrivateFonts(const PrivateFonts&) = delete;
    PrivateFonts& operator=(const PrivateFonts&) = delete;

    // Loads each file in order from programFolder; returns how many were added.
    int Load(const std::filesystem::path& programFolder);
    // Removes the fonts again (in reverse order of loading).
    void Release();
    const std::vector<std::filesystem::path>& Loaded() const { return loaded_; }

  private:
    std::vector<std::filesystem::path> loaded_;
};

}  // namespace dravik
