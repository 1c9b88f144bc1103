#pragma once
// The one routine pair every JSON document of the program goes through.
#include <json/value.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace dravik::platform {

// Reads a whole file as UTF-8 JSON (comments allowed, a leading BOM tolerated). A missing,
// unreadable or broken file yields a null value. Every read traces "readjsonFile
// 错误吗：：<errno>"; a file that yields null also traces its path.
Json::Value ReadJsonFile(const std::filesystem::path& path);
// The same, but a file longer than maxBytes is not read and yields null.
Json::Value ReadJsonFile(const std::filesystem::path& path, std::size_t maxBytes);
// Parses text the same way; null when broken.
Json::Value ParseJsonText(const std::string& text);

// The styled layout (three-space indent, right margin 74, members in key order) with CR LF line
// ends and one further line break, UTF-8 without BOM.
std::string FormatStyledJson(const Json::Value& value);

// Writes the styled text to a temporary file in the same folder, flushes it and renames it over
// the target, so a crash never leaves a half-written document. False on any failure (the old file
// is then untouched).
bool WriteJsonFile(const std::filesystem::path& path, const Json::Value& value);

// Writes bytes atomically in the same way (temporary file, flush, rename).
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes);

}  // namespace dravik::platform
