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

TEST_F(LinuxUvcDeviceTest, ReadAsksTheLengthThenReadsThatMuch) {
    Bytes data{9, 9};
    const auto result = m_device->readXu(uvc::aitExtensionUnit(), 2, data);
    ASSERT_TRUE(result.ok) << result.errorCode;
    EXPECT_EQ(data, (Bytes{0, 0, 0, 1, 0, 2, 0, 3}));
    ASSERT_EQ(m_node->requests.size(), 2u);
    EXPECT_EQ(m_node->requests[0].query, UVC_GET_LEN);
    EXPECT_EQ(m_node->requests[0].unit, kUnitId) << "the unit id from the descriptors";
    EXPECT_EQ(m_node->requests[0].selector, 2);
    EXPECT_EQ(m_node->requests[1].query, UVC_GET_CUR);
    EXPECT_EQ(m_node->requests[1].size, 8);
    EXPECT_TRUE(m_clock->sleeps().empty());
}

TEST_F(LinuxUvcDeviceTest, ZeroLengthIsAskedAgainEvery500MsAndFinallyReadsAsEmpty) {
    m_node->lengthScript.assign(5, {0, 0});
    Bytes data{1, 2, 3};
    const auto result = m_device->readXu(uvc::aitExtensionUnit(), 2, data);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.errorCode, 0u);
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(sizeQueries(), 5);
    EXPECT_EQ(m_node->requests.size(), 5u) << "nothing to read behind a length of 0";
    EXPECT_EQ(m_clock->sleeps(), (std::vector<long long>(5, 500)));
}

TEST_F(LinuxUvcDeviceTest, ALengthThatArrivesLateIsUsed) {
    m_node->lengthScript = {{0, 0}, {EIO, 0}, {0, 8}};
    Bytes data;
    ASSERT_TRUE(m_device->readXu(uvc::aitExtensionUnit(), 2, data).ok);
    EXPECT_EQ(data.size(), 8u);
    EXPECT_EQ(sizeQueries(), 3);
    EXPECT_EQ(m_clock->countSleeps(500), 2);
}

TEST_F(LinuxUvcDeviceTest, ALengthQueryThatKeepsFailingReportsItsErrno) {
    m_node->lengthScript.assign(5, {EIO, 0});
    Bytes data{7};
    const auto result = m_device->readXu(uvc::aitExtensionUnit(), 2, data);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorCode, static_cast<std::uint32_t>(EIO));
    EXPECT_EQ(data, Bytes{7}) << "a failed read leaves the caller's buffer alone";
    EXPECT_EQ(sizeQueries(), 5);
    EXPECT_EQ(result.errorText(), "Input/output error (Error: 0x5)");
}

TEST_F(LinuxUvcDeviceTest, ErrorsNoRetryCanChangeEndTheRetriesAtOnce) {
    for (const int error : {ENOTTY, ENODEV}) {
        m_node->requests.clear();
        m_node->lengthScript.assign(5, {error, 0});
        Bytes data;
        const auto result = m_device->readXu(uvc::aitExtensionUnit(), 2, data);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.errorCode, static_cast<std::uint32_t>(error));
        EXPECT_EQ(sizeQueries(), 1) << "errno " << error;
    }
    // The driver's own answer for a selector the unit does not have.
    Bytes data;
    const auto missing = m_device->readXu(uvc::aitExtensionUnit(), 9, data);
    EXPECT_EQ(missing.errorCode, static_cast<std::uint32_t>(ENOENT));
    EXPECT_TRUE(m_clock->sleeps().empty());
}

TEST_F(LinuxUvcDeviceTest, AFailedReadAfterTheLengthReportsItsErrno) {
    m_node->readError = EPIPE;
    Bytes data;
    const auto result = m_device->readXu(uvc::aitExtensionUnit(), 2, data);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorCode, static_cast<std::uint32_t>(EPIPE));
}

TEST_F(LinuxUvcDeviceTest, AUnitThatIsNotOnTheDeviceFailsWithCodeZeroAndSendsNothing) {
    const auto otherUnit = util::parseGuid("a29e7641-de04-47e3-8b2b-f4341aff003b");
    Bytes data;
    const auto read = m_device->readXu(otherUnit, 2, data);
    const auto write = m_device->writeXu(otherUnit, 1, Bytes(8));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.errorCode, 0u);
    EXPECT_FALSE(write.ok);
    EXPECT_EQ(write.errorCode, 0u);
    EXPECT_TRUE(m_node->requests.empty());
}

TEST_F(LinuxUvcDeviceTest, WriteSendsExactlyTheBytes) {
    const Bytes block{0x41, 0x49, 0x54, 0x38, 0x34, 0x32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                      0,    0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 7};
    ASSERT_TRUE(m_device->writeXu(uvc::aitExtensionUnit(), 3, block).ok);
    ASSERT_EQ(m_node->requests.size(), 1u);
    EXPECT_EQ(m_node->requests[0].query, UVC_SET_CUR);
    EXPECT_EQ(m_node->requests[0].unit, kUnitId);
    EXPECT_EQ(m_node->requests[0].selector, 3);
    EXPECT_EQ(m_node->requests[0].written, block);
}

TEST_F(LinuxUvcDeviceTest, WriteFailuresCarryTheDriversErrno) {
    const auto wrongLength = m_device->writeXu(uvc::aitExtensionUnit(), 1, Bytes(7));
    EXPECT_FALSE(wrongLength.ok);
    EXPECT_EQ(wrongLength.errorCode, static_cast<std::uint32_t>(ENOBUFS));
    m_node->writeError = ENODEV;
    const auto gone = m_device->writeXu(uvc::aitExtensionUnit(), 1, Bytes(8));
    EXPECT_EQ(gone.errorCode, static_cast<std::uint32_t>(ENODEV));
}

// The request's size field has 16 bits: a longer buffer must not go out cut to its low bits.
TEST_F(LinuxUvcDeviceTest, AWriteLongerThanARequestCanCarryIsRefusedUnsent) {
    const auto result = m_device->writeXu(uvc::aitExtensionUnit(), 3, Bytes(65536 + 32));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorCode, static_cast<std::uint32_t>(EMSGSIZE));
    EXPECT_TRUE(m_node->requests.empty());
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
