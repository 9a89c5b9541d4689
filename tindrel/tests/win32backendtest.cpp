// The Windows backends over a scripted driver and device directory (topology, the size question
// and its retries, errors, which device the factory takes and counts), and against the system
// itself under wine (sharing, claims across programs, time-outs, SetupAPI, notifications, power).

#include "tindrel/tindrel.h"

#include "common/win32text.h"
#include "common/winexception.h"
#include "controller/win32powerstatussource.h"
#include "support/fakeclock.h"
#include "support/recordinglistener.h"
#include "util/win32pnpprovider.h"
#include "uvc/aitextensionunit.h"
#include "uvc/win32deviceclaim.h"
#include "uvc/win32setupapi.h"
#include "uvc/win32uvcdevice.h"
#include "uvc/win32uvcdevicefactory.h"

#include <gtest/gtest.h>

#include <dbt.h>
#include <winioctl.h>

#include <ks.h>
#include <ksmedia.h>

#include <cstring>
#include <deque>
#include <process.h>
#include <set>
#include <tuple>

namespace quendral::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
const std::string kOurs = R"(\\?\USB#VID_3B7A&PID_086C&MI_00#6&1a2b&0&0000#{6994ad05}\global)";

// Published identifiers, written out: the code must agree with them, not with itself.
const GUID kAitUnit{0x23e49ed0, 0x1178, 0x4f31, {0xae, 0x52, 0xd2, 0xfb, 0x8a, 0x8d, 0x3b, 0x48}};
const GUID kVideo{0x6994ad05, 0x93ef, 0x11d0, {0xa3, 0xcc, 0x00, 0xa0, 0xc9, 0x22, 0x31, 0x96}};
const GUID kCapture{0x65e8773d, 0x8f56, 0x11d0, {0xa3, 0xb9, 0x00, 0xa0, 0xc9, 0x22, 0x31, 0x96}};
constexpr DWORD kIoctlKsProperty = 0x002F0003;

// A camera's filter as its driver answers property requests: a camera terminal, an unrelated
// vendor node and the AIT unit on node 2. As the driver does, it answers a get without buffer
// with ERROR_MORE_DATA and the size needed, refuses another unit with ERROR_SET_NOT_FOUND,
// another control with ERROR_NOT_FOUND, and a buffer of another length with
// ERROR_INSUFFICIENT_BUFFER.
struct FakeFilter final : uvc::IKsFilter {
    std::vector<GUID> nodes{{STATIC_KSNODETYPE_VIDEO_CAMERA_TERMINAL},
                            {STATIC_KSNODETYPE_DEV_SPECIFIC},
                            {STATIC_KSNODETYPE_DEV_SPECIFIC}};
    std::map<ULONG, Bytes> controls{{1, Bytes(8)}, {2, {0, 0, 0, 1, 0, 2, 0, 3}}, {3, Bytes(32)}};
    std::deque<std::pair<DWORD, DWORD>> sizeScript; // {error, size} before the true size
    std::chrono::milliseconds sizeAnswerTime{0};
    DWORD topologyError = 0;
    std::vector<std::pair<KSP_NODE, DWORD>> sent; // each request with its buffer's size

    DWORD ioControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                    DWORD* returned) override {
        KSP_NODE request{};
        if (in != nullptr) {
            std::memcpy(&request, in, std::min<std::size_t>(inSize, sizeof request));
        }
        const ULONG flags = request.Property.Flags;
        sent.emplace_back(request, outSize);
        if (code != kIoctlKsProperty) {
            return ERROR_INVALID_FUNCTION;
        }
        if ((flags & KSPROPERTY_TYPE_TOPOLOGY) == 0) {
            Bytes list(sizeof(KSMULTIPLE_ITEM) + nodes.size() * sizeof(GUID));
            const KSMULTIPLE_ITEM header{static_cast<ULONG>(list.size()),
                                         static_cast<ULONG>(nodes.size())};
            std::memcpy(list.data(), &header, sizeof header);
            std::memcpy(list.data() + sizeof header, nodes.data(), nodes.size() * sizeof(GUID));
            return topologyError ? topologyError : answer(list, out, outSize, returned);
        }
        if (request.NodeId != 2 || request.Property.Set != kAitUnit) {
            return ERROR_SET_NOT_FOUND;
        }
        const auto control = controls.find(request.Property.Id);
        if (flags & KSPROPERTY_TYPE_SETSUPPORT) {
            return ERROR_SUCCESS;
        } else if (control == controls.end()) {
            return ERROR_NOT_FOUND;
        } else if (flags & KSPROPERTY_TYPE_SET) {
            if (outSize != control->second.size()) {
                return ERROR_INSUFFICIENT_BUFFER;
            }
            const auto* bytes = static_cast<std::uint8_t*>(out);
            control->second.assign(bytes, bytes + outSize);
            return ERROR_SUCCESS;
        } else if (outSize == 0 && !sizeScript.empty()) {
            util::currentClock()->sleepFor(sizeAnswerTime);
            const auto [error, size] = sizeScript.front();
            sizeScript.pop_front();
            *returned = size;
            return error;
        }
        return answer(control->second, out, outSize, returned);
    }

    static DWORD answer(const Bytes& value, void* out, DWORD outSize, DWORD* returned) {
        *returned = static_cast<DWORD>(value.size());
        if (outSize != value.size()) {
            return outSize == 0 ? ERROR_MORE_DATA : ERROR_INSUFFICIENT_BUFFER;
        }
        std::memcpy(out, value.data(), value.size());
        return ERROR_SUCCESS;
    }
};

class Win32UvcDeviceTest : public ::testing::Test {
protected:
    Win32UvcDeviceTest() {
        util::setClock(m_clock);
        auto filter = std::make_unique<FakeFilter>();
        m_filter = filter.get();
        auto units = uvc::findExtensionUnitNodes(*filter, {uvc::aitExtensionUnit()});
        m_device = std::make_unique<uvc::Win32UvcDevice>(
            std::move(filter), uvc::Win32UvcDevice::Identity{0x3b7a, 0x086c, kOurs, "Kestal"},
            std::move(units));
        m_filter->sent.clear();
    }
    ~Win32UvcDeviceTest() override { util::setClock(nullptr); }

    std::shared_ptr<FakeClock> m_clock = std::make_shared<FakeClock>();
    FakeFilter* m_filter;
    std::unique_ptr<uvc::Win32UvcDevice> m_device;
};

TEST_F(Win32UvcDeviceTest, ReadsAskTheSizeThenTheValueAtTheVendorNodeWithTheUnit) {
    Bytes data;
    ASSERT_TRUE(m_device->readXu(uvc::aitExtensionUnit(), 2, data).ok);
    EXPECT_EQ(data, (Bytes{0, 0, 0, 1, 0, 2, 0, 3}));
    ASSERT_EQ(m_filter->sent.size(), 2u) << "the size, then the value";
    for (const auto& [request, size] : m_filter->sent) {
        EXPECT_EQ(request.Property.Flags, ULONG{KSPROPERTY_TYPE_GET | KSPROPERTY_TYPE_TOPOLOGY});
        EXPECT_EQ(request.NodeId, 2u);
        EXPECT_EQ(request.Property.Id, 2u);
    }
    EXPECT_EQ(m_filter->sent[1].second, 8u);

    FakeFilter unreadable;
    unreadable.topologyError = ERROR_GEN_FAILURE;
    EXPECT_THROW(uvc::findExtensionUnitNodes(unreadable, {uvc::aitExtensionUnit()}),
                 util::WinException);
}

// The size question is retried as on Linux: every 500 ms, five times in all, at once given up
// for errors that no retry can change.
TEST_F(Win32UvcDeviceTest, TheSizeQuestionAndItsRetries) {
    using Script = std::deque<std::pair<DWORD, DWORD>>;
    // The driver's answers, the control asked, the outcome, the bytes read, questions, pauses.
    const std::vector<std::tuple<Script, std::uint8_t, DWORD, std::size_t, long, long>> cases{
        {{{ERROR_INSUFFICIENT_BUFFER, 8}}, 2, ERROR_SUCCESS, 8, 1, 0},
        {{{0, 0}, {ERROR_GEN_FAILURE, 0}, {ERROR_MORE_DATA, 8}}, 2, ERROR_SUCCESS, 8, 3, 2},
        {Script(5, {ERROR_MORE_DATA, 0}), 2, ERROR_SUCCESS, 0, 5, 5},
        {Script(5, {ERROR_GEN_FAILURE, 0}), 2, ERROR_GEN_FAILURE, 1, 5, 5},
        {{{ERROR_INVALID_FUNCTION, 0}}, 2, ERROR_INVALID_FUNCTION, 1, 1, 0},
        {{{ERROR_DEVICE_NOT_CONNECTED, 0}}, 2, ERROR_DEVICE_NOT_CONNECTED, 1, 1, 0},
        {{{ERROR_TIMEOUT, 0}}, 2, ERROR_TIMEOUT, 1, 1, 0},
        {{}, 9, ERROR_NOT_FOUND, 1, 1, 0}, // a control the unit does not have
    };
    for (const auto& [script, selector, code, bytes, questions, sleeps] : cases) {
        SCOPED_TRACE(::testing::Message() << "error " << code << ", " << questions);
        m_filter->sent.clear();
        m_filter->sizeScript = script;
        const auto sleptBefore = m_clock->countSleeps(500);
        Bytes data{7}; // a failure leaves it alone
        const auto result = m_device->readXu(uvc::aitExtensionUnit(), selector, data);
        EXPECT_EQ(result.ok, code == ERROR_SUCCESS);
        EXPECT_EQ(result.errorCode, code);
        EXPECT_EQ(data.size(), bytes);
        EXPECT_EQ(std::count_if(m_filter->sent.begin(), m_filter->sent.end(),
                                [](const auto& sent) { return sent.second == 0; }),
                  questions);
        EXPECT_EQ(m_clock->countSleeps(500) - sleptBefore, sleeps);
    }
    // Answers that take 1 s each: no pause begins that would end past 2.5 s.
    m_filter->sent.clear();
    m_filter->sizeScript = Script(5, {ERROR_MORE_DATA, 0});
    m_filter->sizeAnswerTime = std::chrono::seconds(1);
    Bytes data;
    EXPECT_TRUE(m_device->readXu(uvc::aitExtensionUnit(), 2, data).ok);
    EXPECT_EQ(m_filter->sent.size(), 2u) << "at 0 ms and at 1.5 s";
}

TEST_F(Win32UvcDeviceTest, WritesSendExactlyTheBytesAndCarryTheDriversErrors) {
    Bytes block(32, 0x41);
    block.back() = 7;
    ASSERT_TRUE(m_device->writeXu(uvc::aitExtensionUnit(), 3, block).ok);
    ASSERT_EQ(m_filter->sent.size(), 1u);
    EXPECT_EQ(m_filter->sent[0].first.Property.Flags,
              ULONG{KSPROPERTY_TYPE_SET | KSPROPERTY_TYPE_TOPOLOGY});
    EXPECT_EQ(m_filter->controls[3], block);
    EXPECT_EQ(m_device->writeXu(uvc::aitExtensionUnit(), 1, Bytes(7)).errorCode,
              DWORD{ERROR_INSUFFICIENT_BUFFER});
    m_filter->sent.clear();
    Bytes data;
    const auto otherUnit = util::parseGuid("a29e7641-de04-47e3-8b2b-f4341aff003b");
    const auto read = m_device->readXu(otherUnit, 2, data);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.errorCode, 0u) << "a unit that is not on the device";
    EXPECT_TRUE(m_filter->sent.empty());
}

struct FakeSystem final : uvc::IDeviceDirectory, uvc::IKsFilterOpener {
    std::vector<uvc::DeviceInterface> video;
    std::vector<std::string> captures;
    std::vector<std::string> inputs;
    std::map<std::string, FakeFilter> filters;
    std::vector<std::string> opened;

    std::vector<uvc::DeviceInterface> videoCaptureInterfaces() override { return video; }
    std::vector<std::string> captureInterfacePaths() override { return captures; }
    std::vector<std::string> videoInputDevicePaths() override { return inputs; }
    std::unique_ptr<uvc::IKsFilter> open(const std::string& path) override {
        opened.push_back(path);
        return std::make_unique<FakeFilter>(filters[path]);
    }
};

// Another device, ours held by another program, ours without the unit, ours with a unit that
// does not answer, and the one that works.
TEST(Win32UvcDeviceFactoryTest, TakesTheFirstInterfaceThatOpensAndAnswersAndCountsOursOnly) {
    auto system = std::make_shared<FakeSystem>();
    const std::vector<std::string> paths{R"(\\?\usb#vid_046d&pid_0825&mi_00#a)",
                                         R"(\\?\usb#vid_3b7a&pid_086c&mi_00#held)",
                                         R"(\\?\usb#vid_3b7a&pid_086c&mi_00#no-unit)",
                                         R"(\\?\usb#vid_3b7a&pid_086c&mi_00#silent)", kOurs};
    for (const auto& path : paths) {
        system->video.push_back({path, "Kestal " + path.substr(path.size() - 2), path});
    }
    system->filters[paths[2]].nodes.resize(1);
    system->filters[paths[3]].controls.erase(2);
    uvc::Win32UvcDeviceFactory factory(system, system);
    bool heldElsewhere = true;
    const auto claim =
        uvc::DeviceClaim::take(R"(\\?\USB#VID_3B7A&PID_086C&MI_00#HELD)", &heldElsewhere);
    const auto camera = factory.open(0x3b7a, 0x086c, &heldElsewhere);
    ASSERT_TRUE(camera);
    EXPECT_FALSE(heldElsewhere);
    EXPECT_EQ(camera->devicePath(), kOurs);
    EXPECT_EQ(camera->friendlyName(), "Kestal al");
    EXPECT_EQ(system->opened, std::vector<std::string>(paths.begin() + 2, paths.end()));
    system->video.resize(3); // the third fails for reasons of its own
    EXPECT_FALSE(factory.open(0x3b7a, 0x086c, &heldElsewhere));
    EXPECT_TRUE(heldElsewhere) << "ours exists, but another program has it";

    system->inputs = {kOurs, paths[0]};
    system->captures = {kOurs, R"(\\?\usb#vid_3b7a&pid_086c&mi_02#audio)", "Software source"};
    EXPECT_TRUE(factory.countVideoInputDevices(0x3b7a, 0x086c, 0));
    EXPECT_FALSE(factory.countVideoInputDevices(0x3b7a, 0x086c, 1));
    EXPECT_TRUE(factory.countCaptureInterfaces(0x3b7a, 0x086c, 1));
    EXPECT_FALSE(factory.countCaptureInterfaces(0x3b7a, 0x086c, 2));

    // SetupAPI and DirectShow asked for real: wine has no capture device of ours.
    uvc::Win32UvcDeviceFactory real;
    EXPECT_FALSE(real.open(0x3b7a, 0x086c, &heldElsewhere));
    EXPECT_FALSE(real.countVideoInputDevices(0x3b7a, 0x086c, 0));
    EXPECT_FALSE(real.countCaptureInterfaces(0x3b7a, 0x086c, 0));
}

// The filter opens shared, as the program's own camera opens it as well.
TEST(Win32PlatformTest, FiltersOpenShared) {
    wchar_t directory[MAX_PATH];
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(GetTempPathW(MAX_PATH, directory) && GetTempFileNameW(directory, L"td", 0, path));
    const auto opener = uvc::systemKsFilterOpener();
    auto first = opener->open(util::toUtf8(path));
    ASSERT_TRUE(first);
    DWORD returned = 0;
    EXPECT_NE(first->ioControl(0x2f0003, nullptr, 0, nullptr, 0, &returned), 0u)
        << "a file is no kernel-streaming filter";
    EXPECT_TRUE(opener->open(util::toUtf8(path)));
    first.reset();
    DeleteFileW(path);
}

// A request never finished (a pipe's wait for a client) fails at the time-out, the next at once.
TEST(Win32PlatformTest, ARequestThatNeverCompletesFailsAtTheTimeOut) {
    const auto filter = uvc::overlappedKsFilter(
        CreateNamedPipeW(L"\\\\.\\pipe\\tindrel-never", PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                         0, 1, 0, 0, 0, nullptr),
        std::chrono::milliseconds(100));
    for (const auto within : {std::chrono::milliseconds(3000), std::chrono::milliseconds(100)}) {
        const auto began = std::chrono::steady_clock::now();
        DWORD returned = 0;
        EXPECT_EQ(filter->ioControl(CTL_CODE(FILE_DEVICE_NAMED_PIPE, 2, METHOD_BUFFERED, 0),
                                    nullptr, 0, nullptr, 0, &returned),
                  DWORD{ERROR_TIMEOUT});
        EXPECT_LT(std::chrono::steady_clock::now() - began, within);
    }
}

// SetupAPI with one device of ours.
struct FakeSetupApi {
    static inline int video = 0;
    static inline int capture = 0;

    static HDEVINFO WINAPI classDevs(const GUID* category, PCWSTR, HWND, DWORD flags) {
        video += *category == kVideo;
        capture += *category == kCapture;
        return flags == (DIGCF_PRESENT | DIGCF_DEVICEINTERFACE) ? &video : INVALID_HANDLE_VALUE;
    }
    static BOOL WINAPI interfaces(HDEVINFO, PSP_DEVINFO_DATA, const GUID*, DWORD index,
                                  PSP_DEVICE_INTERFACE_DATA) {
        SetLastError(ERROR_NO_MORE_ITEMS);
        return index == 0;
    }
    static BOOL WINAPI detail(HDEVINFO, PSP_DEVICE_INTERFACE_DATA,
                              PSP_DEVICE_INTERFACE_DETAIL_DATA_W detail, DWORD size, PDWORD needed,
                              PSP_DEVINFO_DATA) {
        *(needed != nullptr ? needed : &size) = 64;
        return detail != nullptr && size >= 64 && detail->cbSize == (sizeof(void*) == 8 ? 8 : 6) &&
               wcscpy_s(detail->DevicePath, 30, L"\\\\?\\usb#vid_3b7a&pid_086c#1") == 0;
    }
    static BOOL WINAPI instanceId(HDEVINFO, PSP_DEVINFO_DATA, PWSTR id, DWORD size, PDWORD) {
        return wcscpy_s(id, size, L"USB\\VID_3B7A&PID_086C\\TWO-PROGRAMS") == 0;
    }
    // No interface key, no friendly name.
    template <typename Result, typename... Arguments> static Result WINAPI none(Arguments...) {
        return {};
    }
};

// Two programs asking for the same device, each with the library over SetupAPI's one device and
// the system's claim: the second hears "busy" until the first, this program again, lets go.
TEST(Win32TwoProgramsTest, TheDeviceBelongsToOneProgramAtATime) {
    uvc::setUvcDeviceFactory(std::make_shared<uvc::Win32UvcDeviceFactory>(
        uvc::systemDeviceDirectory({&FakeSetupApi::classDevs, &FakeSetupApi::interfaces,
                                    &FakeSetupApi::detail, &FakeSetupApi::instanceId,
                                    &FakeSetupApi::none, &FakeSetupApi::none, &FakeSetupApi::none}),
        std::make_shared<FakeSystem>()));
    const wchar_t* holder = _wgetenv(L"TINDREL_TEST_HOLDER");
    const std::wstring program = holder ? holder : std::to_wstring(GetCurrentProcessId());
    const HANDLE held = CreateEventW(nullptr, TRUE, FALSE, (L"Local\\held" + program).c_str());
    const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, (L"Local\\done" + program).c_str());
    initialize();
    if (holder) {
        EXPECT_EQ(getDeviceInfo()->present, 1);
        SetEvent(held);
        WaitForSingleObject(done, 30000);
    } else {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        _wputenv_s(L"TINDREL_TEST_HOLDER", program.c_str());
        const auto other = reinterpret_cast<HANDLE>(_wspawnl(
            _P_NOWAIT, self, L"holder", L"--gtest_filter=Win32TwoProgramsTest.*", nullptr));
        ASSERT_EQ(WaitForSingleObject(held, 30000), WAIT_OBJECT_0);
        EXPECT_EQ(getDeviceInfo()->present, 0);
        EXPECT_STREQ(lastError(), "ERROR: device busy - used by another program");
        SetEvent(done);
        WaitForSingleObject(other, 30000);
        EXPECT_EQ(getDeviceInfo()->present, 1);
        EXPECT_TRUE(FakeSetupApi::video > 0 && FakeSetupApi::capture > 0);
    }
    deInitialize();
    uvc::setUvcDeviceFactory(nullptr);
}

// The system's notifications: registered as documented, ended while the window still exists.
struct FakeNotifications {
    static inline HWND window = nullptr;
    static inline bool windowAtEnd = false;

    static HDEVNOTIFY WINAPI start(HANDLE recipient, LPVOID filter, DWORD flags) {
        window = static_cast<HWND>(recipient);
        const auto* in = static_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(filter);
        const bool documented = flags == 0 && in->dbcc_size == 32 && in->dbcc_devicetype == 5;
        return documented && in->dbcc_classguid == kCapture ? &window : nullptr;
    }
    static BOOL WINAPI end(HDEVNOTIFY) { return windowAtEnd = IsWindow(window); }
};

// Windows delivers device notifications as WM_DEVICECHANGE to the window; the test sends them
// as Windows would, and each is handled before SendMessage returns.
TEST(Win32PlatformTest, DeviceInterfaceNotificationsReachTheListeners) {
    RecordingListener recorder;
    {
        util::Win32PnpProvider provider({&FakeNotifications::start, &FakeNotifications::end});
        provider.addListener(&recorder);
        const HWND window = FakeNotifications::window;
        const std::wstring name = L"\\\\?\\usb#vid_3b7a&pid_086c&mi_00#7&\u00e9#{65e8773d}\\global";
        std::vector<BYTE> message(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) +
                                  name.size() * sizeof(wchar_t));
        auto* entry = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(message.data());
        entry->dbcc_size = static_cast<DWORD>(message.size());
        entry->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        std::memcpy(entry->dbcc_name, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
        DEV_BROADCAST_HDR volume{sizeof(DEV_BROADCAST_HDR), DBT_DEVTYP_VOLUME, 0};
        const auto send = [&](WPARAM event, void* data) {
            SendMessageW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(data));
        };
        send(DBT_DEVICEARRIVAL, entry);
        send(DBT_DEVICEARRIVAL, &volume);
        send(DBT_DEVNODES_CHANGED, nullptr);
        send(DBT_DEVICEQUERYREMOVE, entry);
        send(DBT_DEVICEREMOVECOMPLETE, entry);
    }
    const std::string path = "\\\\?\\usb#vid_3b7a&pid_086c&mi_00#7&\xc3\xa9#{65e8773d}\\global";
    EXPECT_EQ(recorder.events(), (std::vector<std::string>{"+" + path, "-" + path}));
    EXPECT_TRUE(FakeNotifications::windowAtEnd) << "the notification ends before its window";
    EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, util::Win32PnpProvider::windowClass(), nullptr),
              nullptr)
        << "the window goes with its provider";
}

TEST(Win32PlatformTest, PowerStatusReadsTheSystemsFields) {
    // AC line (0 off, 1 on, 255 unknown), battery flag, charge (255 unknown).
    using Byte = std::uint8_t;
    const std::tuple<Byte, Byte, Byte, bool, int> cases[] = {{1, 128, 255, true, 0},
                                                             {0, 1, 80, false, 80},
                                                             {0, 255, 255, false, 0},
                                                             {255, 8, 40, true, 40}};
    for (const auto& [line, flag, charge, online, percent] : cases) {
        const auto status = fwupdate::controller::powerStatusFrom(line, flag, charge);
        EXPECT_EQ(status.acLineOnline, online) << int{line};
        EXPECT_EQ(status.batteryLifePercent, percent) << int{charge};
        EXPECT_EQ(status.batteryFlag, flag);
    }
    EXPECT_TRUE(fwupdate::controller::Win32PowerStatusSource().query());
}

} // namespace
} // namespace quendral::test
