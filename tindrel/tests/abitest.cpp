#include "tindrel/tindrel.h"

#include "support/sharedlibrary.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>

extern "C" int tindrelHeaderRecordSizeInC(void);

static_assert(sizeof(TindrelVersion) == 4, "version is 4 bytes");
static_assert(offsetof(DeviceInfoRecord, version) == sizeof(const char*), "packed");
static_assert(offsetof(DeviceInfoRecord, present) == sizeof(const char*) + 4, "packed");
static_assert(offsetof(DeviceInfoRecord, singleDevice) == sizeof(const char*) + 5, "packed");
static_assert(sizeof(DeviceInfoRecord) == sizeof(const char*) + 6, "packed");
static_assert(sizeof(bool) == 1, "bool is one byte");

TEST(AbiTest, RecordHasTheSameLayoutInC) {
    EXPECT_EQ(tindrelHeaderRecordSizeInC(), static_cast<int>(sizeof(DeviceInfoRecord)));
}

TEST(AbiTest, LibraryExportsExactlyTheTwelveFunctions) {
    std::set<std::string> symbols;
    ASSERT_NO_THROW(symbols = quendral::test::exportedNames(TINDREL_LIBRARY_PATH));
    const std::set<std::string> expected{
        "deInitialize",  "ensureCorrectUsbMode", "execSpecialFunction",
        "getDeviceInfo", "getUpdateProgress",    "getUpdateResult",
        "initialize",    "isInitialized",        "isUsb3",
        "lastError",     "resetState",           "startFWUpdate"};
    EXPECT_EQ(symbols, expected);
}

// The shipped library on its own, without an emulator: it watches for device changes through
// the system (udev, device notifications on Windows) and initializes.
TEST(AbiTest, ShippedLibraryInitializesWithTheSystemsDeviceWatcher) {
    quendral::test::useSystemBackends();
    std::string error;
    void* library = quendral::test::loadLibrary(TINDREL_LIBRARY_PATH, &error);
    ASSERT_NE(library, nullptr) << error;
#define RESOLVE(name)                                                                              \
    const auto name##Fn =                                                                          \
        reinterpret_cast<decltype(&::name)>(quendral::test::librarySymbol(library, #name));        \
    ASSERT_NE(name##Fn, nullptr)
    RESOLVE(initialize);
    RESOLVE(deInitialize);
    RESOLVE(isInitialized);
    RESOLVE(lastError);
#undef RESOLVE
    // What each export answers before initialize is ApiTest.BeforeInitialize's.
    EXPECT_STREQ(lastErrorFn(), "");
    EXPECT_FALSE(isInitializedFn());
    initializeFn();
    EXPECT_TRUE(isInitializedFn()) << lastErrorFn();
    EXPECT_STREQ(lastErrorFn(), "");
    deInitializeFn();
    EXPECT_FALSE(isInitializedFn());
    // Not closed: the library keeps its engine state for the life of the process.
}
