#include <cstdio>

#include "base/bitmap_file.h"
#include "base/data_folder.h"
#include "base/ids.h"
#include "dialogs/build_stamp.h"
#include "dialogs/info_dialogs.h"

namespace {

// Reads the first characters of the stamp file in text mode, so that a CR LF
// counts as one line feed, and builds the stamp from them.
Text ReadBuildStamp() {
    char chars[kBuildStampSuffixLength] = {};
    size_t count = 0;
    char path[kDataPathCapacity];
    FILE* file = std::fopen(DataFilePath("bld_rm.tf", path), "rt");
    if (file == nullptr) {
        return BuildStampFrom(nullptr, 0, false);
    }
    while (count < kBuildStampSuffixLength) {
        const int c = std::fgetc(file);
        if (c == EOF) break;
        chars[count++] = static_cast<char>(c);
    }
    std::fclose(file);
    return BuildStampFrom(chars, count, true);
}

}  // namespace

void PaintProgramBitmap(HDC paint) {
    char path[kDataPathCapacity];
    DrawBitmapFile(paint, DataFilePath("prg.bf", path), 0, 0);
}

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC paint = BeginPaint(dialog, &ps);
            PaintProgramBitmap(paint);
            EndPaint(dialog, &ps);
            break;
        }
        case WM_INITDIALOG:
            SetDlgItemTextA(dialog, IDC_BUILD_STAMP, ReadBuildStamp().c_str());
            break;
        case WM_COMMAND:
            // Escape's IDCANCEL is ignored on purpose: only OK closes.
            if (LOWORD(wParam) == IDC_OK) EndDialog(dialog, 1);
            break;
        default:
            break;
    }
    return 0;
}
