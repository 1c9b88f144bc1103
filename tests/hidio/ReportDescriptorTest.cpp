#include <gtest/gtest.h>

#include "hidio/ReportDescriptor.h"
#include "support/Descriptors.h"

using namespace dravik::hidio;
using namespace dravik::test;

TEST(ReportDescriptor, SplitsTopLevelCollectionsWithUsagesIdsAndLengths) {
    auto bytes = Concat({MouseCollection(1), VendorCommandCollection(4), ConsumerCollection(5)});
    std::string error;
    auto parsed = ParseReportDescriptor(bytes.data(), bytes.size(), &error);
    ASSERT_TRUE(parsed) << error;
    ASSERT_EQ(parsed->collections.size(), 3u);
    const struct {
        uint16_t page, usage;
        uint8_t id;
        uint16_t in, out;
    } want[] = {{0x0001, 0x02, 1, 4, 0}, {0xFF1C, 0x92, 4, 64, 64}, {0x000C, 0x01, 5, 3, 0}};
    for (size_t i = 0; i < 3; ++i) {
        const auto& c = parsed->collections[i];
        EXPECT_EQ(c.usagePage, want[i].page) << i;
        EXPECT_EQ(c.usage, want[i].usage) << i;
        EXPECT_EQ(c.reportIds, std::vector<uint8_t>{want[i].id}) << i;
        EXPECT_EQ(c.inputReportLength, want[i].in) << i;
        EXPECT_EQ(c.outputReportLength, want[i].out) << i;
        EXPECT_EQ(c.featureReportLength, 0) << i;
    }
}

TEST(ReportDescriptor, WithoutReportIdsTheLengthStillCountsTheIdByte) {
    auto bytes = BootKeyboard();
    auto parsed = ParseReportDescriptor(bytes.data(), bytes.size());
    ASSERT_TRUE(parsed);
    const auto& c = parsed->collections.at(0);
    EXPECT_FALSE(c.usesReportIds());
    EXPECT_EQ(c.inputReportLength, 9);
    EXPECT_EQ(c.outputReportLength, 2);
}

TEST(ReportDescriptor, MalformedDescriptorsAreRejectedWithAReason) {
    auto good = VendorCommandCollection();
    std::vector<uint8_t> deep;
    for (int i = 0; i < 40; ++i)
        deep.insert(deep.end(), {0x09, 0x01, 0xA1, 0x01});
    std::vector<uint8_t> pushes(40, 0xA4);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"truncated item", std::vector<uint8_t>(good.begin(), good.begin() + 2)},
        {"unclosed collection", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"end without collection", {0xC0}},
        {"report id zero", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x00, 0xC0}},
        {"report size 255 bits",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0xFF, 0x95, 0x01, 0x81, 0x02, 0xC0}},
        {"absurd count",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x97, 0xFF, 0xFF, 0xFF, 0x7F, 0x81, 0x02,
          0xC0}},
        {"nested too deep", deep},
        {"push without pop", pushes},
        {"pop without push", {0xB4}},
        {"truncated long item", {0xFE, 0x10, 0x00, 0x01}},
        {"input outside collection", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02}},
        {"too long", std::vector<uint8_t>(5000, 0x00)},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseReportDescriptor(c.bytes.data(), c.bytes.size(), &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
}

TEST(ReportDescriptor, ExtractBitsReadsSignedAndUnsignedFields) {
    const uint8_t data[] = {0b1011'0101, 0xFF, 0x80};
    EXPECT_EQ(ExtractBits(data, 3, 0, 1, false), 1);
    EXPECT_EQ(ExtractBits(data, 3, 4, 4, false), 0b1011);
    EXPECT_EQ(ExtractBits(data, 3, 8, 8, true), -1);
    EXPECT_EQ(ExtractBits(data, 3, 16, 16, false), 0x80);  // missing byte reads as zero
}
