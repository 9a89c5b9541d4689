// Extension units from raw descriptors shaped like those sysfs hands out for a real camera,
// and from blobs that are cut short or lie about their lengths.

#include "uvc/usbdescriptors.h"
#include "support/usbdescriptorbuilder.h"
#include "uvc/aitextensionunit.h"

#include <gtest/gtest.h>

namespace quendral::test {
namespace {

using uvc::findExtensionUnits;
using uvc::VideoControlInterface;

const VideoControlInterface kCamera{1, 0};

util::Guid otherGuid() {
    return util::parseGuid("a29e7641-de04-47e3-8b2b-f4341aff003b");
}

// A GUID on two units maps to the lower id.
TEST(UsbDescriptorsTest, SeveralUnitsAndTheAitUnitAtAHighId) {
    UsbDescriptorBuilder b;
    b.device(0x3b7a, 0x086c)
        .configuration(1, 2)
        .interface(0, 0x0e, 0x01)
        .videoControlHeader(1)
        .cameraTerminal(1)
        .extensionUnit(4, otherGuidBytes(), {1}, 3)
        .extensionUnit(0xff, aitGuidBytes(), {1})
        .extensionUnit(0xfe, aitGuidBytes(), {4, 1}, 0)
        .outputTerminal(3, 0xfe)
        .interface(1, 0x0e, 0x02);
    const auto units = findExtensionUnits(b.bytes(), kCamera);
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units.at(uvc::aitExtensionUnit()), 0xfe);
    EXPECT_EQ(units.at(otherGuid()), 4);
}

TEST(UsbDescriptorsTest, OnlyTheNodesOwnFunctionAndTheActiveConfigurationCount) {
    // Configuration 1 has the unit on video function 0 only; configuration 2 puts it on video
    // function 2 as unit 7.
    UsbDescriptorBuilder b;
    b.device(0x3b7a, 0x086c, 2)
        .configuration(1, 4)
        .interface(0, 0x0e, 0x01)
        .extensionUnit(6, aitGuidBytes(), {1})
        .interface(1, 0x0e, 0x02)
        .interface(2, 0x0e, 0x01)
        .extensionUnit(3, otherGuidBytes(), {1})
        .configuration(2, 4)
        .interface(0, 0x0e, 0x01)
        .interface(2, 0x0e, 0x01)
        .extensionUnit(7, aitGuidBytes(), {1});
    EXPECT_EQ(findExtensionUnits(b.bytes(), {1, 0}).at(uvc::aitExtensionUnit()), 6);
    const auto secondFunction = findExtensionUnits(b.bytes(), {1, 2});
    EXPECT_EQ(secondFunction.count(uvc::aitExtensionUnit()), 0u);
    EXPECT_EQ(secondFunction.at(otherGuid()), 3);
    EXPECT_EQ(findExtensionUnits(b.bytes(), {2, 2}).at(uvc::aitExtensionUnit()), 7);
    EXPECT_TRUE(findExtensionUnits(b.bytes(), {3, 0}).empty()) << "no such configuration";
}

// A unit whose fields do not fit its length is skipped and the walk goes on; broken structure
// ends the walk without the units behind it.
TEST(UsbDescriptorsTest, BadUnitsAreSkippedAndBrokenStructureEndsTheWalk) {
    const auto withUnit = [](const Bytes& unit) {
        UsbDescriptorBuilder b;
        b.configuration(1, 1)
            .interface(0, 0x0e, 0x01)
            .descriptor(unit)
            .extensionUnit(9, otherGuidBytes(), {1});
        return findExtensionUnits(b.bytes(), kCamera);
    };
    Bytes unit = UsbDescriptorBuilder().extensionUnit(6, aitGuidBytes(), {1}).bytes();
    ASSERT_EQ(withUnit(unit).count(uvc::aitExtensionUnit()), 1u);

    Bytes manyPins = unit;
    manyPins[21] = 200; // bNrInPins far beyond bLength
    Bytes bigControls = unit;
    bigControls[23] = 100; // bControlSize beyond bLength
    Bytes shortUnit(unit.begin(), unit.begin() + 20);
    shortUnit[0] = 20; // the GUID does not even fit
    Bytes zeroId = unit;
    zeroId[3] = 0;
    for (const Bytes& broken : {manyPins, bigControls, shortUnit, zeroId}) {
        const auto units = withUnit(broken);
        EXPECT_EQ(units.count(uvc::aitExtensionUnit()), 0u);
        EXPECT_EQ(units.size(), 1u) << "the walk goes on behind a bad unit";
    }

    const Bytes good = UsbDescriptorBuilder::typicalDevice();
    // Device descriptor (18) + configuration (9) + association (8) + interface (9) + header
    // (13) + terminal (18) + processing unit (11): the extension unit starts at 86.
    const std::size_t unitAt = 86;
    ASSERT_EQ(good[unitAt + 2], 0x06);

    Bytes zeroLength = good;
    zeroLength[unitAt - 11] = 0; // the processing unit's bLength
    Bytes pastTheEnd = good;
    pastTheEnd[unitAt - 11] = 0xff;
    Bytes hugeTotal = good;
    hugeTotal[18 + 2] = 0xff;
    hugeTotal[18 + 3] = 0xff; // wTotalLength far beyond the blob, the units still inside
    Bytes tinyTotal = good;
    tinyTotal[18 + 2] = 4; // wTotalLength shorter than the configuration descriptor itself
    tinyTotal[18 + 3] = 0;
    Bytes notAConfiguration = good;
    notAConfiguration[18 + 1] = 0x04;

    EXPECT_TRUE(findExtensionUnits(zeroLength, kCamera).empty());
    EXPECT_TRUE(findExtensionUnits(pastTheEnd, kCamera).empty());
    EXPECT_EQ(findExtensionUnits(hugeTotal, kCamera).size(), 1u);
    EXPECT_TRUE(findExtensionUnits(tinyTotal, kCamera).empty());
    EXPECT_TRUE(findExtensionUnits(notAConfiguration, kCamera).empty());
    EXPECT_TRUE(findExtensionUnits({}, kCamera).empty());
}

// Every cut of a real blob and every single corrupted byte in it: never a read outside it
// (AddressSanitizer watches). A cut has the unit exactly when all of its bytes are there (the
// audio feature unit and the MJPEG format share its subtype but are not extension units); a
// corrupted byte never invents a unit that is not in the blob.
TEST(UsbDescriptorsTest, EveryTruncationAndCorruptedByteIsSafe) {
    const Bytes good = UsbDescriptorBuilder::typicalDevice();
    const std::size_t unitEnd = 86 + 27;
    for (std::size_t length = 0; length <= good.size(); ++length) {
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        const auto units = findExtensionUnits(cut, kCamera);
        EXPECT_EQ(units.size(), length >= unitEnd ? 1u : 0u) << "cut at " << length;
    }
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (const std::uint8_t value : {0x00, 0x01, 0x02, 0x06, 0x24, 0x7f, 0xff}) {
            Bytes bad = good;
            bad[at] = value;
            const auto units = findExtensionUnits(bad, kCamera);
            ASSERT_LE(units.size(), 1u) << "byte " << at << " = " << int(value);
            if (!units.empty() && units.begin()->first == uvc::aitExtensionUnit()) {
                EXPECT_TRUE(units.begin()->second == 6 || at == 86 + 3)
                    << "byte " << at << " = " << int(value);
            }
        }
    }
}

} // namespace
} // namespace quendral::test
