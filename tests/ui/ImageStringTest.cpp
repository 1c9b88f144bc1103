#include <gtest/gtest.h>

#include "ui/ImageString.h"

using namespace dravik::ui;

TEST(ImageString, ParsesTheFormsTheSkinWrites) {
    auto plain = ParseImageString("power/powered.png");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->file, "power/powered.png");
    EXPECT_FALSE(plain->source);

    auto full = ParseImageString(
        "file='keys/k.png' source='0,0,32,16' corner='2,2,2,2' dest='1,1,9,9' fade='128' "
        "mask='#FFFF00FF' hole='true'");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->file, "keys/k.png");
    EXPECT_EQ(full->source, (Rect{0, 0, 32, 16}));
    EXPECT_EQ(full->corner, (Rect{2, 2, 2, 2}));
    EXPECT_EQ(full->dest, (Rect{1, 1, 9, 9}));
    EXPECT_EQ(full->fade, 128);
    EXPECT_EQ(full->mask, 0xFFFF00FFu);
    EXPECT_TRUE(full->hole);

    for (const char* bad : {"", "file=", "file='x.png' source='1,2,3'", "source='0,0,1,1'",
                            "file='unterminated", "file='a.png' source='a,b,c,d'"})
        EXPECT_FALSE(ParseImageString(bad)) << bad;
}
