#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "hid/HidDevice.h"
#include "hidio/VirtualBus.h"
#include "platform/Clock.h"
#include "support/Descriptors.h"

using namespace dravik;
using namespace dravik::hidio;
using dravik::platform::NowMs;
using dravik::platform::SleepMs;

namespace {

// A composite device: interface 0 has a mouse and a consumer collection, interface 1 a keyboard
// collection and the vendor command collection, which echoes every output report back.
class EchoDevice : public VirtualDevice {
  public:
    HidAttributes Attributes() const override { return {0x320F, 0x226E, 0x0102}; }
    std::vector<Interface> Interfaces() const override {
        return {{0, test::Concat({test::MouseCollection(1), test::ConsumerCollection(5)})},
                {1, test::Concat({test::MouseCollection(2), test::VendorCommandCollection(4)})}};
    }
    void OnOutputReport(VirtualBus& bus, int id, size_t iface,
                        const std::vector<uint8_t>& report) override {
        ++writes;
        if (echo)
            bus.SendInput(id, iface, report);
    }
    std::atomic<int> writes{0};
    std::atomic<bool> echo{true};
};

class HidDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override { SetHidBackends({bus}); }
    void TearDown() override { SetHidBackends({}); }

    std::string PathWith(const std::string& fragment) {
        HidDevice enumerator;
        EXPECT_TRUE(enumerator.Enumerate());
        while (const char* p = enumerator.NextPath())
            if (std::string(p).find(fragment) != std::string::npos)
                return p;
        return {};
    }

    std::shared_ptr<VirtualBus> bus = std::make_shared<VirtualBus>();
    std::shared_ptr<EchoDevice> device = std::make_shared<EchoDevice>();
};

}  // namespace

TEST_F(HidDeviceTest, NoInterfacesEnumeratesTrueWithZeroPaths) {
    HidDevice hid;
    EXPECT_TRUE(hid.Enumerate());
    EXPECT_EQ(hid.PathCount(), 0u);
    EXPECT_EQ(hid.NextPath(), nullptr);
}

TEST_F(HidDeviceTest, EnumeratesOnePathPerCollectionInTheHostForm) {
    bus->Plug(device);
    HidDevice hid;
    ASSERT_TRUE(hid.Enumerate());
    std::vector<std::string> paths;
    while (const char* p = hid.NextPath())
        paths.push_back(p);
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_EQ(paths[3].substr(0, paths[3].find('#', 8)),
              "\\\\?\\hid#vid_320f&pid_226e&mi_01&col02");
    hid.FreePathList();
    EXPECT_EQ(hid.NextPath(), nullptr);
}

TEST_F(HidDeviceTest, OpenFillsCapabilitiesAttributesAndPathNumbers) {
    bus->Plug(device);
    HidDevice hid;
    ASSERT_TRUE(hid.Open(PathWith("&mi_01&col02"), true, true, true, false));
    EXPECT_EQ(hid.Caps().usagePage, 0xFF1C);
    EXPECT_EQ(hid.Caps().usage, 0x92);
    EXPECT_EQ(hid.Caps().inputReportByteLength, 64);
    EXPECT_EQ(hid.Caps().outputReportByteLength, 64);
    EXPECT_EQ(hid.InputReportBuffer().size(), 64u);
    EXPECT_EQ(hid.Attributes().vendorId, 0x320F);
    EXPECT_EQ(hid.Attributes().productId, 0x226E);
    EXPECT_EQ(hid.InterfaceNumber(), 1u);
    EXPECT_EQ(hid.CollectionNumber(), 2u);
}

TEST(HidPath, InterfaceAndCollectionNumbersAreHexAndCaseInsensitive) {
    const struct {
        const char* path;
        uint32_t mi, col;
    } cases[] = {
        {"\\\\?\\hid#vid_320f&pid_226e&mi_01&col02#x", 1, 2},
        {"\\\\?\\HID#VID_320F&PID_226E&MI_0A&COL1F#X", 0x0A, 0x1F},
        {"\\\\?\\hid#vid_0c76&pid_1630#x", 0, 0},
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HexNumberAfter(c.path, "&mi_"), c.mi) << c.path;
        EXPECT_EQ(HexNumberAfter(c.path, "&col"), c.col) << c.path;
    }
}

TEST_F(HidDeviceTest, WriteThenReadEchoesAndReadsFilterByCollection) {
    int id = bus->Plug(device);
    HidDevice vendor, mouse;
    ASSERT_TRUE(vendor.Open(PathWith("&mi_01&col02"), true, true, true, false));
    ASSERT_TRUE(mouse.Open(PathWith("&mi_01&col01"), true, true, true, false));
    uint8_t out[64] = {0x04, 0xAA, 0x55};
    uint32_t n = 0;
    ASSERT_TRUE(vendor.Write(out, 64, &n, 1000));
    EXPECT_EQ(n, 64u);
    uint8_t in[64] = {};
    ASSERT_TRUE(vendor.Read(in, 64, &n, 1000));
    EXPECT_EQ(n, 64u);
    EXPECT_EQ(in[1], 0xAA);
    EXPECT_FALSE(mouse.Read(in, 4, &n, 30));  // the vendor report is not the mouse collection's
    EXPECT_EQ(n, 0u);

    bus->SendInput(id, 1, {0x02, 0x01, 0x05, 0xFB});
    ASSERT_TRUE(mouse.Read(in, 4, &n, 1000));
    EXPECT_EQ(in[0], 0x02);
    EXPECT_FALSE(vendor.Read(in, 64, &n, 30));
}

TEST_F(HidDeviceTest, ReadTimesOutWithZeroBytesAndFlushDiscardsQueuedInput) {
    int id = bus->Plug(device);
    HidDevice hid;
    ASSERT_TRUE(hid.Open(PathWith("&mi_01&col02"), true, true, true, false));
    uint8_t buf[64];
    uint32_t n = 99;
    uint64_t start = NowMs();
    EXPECT_FALSE(hid.Read(buf, 64, &n, 50));
    EXPECT_GE(NowMs() - start, 45u);
    EXPECT_EQ(n, 0u);
    bus->SendInput(id, 1, std::vector<uint8_t>(64, 0x04));
    EXPECT_TRUE(hid.FlushQueue());
    EXPECT_FALSE(hid.Read(buf, 64, &n, 30));
}

TEST_F(HidDeviceTest, InfiniteReadEndsWhenAnotherThreadAbortsOrCloses) {
    bus->Plug(device);
    HidDevice hid;
    ASSERT_TRUE(hid.Open(PathWith("&mi_01&col02"), true, true, true, false));
    for (bool viaClose : {false, true}) {
        std::atomic<int> result{-1};
        std::thread reader([&] {
            uint8_t buf[64];
            uint32_t n;
            result = hid.Read(buf, 64, &n, kInfiniteTimeout);
        });
        while (!hid.ReadInProgress())
            SleepMs(1);
        SleepMs(20);
        EXPECT_EQ(result, -1);
        if (viaClose)
            hid.Close();
        else
            hid.Abort();
        reader.join();
        EXPECT_EQ(result, 0) << (viaClose ? "close" : "abort");
    }
    EXPECT_FALSE(hid.IsOpen());
}

TEST_F(HidDeviceTest, AbortWithNothingPendingFailsTheNextTransferOnce) {
    bus->Plug(device);
    HidDevice hid;
    ASSERT_TRUE(hid.Open(PathWith("&mi_01&col02"), true, true, true, false));
    hid.Abort();
    uint8_t buf[64] = {4};
    uint32_t n;
    EXPECT_FALSE(hid.Write(buf, 64, &n, 100));
    EXPECT_TRUE(hid.Write(buf, 64, &n, 100));
}

TEST_F(HidDeviceTest, VanishedPathAndUnplugMidReadFail) {
    int id = bus->Plug(device);
    std::string path = PathWith("&mi_01&col02");
    HidDevice hid;
    ASSERT_TRUE(hid.Open(path, true, true, true, false));
    std::atomic<int> result{-1};
    std::thread reader([&] {
        uint8_t buf[64];
        uint32_t n;
        result = hid.Read(buf, 64, &n, kInfiniteTimeout);
    });
    while (!hid.ReadInProgress())
        SleepMs(1);
    bus->Unplug(id);
    reader.join();
    EXPECT_EQ(result, 0);
    uint8_t buf[64] = {4};
    uint32_t n;
    EXPECT_FALSE(hid.Write(buf, 64, &n, 100));

    HidDevice again;
    EXPECT_FALSE(again.Open(path, true, true, true, false));
    EXPECT_FALSE(again.IsOpen());
    EXPECT_TRUE(again.InputReportBuffer().empty());
}

TEST_F(HidDeviceTest, ReopenReleasesThePreviousInterfacesBuffers) {
    bus->Plug(device);
    HidDevice hid;
    ASSERT_TRUE(hid.Open(PathWith("&mi_01&col02"), true, true, true, false));
    ASSERT_EQ(hid.InputReportBuffer().size(), 64u);
    ASSERT_TRUE(hid.Open(PathWith("&mi_00&col02"), true, false, true, true));
    EXPECT_EQ(hid.Caps().usagePage, 0x000C);
    EXPECT_EQ(hid.InputReportBuffer().size(), 3u);
    EXPECT_TRUE(hid.OutputReportBuffer().empty());
    EXPECT_EQ(hid.InterfaceNumber(), 0u);
    EXPECT_EQ(hid.CollectionNumber(), 2u);
    EXPECT_FALSE(hid.Open("\\\\?\\hid#vid_0000&pid_0000#virt-99-0-1", true, true, true, false));
    EXPECT_TRUE(hid.InputDataItems().empty());
}

TEST_F(HidDeviceTest, UnpackDecodesButtonsAndValuesOfTheReportsId) {
    bus->Plug(device);
    HidDevice hid;
    ASSERT_TRUE(hid.Open(PathWith("&mi_00&col01"), true, false, true, false));
    ASSERT_EQ(hid.Caps().numberInputButtonCaps, 1);
    ASSERT_EQ(hid.Caps().numberInputValueCaps, 2);            // X and Y listed separately
    const uint8_t report[] = {0x01, 0b00000101, 0x05, 0xFB};  // buttons 1 and 3, X=5, Y=-5
    ASSERT_TRUE(hid.UnpackInputReport(report, sizeof report));
    const auto& items = hid.InputDataItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_TRUE(items[0].isButton);
    EXPECT_EQ(items[0].usageList, (std::vector<uint16_t>{1, 3, 0, 0, 0}));
    EXPECT_EQ(items[1].usage, 0x30);
    EXPECT_EQ(static_cast<int32_t>(items[1].rawValue), 5);
    EXPECT_EQ(items[2].usage, 0x31);
    EXPECT_EQ(items[2].scaledValue, -5);
    for (const auto& item : items)
        EXPECT_TRUE(item.isSet);
}

namespace {
// One interface with a caller-made descriptor.
class DescriptorDevice : public VirtualDevice {
public:
    explicit DescriptorDevice(std::vector<uint8_t> d) : descriptor_(std::move(d)) {}
    HidAttributes Attributes() const override { return {0x1234, 0x5678, 1}; }
    std::vector<Interface> Interfaces() const override { return {{-1, descriptor_}}; }
    void OnOutputReport(VirtualBus&, int, size_t, const std::vector<uint8_t>&) override {}

private:
    std::vector<uint8_t> descriptor_;
};
}  // namespace

TEST_F(HidDeviceTest, ManyLargeValueRangesStayWithinTheDataItemCap) {
    // 200 report IDs, each one field of 1024 two-bit values over a 1024-usage range.
    std::vector<uint8_t> d = {0x05, 0x01, 0x09, 0x00, 0xA1, 0x01, 0x15, 0x00, 0x25, 0x03,
                              0x75, 0x02, 0x96, 0x00, 0x04};
    for (int id = 1; id <= 200; ++id)
        d.insert(d.end(), {0x85, static_cast<uint8_t>(id), 0x1A, 0x01, 0x00, 0x2A, 0x00, 0x04,
                           0x81, 0x02});
    d.push_back(0xC0);
    ASSERT_GT(bus->Plug(std::make_shared<DescriptorDevice>(d)), 0);
    HidDevice hid;
    ASSERT_TRUE(hid.Open(PathWith("vid_1234"), true, false, true, false));
    EXPECT_LE(hid.InputDataItems().size(), 32768u);
    EXPECT_GT(hid.InputDataItems().size(), 1000u);
}
