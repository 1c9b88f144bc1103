#include "hidio/HidrawBackend.h"

#include <fcntl.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "hidio/HidrawHandle.h"
#include "platform/Trace.h"

namespace dravik::hidio {
namespace {

constexpr std::string_view kIdMarker = "#hidraw-";

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::optional<int> ParseDecimal(std::string_view s) {
    int v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 10);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < 0)
        return std::nullopt;
    return v;
}

// "…#hidraw-<N>-<collection>" → {N, collection}.
std::optional<std::pair<int, int>> ParseBackendId(const std::string& path) {
    const std::string lower = Lower(path);
    size_t at = lower.rfind(kIdMarker);
    if (at == std::string::npos)
        return std::nullopt;
    std::string_view id = std::string_view(lower).substr(at + kIdMarker.size());
    size_t dash = id.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    auto node = ParseDecimal(id.substr(0, dash));
    auto col = ParseDecimal(id.substr(dash + 1));
    if (!node || !col || *col < 1)
        return std::nullopt;
    return std::make_pair(*node, *col);
}

bool SetError(std::string* error, const std::string& text) {
    if (error)
        *error = text;
    return false;
}

}  // namespace

HidrawBackend::HidrawBackend(std::filesystem::path sysRoot, std::filesystem::path deviceDir)
    : sysRoot_(std::move(sysRoot)), deviceDir_(std::move(deviceDir)) {}

bool HidrawBackend::Owns(const std::string& path) const {
    return Lower(path).find(kIdMarker) != std::string::npos;
}

std::vector<std::string> HidrawBackend::PathsOf(const HidrawNode& node) {
    std::vector<std::string> paths;
    const int count = static_cast<int>(node.parsed.collections.size());
    const int iface = node.IsComposite() ? node.interfaceNumber : -1;
    for (int c = 1; c <= count; ++c)
        paths.push_back(
            MakeHidPath(node.vendorId, node.productId, iface, c, count,
                        "hidraw-" + std::to_string(node.number) + "-" + std::to_string(c)));
    return paths;
}

bool HidrawBackend::Enumerate(std::vector<std::string>& paths) {
    std::string error;
    auto numbers = ListHidrawNodes(sysRoot_, &error);
    if (!numbers) {
        platform::Trace("hidraw: cannot list nodes: %s", error.c_str());
        return false;
    }
    for (int n : *numbers) {
        auto node = ReadHidrawNode(sysRoot_, n, &error);
        if (!node) {
            platform::Trace("hidraw: hidraw%d skipped: %s", n, error.c_str());
            continue;
        }
        for (auto& p : PathsOf(*node))
            paths.push_back(std::move(p));
    }
    return true;
}

std::shared_ptr<HidHandle> HidrawBackend::Open(const std::string& path, const OpenFlags& flags,
                                               std::string* error) {
    auto id = ParseBackendId(path);
    if (!id) {
        SetError(error, "not a hidraw path: " + path);
        return nullptr;
    }
    const auto [number, col] = *id;
    std::string reason;
    auto node = ReadHidrawNode(sysRoot_, number, &reason);
    if (!node) {
        SetError(error, "hidraw" + std::to_string(number) + ": " + reason);
        return nullptr;
    }
    const auto paths = PathsOf(*node);
    if (static_cast<size_t>(col) > paths.size() || Lower(paths[col - 1]) != Lower(path)) {
        SetError(error, "no such device: " + path);
        return nullptr;
    }
    // Linux has no share modes: shareReadOnly has nothing to ask for. With neither read nor
    // write access the node is only looked up (O_PATH needs no permission on the node itself),
    // which is enough for the attributes and capabilities.
    int mode = flags.read && flags.write ? O_RDWR
               : flags.read              ? O_RDONLY
               : flags.write             ? O_WRONLY
                                         : O_PATH;
    const auto nodePath = deviceDir_ / ("hidraw" + std::to_string(number));
    int fd = ::open(nodePath.c_str(), mode | O_CLOEXEC | (mode == O_PATH ? 0 : O_NONBLOCK));
    if (fd < 0) {
        SetError(error, nodePath.string() + ": " + std::strerror(errno));
        return nullptr;
    }
    HidCollectionInfo info;
    info.attributes = {node->vendorId, node->productId, node->version};
    info.collection = node->parsed.collections[static_cast<size_t>(col - 1)];
    return HidrawHandle::Adopt(fd, std::move(info), node->usesReportIds, flags, error);
}

}  // namespace dravik::hidio
