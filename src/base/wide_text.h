// The program's texts (Windows-1250) handed to the system as UTF-16, through
// the "W" functions: an "A" function would read the bytes in the system's own
// ANSI code page, and on an English or German Windows "Spořič" would show as
// "Spoøiè".  Plain-ASCII texts may still go through the "A" functions.  The
// dialogs are opened by DialogBoxParamW for the same reason: their templates'
// texts are Unicode, and an "A" dialog may make its windows from them through
// the ANSI code page (Wine does).
#pragma once

#include <windows.h>

#include "base/code_page.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

// One text converted on the stack; longer texts are cut at kCapacity - 1.
class WideText {
public:
    explicit WideText(const char* text) { Cp1250ToUtf16(text, text_, kCapacity); }
    operator const wchar_t*() const { return reinterpret_cast<const wchar_t*>(text_); }
    int Length() const;

private:
    static constexpr int kCapacity = 512;
    char16_t text_[kCapacity];
};

int MessageBoxCp(HWND owner, const char* text, const char* caption, UINT type);

// Added to the style of every box that a schedule raises by itself (the
// warning, the reminder, the report of a scheduled action that failed or was
// missed): it comes while the user works in another program, and Windows
// keeps a program in the background from taking the foreground, so the box
// would open behind.  MB_SYSTEMMODAL is MB_APPLMODAL with WS_EX_TOPMOST, as
// MB_TOPMOST gives it (Wine honours only the first).
constexpr UINT kRaisedBoxStyle = MB_SYSTEMMODAL | MB_SETFOREGROUND;
