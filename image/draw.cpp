// Drawing straight from the image record: its header and colour table already form a BITMAPINFO
// and its pixel buffer is in DIB row order.
#include "image/draw.h"

#include <cstdlib>

BitmapHolder *BitmapHolderCreate(int width, int height)
{
    HDC screen = GetDC(nullptr);
    if (!screen) return nullptr;
    BitmapHolder *holder = static_cast<BitmapHolder *>(std::calloc(1, sizeof(BitmapHolder)));
    if (holder) {
        holder->bitmap = CreateCompatibleBitmap(screen, width, height);
        if (!holder->bitmap) {
            std::free(holder);
            holder = nullptr;
        }
    }
    ReleaseDC(nullptr, screen);
    return holder;
}

HDC BitmapHolderOpenDC(BitmapHolder *holder, HDC referenceDC)
{
    if (!holder || !holder->bitmap) return nullptr;
    HDC dc = CreateCompatibleDC(referenceDC);
    if (!dc) return nullptr;
    if (!SelectObject(dc, holder->bitmap)) {
        DeleteDC(dc);
        return nullptr;
    }
    holder->memoryDC = dc;
    return dc;
}

// Deleting the device context releases the bitmap selected into it.
BOOL BitmapHolderCloseDC(BitmapHolder *holder)
{
    if (!holder || !holder->memoryDC) return FALSE;
    BOOL result = DeleteDC(holder->memoryDC);
    holder->memoryDC = nullptr;
    return result;
}

HBITMAP BitmapHolderGetBitmap(const BitmapHolder *holder)
{
    return holder ? holder->bitmap : nullptr;
}

int BitmapHolderFree(BitmapHolder *holder)
{
    if (!holder) return 0;
    if (holder->memoryDC) DeleteDC(holder->memoryDC);
    if (holder->bitmap) DeleteObject(holder->bitmap);
    std::free(holder);
    return 1;
}

int ImageDraw(const Image *image, HDC dc, int x, int y, int sourceX, int sourceY, int width, int height)
{
    if (!image || !image->bits) return 0;
    int imageHeight = image->header.biHeight;
    if (width <= 0) width = image->header.biWidth;
    if (height <= 0) height = imageHeight;
    HPALETTE previous = nullptr;
    if (image->palette) {
        previous = SelectPalette(dc, image->palette, FALSE);
        RealizePalette(dc);
    }
    int lines = SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(width), static_cast<DWORD>(height), sourceX,
                                  imageHeight - sourceY - height, 0, static_cast<UINT>(imageHeight), image->bits,
                                  reinterpret_cast<const BITMAPINFO *>(&image->header), DIB_RGB_COLORS);
    if (previous) SelectPalette(dc, previous, FALSE);
    return lines;
}
