// Drawing images onto device contexts, and the screen-compatible bitmaps they are drawn into
// (Windows only).
#pragma once
#include <windows.h>

#include "image/image.h"

// A device-dependent bitmap and, while open, the memory device context it is selected into.
struct BitmapHolder {
    HBITMAP bitmap;
    HDC memoryDC;
};

BitmapHolder *BitmapHolderCreate(int width, int height);
HDC BitmapHolderOpenDC(BitmapHolder *holder, HDC referenceDC);
BOOL BitmapHolderCloseDC(BitmapHolder *holder);
HBITMAP BitmapHolderGetBitmap(const BitmapHolder *holder);
int BitmapHolderFree(BitmapHolder *holder);

// Draws the image opaquely; a width or height of 0 or less means the image's own. sourceX and sourceY
// count from the image's left and top. Returns the scan lines drawn, 0 on failure.
int ImageDraw(const Image *image, HDC dc, int x, int y, int sourceX, int sourceY, int width, int height);
