#include <gtest/gtest.h>

#include <string>

#include "app/window_layout.h"

namespace {

std::string Text(const PixelBox& box) {
    return std::to_string(box.left) + "," + std::to_string(box.top) + " " +
           std::to_string(box.right) + "," + std::to_string(box.bottom);
}

}  // namespace

// A 355-pixel window with a fixed 3-pixel frame under the title bars met in
// practice; the minimize buttons and hit columns are Wine's for these metrics.
TEST(WindowLayout, HideButtonSitsLeftOfTheMinimizeButton) {
    const struct {
        const char* name;
        int buttonWidth, buttonHeight, hitLeft;
        const char *minimize, *hide;
    } cases[] = {
        {"classic", 18, 18, 300, "300,5 316,19", "284,5 299,20"},  // hit where drawn
        {"classic, Wine", 18, 18, 298, "300,5 316,19", "283,5 298,20"},
        {"XP-like", 25, 25, 277, "279,5 302,26", "262,8 277,23"},
        {"7-like", 36, 21, 259, "246,5 280,22", "230,6 245,21"},
        {"120 DPI", 23, 23, 283, "285,5 306,24", "268,7 283,22"},
    };
    for (const auto& c : cases) {
        const CaptionMetrics metrics = {355, 3, 3, c.buttonWidth, c.buttonHeight, c.hitLeft};
        EXPECT_EQ(c.minimize, Text(MinimizeButtonBox(metrics))) << c.name;
        EXPECT_EQ(c.hide, Text(HideButtonBox(metrics))) << c.name;
        EXPECT_EQ(c.hide, Text(HideButtonHitBox(HideButtonBox(metrics), 15))) << c.name;
    }
    EXPECT_EQ("261,2 284,25", Text(HideButtonHitBox({269, 6, 284, 21}, 23))) << "144 DPI";
}

TEST(WindowLayout, PanelFontShrinksUntilTheTextFits) {
    const PixelSize box = {99, 17};
    const struct {
        int height;
        PixelSize text, box;
        int next;
    } cases[] = {
        {16, {96, 16}, box, 0},      // the System font: kept
        {16, {99, 17}, box, 0},      // to the pixel
        {16, {113, 16}, box, 14},    // too wide
        {20, {110, 20}, box, 17},    // too tall, and too wide
        {13, {100, 13}, box, 12},    // a pixel over: still a pixel smaller
        {9, {200, 9}, box, -1},      // would be too small to read
        {16, {10, 16}, {0, 0}, -1},  // no room at all
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.next, NextPanelFontHeight(c.height, c.text, c.box)) << c.height << " " << c.text.width;
    }
}

// Caption widths in the stock GUI font with Windows' metrics; the buttons'
// widths as drawn at 96 DPI (Konec's is 100).
TEST(WindowLayout, ScaleGrowsUntilEveryCaptionFits) {
    const CaptionFit narrow[] = {{85, 90}, {60, 100}};
    const CaptionFit at120[] = {{112, 90}, {109, 90}, {98, 90}, {91, 90}, {40, 100}};
    EXPECT_EQ(96, LayoutScale(96, at120, 5)) << "96 DPI keeps the drawn layout";
    EXPECT_EQ(120, LayoutScale(120, narrow, 2)) << "never below the DPI's own";
    EXPECT_EQ(124, LayoutScale(120, at120, 5)) << "112 <= 116 - 4";
    const CaptionFit never[] = {{500, 90}};
    EXPECT_EQ(480, LayoutScale(120, never, 1)) << "the largest tried";
    EXPECT_EQ(436, ScaleLayout(349, 120));
}
