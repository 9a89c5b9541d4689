#pragma once

#include "fakeclock.h"
#include "uvc/uvcdevicefactory.h"

#include <functional>
#include <map>
#include <mutex>
#include <vector>

namespace quendral::test {

using Bytes = std::vector<std::uint8_t>;

struct XuCall {
    bool write = false;
    std::uint8_t selector = 0;
    Bytes data; // the bytes written, or the reply read
    long long atMs = 0;
};

// The camera chip's register machine, with knobs for faults. Every handle the factory opens
// talks to this one state. Change knobs only while no traffic runs on another thread.
class FakeAitDevice {
public:
    bool attached = true;
    Bytes versionReply{0, 0, 0, 1, 0, 2, 0, 3};
    bool usb3 = true;
    std::uint8_t initiationStatus = 0x00;
    int busyPolls = 0;                       // finalization polls answered "busy" first
    std::uint8_t finalStatus = 0x00;         // any value but 0x00 and 0x82 stays busy
    std::map<std::uint8_t, int> failWriteAt; // selector -> the n-th write since clearCalls fails
    std::map<std::uint8_t, int> failReads;   // selector -> that many next reads fail
    std::map<std::uint8_t, Bytes> readOverride;
    int videoInputs = 1;
    int captureInterfaces = 2;
    bool countThrows = false;
    std::function<void(const XuCall&)> onCall; // before each request, outside the lock
    std::shared_ptr<FakeClock> clock;

    uvc::UvcResult request(bool write, const util::Guid& unit, std::uint8_t selector, Bytes& data);
    std::vector<XuCall> calls() const;
    std::vector<XuCall> callsTo(bool write, std::uint8_t selector) const;
    void clearCalls();

    mutable std::mutex mutex;

private:
    std::vector<XuCall> m_calls;
    std::map<std::uint8_t, int> m_writeCounts;
    Bytes m_lastCommand;
    bool m_finalizing = false;
    int m_polls = 0;
};

// Installs a fake clock, the fake device and a working PnP provider for one test, and puts the
// library's defaults back afterwards.
class FakeEnvironment {
public:
    FakeEnvironment();
    ~FakeEnvironment();

    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<FakeAitDevice> device = std::make_shared<FakeAitDevice>();
};

Bytes command(std::uint8_t b0, std::uint8_t b1 = 0, std::uint8_t b2 = 0);
// "AIT842" followed by a counting pattern.
std::vector<char> validImage(std::size_t size);

} // namespace quendral::test
