// Where the main window's hand-made parts go when the desktop's metrics are
// not the classic ones: the hide button in the title bar, and a font that
// lets the clock panel show its whole text.  Platform-free: the glue passes in
// what the system and the window report.
#pragma once

// Pixels; right and bottom are exclusive.
struct PixelBox {
    int left, top, right, bottom;
};

struct PixelSize {
    int width, height;
};

// The title bar as the system lays it out.
struct CaptionMetrics {
    int windowWidth;     // the whole window
    int frameWidth;      // beside the client area (window rect against client rect)
    int frameHeight;     // below it, the same as above it for a fixed frame
    int buttonWidth;     // SM_CXSIZE
    int buttonHeight;    // SM_CYSIZE
    int buttonsHitLeft;  // the first column the system's hit test gives its buttons
};

// The minimize button, in window coordinates: the caption buttons are laid out
// from the right as on classic Windows (close, then the maximize slot, which a
// window with a minimize box always has), each a button width apart with a
// 2-pixel margin on its right, top and bottom.
PixelBox MinimizeButtonBox(const CaptionMetrics& metrics);

// The hide button's 15 x 15 picture: a pixel left of the minimize button as
// drawn, and left of where the system's hit test takes a click for one of its
// buttons (Wine's reaches two pixels further left than it draws); centred on
// the caption buttons' height, never above their top.  Classic metrics of a
// 355-pixel window put it at (284, 5), or (283, 5) under Wine.
PixelBox HideButtonBox(const CaptionMetrics& metrics);
constexpr int kHideButtonSide = 15;

// The clock panel's text keeps the font it is drawn in when it fits its box.
// Otherwise: the cell height to try next, for a text that measured `text` in a
// font of cell height `height` - scaled down by the larger overshoot, and at
// least a pixel below `height`.  0 when the text fits as it is; -1 when the
// next try would be smaller than kSmallestPanelFont.
int NextPanelFontHeight(int height, PixelSize text, PixelSize box);
constexpr int kSmallestPanelFont = 8;
