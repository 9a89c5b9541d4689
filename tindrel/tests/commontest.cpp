#include "common/bufferimageprovider.h"
#include "common/formaterror.h"
#include "common/guid.h"
#include "common/version.h"
#include "common/winexception.h"
#include "controller/logger.h"
#include "support/recordingsink.h"
#include "uvc/aitextensionunit.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace quendral;

TEST(VersionTest, ComparesByMajorMinorBuildAndRefusesZero) {
    using fwupdate::VersionRelation;
    const fwupdate::DefaultVersionComparator compare;
    EXPECT_EQ(compare({1, 2, 34}, {1, 2, 34}), VersionRelation::Same);
    EXPECT_EQ(compare({1, 2, 34}, {1, 3, 0}), VersionRelation::Older);
    EXPECT_EQ(compare({2, 0, 0}, {1, 255, 65535}), VersionRelation::Newer);
    EXPECT_EQ(compare({0, 0, 0}, {1, 0, 0}), VersionRelation::NotComparable);
    EXPECT_EQ(compare({1, 0, 0}, {0, 0, 0}), VersionRelation::NotComparable);
}

// The fields in text order: UsbDescriptorsTest, whose descriptors carry the unit's GUID as bytes.
TEST(GuidTest, ParsesEitherCaseAndNamesWhatIsWrong) {
    EXPECT_EQ(util::parseGuid("23E49ED0-1178-4F31-AE52-D2FB8A8D3B48"), uvc::aitExtensionUnit());
    const auto messageOf = [](const std::string& text) {
        try {
            util::parseGuid(text);
        } catch (const std::invalid_argument& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(messageOf("{23e49ed0-1178-4f31-ae52-d2fb8a8d3b48}"),
              "Invalid GUID format (unexpected length)");
    EXPECT_EQ(messageOf("x3e49ed0-1178-4f31-ae52-d2fb8a8d3b48"),
              "Invalid GUID format (unable to parse)");
}

TEST(LoggerTest, ThresholdAndSinkRemoval) {
    fwupdate::controller::Logger logger;
    auto twice = std::make_shared<test::RecordingSink>();
    auto other = std::make_shared<test::RecordingSink>();
    logger.addSink(twice);
    logger.addSink(nullptr);
    logger.addSink(other);
    logger.addSink(twice);
    logger.log(5, "too detailed");
    logger.log(4, "detail");
    EXPECT_EQ(other->entries(), (std::vector<std::pair<int, std::string>>{{4, "detail"}}));
    EXPECT_EQ(twice->count(4, "detail"), 2);
    logger.setLevel(2);
    logger.log(3, "info");
    logger.removeSink(twice);
    logger.log(1, "error");
    EXPECT_EQ(twice->entries().size(), 2u) << "both registrations are gone";
    EXPECT_EQ(other->entries().back(), std::make_pair(1, std::string("error")));
    EXPECT_EQ(other->entries().size(), 2u);
}

TEST(FormatErrorTest, ContextSystemTextAndUpperCaseCode) {
    const std::string plain = util::formatError({5, ""});
    const std::string suffix = " (Error: 0x5)";
    ASSERT_GT(plain.size(), suffix.size()) << "the system's text comes first";
    EXPECT_EQ(plain.substr(plain.size() - suffix.size()), suffix);
    EXPECT_EQ(util::formatError({5, "Failed to read XU control"}),
              "Failed to read XU control: " + plain);
    EXPECT_EQ(util::formatError({0xDEADBEEF, ""}),
              "Unknown error [Failed to look up error message] (Error: 0xDEADBEEF)");
    EXPECT_EQ(util::WinException(0x2A, "context").what(), util::formatError({0x2A, "context"}));
}

TEST(BufferImageProviderTest, CopiesAtConstructionAndRefusesImpossibleInput) {
    char bytes[] = {'A', 'I', 'T'};
    fwupdate::BufferImageProvider provider(bytes, 3);
    bytes[0] = 'X';
    EXPECT_EQ(provider.data(), (std::vector<std::uint8_t>{'A', 'I', 'T'}));

    fwupdate::BufferImageProvider empty(nullptr, 0);
    std::vector<std::uint8_t> out{1, 2};
    EXPECT_TRUE(empty.open());
    EXPECT_TRUE(empty.copyData(out));
    EXPECT_TRUE(out.empty());

    for (const auto& [data, size] : {std::make_pair<const char*, int>(bytes, -1),
                                     std::make_pair<const char*, int>(nullptr, 6)}) {
        fwupdate::BufferImageProvider refused(data, size);
        EXPECT_FALSE(refused.open());
        EXPECT_FALSE(refused.copyData(out));
    }
}
