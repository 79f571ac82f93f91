#include "selection/transform_dialogs.h"

#include <gtest/gtest.h>

#include "resources/string_table.h"

namespace palvex {
namespace {

TEST(TransformDialogs, EntriesReadTheirLeadingNumber) {
    EXPECT_EQ(LeadingInteger("45"), 45);
    EXPECT_EQ(LeadingInteger(" 45deg"), 45);
    EXPECT_EQ(LeadingInteger("abc"), 0);
    EXPECT_EQ(LeadingInteger(""), 0);
    EXPECT_EQ(LeadingInteger("-7"), -7);
    EXPECT_EQ(LeadingInteger("99999999999999"), INT_MAX);
    EXPECT_EQ(PixelEntry("1,200"), 1200);
    EXPECT_EQ(PixelEntry("12,345,678"), 12345678);
    EXPECT_EQ(WithThousandsSeparators(999), "999");
    EXPECT_EQ(WithThousandsSeparators(1200), "1,200");
    EXPECT_EQ(WithThousandsSeparators(1234567), "1,234,567");
}

TEST(TransformDialogs, AngleIsLimitedWithoutAMessage) {
    EXPECT_EQ(AngleFromEntry("-5"), 0);
    EXPECT_EQ(AngleFromEntry("360"), 359);
    EXPECT_EQ(AngleFromEntry("x"), 0);
    EXPECT_EQ(AngleFromEntry("33"), 33);
}

TEST(TransformDialogs, SizeDialogLimitsAndRatio) {
    const SizeDialogBase base = SizeDialogBaseFor({3000, 2000});
    EXPECT_EQ(base.maxW, 5000);
    EXPECT_EQ(base.maxH, 4000);
    EXPECT_EQ(PixelLimitLabel(base.maxW), "Pixel　　(1～5000Pixel)");
    const SizeDialogBase small = SizeDialogBaseFor({400, 300});
    EXPECT_EQ(small.maxW, 800);
    EXPECT_FLOAT_EQ(small.ratio, 1.3333334f);
    EXPECT_EQ(HeightForWidth(small, 401), 300);
    EXPECT_EQ(WidthForHeight(small, 300), 400);
}

TEST(TransformDialogs, PixelEntriesOfAPictureOverTheLimitKeepItsRatio) {
    EXPECT_EQ(PixelSizeAtOpening(SizeDialogBaseFor({6000, 3000})), (Size{5000, 2500}));
    EXPECT_EQ(PixelSizeAtOpening(SizeDialogBaseFor({3000, 6000})), (Size{2500, 5000}));
    EXPECT_EQ(PixelSizeAtOpening(SizeDialogBaseFor({6000, 30})), (Size{5000, 25}));
    EXPECT_EQ(PixelSizeAtOpening(SizeDialogBaseFor({20000, 1})), (Size{5000, 1}));
    EXPECT_EQ(PixelSizeAtOpening(SizeDialogBaseFor({400, 300})), (Size{400, 300}));
    EXPECT_EQ(PixelSizeAtOpening(SizeDialogBaseFor({5000, 5000})), (Size{5000, 5000}));
}

TEST(TransformDialogs, PercentOverFiveThousandPixelsKeepsTheDialogOpen) {
    const SizeDialogBase base = SizeDialogBaseFor({3000, 2000});
    SizeDialogOutcome out = AcceptSizeDialog(base, {true, "200", "100", "", ""});
    EXPECT_FALSE(out.accepted);
    EXPECT_EQ(out.message,
              "横サイズが、6000pixel になります\n" + std::string(LoadString(str::kSizeOver5000)));
    // The percentages are stored even when the dialog stays open.
    EXPECT_EQ(out.percentW, 200);
    // 300 % is limited to 200 %: 4000 high is allowed.
    out = AcceptSizeDialog(base, {true, "100", "300", "", ""});
    EXPECT_TRUE(out.accepted);
    EXPECT_EQ(out.percentH, 200);
    EXPECT_EQ(out.size, (Size{3000, 4000}));
    out = AcceptSizeDialog(SizeDialogBaseFor({2000, 3000}), {true, "100", "200", "", ""});
    EXPECT_FALSE(out.accepted);
    EXPECT_EQ(out.message.rfind("縦サイズが、6000pixel になります\n", 0), 0u);
}

TEST(TransformDialogs, AcceptedSizes) {
    const SizeDialogBase base = SizeDialogBaseFor({3000, 2000});
    SizeDialogOutcome out = AcceptSizeDialog(base, {true, "50", "0", "", ""});
    ASSERT_TRUE(out.accepted);
    EXPECT_EQ(out.size, (Size{1500, 20}));  // 0 % reads as 1 %
    // Pixels: limited to 1..maxW and 1..maxH, separators removed.
    out = AcceptSizeDialog(base, {false, "", "", "9,999", "-3"});
    ASSERT_TRUE(out.accepted);
    EXPECT_EQ(out.size, (Size{5000, 1}));
    out = AcceptSizeDialog(base, {false, "", "", "1,200", "800"});
    EXPECT_EQ(out.size, (Size{1200, 800}));
}

// Mend: a small percentage of a short side gives one pixel, not zero.
TEST(TransformDialogs, SmallPercentOfAShortSideGivesOnePixel) {
    const SizeDialogOutcome out =
        AcceptSizeDialog(SizeDialogBaseFor({1, 3}), {true, "50", "10", "", ""});
    ASSERT_TRUE(out.accepted);
    EXPECT_EQ(out.size, (Size{1, 1}));
}

}  // namespace
}  // namespace palvex
