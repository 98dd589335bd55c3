// LZW decoding of one GIF frame straight into its canvas. Strings are written backwards along the
// prefix links into a row buffer; each completed row goes to the canvas in one pass per depth.
#include "image/giflzw.h"

#include <cstring>

#include "image/pixels.h"

namespace
{

constexpr uint32_t kMaxCodeWidth = 12;

// Codes are packed least-significant bit first across the concatenated sub-blocks.
struct BitReader {
    const uint8_t *data;
    size_t size;
    size_t pos;      // next byte to take
    size_t blockEnd; // end of the current sub-block; the next length byte sits here
    uint64_t bits;
    uint32_t count;
    bool ended; // a zero length, or a sub-block reaching past the data
};

void Refill(BitReader &r)
{
    while (r.count <= 56) {
        if (r.pos < r.blockEnd) {
            r.bits |= static_cast<uint64_t>(r.data[r.pos++]) << r.count;
            r.count += 8;
            continue;
        }
        if (r.ended) return;
        if (r.pos >= r.size) {
            r.ended = true;
            return;
        }
        size_t length = r.data[r.pos];
        if (length == 0 || length > r.size - r.pos - 1) {
            r.ended = true;
            return;
        }
        r.blockEnd = r.pos + 1 + length;
        ++r.pos;
    }
}

inline bool ReadCode(BitReader &r, uint32_t width, uint32_t &code)
{
    if (r.count < width) {
        Refill(r);
        if (r.count < width) return false;
    }
    code = static_cast<uint32_t>(r.bits) & ((1u << width) - 1);
    r.bits >>= width;
    r.count -= width;
    return true;
}

// Puts decoded rows onto the canvas, clipped to it. Values are compared with the transparent index
// before they are narrowed to the canvas depth, as a pixel routine would narrow them.
class RowWriter
{
public:
    explicit RowWriter(const GifFrameTarget &target) : target_(target)
    {
        const Image *canvas = target.canvas;
        canvasHeight_ = static_cast<uint32_t>(canvas->header.biHeight);
        uint32_t canvasWidth = static_cast<uint32_t>(canvas->header.biWidth);
        if (target.left < canvasWidth)
            visible_ = canvasWidth - target.left < target.width ? canvasWidth - target.left : target.width;
        bitCount_ = canvas->header.biBitCount;
    }

    void Emit(uint32_t row, const uint16_t *values, uint32_t count)
    {
        uint32_t y = target_.top + (target_.interlaced ? GifInterlacedRow(row, target_.height) : row);
        if (y >= canvasHeight_) return;
        if (count > visible_) count = visible_;
        if (count == 0) return;
        uint8_t *dest = ImageRowPointer(target_.canvas, static_cast<int32_t>(y));
        switch (bitCount_) {
        case 8: Emit8(dest + target_.left, values, count); break;
        case 4: EmitPacked<4>(dest, values, count); break;
        case 1: EmitPacked<1>(dest, values, count); break;
        }
    }

private:
    void Emit8(uint8_t *dest, const uint16_t *values, uint32_t count)
    {
        if (!target_.transparent) {
            for (uint32_t i = 0; i < count; ++i)
                dest[i] = static_cast<uint8_t>(values[i]);
            return;
        }
        uint32_t key = target_.transparentIndex;
        for (uint32_t i = 0; i < count; ++i)
            if (values[i] != key) dest[i] = static_cast<uint8_t>(values[i]);
    }

    template <uint32_t Bits> void EmitPacked(uint8_t *dest, const uint16_t *values, uint32_t count)
    {
        constexpr uint32_t kPerByte = 8 / Bits;
        constexpr uint32_t kLow = (1u << Bits) - 1;
        bool transparent = target_.transparent;
        uint32_t key = target_.transparentIndex;
        for (uint32_t i = 0; i < count; ++i) {
            if (transparent && values[i] == key) continue;
            uint32_t x = target_.left + i;
            uint32_t shift = 8 - (x % kPerByte + 1) * Bits;
            uint8_t *byte = dest + x / kPerByte;
            *byte = static_cast<uint8_t>((*byte & ~(kLow << shift)) | ((values[i] & kLow) << shift));
        }
    }

    const GifFrameTarget &target_;
    uint32_t canvasHeight_ = 0;
    uint32_t visible_ = 0;
    uint32_t bitCount_ = 0;
};

} // namespace

uint32_t GifInterlacedRow(uint32_t row, uint32_t height)
{
    uint32_t pass0 = (height + 7) / 8;
    if (row < pass0) return row * 8;
    row -= pass0;
    uint32_t pass1 = (height + 3) / 8;
    if (row < pass1) return 4 + row * 8;
    row -= pass1;
    uint32_t pass2 = (height + 1) / 4;
    if (row < pass2) return 2 + row * 4;
    row -= pass2;
    return 1 + row * 2;
}

GifLzwOutcome GifDecodeFrameData(const uint8_t *data, size_t size, size_t pos, uint32_t minCodeSize, GifDictEntry *dict,
                                 uint16_t *line, const GifFrameTarget &target, size_t *resumeOut)
{
    BitReader reader = {data, size, pos, pos, 0, 0, false};
    RowWriter writer(target);
    const uint32_t clear = 1u << minCodeSize;
    const uint32_t end = clear + 1;
    for (uint32_t i = 0; i <= end; ++i)
        dict[i] = {0, static_cast<uint16_t>(i), 0, 0};
    uint32_t nextFree = clear + 2;
    uint32_t width = minCodeSize + 1;

    uint32_t code;
    if (!ReadCode(reader, width, code)) {
        *resumeOut = reader.blockEnd;
        return kLzwNoFirstCode;
    }

    const uint32_t frameWidth = target.width;
    uint64_t remaining = static_cast<uint64_t>(target.width) * target.height;
    uint32_t row = 0;
    uint32_t fill = 0; // values of the current row held in `line`; may run past the width
    // No previous code at the start either: a stream need not open with a clear code.
    int32_t prev = -1;
    for (;;) {
        if (code == clear) {
            width = minCodeSize + 1;
            nextFree = clear + 2;
            prev = -1;
        } else if (code == end) {
            break;
        } else {
            uint32_t s = code;
            bool kwkwk = false;
            if (code >= nextFree) {
                // Only the entry about to be made can be named ahead of time, and only once a
                // previous string exists; anything else is damaged data.
                if (code != nextFree || prev < 0) break;
                s = static_cast<uint32_t>(prev);
                kwkwk = true;
            }
            uint32_t length = dict[s].lengthMinusOne + 1u;
            if (length > remaining) break;
            uint16_t *start = line + fill;
            uint16_t *p = start + length - 1;
            uint32_t k = s;
            while (p > start) {
                *p-- = dict[k].value;
                k = dict[k].prefix;
            }
            *p = dict[k].value;
            fill += length;
            remaining -= length;
            uint16_t firstPixel = *start;
            bool full = false;
            if (kwkwk) {
                if (remaining == 0) {
                    full = true;
                } else {
                    line[fill++] = firstPixel;
                    --remaining;
                }
            }
            if (prev >= 0 && nextFree < kGifDictSize) {
                // A full dictionary takes no more entries until a clear code comes.
                dict[nextFree] = {static_cast<uint16_t>(prev), firstPixel,
                                  static_cast<uint16_t>(dict[prev].lengthMinusOne + 1u), 0};
                ++nextFree;
                if (nextFree == (1u << width) && width < kMaxCodeWidth) ++width;
            }
            prev = static_cast<int32_t>(code);
            if (fill >= frameWidth) {
                uint32_t offset = 0;
                while (fill - offset >= frameWidth) {
                    writer.Emit(row++, line + offset, frameWidth);
                    offset += frameWidth;
                }
                std::memmove(line, line + offset, (fill - offset) * sizeof(uint16_t));
                fill -= offset;
            }
            if (full) break;
        }
        if (!ReadCode(reader, width, code)) break;
    }
    if (fill > 0) writer.Emit(row, line, fill);
    *resumeOut = reader.blockEnd;
    return kLzwFrameEnded;
}
