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

// Where a click takes the hide button: a square of `side` (the picture's side
// at the layout's scale) about the picture's middle, grown only leftward, as
// right of the picture the system's buttons begin.  At 96 DPI the picture.
PixelBox HideButtonHitBox(const PixelBox& picture, int side);

// The clock panel's text keeps the font it is drawn in when it fits its box.
// Otherwise: the cell height to try next, for a text that measured `text` in a
// font of cell height `height` - scaled down by the larger overshoot, and at
// least a pixel below `height`.  0 when the text fits as it is; -1 when the
// next try would be smaller than kSmallestPanelFont.
int NextPanelFontHeight(int height, PixelSize text, PixelSize box);
constexpr int kSmallestPanelFont = 8;

// The main window's layout is made for 96 DPI, where it keeps every pixel.
// At another DPI all of it (client area, buttons, clock panel, the pictures'
// places) grows by one scale, in 96ths: the smallest, at least the DPI's own,
// at which every button's caption, measured in the buttons' font, fits inside
// the button's 2-pixel edges - fonts grow faster than the DPI (at 120 DPI
// "Spořič obrazovky" goes from 85 to 112 pixels).  A caption that fits at no
// scale up to four times the DPI's gets that largest scale.
struct CaptionFit {
    int captionWidth;  // measured
    int buttonWidth;   // at 96 DPI
};
constexpr int kLayoutBase = 96;
constexpr int kButtonEdges = 2 * 2;
int LayoutScale(int dpi, const CaptionFit* captions, int count);

// Pixels at 96 DPI to pixels at that scale, rounded to the nearest.
int ScaleLayout(int pixels, int scale);
