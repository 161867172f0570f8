#include "app/window_layout.h"

#include <algorithm>

PixelBox MinimizeButtonBox(const CaptionMetrics& metrics) {
    const int insideRight = metrics.windowWidth - metrics.frameWidth;
    const int insideTop = metrics.frameHeight;
    const int width = metrics.buttonWidth;
    // Close takes one width at the right, the maximize slot the next.
    return {insideRight - 3 * width + 2, insideTop + 2, insideRight - 2 * width,
            insideTop + metrics.buttonHeight - 2};
}

PixelBox HideButtonBox(const CaptionMetrics& metrics) {
    const PixelBox minimize = MinimizeButtonBox(metrics);
    const int right = std::min(minimize.left - 1, metrics.buttonsHitLeft);
    const int top =
        minimize.top + std::max(0, (minimize.bottom - minimize.top - kHideButtonSide) / 2);
    return {right - kHideButtonSide, top, right, top + kHideButtonSide};
}

PixelBox HideButtonHitBox(const PixelBox& picture, int side) {
    const int top = (picture.top + picture.bottom) / 2 - side / 2;
    return {picture.right - side, top, picture.right, top + side};
}

int NextPanelFontHeight(int height, PixelSize text, PixelSize box) {
    if (text.width <= box.width && text.height <= box.height) {
        return 0;
    }
    if (box.width <= 0 || box.height <= 0) {
        return -1;  // no font is small enough
    }
    // Widths and heights shrink about in proportion with the cell height.
    int next = height - 1;
    if (text.width > box.width) next = std::min(next, height * box.width / text.width);
    if (text.height > box.height) next = std::min(next, height * box.height / text.height);
    return next < kSmallestPanelFont ? -1 : next;
}

int ScaleLayout(int pixels, int scale) {
    const int product = pixels * scale;
    return product >= 0 ? (product + kLayoutBase / 2) / kLayoutBase
                        : -((-product + kLayoutBase / 2) / kLayoutBase);
}

int LayoutScale(int dpi, const CaptionFit* captions, int count) {
    if (dpi <= kLayoutBase) {
        return kLayoutBase;  // the layout as drawn, to the pixel
    }
    for (int scale = dpi; scale < 4 * dpi; ++scale) {
        bool fits = true;
        for (int i = 0; i < count && fits; ++i) {
            const int inside = ScaleLayout(captions[i].buttonWidth, scale) - kButtonEdges;
            fits = captions[i].captionWidth <= inside;
        }
        if (fits) return scale;
    }
    return 4 * dpi;
}
