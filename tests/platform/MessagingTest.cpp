#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "platform/Clock.h"
#include "platform/Event.h"
#include "platform/InstanceLock.h"
#include "platform/InstanceMessenger.h"
#include "platform/Process.h"
#include "platform/RegisteredMessages.h"
#include "support/TempDir.h"

using namespace dravik::platform;
using dravik::test::TempDir;

TEST(RegisteredMessages, OneIdPerNameInTheRegisteredRange) {
    uint32_t a = RegisterMessage("UWM_MOUSERBUTTONDOWN_USER_MSG");
    uint32_t b = RegisterMessage("uwm_mouserbuttondown_user_msg");
    uint32_t c = RegisterMessage("Game_Start");
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    for (uint32_t id : {a, c}) {
        EXPECT_GE(id, 0xC000u);
        EXPECT_LE(id, 0xFFFFu);
    }
    EXPECT_EQ(RegisteredMessageName(c), "Game_Start");
    EXPECT_EQ(RegisterMessage(""), 0u);
}

TEST(InstancePacket, RoundTripsAndRejectsMalformedBytes) {
    InstancePacket p;
    p.kind = InstancePacket::Kind::CopyData;
    p.name = "Dravik";
    p.wParam = 5;
    p.lParam = -2;
    p.dwData = 9;
    p.data = {1, 2, 3};
    auto bytes = EncodeInstancePacket(p);
    auto back = DecodeInstancePacket(bytes.data(), bytes.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, p);

    auto mutate = [&](auto f) {
        auto b = bytes;
        f(b);
        return DecodeInstancePacket(b.data(), b.size()).has_value();
    };
    EXPECT_FALSE(mutate([](auto& b) { b.pop_back(); }));    // length disagrees
    EXPECT_FALSE(mutate([](auto& b) { b.push_back(0); }));  // trailing byte
    EXPECT_FALSE(mutate([](auto& b) { b[0] = 'X'; }));      // magic
    EXPECT_FALSE(mutate([](auto& b) { b[4] = 2; }));        // version
    EXPECT_FALSE(mutate([](auto& b) { b[5] = 7; }));        // kind
    EXPECT_FALSE(mutate([](auto& b) { b[36] = 0; }));       // NUL inside the name
    EXPECT_FALSE(mutate([](auto& b) {
        b[32] = 0xFF;
        b[35] = 0xFF;
    }));  // absurd data length
    EXPECT_FALSE(DecodeInstancePacket(bytes.data(), 10));
    EXPECT_FALSE(DecodeInstancePacket(nullptr, 0));
}

namespace {
struct Inbox {
    std::mutex m;
    std::vector<InstancePacket> packets;
    Event arrived{Event::Reset::Auto};
    InstanceMessenger::Handler Handler() {
        return [this](const InstancePacket& p) {
            {
                std::lock_guard lock(m);
                packets.push_back(p);
            }
            arrived.Set();
        };
    }
};
}  // namespace

TEST(InstanceMessenger, BroadcastReachesOtherInstancesAndPeersByName) {
    TempDir dir;
    InstanceMessenger first(dir.Path()), companion(dir.Path()), sender(dir.Path());
    Inbox firstBox, companionBox;
    ASSERT_TRUE(first.Listen("inst-first", firstBox.Handler()));
    ASSERT_TRUE(companion.Listen("ZeviZodu", companionBox.Handler()));

    InstancePacket wake;
    wake.name = "Dravik";
    wake.lParam = 1;
    EXPECT_EQ(sender.Broadcast(wake), 1);  // instances only, not the companion
    ASSERT_TRUE(firstBox.arrived.Wait(2000));
    EXPECT_EQ(firstBox.packets.at(0), wake);

    EXPECT_TRUE(sender.PeerExists("ZeviZodu"));
    EXPECT_TRUE(sender.SendToPeer("ZeviZodu", wake));
    ASSERT_TRUE(companionBox.arrived.Wait(2000));
    EXPECT_FALSE(sender.SendToPeer("nobody", wake));
    EXPECT_FALSE(sender.SendToPeer("../escape", wake));
    EXPECT_EQ(
        std::filesystem::status(dir / "ZeviZodu.sock").permissions() & std::filesystem::perms::all,
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(InstanceMessenger, MalformedPacketsAreDropped) {
    TempDir dir;
    InstanceMessenger listener(dir.Path());
    Inbox box;
    ASSERT_TRUE(listener.Listen("peer", box.Handler()));
    int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string path = (dir / "peer.sock").string();
    std::memcpy(addr.sun_path, path.c_str(), path.size());
    const char garbage[] = "not a packet";
    ::sendto(fd, garbage, sizeof garbage, 0, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    std::vector<char> huge(70000, 'D');
    ::sendto(fd, huge.data(), huge.size(), 0, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::close(fd);
    for (int i = 0; i < 100 && listener.DroppedPackets() < 2; ++i)
        SleepMs(10);
    EXPECT_EQ(listener.DroppedPackets(), 2u);
    EXPECT_TRUE(box.packets.empty());
}

TEST(InstanceLock, SecondHolderIsRefusedUntilRelease) {
    TempDir dir;
    InstanceLock a, b;
    EXPECT_EQ(a.Acquire(dir.Path()), InstanceLock::Result::Acquired);
    EXPECT_EQ(b.Acquire(dir.Path()), InstanceLock::Result::AlreadyRunning);
    a.Release();
    EXPECT_EQ(b.Acquire(dir.Path()), InstanceLock::Result::Acquired);
    EXPECT_EQ(a.Acquire(dir / "missing"), InstanceLock::Result::Unavailable);
}

TEST(Process, LaunchRunsTheProgramWithArgumentsAndReportsFailure) {
    TempDir dir;
    auto marker = dir / "ran";
    ASSERT_TRUE(LaunchProcess("/bin/sh", {"-c", "echo \"$0\" > " + marker.string(), "arg one"}));
    for (int i = 0; i < 200 && !std::filesystem::exists(marker); ++i)
        SleepMs(10);
    EXPECT_TRUE(std::filesystem::exists(marker));
    EXPECT_FALSE(LaunchProcess(dir / "no-such-program", {}));
}
