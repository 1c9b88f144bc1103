#include "hidio/HidrawSysfs.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace dravik::hidio {
namespace fs = std::filesystem;
namespace {

constexpr uint16_t kBusUsb = 0x03;
constexpr size_t kMaxAttributeSize = 64 * 1024;
// From the hid device folder up to the USB device: interface, device; a hub or two more are
// allowed before the walk gives up.
constexpr int kMaxWalkUp = 16;

bool Fail(std::string* error, const std::string& text) {
    if (error)
        *error = text;
    return false;
}

// Reads at most limit bytes of a file (sysfs attributes report no useful size, so this reads to
// the end). More than limit bytes leaves limit + 1 in out so that the caller can tell.
bool ReadFileLimited(const fs::path& path, size_t limit, std::vector<uint8_t>& out,
                     std::string* error) {
    out.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Fail(error, path.string() + ": " + std::strerror(errno));
    uint8_t buf[4096];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            int e = errno;
            ::close(fd);
            return Fail(error, path.string() + ": " + std::strerror(e));
        }
        if (n == 0)
            break;
        size_t room = limit + 1 - out.size();
        out.insert(out.end(), buf, buf + std::min(room, static_cast<size_t>(n)));
        if (out.size() > limit)
            break;
    }
    ::close(fd);
    return true;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

std::optional<uint32_t> ParseNumber(std::string_view s, int base) {
    s = Trim(s);
    uint32_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return v;
}

// A numeric sysfs attribute (bInterfaceNumber and bcdDevice are hexadecimal, bNumInterfaces is
// decimal and padded with a space).
std::optional<uint32_t> ReadNumberAttribute(const fs::path& path, int base) {
    std::vector<uint8_t> bytes;
    if (!ReadFileLimited(path, 64, bytes, nullptr) || bytes.size() > 64)
        return std::nullopt;
    return ParseNumber(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                       base);
}

// HID_ID=BBBB:VVVVVVVV:PPPPPPPP (hexadecimal bus, vendor and product).
bool ParseHidId(std::string_view uevent, HidrawNode& node, std::string* error) {
    constexpr std::string_view kKey = "HID_ID=";
    while (!uevent.empty()) {
        size_t eol = uevent.find('\n');
        std::string_view line = uevent.substr(0, eol);
        uevent = eol == std::string_view::npos ? std::string_view() : uevent.substr(eol + 1);
        if (!line.starts_with(kKey))
            continue;
        line.remove_prefix(kKey.size());
        uint32_t parts[3];
        for (int i = 0; i < 3; ++i) {
            size_t colon = line.find(':');
            if ((i < 2) == (colon == std::string_view::npos))
                return Fail(error, "malformed HID_ID");
            auto v = ParseNumber(line.substr(0, colon), 16);
            if (!v || *v > 0xFFFF)
                return Fail(error, "malformed HID_ID");
            parts[i] = *v;
            line = i < 2 ? line.substr(colon + 1) : std::string_view();
        }
        node.bus = static_cast<uint16_t>(parts[0]);
        node.vendorId = static_cast<uint16_t>(parts[1]);
        node.productId = static_cast<uint16_t>(parts[2]);
        return true;
    }
    return Fail(error, "no HID_ID in uevent");
}

bool IsWithin(const fs::path& dir, const fs::path& top) {
    auto d = dir.begin();
    for (auto t = top.begin(); t != top.end(); ++t, ++d) {
        if (t->empty())
            continue;  // a trailing separator of top
        if (d == dir.end() || *d != *t)
            return false;
    }
    return true;
}

// Walks up from the hid device folder: the first folder with bInterfaceNumber is the USB
// interface, the first with bNumInterfaces the USB device (it also has bcdDevice). The walk stays
// inside the sysfs tree of root.
void ReadUsbPlacement(const fs::path& hidDir, const fs::path& sysTop, HidrawNode& node) {
    fs::path dir = hidDir.parent_path();
    for (int i = 0; i < kMaxWalkUp && IsWithin(dir, sysTop) && dir != sysTop; ++i) {
        std::error_code ec;
        if (node.interfaceNumber < 0 && fs::exists(dir / "bInterfaceNumber", ec)) {
            auto n = ReadNumberAttribute(dir / "bInterfaceNumber", 16);
            if (n && *n <= 0xFF)
                node.interfaceNumber = static_cast<int>(*n);
        }
        if (fs::exists(dir / "bNumInterfaces", ec)) {
            auto count = ReadNumberAttribute(dir / "bNumInterfaces", 10);
            auto bcd = ReadNumberAttribute(dir / "bcdDevice", 16);
            node.usbInterfaceCount = count && *count <= 0xFF ? static_cast<int>(*count) : 0;
            node.version = bcd && *bcd <= 0xFFFF ? static_cast<uint16_t>(*bcd) : 0;
            return;
        }
        if (dir == dir.parent_path())
            return;
        dir = dir.parent_path();
    }
}

}  // namespace

std::optional<std::vector<int>> ListHidrawNodes(const fs::path& root, std::string* error) {
    const fs::path classDir = root / "sys/class/hidraw";
    std::vector<int> numbers;
    std::error_code ec;
    if (!fs::exists(classDir, ec))
        return numbers;
    fs::directory_iterator it(classDir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::string digits = name.starts_with("hidraw") ? name.substr(6) : std::string();
        if (digits.empty() || digits.size() > 7 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        numbers.push_back(std::stoi(digits));
    }
    if (ec) {
        Fail(error, classDir.string() + ": " + ec.message());
        return std::nullopt;
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::optional<HidrawNode> ReadHidrawNode(const fs::path& root, int number, std::string* error) {
    HidrawNode node;
    node.number = number;
    const fs::path nodeDir = root / "sys/class/hidraw" / ("hidraw" + std::to_string(number));
    std::error_code ec;
    // device links to the hid device folder (…/<usb interface>/0003:320F:226E.0001).
    const fs::path hidDir = fs::canonical(nodeDir / "device", ec);
    if (ec) {
        Fail(error, "no device folder (" + ec.message() + ")");
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    if (!ReadFileLimited(hidDir / "uevent", kMaxAttributeSize, bytes, error))
        return std::nullopt;
    if (!ParseHidId(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                    node, error))
        return std::nullopt;
    // One byte more than the parser accepts, so that an oversized descriptor is refused by it
    // with its own reason instead of being cut to a size that might parse.
    if (!ReadFileLimited(hidDir / "report_descriptor", kMaxDescriptorSize, node.descriptor, error))
        return std::nullopt;
    std::string reason;
    auto parsed = ParseReportDescriptor(node.descriptor.data(), node.descriptor.size(), &reason);
    if (!parsed) {
        Fail(error, "report descriptor rejected: " + reason);
        return std::nullopt;
    }
    node.parsed = std::move(*parsed);
    node.usesReportIds = std::any_of(node.parsed.collections.begin(), node.parsed.collections.end(),
                                     [](const TopLevelCollection& c) { return c.usesReportIds(); });
    // Only a device on the USB bus has a USB interface above it. A Bluetooth device reached
    // through a USB dongle sits below the dongle's interface, which must not be taken for its own.
    if (node.bus == kBusUsb) {
        fs::path sysTop = fs::canonical(root / "sys", ec);
        if (ec)
            sysTop = root / "sys";
        ReadUsbPlacement(hidDir, sysTop, node);
    }
    return node;
}

}  // namespace dravik::hidio
