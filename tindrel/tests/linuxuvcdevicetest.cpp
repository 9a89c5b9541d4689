// Extension-unit requests through the uvcvideo driver's query, with the driver played by a
// scripted node: the length question and its retries, reads, writes, and the error codes that
// come back.

#include "uvc/linuxuvcdevice.h"
#include "support/fakeclock.h"
#include "support/fakeuvcnode.h"
#include "uvc/aitextensionunit.h"

#include <gtest/gtest.h>

#include <linux/usb/video.h>

#include <cerrno>
#include <cstdlib>
#include <deque>
#include <tuple>
#include <unistd.h>

namespace quendral::test {
namespace {

constexpr std::uint8_t kUnitId = 0x2a;

class LinuxUvcDeviceTest : public ::testing::Test {
protected:
    LinuxUvcDeviceTest() {
        util::setClock(m_clock);
        m_node->unitId = kUnitId;
        m_node->controls = {{1, Bytes(8, 0)}, {2, Bytes{0, 0, 0, 1, 0, 2, 0, 3}}, {3, Bytes(32)}};
        m_device = std::make_unique<uvc::LinuxUvcDevice>(
            std::make_unique<FakeUvcNode>(m_node),
            uvc::LinuxUvcDevice::Identity{0x3b7a, 0x086c, "/dev/video4#vid_3b7a&pid_086c",
                                          "Kestal"},
            std::map<util::Guid, std::uint8_t>{{uvc::aitExtensionUnit(), kUnitId}});
    }
    ~LinuxUvcDeviceTest() override { util::setClock(nullptr); }

    long sizeQueries() const {
        long count = 0;
        for (const auto& request : m_node->requests) {
            count += request.query == UVC_GET_LEN ? 1 : 0;
        }
        return count;
    }

    std::shared_ptr<FakeClock> m_clock = std::make_shared<FakeClock>();
    std::shared_ptr<FakeUvcNodeState> m_node = std::make_shared<FakeUvcNodeState>();
    std::unique_ptr<uvc::LinuxUvcDevice> m_device;
};

// A read asks the length, then reads that much. The length question is asked every 500 ms, five
// times in all, and given up at once for errors that no retry can change. The unit id in the
// requests: UdevDiscoveryTest.TheUnitIdComesFromTheDescriptorsOfTheNodesFunction.
TEST_F(LinuxUvcDeviceTest, ReadsAndTheLengthQuestionWithItsRetries) {
    using Script = std::deque<std::pair<int, std::uint16_t>>;
    // The driver's answers, the control read, its read error, the outcome, the bytes read
    // (1: the caller's buffer untouched), length questions, pauses.
    const std::vector<std::tuple<Script, std::uint8_t, int, int, std::size_t, long, long>> cases{
        {{}, 2, 0, 0, 8, 1, 0},
        {Script(5, {0, 0}), 2, 0, 0, 0, 5, 5},
        {{{0, 0}, {EIO, 0}, {0, 8}}, 2, 0, 0, 8, 3, 2},
        {Script(5, {EIO, 0}), 2, 0, EIO, 1, 5, 5},
        {Script(5, {ENOTTY, 0}), 2, 0, ENOTTY, 1, 1, 0},
        {Script(5, {ENODEV, 0}), 2, 0, ENODEV, 1, 1, 0},
        {{}, 9, 0, ENOENT, 1, 1, 0}, // the driver's answer for a selector the unit lacks
        {{}, 2, EPIPE, EPIPE, 1, 1, 0},
    };
    for (const auto& [script, selector, readError, code, bytes, questions, sleeps] : cases) {
        SCOPED_TRACE(::testing::Message() << "errno " << code << ", " << questions);
        m_node->requests.clear();
        m_node->lengthScript = script;
        m_node->readError = readError;
        const auto sleptBefore = m_clock->sleeps().size();
        Bytes data{7};
        const auto result = m_device->readXu(uvc::aitExtensionUnit(), selector, data);
        EXPECT_EQ(result.ok, code == 0);
        EXPECT_EQ(result.errorCode, static_cast<std::uint32_t>(code));
        EXPECT_EQ(data, bytes == 8 ? m_node->controls[2] : Bytes(bytes, 7));
        EXPECT_EQ(sizeQueries(), questions);
        EXPECT_EQ(m_clock->sleeps().size() - sleptBefore, static_cast<std::size_t>(sleeps));
        EXPECT_EQ(m_clock->countSleeps(500), static_cast<long>(m_clock->sleeps().size()));
        if (questions == 5 && code == 0) {
            EXPECT_EQ(m_node->requests.size(), 5u) << "nothing to read behind a length of 0";
        }
    }
    m_node->lengthScript.assign(5, {EIO, 0});
    Bytes data;
    EXPECT_EQ(m_device->readXu(uvc::aitExtensionUnit(), 2, data).errorText(),
              "Input/output error (Error: 0x5)");
}

TEST_F(LinuxUvcDeviceTest, WritesSendExactlyTheBytesOrCarryTheDriversErrno) {
    Bytes block(32, 0x41);
    block.back() = 7;
    ASSERT_TRUE(m_device->writeXu(uvc::aitExtensionUnit(), 3, block).ok);
    ASSERT_EQ(m_node->requests.size(), 1u);
    EXPECT_EQ(m_node->requests[0].query, UVC_SET_CUR);
    EXPECT_EQ(m_node->requests[0].unit, kUnitId);
    EXPECT_EQ(m_node->requests[0].selector, 3);
    EXPECT_EQ(m_node->requests[0].written, block);
    m_node->requests.clear();

    // A unit that is not on the device: code 0, nothing sent. The request's size field has 16
    // bits: a longer buffer must not go out cut to its low bits.
    const auto otherUnit = util::parseGuid("a29e7641-de04-47e3-8b2b-f4341aff003b");
    Bytes data;
    EXPECT_EQ(m_device->readXu(otherUnit, 2, data).errorCode, 0u);
    const auto other = m_device->writeXu(otherUnit, 1, Bytes(8));
    EXPECT_FALSE(other.ok);
    EXPECT_EQ(other.errorCode, 0u);
    EXPECT_EQ(m_device->writeXu(uvc::aitExtensionUnit(), 3, Bytes(65536 + 32)).errorCode,
              static_cast<std::uint32_t>(EMSGSIZE));
    EXPECT_TRUE(m_node->requests.empty());

    m_node->writeError = ENODEV;
    EXPECT_EQ(m_device->writeXu(uvc::aitExtensionUnit(), 1, Bytes(8)).errorCode,
              static_cast<std::uint32_t>(ENODEV));
}

// Whoever opens a video node first has it until closing it; a second opener, even in this
// process, learns that it is held rather than finding nothing.
TEST(SystemUvcNodeOpenerTest, ANodeBelongsToOneHolderAtATime) {
    char path[] = "/tmp/tindrel-node-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const auto opener = uvc::systemUvcNodeOpener();
    bool heldElsewhere = false;
    auto first = opener->open(path, &heldElsewhere);
    ASSERT_TRUE(first);
    EXPECT_FALSE(opener->open(path, &heldElsewhere));
    EXPECT_TRUE(heldElsewhere);
    first.reset();
    heldElsewhere = false;
    EXPECT_TRUE(opener->open(path, &heldElsewhere));
    EXPECT_FALSE(heldElsewhere);
    ::unlink(path);
}

} // namespace
} // namespace quendral::test
