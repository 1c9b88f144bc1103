// The command set against the emulated devices: request bytes, chunking, result mapping.
#include "protocol/CommandSet.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "platform/Clock.h"
#include "platform/Trace.h"
#include "sim/SimTestBus.h"

using namespace dravik;
using dravik::sim::Area;
using dravik::sim::Fault;
using dravik::test::Commands;
using dravik::test::Report64;

namespace {

class CommandSetTest : public ::testing::Test {
  protected:
    std::shared_ptr<sim::SimDevice> Attach(const std::string& name) {
        auto device = simBus.Plug(name);
        EXPECT_TRUE(device);
        link.Detach();
        EXPECT_TRUE(link.Attach(simBus.CommandPath(*device), device->Identity().receiver));
        return device;
    }
    // (length, address) of every request with this command byte.
    static std::vector<std::pair<int, int>> Chunks(const sim::SimDevice& device, uint8_t command) {
        std::vector<std::pair<int, int>> out;
        for (const auto& r : device.Requests())
            if (r[3] == command)
                out.emplace_back(r[4], r[5] | r[6] << 8);
        return out;
    }
    static std::vector<std::pair<int, int>> Expected(std::initializer_list<int> lengths,
                                                     int base = 0) {
        std::vector<std::pair<int, int>> out;
        int at = base;
        for (int n : lengths) {
            out.emplace_back(n, at);
            at += n;
        }
        return out;
    }
    static std::vector<uint8_t> Pattern(size_t n, uint8_t seed) {
        std::vector<uint8_t> out(n);
        for (size_t i = 0; i < n; ++i)
            out[i] = static_cast<uint8_t>(seed + i * 7);
        return out;
    }

    test::SimTestBus simBus;
    DeviceLink link;
};

}  // namespace

// One request per command, byte for byte, checksum included (hand-computed).
TEST_F(CommandSetTest, RequestBytesOfEveryCommand) {
    std::vector<uint8_t> info(34);
    for (size_t i = 0; i < info.size(); ++i)
        info[i] = static_cast<uint8_t>(i);
    uint8_t sink[512] = {};
    const uint8_t three[] = {0x11, 0x22, 0x33};
    const uint8_t key[] = {0x10, 0x01, 0x00};
    const uint8_t rgb[] = {0x01, 0x02, 0x03};
    const uint8_t frame[] = {0xFF, 0x80, 0x01};
    const uint8_t macro[] = {0xAA, 0x55, 0x22, 0x00};
    const uint8_t shoot[] = {0xAA, 0x55};
    const struct {
        const char* device;
        uint8_t command;
        std::function<void(DeviceLink&)> call;
        const char* golden;
    } cases[] = {
        {"keyboard", 0x01, [](DeviceLink& l) { BeginSession(l); }, "04 01 00 01"},
        {"keyboard", 0x02, [](DeviceLink& l) { EndSession(l); }, "04 02 00 02"},
        {"keyboard", 0x03, [&](DeviceLink& l) { ReadDeviceInfo(l, sink); },
         "04 25 00 03 22 00 00 00"},
        {"keyboard", 0x04, [&](DeviceLink& l) { WriteDeviceInfo(l, info.data()); },
         "04 57 02 04 22 00 00 00 00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10 11 12 13 "
         "14 15 16 17 18 19 1a 1b 1c 1d 1e 1f 20 21"},
        {"mouse", 0x05, [&](DeviceLink& l) { ReadProfileBlock(l, sink, 86, 0x80); },
         "04 bd 00 05 38 80 00 00"},
        {"keyboard", 0x06, [&](DeviceLink& l) { WriteProfileBlock(l, three, 3, 0x19); },
         "04 88 00 06 03 19 00 00 11 22 33"},
        {"keyboard", 0x07,
         [&](DeviceLink& l) {
             l.SetImageSize(48);
             ReadConfigImage(l, sink);
         },
         "04 37 00 07 30 00 00 00"},
        {"keyboard", 0x09,
         [&](DeviceLink& l) {
             l.SetImageSize(3);
             WriteConfigImage(l, key, 0);
         },
         "04 1d 00 09 03 00 00 00 10 01 00"},
        {"keyboard", 0x0A, [&](DeviceLink& l) { ReadBankImage(l, sink, 12, 2, 512); },
         "04 1a 00 0a 0c 00 04 00"},
        {"keyboard", 0x0B, [&](DeviceLink& l) { WriteBankImage(l, rgb, 3, 1, 512); },
         "04 16 00 0b 03 00 02 00 01 02 03"},
        {"keyboard", 0x12, [&](DeviceLink& l) { WriteLightFrame(l, frame, 3); },
         "04 95 01 12 03 00 00 00 ff 80 01"},
        {"keyboard", 0x15, [&](DeviceLink& l) { WriteMacroData(l, macro, 4); },
         "04 3a 01 15 04 00 00 00 aa 55 22 00"},
        {"mouse", 0x17, [&](DeviceLink& l) { WriteShootData(l, shoot, 2); },
         "04 18 01 17 02 00 00 00 aa 55"},
        {"keyboard", 0x1A, [&](DeviceLink& l) { ReadPowerStatus(l, sink, 6, 0); },
         "04 20 00 1a 06 00 00 00"},
        {"keyboard", 0x1B,
         [&](DeviceLink& l) {
             l.SetImageSize(48);
             ReadAuxImage(l, sink);
         },
         "04 2b 00 1b 10 00 00 00"},
        {"keyboard", 0x1C, [](DeviceLink& l) { ResumeLightControl(l); }, "04 1c 00 1c"},
        {"keyboard-receiver", 0xAA, [](DeviceLink& l) { QueryReceiverLink(l); }, "04 aa 00 aa"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        auto device = Attach(c.device);
        c.call(link);
        auto requests = device->Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.front(), Report64(c.golden));
        EXPECT_EQ(requests.front()[3], c.command);
        device->Unplug();
    }
}

TEST_F(CommandSetTest, ChunkCountsFollowTheLinkChunkSize) {
    auto image = Pattern(512, 3);
    uint8_t sink[512] = {};
    const struct {
        const char* name;
        const char* device;
        uint8_t command;
        std::function<int32_t(DeviceLink&)> call;
        std::vector<std::pair<int, int>> chunks;
    } cases[] = {
        {"512-byte image on the cable", "keyboard", 0x09,
         [&](DeviceLink& l) { return WriteConfigImage(l, image.data(), 0); },
         Expected({56, 56, 56, 56, 56, 56, 56, 56, 56, 8})},
        {"512-byte image through the receiver", "keyboard-receiver", 0x07,
         [&](DeviceLink& l) { return ReadConfigImage(l, sink); },
         Expected({24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24,
                   24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 8})},
        {"information block on the cable", "mouse", 0x03,
         [&](DeviceLink& l) { return ReadDeviceInfo(l, sink); }, Expected({34})},
        {"information block through the receiver", "mouse-receiver", 0x03,
         [&](DeviceLink& l) { return ReadDeviceInfo(l, sink); }, Expected({24, 10})},
        {"shoot data keeps 56-byte chunks through the receiver", "mouse-receiver", 0x17,
         [&](DeviceLink& l) { return WriteShootData(l, image.data(), 120); },
         Expected({56, 56, 8})},
        {"bank 2 addressed from 1024", "keyboard-receiver", 0x0A,
         [&](DeviceLink& l) { return ReadBankImage(l, sink, 30, 2); }, Expected({24, 6}, 1024)},
        {"aux image is a third of the image size", "keyboard", 0x1B,
         [&](DeviceLink& l) { return ReadAuxImage(l, sink); }, Expected({56, 56, 56, 2})},
        {"a total of 0 sends nothing", "mouse", 0x15,
         [&](DeviceLink& l) { return WriteMacroData(l, image.data(), 0); }, Expected({})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto device = Attach(c.device);
        link.SetImageSize(512);
        EXPECT_EQ(c.call(link), 1);
        EXPECT_EQ(Chunks(*device, c.command), c.chunks);
        device->Unplug();
    }
}

TEST_F(CommandSetTest, ChunkedTransfersRoundTripThroughDeviceMemory) {
    auto keyboard = Attach("keyboard-receiver");
    auto image = Pattern(512, 1);
    ASSERT_EQ(WriteConfigImage(link, image.data(), 0), 1);
    EXPECT_EQ(keyboard->Memory()->Bytes(Area::Image), image);
    std::vector<uint8_t> back(512, 0xEE);
    ASSERT_EQ(ReadConfigImage(link, back.data()), 1);
    EXPECT_EQ(back, image);

    auto bank = Pattern(40, 9);
    ASSERT_EQ(WriteBankImage(link, bank.data(), 40, 3), 1);
    auto banks = keyboard->Memory()->Bytes(Area::Banks);
    EXPECT_TRUE(std::equal(bank.begin(), bank.end(), banks.begin() + 3 * 512));
    std::vector<uint8_t> bankBack(40);
    ASSERT_EQ(ReadBankImage(link, bankBack.data(), 40, 3), 1);
    EXPECT_EQ(bankBack, bank);

    uint8_t power[6] = {};
    ASSERT_EQ(ReadPowerStatus(link, power, 6, 0), 1);
    EXPECT_EQ(std::vector<uint8_t>(power, power + 6), (std::vector<uint8_t>{100, 2, 0, 0, 0, 0}));
}

TEST_F(CommandSetTest, ImageWriteToAnotherBankSendsNothing) {
    auto mouse = Attach("mouse");
    uint8_t image[512] = {};
    EXPECT_EQ(WriteConfigImage(link, image, 1), -201);
    EXPECT_EQ(WriteConfigImage(link, image, -1), -201);
    EXPECT_TRUE(mouse->Requests().empty());
}

TEST_F(CommandSetTest, StatusInTheMiddleOfAWriteStopsTheTransfer) {
    const struct {
        uint8_t status;
        int32_t result;
    } cases[] = {{0xFE, -103}, {0xFF, -102}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        auto keyboard = Attach("keyboard");
        Fault fault;
        fault.kind = Fault::Kind::Status;
        fault.command = 0x09;
        fault.skip = 2;
        fault.value = c.status;
        keyboard->InjectFault(fault);
        auto image = Pattern(512, 5);
        EXPECT_EQ(WriteConfigImage(link, image.data(), 0), c.result);
        EXPECT_EQ(Chunks(*keyboard, 0x09), Expected({56, 56, 56}));
        auto stored = keyboard->Memory()->Bytes(Area::Image);
        EXPECT_TRUE(std::equal(image.begin(), image.begin() + 112, stored.begin()));
        EXPECT_EQ(stored[112], 0);  // the refused chunk and everything after it stay unwritten
        keyboard->Unplug();
    }
}

TEST_F(CommandSetTest, DeviceInfoIsCopiedOnlyWhenEveryChunkArrived) {
    auto receiver = Attach("mouse-receiver");
    Fault fault;
    fault.kind = Fault::Kind::Status;
    fault.command = 0x03;
    fault.skip = 1;
    fault.value = 0xFF;
    receiver->InjectFault(fault);
    std::vector<uint8_t> info(34, 0xEE);
    EXPECT_EQ(ReadDeviceInfo(link, info.data()), -102);
    EXPECT_EQ(info, std::vector<uint8_t>(34, 0xEE));
    EXPECT_EQ(receiver->RequestCount(0x03), 2u);

    DeviceInfoBlock block;
    ASSERT_EQ(ReadDeviceInfo(link, block), 1);
    EXPECT_TRUE(block.HasMarker());
    EXPECT_EQ(block.ImageUnits(), 16);
    EXPECT_EQ(block.ImageSize(), 48u);
    EXPECT_EQ(block.MacroCapacity(), 4096u);
    EXPECT_TRUE(block.IsCurrent());
    EXPECT_FALSE(block.NeedsUpgrade());
    EXPECT_EQ(block.SensorId(), 0x3104);
    EXPECT_EQ(block.DpiStep(), 50);
    EXPECT_EQ(block.DpiCodeLimit(), 114);
    EXPECT_EQ(block.DpiBase(), 100);
}

TEST_F(CommandSetTest, ReceiverQueryIsATruthValue) {
    auto mouse = Attach("mouse");
    EXPECT_TRUE(QueryReceiverLink(link));  // on the cable: at once, without any exchange
    EXPECT_TRUE(mouse->Requests().empty());

    auto receiver = Attach("mouse-receiver");
    EXPECT_TRUE(QueryReceiverLink(link));
    receiver->SetDeviceAwake(false);
    EXPECT_FALSE(QueryReceiverLink(link));
    EXPECT_EQ(BeginSession(link), -101);
    Fault fault;
    fault.kind = Fault::Kind::Status;
    fault.value = 0xFE;
    receiver->SetDeviceAwake(true);
    receiver->InjectFault(fault);
    EXPECT_FALSE(QueryReceiverLink(link));
    EXPECT_EQ(receiver->RequestCount(0xAA), 3u);
}

TEST_F(CommandSetTest, SuspendedLinkDeliversZerosWithoutIo) {
    Attach("mouse-receiver");
    const uint64_t before = simBus.bus->ReportsWritten();
    link.SetSuspended(true);
    std::vector<uint8_t> image(512, 0xEE);
    link.SetImageSize(48);
    EXPECT_EQ(ReadConfigImage(link, image.data()), 1);
    EXPECT_TRUE(std::all_of(image.begin(), image.begin() + 48, [](uint8_t b) { return b == 0; }));
    std::vector<uint8_t> info(34, 0xEE);
    EXPECT_EQ(ReadDeviceInfo(link, info.data()), 1);
    EXPECT_EQ(info, std::vector<uint8_t>(34, 0));
    EXPECT_EQ(WriteConfigImage(link, image.data(), 0), 1);
    EXPECT_FALSE(QueryReceiverLink(link));
    EXPECT_EQ(simBus.bus->ReportsWritten(), before);
}

TEST_F(CommandSetTest, LightFrameIsDroppedWhileTheLinkIsBusyAndStillSucceeds) {
    auto keyboard = Attach("keyboard");
    Fault slow;
    slow.kind = Fault::Kind::Delay;
    slow.command = 0x01;
    slow.delayMs = 400;
    keyboard->InjectFault(slow);
    std::thread configuration([&] { EXPECT_EQ(BeginSession(link), 1); });
    for (int i = 0; i < 200 && !link.IsBusy(); ++i)
        platform::SleepMs(1);
    ASSERT_TRUE(link.IsBusy());

    auto frame = Pattern(510, 2);
    platform::TraceCapture capture;
    EXPECT_EQ(WriteLightFrame(link, frame.data(), 510), 1);
    configuration.join();
    EXPECT_EQ(capture.Count("放弃灯光数据"), 10u);  // every chunk met the busy link
    EXPECT_EQ(keyboard->RequestCount(0x12), 0u);

    // Once the link is idle the frame goes out in cable chunks and lands in the frame area.
    EXPECT_EQ(WriteLightFrame(link, frame.data(), 510), 1);
    EXPECT_EQ(Chunks(*keyboard, 0x12), Expected({56, 56, 56, 56, 56, 56, 56, 56, 56, 6}));
    auto stored = keyboard->Memory()->Bytes(Area::Frame);
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), stored.begin()));
}

TEST_F(CommandSetTest, TwoThreadsInterleavingCommandsOnOneLinkStayMatched) {
    auto keyboard = Attach("keyboard");
    auto image = Pattern(512, 11);
    keyboard->Memory()->Set(Area::Image, image);
    auto profile = Pattern(45, 77);
    keyboard->Memory()->Set(Area::Profile, profile);
    link.SetImageSize(512);

    std::atomic<int> failures{0};
    std::thread imageReader([&] {
        for (int round = 0; round < 2; ++round) {
            std::vector<uint8_t> got(512);
            if (ReadConfigImage(link, got.data()) != 1 || got != image)
                ++failures;
        }
    });
    std::thread profileReader([&] {
        for (int round = 0; round < 20; ++round) {
            std::vector<uint8_t> got(45);
            if (ReadProfileBlock(link, got.data(), 45, 0) != 1 || got != profile)
                ++failures;
        }
    });
    imageReader.join();
    profileReader.join();
    EXPECT_EQ(failures, 0);
    // The two transfers really did interleave chunk by chunk.
    auto commands = Commands(keyboard->Requests());
    auto firstProfile = std::find(commands.begin(), commands.end(), 0x05);
    auto lastImage = std::find(commands.rbegin(), commands.rend(), 0x07);
    ASSERT_NE(firstProfile, commands.end());
    EXPECT_LT(firstProfile - commands.begin(), commands.rend() - lastImage - 1);
    // Every exchange was sent once: no answer went astray and needed a re-send.
    EXPECT_EQ(commands.size(), 20u + 20u);
}

TEST_F(CommandSetTest, DisconnectInTheMiddleOfATransfer) {
    auto keyboard = Attach("keyboard");
    const int busId = keyboard->BusId();
    Fault unplug;
    unplug.kind = Fault::Kind::Disconnect;
    unplug.command = 0x15;
    unplug.skip = 2;
    keyboard->InjectFault(unplug);
    auto macro = Pattern(300, 4);
    // The third chunk is written, never answered, and its re-send finds the device gone.
    EXPECT_EQ(WriteMacroData(link, macro.data(), 300), -1);
    EXPECT_EQ(keyboard->RequestCount(0x15), 3u);
    auto ids = simBus.bus->DeviceIds();
    EXPECT_EQ(std::count(ids.begin(), ids.end(), busId), 0);
    EXPECT_EQ(BeginSession(link), -1);
}

TEST_F(CommandSetTest, EachCommandTakesItsOwnLane) {
    auto keyboard = Attach("keyboard");
    const uint8_t data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    // Runs call on another thread while this one holds the given locks; true when the call
    // completed without waiting for them.
    auto completesWhileHeld = [&](std::vector<platform::FairRecursiveMutex*> held,
                                  std::function<int32_t()> call) {
        for (auto* m : held)
            m->lock();
        std::atomic<bool> done{false};
        std::thread worker([&] {
            EXPECT_EQ(call(), 1);
            done = true;
        });
        for (int i = 0; i < 100 && !done; ++i)
            platform::SleepMs(5);
        const bool completed = done;
        for (auto* m : held)
            m->unlock();
        worker.join();
        return completed;
    };
    auto& command = link.CommandLock();
    auto& light = link.LightLock();
    EXPECT_TRUE(completesWhileHeld({&command}, [&] { return WriteBankImage(link, data, 8, 1); }));
    EXPECT_TRUE(completesWhileHeld({&command}, [&] { return WriteLightFrame(link, data, 8); }));
    EXPECT_FALSE(completesWhileHeld({&light}, [&] { return WriteBankImage(link, data, 8, 1); }));
    EXPECT_FALSE(
        completesWhileHeld({&command}, [&] { return ReadBankImage(link, nullptr, 8, 1); }));
    auto mouse = Attach("mouse");
    EXPECT_TRUE(
        completesWhileHeld({&command, &light}, [&] { return WriteShootData(link, data, 8); }));
    EXPECT_EQ(mouse->RequestCount(0x17), 1u);
}
