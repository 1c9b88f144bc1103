// The drawing operations the custom controls added to the painter, checked on real pixels.
#include <cairo.h>
#include <gtest/gtest.h>

#include "ui/CairoPainter.h"
#include "ui/ResourceManager.h"

using namespace dravik::ui;

namespace {

class PainterSeamTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CResourceManager::GetInstance().SetResourcePath(DRAVIK_CONTROLS_SKIN);
        surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 100);
        cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
    }
    void TearDown() override {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    // The pixel as 0xAARRGGBB.
    uint32_t Pixel(int x, int y) {
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        int stride = cairo_image_surface_get_stride(surface);
        return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
    }

    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
};

}  // namespace

TEST_F(PainterSeamTest, PieRunsClockwiseFromItsStartAngle) {
    CairoPainter painter(cr);
    // From straight down a quarter turn clockwise: the lower-left quarter.
    painter.FillPie({0, 0, 100, 100}, 90, 90, 0xFFFF0000);
    EXPECT_EQ(Pixel(25, 75), 0xFFFF0000u);
    EXPECT_EQ(Pixel(75, 75), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(25, 25), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(75, 25), 0xFFFFFFFFu);
    painter.FillPie({0, 0, 100, 100}, 90, 360, 0xFF0000FF);
    EXPECT_EQ(Pixel(50, 5), 0xFF0000FFu);
    EXPECT_EQ(Pixel(2, 2), 0xFFFFFFFFu);  // outside the disc
    painter.FillPie({0, 0, 100, 100}, 0, 0, 0xFF00FF00);
    EXPECT_EQ(Pixel(75, 50), 0xFF0000FFu);
}

TEST_F(PainterSeamTest, TintedImagePaintsTheColourThroughTheImageShape) {
    CairoPainter painter(cr);
    EXPECT_TRUE(painter.DrawImageTinted({10, 10, 26, 26}, "img/light.png", 0xFF00C000));
    EXPECT_EQ(Pixel(15, 15), 0xFF00C000u);
    EXPECT_EQ(Pixel(30, 30), 0xFFFFFFFFu);
    // Half strength over white.
    EXPECT_TRUE(painter.DrawImageTinted({40, 40, 56, 56}, "img/light.png", 0x800000FF));
    uint32_t half = Pixel(45, 45);
    EXPECT_EQ(half & 0xFF, 0xFFu);
    EXPECT_NEAR(static_cast<int>((half >> 16) & 0xFF), 127, 2);
    EXPECT_FALSE(painter.DrawImageTinted({0, 0, 10, 10}, "img/none.png", 0xFF000000));
}

TEST(ImageFileSizeTest, MeasuresSkinPicturesAndRefusesMissingOnes) {
    CResourceManager::GetInstance().SetResourcePath(DRAVIK_CONTROLS_SKIN);
    EXPECT_EQ(ImageFileSize("img/picture.png"), (Size{200, 120}));
    EXPECT_EQ(ImageFileSize("img/none.png"), std::nullopt);
    EXPECT_EQ(ImageFileSize(""), std::nullopt);
}
