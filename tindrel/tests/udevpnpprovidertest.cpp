// Device presence over udev events synthesized by umockdev and received by a real libudev
// monitor: what is delivered, in which order, under which path, to whom, and that the
// provider's thread comes and goes with the provider.

#include "util/udevpnpprovider.h"
#include "deviceids.h"
#include "support/fakesysfs.h"
#include "support/recordinglistener.h"
#include "support/usbdescriptorbuilder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

namespace quendral::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kEventWait = 5s;

// Threads of this process by name; umockdev and GLib run threads of their own.
int providerThreads() {
    int count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        count += name == "tindrel-pnp" ? 1 : 0;
    }
    return count;
}

class UdevPnpProviderTest : public ::testing::Test {
protected:
    UdevPnpProviderTest() {
        if (!m_sysfs.active()) {
            return;
        }
        m_usbDevice = m_sysfs.addUsbDevice("1-2", deviceVendorId, deviceProductId,
                                           UsbDescriptorBuilder::typicalDevice());
        m_videoInterface = m_sysfs.addInterface(m_usbDevice, 0);
        const std::string audio = m_sysfs.addInterface(m_usbDevice, 2);
        // As udev's rules leave them: the video node with the identifiers among its
        // properties, the sound node without.
        m_video = m_sysfs.addNode("video4linux", m_videoInterface, "video0", {},
                                  {{"ID_VENDOR_ID", "3b7a"}, {"ID_MODEL_ID", "086c"}});
        m_pcm = m_sysfs.addNode("sound", m_sysfs.addDevice("sound", "card1", audio, {}, {}),
                                "pcmC1D0c");
        const std::string foreign =
            m_sysfs.addUsbDevice("1-3", 0x046d, 0x0825, UsbDescriptorBuilder::typicalDevice());
        m_foreignVideo = m_sysfs.addNode("video4linux", m_sysfs.addInterface(foreign, 0), "video2",
                                         {}, {{"ID_VENDOR_ID", "046d"}, {"ID_MODEL_ID", "0825"}});
    }

    void SetUp() override { ASSERT_TRUE(m_sysfs.active()); }

    FakeSysfs m_sysfs;
    std::string m_usbDevice, m_videoInterface, m_video, m_pcm, m_foreignVideo;
};

TEST_F(UdevPnpProviderTest, ArrivalsAndRemovalsReachEveryRegistrationInOrder) {
    RecordingListener oneShot, twice, marker;
    util::UdevPnpProvider provider;
    // Removes itself from inside its own call; must neither deadlock nor be called again.
    oneShot.beforeRecord = [&] {
        provider.removeListener(&oneShot);
    };
    provider.addListener(&oneShot);
    provider.addListener(&twice);
    provider.addListener(&twice);
    provider.addListener(&marker);

    m_sysfs.uevent(m_video, "add");
    m_sysfs.uevent(m_pcm, "add");
    m_sysfs.uevent(m_usbDevice, "add");
    m_sysfs.uevent(m_video, "remove");
    const std::vector<std::string> expected{
        "+/dev/video0#vid_3b7a&pid_086c", "+/dev/snd/pcmC1D0c#vid_3b7a&pid_086c",
        "+/dev/bus/usb/001/002#vid_3b7a&pid_086c", "-/dev/video0#vid_3b7a&pid_086c"};
    ASSERT_TRUE(marker.waitForCount(expected.size()));
    EXPECT_EQ(marker.events(), expected);
    EXPECT_EQ(twice.events().size(), 8u) << "once per registration";
    EXPECT_EQ(oneShot.events().size(), 1u);

    // Removing takes one registration at a time.
    EXPECT_TRUE(provider.removeListener(&twice));
    m_sysfs.uevent(m_video, "add");
    ASSERT_TRUE(marker.waitForCount(5));
    EXPECT_EQ(twice.events().size(), 9u);
    EXPECT_TRUE(provider.removeListener(&twice));
    EXPECT_FALSE(provider.removeListener(&twice));
    m_sysfs.uevent(m_video, "remove");
    ASSERT_TRUE(marker.waitForCount(6));
    EXPECT_EQ(twice.events().size(), 9u);
}

// Other events and devices without a node deliver nothing; a removal carries the path of its
// arrival.
TEST_F(UdevPnpProviderTest, OnlyNodesArriveAndLeaveEachWithThePathOfItsArrival) {
    RecordingListener listener;
    util::UdevPnpProvider provider;
    provider.addListener(&listener);

    m_sysfs.uevent(m_video, "change");
    m_sysfs.uevent(m_video, "bind");
    m_sysfs.uevent(m_videoInterface, "add"); // an interface has no node
    m_sysfs.uevent(m_foreignVideo, "add");   // delivered last, so the others were seen first
    ASSERT_TRUE(listener.waitForCount(1));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(listener.events(), std::vector<std::string>{"+/dev/video2#vid_046d&pid_0825"});

    // The sound node's identifiers come from sysfs at its arrival; its removal event has none
    // and sysfs no longer has the device.
    m_sysfs.uevent(m_pcm, "add");
    ASSERT_TRUE(listener.waitForCount(2));
    m_sysfs.uevent(m_pcm, "remove");
    m_sysfs.removeDevice(m_pcm);
    ASSERT_TRUE(listener.waitForCount(3));
    EXPECT_EQ(listener.events()[2], "-/dev/snd/pcmC1D0c#vid_3b7a&pid_086c");

    // A removal whose arrival came before the provider: the event's own properties.
    m_sysfs.uevent(m_video, "remove");
    ASSERT_TRUE(listener.waitForCount(4));
    EXPECT_EQ(listener.events()[3], "-/dev/video0#vid_3b7a&pid_086c");
}

TEST_F(UdevPnpProviderTest, ARemovalWaitsForTheCallInProgressAndStopsLaterCalls) {
    // A listener whose call is still running when another thread removes it.
    RecordingListener slow, marker;
    std::promise<void> called, release;
    slow.beforeRecord = [&called, released = release.get_future().share()] {
        called.set_value();
        released.wait_for(kEventWait);
    };
    util::UdevPnpProvider provider;
    provider.addListener(&slow);
    provider.addListener(&marker);

    m_sysfs.uevent(m_video, "add");
    ASSERT_EQ(called.get_future().wait_for(kEventWait), std::future_status::ready);
    std::atomic<bool> removed{false};
    std::thread remover([&] { removed = provider.removeListener(&slow); });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(removed) << "returned while the listener was still being called";
    release.set_value();
    remover.join();
    EXPECT_TRUE(removed);

    m_sysfs.uevent(m_video, "remove");
    ASSERT_TRUE(marker.waitForCount(2));
    EXPECT_EQ(slow.events().size(), 1u);
}

TEST_F(UdevPnpProviderTest, StartAndStopLeaveNoThreadBehind) {
    for (int round = 0; round < 20; ++round) {
        {
            RecordingListener listener;
            util::UdevPnpProvider provider;
            provider.addListener(&listener);
            EXPECT_EQ(providerThreads(), 1);
            // Destroyed with events still arriving in some rounds.
            for (int i = 0; i < round % 4; ++i) {
                m_sysfs.uevent(m_video, i % 2 == 0 ? "add" : "remove");
            }
        }
        // A joined thread can stay listed for a moment while the kernel releases it.
        const auto deadline = std::chrono::steady_clock::now() + 1s;
        while (providerThreads() != 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        EXPECT_EQ(providerThreads(), 0) << "round " << round;
    }
}

} // namespace
} // namespace quendral::test
