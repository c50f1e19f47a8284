#include <gtest/gtest.h>

#include <cstring>

#include "platform/dpi_scale.h"

namespace {

const int kDpis[] = {96, 120, 144, 168, 192, 240, 288};

// Halves go away from zero, as Windows' MulDiv rounds them; a scaled font
// height or edge one pixel off would differ from the system's own scaling.
TEST(DpiScaleTest, RoundsHalvesAwayFromZeroAsTheSystemDoes) {
    EXPECT_EQ(MulDivRounded(5, 6, 4), 8);
    EXPECT_EQ(MulDivRounded(-5, 6, 4), -8);
    EXPECT_EQ(MulDivRounded(-11, 3, 2), -17);
    EXPECT_EQ(MulDivRounded(7, 1, 3), 2);
    EXPECT_EQ(MulDivRounded(-7, 1, 3), -2);
    EXPECT_EQ(MulDivRounded(10, -3, 4), -8);
    EXPECT_EQ(ScaleToDpi(23, 120), 29);
    EXPECT_EQ(ScaleFromDpi(-24, 144), -16);
}

TEST(DpiScaleTest, TheHeadersFontShowsAtTheWindowsDpiAndUnchangedAt96) {
    FontRecord record = {};
    record.height = 16;
    record.width = -7;
    record.weight = 700;
    record.charSet = 204;
    std::strcpy(record.faceName, "Times New Roman");
    FontRecord at96 = FontRecordAtDpi(record, 96);
    EXPECT_EQ(std::memcmp(&at96, &record, sizeof record), 0);
    FontRecord at144 = FontRecordAtDpi(record, 144);
    EXPECT_EQ(at144.height, 24);
    EXPECT_EQ(at144.width, -11);  // -10.5, away from zero
    EXPECT_EQ(at144.weight, 700);
    EXPECT_EQ(at144.charSet, 204);
    EXPECT_STREQ(at144.faceName, "Times New Roman");
}

// The font chooser makes a height of -points * DPI / 72; the header gets
// the height a user at 96 DPI would have got for the same points.
TEST(DpiScaleTest, AFontChosenAtAnyDpiIsStoredAsTheSameChoiceAt96Dpi) {
    for (int dpi : kDpis)
        for (int tenths = 60; tenths <= 720; tenths += 5) {
            int chosen = -MulDivRounded(tenths, dpi, 720);
            int at96 = -MulDivRounded(tenths, 96, 720);
            EXPECT_EQ(StoredFontHeight(chosen, tenths, dpi), at96) << tenths << " tenths at " << dpi << " DPI";
        }
    // Without the size in points, the height converts back by the screen's DPI.
    EXPECT_EQ(StoredFontHeight(-24, 0, 144), -16);
    EXPECT_EQ(StoredFontHeight(30, 0, 192), 15);
}

}  // namespace
