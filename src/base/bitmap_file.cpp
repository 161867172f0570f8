#include "base/bitmap_file.h"

void DrawBitmapFile(HDC dc, const char* path, int x, int y) {
    HANDLE picture = LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
    if (picture == nullptr) return;
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(picture), 0, x, y, 0, 0, DST_BITMAP);
    DeleteObject(picture);
}
