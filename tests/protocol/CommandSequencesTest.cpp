// The command sequences the device classes run, checked by the order of commands the emulated
// device receives and by what ends up in its memory.
#include "protocol/CommandSequences.h"

#include <gtest/gtest.h>

#include "sim/SimTestBus.h"

using namespace dravik;
using dravik::sim::Area;
using dravik::test::Commands;
using Stop = dravik::ConfigurationRead::Stop;
using Bytes = std::vector<uint8_t>;

namespace {

class CommandSequencesTest : public ::testing::Test {
  protected:
    std::shared_ptr<sim::SimDevice> Attach(const std::string& name,
                                           std::shared_ptr<sim::SimMemory> shared = nullptr) {
        auto device = simBus.Plug(name, std::move(shared));
        EXPECT_TRUE(device);
        link.Detach();
        EXPECT_TRUE(link.Attach(simBus.CommandPath(*device), device->Identity().receiver));
        return device;
    }
    // Command bytes with runs of the same command folded to one entry and a count.
    static std::vector<std::pair<uint8_t, int>> Runs(const sim::SimDevice& device) {
        std::vector<std::pair<uint8_t, int>> out;
        for (uint8_t c : Commands(device.Requests())) {
            if (!out.empty() && out.back().first == c)
                ++out.back().second;
            else
                out.emplace_back(c, 1);
        }
        return out;
    }
    static void SetInfoByte(sim::SimDevice& device, size_t at, uint8_t value) {
        auto info = device.Memory()->Bytes(Area::Info);
        info[at] = value;
        device.Memory()->Set(Area::Info, info);
    }

    test::SimTestBus simBus;
    DeviceLink link;
};

// The mouse's factory key image: the eleven keys' factory functions in slots 0..10.
const Bytes kMouseImage = {0x10, 0x01, 0x00, 0x10, 0x02, 0x00, 0x10, 0x04, 0x00, 0x10, 0x10,
                           0x00, 0x10, 0x08, 0x00, 0x13, 0x01, 0x00, 0x13, 0x02, 0x00, 0x13,
                           0x03, 0x00, 0xA0, 0x1B, 0x00, 0x16, 0x90, 0x01, 0x14, 0x78, 0x02};

}  // namespace

TEST_F(CommandSequencesTest, MouseReadsItsConfigurationOnTheCable) {
    auto mouse = Attach("mouse");
    auto read = ReadConfiguration(link, DeviceFamily::Mouse);
    EXPECT_EQ(read.stop, Stop::None);
    EXPECT_EQ(read.result, 1);
    EXPECT_EQ(Runs(*mouse),
              (std::vector<std::pair<uint8_t, int>>{{0x01, 1}, {0x03, 1}, {0x07, 1}, {0x02, 1}}));
    EXPECT_EQ(link.ImageSize(), 48);
    EXPECT_TRUE(read.imageRead);
    EXPECT_EQ(Bytes(read.image.begin(), read.image.begin() + 33), kMouseImage);
    EXPECT_EQ(Bytes(read.image.begin() + 33, read.image.begin() + 48), Bytes(15, 0));
    EXPECT_FALSE(mouse->SessionOpen());
}

TEST_F(CommandSequencesTest, MouseUpgradesAnOlderBlockAndRefusesAnUnknownOne) {
    auto mouse = Attach("mouse");
    SetInfoByte(*mouse, 7, 0);
    auto read = ReadConfiguration(link, DeviceFamily::Mouse);
    EXPECT_EQ(read.stop, Stop::None);
    EXPECT_TRUE(read.upgraded);
    EXPECT_EQ(Commands(mouse->Requests()), (Bytes{0x01, 0x03, 0x04, 0x07, 0x02}));
    EXPECT_EQ(mouse->Memory()->Bytes(Area::Info)[7], 4);

    mouse->ClearRequests();
    SetInfoByte(*mouse, 7, 0);
    SetInfoByte(*mouse, 1, 0x00);  // marker damaged
    read = ReadConfiguration(link, DeviceFamily::Mouse);
    EXPECT_EQ(read.stop, Stop::InfoNotRecognised);
    EXPECT_EQ(Commands(mouse->Requests()), (Bytes{0x01, 0x03}));  // no EndSession

    mouse->ClearRequests();
    SetInfoByte(*mouse, 1, 0x55);
    SetInfoByte(*mouse, 7, 4);
    SetInfoByte(*mouse, 5, 171);  // 513 bytes
    read = ReadConfiguration(link, DeviceFamily::Mouse);
    EXPECT_EQ(read.stop, Stop::ImageTooLarge);
    EXPECT_EQ(Commands(mouse->Requests()), (Bytes{0x01, 0x03}));
}

TEST_F(CommandSequencesTest, KeyboardThroughItsReceiverReadsImageAndAuxImage) {
    auto keyboard = Attach("keyboard-receiver");
    auto read = ReadConfiguration(link, DeviceFamily::Keyboard);
    EXPECT_EQ(read.stop, Stop::None);
    // 104 LEDs: a 312-byte image in 13 chunks of 24, a 104-byte aux image in 5.
    EXPECT_EQ(Runs(*keyboard),
              (std::vector<std::pair<uint8_t, int>>{
                  {0xAA, 1}, {0x01, 1}, {0x03, 2}, {0x07, 13}, {0x1B, 5}, {0x02, 1}}));
    EXPECT_TRUE(read.auxRead);
    // First LED position: Esc (0x20 00 29); last: keypad '.' (0x20 00 63); the aux table gives
    // the rows, the last LED on row 5.
    EXPECT_EQ(Bytes(read.image.begin(), read.image.begin() + 3), (Bytes{0x20, 0x00, 0x29}));
    EXPECT_EQ(Bytes(read.image.begin() + 309, read.image.begin() + 312), (Bytes{0x20, 0x00, 0x63}));
    EXPECT_EQ(read.aux[0], 0);
    EXPECT_EQ(read.aux[103], 5);
}

TEST_F(CommandSequencesTest, MousePadReadsOnlyItsInformationBlock) {
    auto pad = Attach("mousepad");
    auto read = ReadConfiguration(link, DeviceFamily::MousePad);
    EXPECT_EQ(read.stop, Stop::None);
    EXPECT_EQ(Commands(pad->Requests()), (Bytes{0x01, 0x03, 0x02}));
    EXPECT_EQ(read.info.ImageUnits(), 15);
}

TEST_F(CommandSequencesTest, ReceiverPreQuerySkipsTheSequenceWhileTheDeviceSleeps) {
    auto receiver = Attach("mouse-receiver");
    receiver->SetDeviceAwake(false);
    auto read = ReadConfiguration(link, DeviceFamily::Mouse);
    EXPECT_EQ(read.stop, Stop::ReceiverAbsent);
    auto write = WriteConfiguration(link, ConfigurationData::Macros, kMouseImage.data(), 33);
    EXPECT_TRUE(write.skipped);
    EXPECT_EQ(Commands(receiver->Requests()), (Bytes{0xAA, 0xAA}));
    EXPECT_EQ(ReceiverPreQuery(link), false);

    link.Detach();
    auto read2 = ReadConfiguration(link, DeviceFamily::Mouse);
    EXPECT_EQ(read2.stop, Stop::LinkClosed);
}

TEST_F(CommandSequencesTest, WriteConfigurationReadsTheBlockFirstAndBracketsTheWrite) {
    auto memory = sim::MakeFactoryMemory("mouse");
    auto mouse = Attach("mouse", memory);
    Bytes macros = {0xAA, 0x55, 0x16, 0x00, 0x01, 0x00};
    auto write = WriteConfiguration(link, ConfigurationData::Macros, macros.data(), 6);
    EXPECT_FALSE(write.skipped);
    EXPECT_EQ(write.result, 1);
    EXPECT_EQ(write.info.MacroCapacity(), 4096u);
    EXPECT_EQ(Commands(mouse->Requests()), (Bytes{0x03, 0x01, 0x15, 0x02}));
    auto stored = memory->Bytes(Area::Macro);
    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 6), macros);

    // The same mouse through its receiver: the receiver is asked before the block and again
    // before the session; what was written by cable reads back.
    auto receiver = Attach("mouse-receiver", memory);
    Bytes shoot(120, 0x5A);
    write = WriteConfiguration(link, ConfigurationData::Shoot, shoot.data(), 120);
    EXPECT_EQ(write.result, 1);
    EXPECT_EQ(Commands(receiver->Requests()),
              (Bytes{0xAA, 0x03, 0x03, 0xAA, 0x01, 0x17, 0x17, 0x17, 0x02}));
    EXPECT_EQ(memory->Bytes(Area::Shoot)[119], 0x5A);

    receiver->ClearRequests();
    link.SetImageSize(48);
    write = WriteConfiguration(link, ConfigurationData::KeyImage, kMouseImage.data(), 0, 1);
    EXPECT_EQ(write.result, -201);
    EXPECT_EQ(Commands(receiver->Requests()), (Bytes{0xAA, 0x03, 0x03, 0xAA, 0x01, 0x02}));
}

TEST_F(CommandSequencesTest, ActiveProfileBlockReadAndWrite) {
    auto mouse = Attach("mouse");
    auto profile = mouse->Memory()->Bytes(Area::Profile);
    profile[0] = 2;
    for (size_t i = 1; i < 86; ++i)
        profile[256 + i] = static_cast<uint8_t>(i);
    mouse->Memory()->Set(Area::Profile, profile);

    Bytes block(86, 0xEE);
    uint8_t active = 0xFF;
    ASSERT_EQ(ReadActiveProfileBlock(link, block.data(), 86, kMouseProfileStride, &active), 1);
    EXPECT_EQ(active, 2);
    EXPECT_EQ(Bytes(block.begin(), block.end()),
              Bytes(profile.begin() + 256, profile.begin() + 342));
    // No session around the profile reads: 1 byte at 0, then 56 + 30 bytes at 256.
    auto requests = mouse->Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(Bytes(requests[0].begin() + 3, requests[0].begin() + 7), (Bytes{0x05, 1, 0, 0}));
    EXPECT_EQ(Bytes(requests[1].begin() + 3, requests[1].begin() + 7), (Bytes{0x05, 56, 0, 1}));
    EXPECT_EQ(Bytes(requests[2].begin() + 3, requests[2].begin() + 7), (Bytes{0x05, 30, 56, 1}));

    mouse->ClearRequests();
    Bytes settings(86, 0x33);
    settings[0] = 0;
    EXPECT_EQ(WriteProfileBlockSequence(link, settings.data(), 86, 0), 1);
    EXPECT_EQ(Commands(mouse->Requests()), (Bytes{0x01, 0x06, 0x06, 0x02}));
    auto stored = mouse->Memory()->Bytes(Area::Profile);
    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 86), settings);

    // With the link closed no session is opened and the write finds the link closed.
    mouse->ClearRequests();
    link.SetOpen(false);
    EXPECT_EQ(WriteProfileBlockSequence(link, settings.data(), 86, 0), 0);
    EXPECT_TRUE(mouse->Requests().empty());
}
