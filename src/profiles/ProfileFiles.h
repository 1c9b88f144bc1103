#pragma once
// Where profile documents live: the user folder of each device kind holds the profiles
// (identifier + ".Json") and the light library ("kelvo_light.config"); the program's
// "DefaultData" folder holds one default document per kind (kind folder + ".Json").
#include <json/value.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace dravik {

inline constexpr const char* kMouseKindFolder = "mouse";
inline constexpr const char* kKeyboardKindFolder = "keyboard";
inline constexpr const char* kMousePadKindFolder = "MousePad";
inline constexpr const char* kHeadsetKindFolder = "HD";
inline constexpr const char* kLightLibraryName = "kelvo_light";
inline constexpr const char* kProfileExtension = ".Json";
inline constexpr const char* kLightLibraryExtension = ".config";
inline constexpr const char* kLightEffectExtension = ".light";

// A profile, light library or light file that the program wrote is far smaller than this; a
// larger file is not read (it reads as a broken document), so that a runaway file cannot make
// the program stall or run out of memory.
inline constexpr std::size_t kMaxProfileDocumentBytes = 4 * 1024 * 1024;

// The kind folder of a device kind (1/9 keyboard, 2/6 mouse, 3 mouse pad, 7 headset); empty for
// any other number.
std::string KindFolderOf(int deviceKind);

// DefaultData/<kindFolder>.Json beside the program.
std::filesystem::path DefaultProfilePath(const std::string& kindFolder);
// <userFolder>/<identifier>.Json, or an empty path when the identifier is not a plain file name
// (empty, ".", "..", or holding a path separator or NUL).
std::filesystem::path ProfilePath(const std::filesystem::path& userFolder,
                                  const std::string& identifier);
// <userFolder>/kelvo_light.config
std::filesystem::path LightLibraryPath(const std::filesystem::path& userFolder);
// The ".light" file of a user light: beside the light library, named by the light's Guid; empty
// when the Guid is not a plain file name.
std::filesystem::path LightEffectPath(const std::filesystem::path& lightLibraryPath,
                                      const std::string& guid);

// Reads a profile-layer document (profile, default document, light library, light file) with
// the size limit above; null when missing, broken or too large.
Json::Value ReadProfileDocument(const std::filesystem::path& path);

}  // namespace dravik
