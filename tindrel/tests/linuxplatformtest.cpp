// The Linux backends' contact with the system itself: a device watcher that cannot be set up,
// the udev rule that lets the user at the seat reach the device, the power supplies, and a
// capped address space.

#include "controller/sysfspowerstatussource.h"
#include "deviceids.h"
#include "support/fakeaitdevice.h"
#include "tindrel/tindrel.h"
#include "util/udevpnpprovider.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <regex>
#include <set>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quendral::test {
namespace {

// From here on this process (a death test's child) cannot open netlink sockets, the kind a
// udev monitor listens on.
void refuseNetlinkSockets() {
    sock_filter filter[] = {
        {BPF_LD | BPF_W | BPF_ABS, 0, 0, offsetof(seccomp_data, arch)},
        {BPF_JMP | BPF_JEQ | BPF_K, 0, 5, AUDIT_ARCH_X86_64},
        {BPF_LD | BPF_W | BPF_ABS, 0, 0, offsetof(seccomp_data, nr)},
        {BPF_JMP | BPF_JEQ | BPF_K, 0, 3, __NR_socket},
        {BPF_LD | BPF_W | BPF_ABS, 0, 0, offsetof(seccomp_data, args[0])},
        {BPF_JMP | BPF_JEQ | BPF_K, 0, 1, AF_NETLINK},
        {BPF_RET | BPF_K, 0, 0, SECCOMP_RET_ERRNO | EACCES},
        {BPF_RET | BPF_K, 0, 0, SECCOMP_RET_ALLOW},
    };
    sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
        std::fprintf(stderr, "cannot install the socket filter\n");
        std::_Exit(3);
    }
}

TEST(LinuxPlatformTest, AWatcherThatCannotBeSetUpFailsWithTheWindowText) {
    EXPECT_EXIT(
        {
            refuseNetlinkSockets();
            try {
                util::UdevPnpProvider provider;
                std::fprintf(stderr, "constructed without a monitor\n");
            } catch (const std::runtime_error& e) {
                std::fprintf(stderr, "%s\n", e.what());
                std::_Exit(0);
            }
            std::_Exit(1);
        },
        ::testing::ExitedWithCode(0), "^Failed to create message window\n$");
    // What initialize makes of it is ToolTest.RefusalsExitWithTheirCodeAndReason's; with sockets
    // allowed, AbiTest watches udev here.
}

// udev compares ATTRS values as strings, and sysfs writes identifiers as four lower-case
// hexadecimal digits: any other spelling of the identifiers matches nothing.
TEST(LinuxPlatformTest, TheUdevRuleGrantsTheSeatTheDevicesVideoAndHidNodes) {
    std::ifstream rules(KESTAL_UDEV_RULES);
    ASSERT_TRUE(rules) << KESTAL_UDEV_RULES;
    char vendor[8];
    char product[8];
    std::snprintf(vendor, sizeof vendor, "%04x", static_cast<unsigned>(deviceVendorId));
    std::snprintf(product, sizeof product, "%04x", static_cast<unsigned>(deviceProductId));
    const std::regex subsystem("SUBSYSTEM==\"([a-z0-9]+)\"");
    std::set<std::string> subsystems;
    std::string line;
    while (std::getline(rules, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        SCOPED_TRACE(line);
        std::smatch match;
        ASSERT_TRUE(std::regex_search(line, match, subsystem));
        subsystems.insert(match[1]);
        EXPECT_NE(line.find(std::string("ATTRS{idVendor}==\"") + vendor + "\""), std::string::npos);
        EXPECT_NE(line.find(std::string("ATTRS{idProduct}==\"") + product + "\""),
                  std::string::npos);
        EXPECT_NE(line.find("TAG+=\"uaccess\""), std::string::npos);
    }
    EXPECT_EQ(subsystems, (std::set<std::string>{"hidraw", "video4linux"}));
}

TEST(LinuxPlatformTest, SysfsSourceReadsMainsAndBattery) {
    char pattern[] = "/tmp/tindrel-power-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::filesystem::path root = pattern;
    const auto write = [&](const std::string& file, const std::string& value) {
        std::filesystem::create_directories((root / file).parent_path());
        std::ofstream(root / file) << value << "\n";
    };
    const fwupdate::controller::SysfsPowerStatusSource source(root.string());
    EXPECT_TRUE(source.query()->acLineOnline) << "a machine without supplies runs on mains";
    write("AC/type", "Mains");
    write("AC/online", "0");
    EXPECT_FALSE(source.query()->acLineOnline);
    EXPECT_EQ(source.query()->batteryFlag, 255);
    write("BAT0/type", "Battery");
    write("BAT0/capacity", "7");
    EXPECT_EQ(source.query()->batteryLifePercent, 7);
    EXPECT_EQ(source.query()->batteryFlag, 0);
    std::filesystem::remove_all(root);
}

const char* const kAlreadyUpdating = "ERROR: cannot start device update - device already updating";

// Offers a 1 GiB image with the address space capped well below what a copy needs: 0 when
// startFWUpdate refused it with the invalid-image text. Unused in sanitizer builds.
[[maybe_unused]] int startWithImageTooLargeToCopy() {
    constexpr size_t kSize = size_t{1} << 30;
    void* image = ::mmap(nullptr, kSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlimit limit{static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) +
                           (rlim_t{256} << 20),
                       RLIM_INFINITY};
    if (image == MAP_FAILED || ::setrlimit(RLIMIT_AS, &limit) != 0) {
        return 2;
    }
    const bool refused = !startFWUpdate(static_cast<const char*>(image), int{kSize - 1});
    return refused && lastError() == std::string(kAlreadyUpdating) ? 0 : 1;
}

// An image the library cannot copy is refused like an invalid one, without an exception.
TEST(LinuxPlatformTest, ImageTooLargeToCopy) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizers reserve more address space than the limit leaves";
#else
    FakeEnvironment environment;
    initialize();
    ASSERT_TRUE(isInitialized()) << lastError();
    EXPECT_EXIT(std::exit(startWithImageTooLargeToCopy()), ::testing::ExitedWithCode(0), "");
    deInitialize();
#endif
}

} // namespace
} // namespace quendral::test
