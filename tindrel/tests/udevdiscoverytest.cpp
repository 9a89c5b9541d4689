// Finding the camera over a sysfs tree faked by umockdev, with the driver played by scripted
// nodes: which nodes match, which are probed in which order, which unit id is used, and how
// video inputs and capture streams are counted. What the exports make of it is ApiTest's.

#include "deviceids.h"
#include "support/fakeclock.h"
#include "support/fakesysfs.h"
#include "support/fakeuvcnode.h"
#include "support/usbdescriptorbuilder.h"
#include "uvc/linuxuvcdevicefactory.h"

#include <gtest/gtest.h>

#include <linux/usb/video.h>

#include <cerrno>

namespace quendral::test {
namespace {

constexpr std::uint16_t kForeignVendor = 0x046d;
constexpr std::uint16_t kForeignProduct = 0x0825;

struct Camera {
    std::string usbDevice, captureNode, metadataNode;
};

class UdevDiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        util::setClock(m_clock);
        ASSERT_TRUE(m_sysfs.active());
    }
    ~UdevDiscoveryTest() override { util::setClock(nullptr); }

    // A camera as uvcvideo and snd-usb-audio present it: a capture and a metadata node on the
    // VideoControl interface 0, a capture and a playback stream on the audio interface 2.
    Camera addCamera(const std::string& usbName, int firstVideo, int card,
                     std::uint16_t vendorId = deviceVendorId,
                     std::uint16_t productId = deviceProductId) {
        Camera camera;
        camera.usbDevice = m_sysfs.addUsbDevice(usbName, vendorId, productId,
                                                UsbDescriptorBuilder::typicalDevice());
        const std::string video = m_sysfs.addInterface(camera.usbDevice, 0);
        const std::string audio = m_sysfs.addInterface(camera.usbDevice, 2);
        for (const int number : {firstVideo, firstVideo + 1}) {
            m_sysfs.addNode("video4linux", video, "video" + std::to_string(number),
                            {{"name", "Kestal Capture: Video"}});
        }
        camera.captureNode = "/dev/video" + std::to_string(firstVideo);
        camera.metadataNode = "/dev/video" + std::to_string(firstVideo + 1);
        const std::string cardPath =
            m_sysfs.addDevice("sound", "card" + std::to_string(card), audio, {}, {});
        for (const char* direction : {"c", "p"}) {
            m_sysfs.addNode("sound", cardPath, "pcmC" + std::to_string(card) + "D0" + direction);
        }
        return camera;
    }

    // The scripted driver behind a capture node (answers the AIT unit) and a metadata node
    // (has no extension-unit ioctl at all).
    std::shared_ptr<FakeUvcNodeState> answering(const std::string& node, std::uint8_t unit = 6) {
        auto state = m_opener->add(node);
        state->unitId = unit;
        state->controls = {{1, Bytes(8)}, {2, Bytes{0, 0, 0, 2, 0, 5, 0, 7}}};
        return state;
    }
    std::shared_ptr<FakeUvcNodeState> metadata(const std::string& node) {
        auto state = m_opener->add(node);
        state->lengthScript.assign(10, {ENOTTY, 0});
        state->readError = ENOTTY;
        state->writeError = ENOTTY;
        return state;
    }

    // A device of ours with one video function on `interface`, its extension unit `unit` of
    // `guid`, and `node` on that interface.
    void addBareDevice(const std::string& usbName, std::uint8_t interface, std::uint8_t unit,
                       const Bytes& guid, const std::string& node) {
        UsbDescriptorBuilder b;
        b.device(deviceVendorId, deviceProductId)
            .configuration(1, static_cast<std::uint8_t>(interface + 2))
            .interface(interface, 0x0e, 0x01)
            .extensionUnit(unit, guid, {1})
            .interface(static_cast<std::uint8_t>(interface + 1), 0x0e, 0x02);
        const auto usb = m_sysfs.addUsbDevice(usbName, deviceVendorId, deviceProductId, b.bytes());
        m_sysfs.addNode("video4linux", m_sysfs.addInterface(usb, interface), node);
    }

    std::unique_ptr<uvc::IUvcDevice> open() {
        bool heldElsewhere = false;
        return m_factory.open(deviceVendorId, deviceProductId, &heldElsewhere);
    }

    FakeSysfs m_sysfs;
    std::shared_ptr<FakeClock> m_clock = std::make_shared<FakeClock>();
    std::shared_ptr<FakeUvcNodeOpener> m_opener = std::make_shared<FakeUvcNodeOpener>();
    uvc::LinuxUvcDeviceFactory m_factory{m_opener};
};

TEST_F(UdevDiscoveryTest, OpensTheDevicesCaptureNodeAndNoOtherDevicesNode) {
    const Camera foreign = addCamera("1-1", 0, 0, kForeignVendor, kForeignProduct);
    const Camera camera = addCamera("1-2", 2, 1);
    answering(foreign.captureNode);
    const auto state = answering(camera.captureNode);
    metadata(camera.metadataNode);

    const auto device = open();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->devicePath(), "/dev/video2#vid_3b7a&pid_086c");
    EXPECT_EQ(device->friendlyName(), "Kestal Capture: Video");
    EXPECT_EQ(m_opener->opened(), std::vector<std::string>{"/dev/video2"});
    ASSERT_FALSE(state->requests.empty());
    EXPECT_EQ(state->requests.back().query, UVC_GET_CUR);
    EXPECT_EQ(state->requests.back().selector, 2) << "probed by reading the response register";
}

TEST_F(UdevDiscoveryTest, NodesThatDoNotOpenOrDoNotAnswerAreSkipped) {
    // video10 answers, but comes after video3 by number (before it by name or by USB device).
    answering(addCamera("1-1", 10, 3).captureNode);
    const Camera first = addCamera("1-2", 0, 1);
    const Camera second = addCamera("1-3", 2, 2);
    // video0 does not open, video1 is a metadata node, video2's unit fails, video3 answers.
    metadata(first.metadataNode);
    answering(second.captureNode)->readError = EPIPE;
    answering(second.metadataNode);

    const auto device = open();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->devicePath(), "/dev/video3#vid_3b7a&pid_086c");
    EXPECT_EQ(m_opener->opened(), (std::vector<std::string>{"/dev/video0", "/dev/video1",
                                                            "/dev/video2", "/dev/video3"}));
}

// The unit id comes from the descriptors of the node's own function, which sysfs names by its
// interface number in hexadecimal: interface 10 is "0a". A node of a function without the AIT
// unit is not even asked; one that does not answer: NodesThatDoNotOpenOrDoNotAnswerAreSkipped.
TEST_F(UdevDiscoveryTest, TheUnitIdComesFromTheDescriptorsOfTheNodesFunction) {
    EXPECT_EQ(open(), nullptr) << "empty system";
    addBareDevice("1-3", 0, 6, otherGuidBytes(), "video5");
    const auto other = answering("/dev/video5");
    EXPECT_EQ(open(), nullptr);

    addBareDevice("1-2", 10, 0xfe, aitGuidBytes(), "video0");
    const auto state = answering("/dev/video0", 0xfe);
    ASSERT_NE(open(), nullptr);
    EXPECT_TRUE(other->requests.empty());
    ASSERT_FALSE(state->requests.empty());
    for (const auto& request : state->requests) {
        EXPECT_EQ(request.unit, 0xfe);
    }
}

TEST_F(UdevDiscoveryTest, CountsVideoFunctionsAndCaptureStreamsNotNodes) {
    addCamera("1-1", 0, 0, kForeignVendor, kForeignProduct);
    addCamera("1-2", 2, 1);
    // One device: one video function (with two nodes) and one capture stream (the playback
    // stream does not count).
    EXPECT_FALSE(m_factory.countVideoInputDevices(deviceVendorId, deviceProductId, 1));
    EXPECT_TRUE(m_factory.countVideoInputDevices(deviceVendorId, deviceProductId, 0));
    EXPECT_FALSE(m_factory.countCaptureInterfaces(deviceVendorId, deviceProductId, 2));
    EXPECT_TRUE(m_factory.countCaptureInterfaces(deviceVendorId, deviceProductId, 1));

    addCamera("1-3", 4, 2);
    EXPECT_TRUE(m_factory.countVideoInputDevices(deviceVendorId, deviceProductId, 1));
    EXPECT_TRUE(m_factory.countCaptureInterfaces(deviceVendorId, deviceProductId, 2));
}

} // namespace
} // namespace quendral::test
