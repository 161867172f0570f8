#include "base/wide_text.h"

int WideText::Length() const {
    int length = 0;
    while (text_[length] != 0) ++length;
    return length;
}

int MessageBoxCp(HWND owner, const char* text, const char* caption, UINT type) {
    const WideText wideText(text);
    if (caption == nullptr) {
        return MessageBoxW(owner, wideText, nullptr, type);  // the system's "Error"
    }
    return MessageBoxW(owner, wideText, WideText(caption), type);
}
