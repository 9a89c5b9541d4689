// Flashes an image through the library's exports into an in-process device whose calls cost
// nothing, and compares the time per 32-byte data write with the least any flasher must do for
// it: copy the block and hand it to the device. A real device takes far longer per write, so
// the library's own share has to stay at a few microseconds at most.

#include "tindrel/tindrel.h"

#include "util/iclock.h"
#include "util/pnpproviderfactory.h"
#include "uvc/uvcdevicefactory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace quendral;
using SteadyClock = std::chrono::steady_clock;

namespace {

constexpr std::uint8_t kDataSelector = 3;
constexpr std::size_t kBlockLength = 32;

// Pauses and polls of the protocol take no time here; only the library's work is measured.
class InstantClock final : public util::IClock {
public:
    TimePoint now() const override { return SteadyClock::now(); }
    void sleepFor(std::chrono::milliseconds) override {}
};

// Accepts everything and answers every read with zeros (status "success"). Data writes only
// count and note when the first and the last arrive.
class FreeDevice final : public uvc::IUvcDevice {
public:
    explicit FreeDevice(std::size_t expectedWrites)
        : m_expectedWrites(expectedWrites) {}

    std::pair<std::uint16_t, std::uint16_t> usbIds() const override { return {0, 0}; }
    const std::string& devicePath() const override { return m_name; }
    const std::string& friendlyName() const override { return m_name; }
    uvc::UvcResult readXu(const util::Guid&, std::uint8_t,
                          std::vector<std::uint8_t>& data) override {
        data.assign(8, 0);
        return {true, 0};
    }
    uvc::UvcResult writeXu(const util::Guid&, std::uint8_t selector,
                           const std::vector<std::uint8_t>&) override {
        if (selector == kDataSelector) {
            if (++m_writes == 1) {
                m_first = SteadyClock::now();
            }
            if (m_writes == m_expectedWrites) {
                m_last = SteadyClock::now();
            }
        }
        return {true, 0};
    }

    std::size_t writes() const { return m_writes; }
    SteadyClock::duration firstToLast() const { return m_last - m_first; }

private:
    std::string m_name = "bench device";
    std::size_t m_expectedWrites;
    std::size_t m_writes = 0;
    SteadyClock::time_point m_first;
    SteadyClock::time_point m_last;
};

// Hands the library non-owning views of the one bench device.
class FreeDeviceFactory final : public uvc::IUvcDeviceFactory {
public:
    explicit FreeDeviceFactory(FreeDevice& device)
        : m_device(device) {}

    std::unique_ptr<uvc::IUvcDevice> open(std::uint16_t, std::uint16_t, bool*) override {
        return std::make_unique<View>(m_device);
    }
    bool countVideoInputDevices(std::uint16_t, std::uint16_t, int) override { return false; }
    bool countCaptureInterfaces(std::uint16_t, std::uint16_t, int) override { return false; }

private:
    class View final : public uvc::IUvcDevice {
    public:
        explicit View(FreeDevice& device)
            : m_device(device) {}
        std::pair<std::uint16_t, std::uint16_t> usbIds() const override { return {0, 0}; }
        const std::string& devicePath() const override { return m_device.devicePath(); }
        const std::string& friendlyName() const override { return m_device.friendlyName(); }
        uvc::UvcResult readXu(const util::Guid& unit, std::uint8_t selector,
                              std::vector<std::uint8_t>& data) override {
            return m_device.readXu(unit, selector, data);
        }
        uvc::UvcResult writeXu(const util::Guid& unit, std::uint8_t selector,
                               const std::vector<std::uint8_t>& data) override {
            return m_device.writeXu(unit, selector, data);
        }

    private:
        FreeDevice& m_device;
    };

    FreeDevice& m_device;
};

class NoPnpEvents final : public util::IPnpProvider {
public:
    bool addListener(util::IPnpListener*) override { return true; }
    bool removeListener(util::IPnpListener*) override { return false; }
};

double nanoseconds(SteadyClock::duration duration) {
    return std::chrono::duration<double, std::nano>(duration).count();
}

// ns per data write of one flash through the exports.
double libraryRound(const std::vector<char>& image, std::size_t writes) {
    FreeDevice device(writes);
    uvc::setUvcDeviceFactory(std::make_shared<FreeDeviceFactory>(device));
    initialize();
    if (!isInitialized() || !startFWUpdate(image.data(), static_cast<int>(image.size()))) {
        std::fprintf(stderr, "flash did not start: %s\n", lastError());
        std::exit(1);
    }
    bool succeeded = false;
    while (!getUpdateResult(&succeeded)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    deInitialize();
    if (!succeeded || device.writes() != writes) {
        std::fprintf(stderr, "flash failed (%zu of %zu writes)\n", device.writes(), writes);
        std::exit(1);
    }
    return nanoseconds(device.firstToLast()) / static_cast<double>(writes - 1);
}

// ns per data write of the least a flasher must do: copy each block, hand it to the device.
double baselineRound(const std::vector<char>& image, std::size_t writes) {
    FreeDevice device(writes);
    FreeDeviceFactory factory(device);
    const std::unique_ptr<uvc::IUvcDevice> handle = factory.open(0, 0, nullptr);
    std::vector<std::uint8_t> block(kBlockLength, 0);
    const util::Guid unit;
    for (std::size_t offset = 0; offset < image.size(); offset += kBlockLength) {
        const std::size_t n = std::min(kBlockLength, image.size() - offset);
        std::memcpy(block.data(), image.data() + offset, n);
        handle->writeXu(unit, kDataSelector, block);
    }
    return nanoseconds(device.firstToLast()) / static_cast<double>(writes - 1);
}

} // namespace

int main(int argc, char** argv) {
    std::size_t size = 1024 * 1024;
    int rounds = 5;
    bool usage = argc % 2 == 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--size") == 0) {
            size = std::strtoul(argv[i + 1], nullptr, 10);
        } else if (std::strcmp(argv[i], "--rounds") == 0) {
            rounds = std::atoi(argv[i + 1]);
        } else {
            usage = true;
        }
    }
    if (usage || size < 2 * kBlockLength || rounds < 1) {
        std::fprintf(stderr, "usage: %s [--size BYTES (>= 64)] [--rounds N]\n", argv[0]);
        return 2;
    }
    std::vector<char> image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<char>(i * 31);
    }
    std::memcpy(image.data(), "AIT842", 6);
    const std::size_t writes = (size + kBlockLength - 1) / kBlockLength;

    util::setClock(std::make_shared<InstantClock>());
    util::setPnpProviderFactory([] { return std::make_unique<NoPnpEvents>(); });

    // The best of several rounds of each, interleaved, keeps scheduling noise out.
    double library = 1e300;
    double baseline = 1e300;
    for (int round = 0; round < rounds; ++round) {
        baseline = std::min(baseline, baselineRound(image, writes));
        library = std::min(library, libraryRound(image, writes));
    }

    std::printf("image: %zu bytes, %zu writes of %zu bytes, best of %d rounds\n", size, writes,
                kBlockLength, rounds);
    std::printf("baseline (copy + device call): %8.1f ns per write\n", baseline);
    std::printf("tindrel flash:                 %8.1f ns per write\n", library);
    std::printf("ratio tindrel / baseline:      %8.2f\n", library / baseline);
    std::printf("library overhead:              %8.1f ns per write (target: a few us at most)\n",
                library - baseline);
    return 0;
}
