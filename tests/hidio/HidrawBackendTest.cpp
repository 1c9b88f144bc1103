#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "hidio/HidrawBackend.h"
#include "hidio/HidrawFakeSysfs.h"
#include "platform/Trace.h"
#include "support/Descriptors.h"

using namespace dravik::hidio;
using namespace dravik::test;
namespace fs = std::filesystem;

namespace {

// The family laid out as the kernel shows it, plus nodes that must be left out:
//   hidraw0  mouse 320f:226e (2 interfaces), interface 0: a mouse collection
//   hidraw1  same mouse, interface 1: the vendor command and the consumer collection
//   hidraw2  a truncated descriptor
//   hidraw3  keyboard 320f:1004 with a single interface
//   hidraw4  a uevent without HID_ID
//   hidraw5  headset 0c76:1630 (4 interfaces: audio 0..2, HID 3), one collection
//   hidraw6  a descriptor declaring an absurd report count
//   hidraw7  no report_descriptor at all
//   hidraw10 a Bluetooth device 320f:226f below the interface of a USB Bluetooth dongle
class HidrawBackendTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto mouse = sysfs.UsbDevice("1-2", 2, "0102");
        auto mouseDescriptor = MouseCollection(1);
        sysfs.Node(0, sysfs.Interface(mouse, 0), FakeSysfs::Uevent("0003:0000320F:0000226E"),
                   &mouseDescriptor);
        auto vendorAndConsumer = Concat({VendorCommandCollection(4), ConsumerCollection(5)});
        sysfs.Node(1, sysfs.Interface(mouse, 1), FakeSysfs::Uevent("0003:0000320F:0000226E"),
                   &vendorAndConsumer);

        auto broken = sysfs.UsbDevice("1-3", 1, "0100");
        auto truncated = VendorCommandCollection(4);
        truncated.resize(truncated.size() - 2);  // ends in the output item's prefix
        sysfs.Node(2, sysfs.Interface(broken, 0), FakeSysfs::Uevent("0003:0000320F:0000226E"),
                   &truncated);

        auto keyboard = sysfs.UsbDevice("1-4", 1, "0310");
        auto keyboardDescriptor = BootKeyboard();
        sysfs.Node(3, sysfs.Interface(keyboard, 0), FakeSysfs::Uevent("0003:0000320F:00001004"),
                   &keyboardDescriptor);
        sysfs.Node(4, sysfs.Interface(keyboard, 0), "DRIVER=hid-generic\nHID_NAME=x\n",
                   &keyboardDescriptor);

        auto headset = sysfs.UsbDevice("1-6", 4, "0001");
        auto headsetDescriptor = HeadsetCollection();
        sysfs.Node(5, sysfs.Interface(headset, 3), FakeSysfs::Uevent("0003:00000C76:00001630"),
                   &headsetDescriptor);

        std::vector<uint8_t> absurd = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08,
                                       0x97, 0xFF, 0xFF, 0xFF, 0x7F, 0x81, 0x02, 0xC0};
        sysfs.Node(6, sysfs.Interface(broken, 0), FakeSysfs::Uevent("0003:0000320F:0000226E"),
                   &absurd);
        sysfs.Node(7, sysfs.Interface(broken, 0), FakeSysfs::Uevent("0003:0000320F:0000226E"),
                   nullptr);

        auto dongle = sysfs.UsbDevice("1-5", 2, "0199");
        auto hci = sysfs.Interface(dongle, 0) / "bluetooth/hci0/hci0:256";
        fs::create_directories(hci);
        auto btDescriptor = VendorCommandCollection(4);
        sysfs.Node(10, hci, FakeSysfs::Uevent("0005:0000320F:0000226F"), &btDescriptor);
    }

    std::shared_ptr<HidHandle> Open(const std::string& path, OpenFlags flags = {}) {
        std::string error;
        auto handle = backend.Open(path, flags, &error);
        EXPECT_TRUE(handle) << path << ": " << error;
        return handle;
    }

    FakeSysfs sysfs;
    HidrawBackend backend{sysfs.Root(), sysfs.Dev()};
};

const std::string kMouse0 = "\\\\?\\hid#vid_320f&pid_226e&mi_00#hidraw-0-1";
const std::string kVendor = "\\\\?\\hid#vid_320f&pid_226e&mi_01&col01#hidraw-1-1";
const std::string kConsumer = "\\\\?\\hid#vid_320f&pid_226e&mi_01&col02#hidraw-1-2";
const std::string kKeyboard = "\\\\?\\hid#vid_320f&pid_1004#hidraw-3-1";
const std::string kHeadset = "\\\\?\\hid#vid_0c76&pid_1630&mi_03#hidraw-5-1";
const std::string kBluetooth = "\\\\?\\hid#vid_320f&pid_226f#hidraw-10-1";

}  // namespace

TEST_F(HidrawBackendTest, ListsOnePathPerCollectionOfEveryGoodNodeInNodeOrder) {
    dravik::platform::TraceCapture trace;
    std::vector<std::string> paths;
    ASSERT_TRUE(backend.Enumerate(paths));
    EXPECT_EQ(paths, (std::vector<std::string>{kMouse0, kVendor, kConsumer, kKeyboard, kHeadset,
                                               kBluetooth}));
    // Each bad node is named with its reason; the good ones are not traced.
    const struct {
        const char* node;
        const char* reason;
    } skipped[] = {{"hidraw2 ", "truncated"},
                   {"hidraw4 ", "HID_ID"},
                   {"hidraw6 ", "absurd report count"},
                   {"hidraw7 ", "report_descriptor"}};
    for (const auto& s : skipped) {
        bool found = false;
        for (const auto& line : trace.Lines())
            found |=
                line.find(s.node) != std::string::npos && line.find(s.reason) != std::string::npos;
        EXPECT_TRUE(found) << s.node << s.reason;
    }
    EXPECT_EQ(trace.Count("skipped"), 4u);
}

TEST_F(HidrawBackendTest, AMissingOrEmptyClassFolderIsSuccessWithNoPaths) {
    TempDir empty;
    std::vector<std::string> paths;
    EXPECT_TRUE(HidrawBackend(empty.Path(), empty.Path()).Enumerate(paths));
    fs::create_directories(empty / "sys/class/hidraw");
    EXPECT_TRUE(HidrawBackend(empty.Path(), empty.Path()).Enumerate(paths));
    EXPECT_TRUE(paths.empty());
}

TEST_F(HidrawBackendTest, OpenGivesAttributesAndTheCollectionsCapabilities) {
    const struct {
        std::string path;
        uint16_t vid, pid, version, page, usage, in, out;
        std::vector<uint8_t> ids;
    } cases[] = {
        {kMouse0, 0x320F, 0x226E, 0x0102, 0x0001, 0x02, 4, 0, {1}},
        {kVendor, 0x320F, 0x226E, 0x0102, 0xFF1C, 0x92, 64, 64, {4}},
        {kConsumer, 0x320F, 0x226E, 0x0102, 0x000C, 0x01, 3, 0, {5}},
        {kKeyboard, 0x320F, 0x1004, 0x0310, 0x0001, 0x06, 9, 2, {}},
        {kHeadset, 0x0C76, 0x1630, 0x0001, 0xFF00, 0x01, 17, 17, {}},
        // Not on USB: the dongle's release number is not the device's.
        {kBluetooth, 0x320F, 0x226F, 0x0000, 0xFF1C, 0x92, 64, 64, {4}},
    };
    for (const auto& c : cases) {
        auto handle = Open(c.path);
        if (!handle)
            continue;
        const auto& info = handle->Info();
        EXPECT_EQ(info.attributes.vendorId, c.vid) << c.path;
        EXPECT_EQ(info.attributes.productId, c.pid) << c.path;
        EXPECT_EQ(info.attributes.version, c.version) << c.path;
        EXPECT_EQ(info.collection.usagePage, c.page) << c.path;
        EXPECT_EQ(info.collection.usage, c.usage) << c.path;
        EXPECT_EQ(info.collection.inputReportLength, c.in) << c.path;
        EXPECT_EQ(info.collection.outputReportLength, c.out) << c.path;
        EXPECT_EQ(info.collection.reportIds, c.ids) << c.path;
    }
}

TEST_F(HidrawBackendTest, OpenRefusesPathsThatNoLongerNameTheirCollection) {
    // hidraw1 is unplugged and its number given to another device; hidraw3 loses its node file;
    // hidraw0 disappears.
    fs::remove(sysfs.Root() / "sys/class/hidraw/hidraw0");
    fs::remove(sysfs.Root() / "sys/class/hidraw/hidraw1");
    auto other = sysfs.UsbDevice("1-7", 2, "0100");
    auto descriptor = Concat({VendorCommandCollection(4), ConsumerCollection(5)});
    sysfs.Node(1, sysfs.Interface(other, 1), FakeSysfs::Uevent("0003:0000320F:0000226F"),
               &descriptor, false);
    fs::remove(sysfs.Dev() / "hidraw3");
    const struct {
        std::string path;
        const char* why;
    } cases[] = {
        {kMouse0, "node gone"},
        {kVendor, "node number reused by another product"},
        {kKeyboard, "device node missing"},
        {"\\\\?\\hid#vid_0c76&pid_1630&mi_03#hidraw-5-2", "collection beyond the descriptor"},
        {"\\\\?\\hid#vid_0c76&pid_1630&mi_03#hidraw-5-0", "collection 0"},
        {"\\\\?\\hid#vid_0c76&pid_1630&mi_03#hidraw-5", "no collection"},
        {"\\\\?\\hid#vid_0c76&pid_1630&mi_03#virt-1-0-1", "another backend's path"},
        {"\\\\?\\hid#vid_0c76&pid_1630#hidraw-5-1", "interface marker missing"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(backend.Open(c.path, {}, &error)) << c.why;
        EXPECT_FALSE(error.empty()) << c.why;
    }
    // The same path in other letter case still names the headset.
    std::string upper = kHeadset;
    for (char& ch : upper)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    EXPECT_TRUE(backend.Open(upper, {}, nullptr));
}

TEST_F(HidrawBackendTest, OwnsOnlyHidrawPaths) {
    EXPECT_TRUE(backend.Owns(kVendor));
    EXPECT_TRUE(backend.Owns("\\\\?\\HID#VID_320F&PID_226E#HIDRAW-1-1"));
    EXPECT_FALSE(backend.Owns("\\\\?\\hid#vid_320f&pid_226e&mi_01&col01#virt-1-1-1"));
    EXPECT_FALSE(backend.Owns("hidraw-1-1"));
}

// The node is a regular file here: what a write sends is what lands in it.
TEST_F(HidrawBackendTest, OpenHonoursTheAccessFlags) {
    const auto node = sysfs.Dev() / "hidraw5";
    auto contents = [&] {
        std::ifstream in(node, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    };
    const uint8_t report[] = {0x00, 0x11, 0x22};
    uint8_t buffer[32];
    size_t n = 99;

    auto readOnly = Open(kHeadset, {true, false, false});
    ASSERT_TRUE(readOnly);
    EXPECT_EQ(readOnly->Write(report, sizeof report, &n, 100), IoResult::Error);
    EXPECT_EQ(n, 0u);
    EXPECT_FALSE(readOnly->SetOutputReport(report, sizeof report));
    EXPECT_TRUE(contents().empty());

    auto neither = Open(kHeadset, {false, false, false});
    ASSERT_TRUE(neither);
    EXPECT_EQ(neither->Info().collection.outputReportLength, 17);
    EXPECT_EQ(neither->Read(buffer, sizeof buffer, &n, 0), IoResult::Error);
    EXPECT_EQ(neither->Write(report, sizeof report, &n, 0), IoResult::Error);

    auto writeOnly = Open(kHeadset, {false, true, false});
    ASSERT_TRUE(writeOnly);
    EXPECT_EQ(writeOnly->Read(buffer, sizeof buffer, &n, 0), IoResult::Error);
    ASSERT_EQ(writeOnly->Write(report, sizeof report, &n, 100), IoResult::Ok);
    EXPECT_EQ(n, sizeof report);
    // The report-ID byte 0 goes to the node (the kernel drops it), padded to the report length.
    std::vector<uint8_t> want(17, 0);
    want[1] = 0x11;
    want[2] = 0x22;
    EXPECT_EQ(contents(), want);
}

TEST(HidrawSysfs, HidIdAndInterfaceNumberAreHexadecimal) {
    const struct {
        const char* uevent;
        bool ok;
        uint16_t bus, vid, pid;
    } cases[] = {
        {"HID_ID=0003:0000320F:0000226E\n", true, 3, 0x320F, 0x226E},
        {"DRIVER=x\nHID_ID=0003:00000c76:00001630", true, 3, 0x0C76, 0x1630},
        {"HID_ID=0003:0001320F:0000226E\n", false, 0, 0, 0},
        {"HID_ID=0003:0000320F\n", false, 0, 0, 0},
        {"HID_ID=0003:0000320F:0000226E:1\n", false, 0, 0, 0},
        {"HID_ID=0003:0000320G:0000226E\n", false, 0, 0, 0},
        {"HID_ID=0003::0000226E\n", false, 0, 0, 0},
        {"XHID_ID=0003:0000320F:0000226E\n", false, 0, 0, 0},
        {"", false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        FakeSysfs sysfs;
        auto descriptor = VendorCommandCollection();
        // Interface 0x0a of twelve: bInterfaceNumber is hexadecimal.
        sysfs.Node(0, sysfs.Interface(sysfs.UsbDevice("1-1", 12, "0100"), 10), c.uevent,
                   &descriptor);
        std::string error;
        auto node = ReadHidrawNode(sysfs.Root(), 0, &error);
        ASSERT_EQ(node.has_value(), c.ok) << c.uevent << error;
        if (node) {
            EXPECT_EQ(node->bus, c.bus) << c.uevent;
            EXPECT_EQ(node->vendorId, c.vid) << c.uevent;
            EXPECT_EQ(node->productId, c.pid) << c.uevent;
            EXPECT_EQ(node->interfaceNumber, 10) << c.uevent;
            EXPECT_TRUE(node->IsComposite()) << c.uevent;
        } else {
            EXPECT_NE(error.find("HID_ID"), std::string::npos) << c.uevent << error;
        }
    }
}

// A descriptor longer than the kernel ever hands out is refused as such, not cut to a prefix.
TEST(HidrawSysfs, AnOversizedDescriptorIsRefusedWhole) {
    FakeSysfs sysfs;
    auto descriptor = VendorCommandCollection();
    while (descriptor.size() <= kMaxDescriptorSize)
        descriptor = Concat({descriptor, VendorCommandCollection()});
    sysfs.Node(0, sysfs.Interface(sysfs.UsbDevice("1-1", 1, "0100"), 0),
               FakeSysfs::Uevent("0003:0000320F:0000226E"), &descriptor);
    std::string error;
    EXPECT_FALSE(ReadHidrawNode(sysfs.Root(), 0, &error));
    EXPECT_NE(error.find("longer than"), std::string::npos) << error;
}
