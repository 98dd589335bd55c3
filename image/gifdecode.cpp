// The GIF block scan and frame compositing: every frame returned is the whole logical screen at that
// point of the animation, with the earlier frames, disposal and transparency already applied.
#include <cstdlib>
#include <cstring>

#include "image/gif.h"
#include "image/giflzw.h"
#include "image/palette.h"
#include "image/pixels.h"

namespace
{

constexpr uint8_t kImageDescriptor = 0x2C;
constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kGraphicControl = 0xF9;
constexpr uint8_t kApplication = 0xFF;

constexpr size_t kScreenDescriptorEnd = 13;
constexpr size_t kImageDescriptorSize = 10;
constexpr size_t kGraphicControlSize = 7; // introducer to transparent index
constexpr size_t kNetscapeLoopEnd = 18;   // introducer to the loop count's high byte

constexpr uint32_t kDisposeToBackground = 2;
constexpr uint32_t kDisposeToPrevious = 3;

#ifdef PARLEVO_GIF_FUZZ_LIMITS
// Fuzzing builds keep canvases small so that every input runs in milliseconds; the paths are the same.
constexpr uint64_t kMaxCanvasPixels = uint64_t{1} << 20;
constexpr uint64_t kMaxChainPixels = uint64_t{1} << 22;
#else
constexpr uint64_t kMaxCanvasPixels = uint64_t{16384} * 16384;
constexpr uint64_t kMaxChainPixels = uint64_t{16384} * 16384;
#endif

constexpr uint32_t kMinCodeSizeLow = 2;
constexpr uint32_t kMinCodeSizeHigh = 11;

uint32_t ReadU16(const uint8_t *p)
{
    return p[0] | static_cast<uint32_t>(p[1]) << 8;
}

// A colour table of 2^(sizeField + 1) triples becomes PALETTEENTRY values; the rest stays black.
void ConvertTable(const uint8_t *table, uint32_t sizeField, PALETTEENTRY *out)
{
    std::memset(out, 0, 256 * sizeof(PALETTEENTRY));
    uint32_t count = 2u << sizeField;
    for (uint32_t i = 0; i < count; ++i)
        out[i] = {table[3 * i], table[3 * i + 1], table[3 * i + 2], 0};
}

int32_t DepthForTableSize(uint32_t sizeField)
{
    return sizeField == 0 ? 1 : sizeField <= 3 ? 4 : 8;
}

struct GraphicControl {
    bool seen;
    bool transparent;
    uint32_t transparentIndex;
    uint32_t delay; // hundredths of a second
    uint32_t disposal;
};

struct Decoder {
    ImageSource *source;
    const uint8_t *data;
    size_t size;
    uint32_t screenWidth;
    uint32_t screenHeight;
    uint32_t globalSizeField;
    uint32_t background;
    PALETTEENTRY globalTable[256];
    PALETTEENTRY localTable[256];
    GifDictEntry *dict;
    uint16_t *line;
    uint32_t lineCapacity;
    Image *first;
    Image *previous;
    ImageRect previousRect;
    uint32_t previousDisposal; // of the control in force when the previous frame was decoded
    GraphicControl control;
    uint32_t loopCount;
    uint64_t chainPixels;
};

// Steps over data sub-blocks up to and including the zero-length one; returns the position after it,
// or the end of the data.
size_t SkipSubBlocks(const uint8_t *data, size_t size, size_t pos)
{
    while (pos < size) {
        size_t length = data[pos];
        if (length == 0) return pos + 1;
        if (length >= size - pos) return size;
        pos += 1 + length;
    }
    return size;
}

bool EnsureLine(Decoder &d, uint32_t frameWidth)
{
    uint32_t needed = frameWidth + kGifLineSlack;
    if (needed <= d.lineCapacity) return true;
    uint16_t *line = static_cast<uint16_t *>(std::realloc(d.line, needed * sizeof(uint16_t)));
    if (!line) return false;
    d.line = line;
    d.lineCapacity = needed;
    return true;
}

// The pixel values of the area two canvases share. Canvases of one depth copy whole bytes of each row;
// others go value by value, narrowed to the new depth as the pixel routines narrow them.
void CopySharedArea(const Image *base, Image *canvas)
{
    int32_t width = ImageGetWidth(base) < ImageGetWidth(canvas) ? ImageGetWidth(base) : ImageGetWidth(canvas);
    int32_t height = ImageGetHeight(base) < ImageGetHeight(canvas) ? ImageGetHeight(base) : ImageGetHeight(canvas);
    uint32_t bits = ImageGetBitCount(canvas);
    bool sameDepth = ImageGetBitCount(base) == bits;
    size_t wholeBytes = sameDepth ? static_cast<size_t>(width) * bits / 8 : 0;
    int32_t firstLoose = static_cast<int32_t>(wholeBytes * 8 / bits);
    for (int32_t y = 0; y < height; ++y) {
        if (wholeBytes) std::memcpy(ImageRowPointer(canvas, y), ImageRowPointer(base, y), wholeBytes);
        for (int32_t x = firstLoose; x < width; ++x)
            canvas->setPixel(canvas, x, y, base->getPixel(base, x, y));
    }
}

// The canvas a frame is drawn onto: a copy of the base frame when it matches, otherwise a new image
// filled with the fill value that takes over the base's pixel values where the two overlap.
Image *MakeCanvas(const Image *base, int32_t width, int32_t height, int32_t depth, uint32_t fillValue)
{
    if (base && ImageGetDepthCode(base) == depth && ImageGetWidth(base) == width && ImageGetHeight(base) == height)
        return ImageDuplicate(base, 1);
    Image *canvas = ImageCreate(width, height, depth, nullptr);
    if (!canvas) return nullptr;
    ImageRect whole = {0, 0, static_cast<uint16_t>(width), static_cast<uint16_t>(height)};
    ImageFillRect(canvas, &whole, fillValue);
    if (base) CopySharedArea(base, canvas);
    return canvas;
}

enum ScanResult { kScanGoOn, kScanStop };

ScanResult DecodeFrame(Decoder &d, size_t &pos)
{
    const uint8_t *desc = d.data + pos;
    if (d.size - pos < kImageDescriptorSize) return kScanStop;
    uint32_t left = ReadU16(desc + 1);
    uint32_t top = ReadU16(desc + 3);
    uint32_t frameWidth = ReadU16(desc + 5);
    uint32_t frameHeight = ReadU16(desc + 7);
    uint8_t packed = desc[9];
    size_t dataPos = pos + kImageDescriptorSize;
    const PALETTEENTRY *table = d.globalTable;
    uint32_t sizeField = d.globalSizeField;
    if (packed & 0x80) {
        sizeField = packed & 7u;
        size_t tableBytes = size_t{3} << (sizeField + 1);
        if (d.size - dataPos < tableBytes) return kScanStop;
        ConvertTable(d.data + dataPos, sizeField, d.localTable);
        table = d.localTable;
        dataPos += tableBytes;
    }
    bool interlaced = (packed & 0x40) != 0;
    if (interlaced) d.source->formatFlags |= kFormatInterlaced;
    uint32_t disposal = d.first ? d.previousDisposal : 0;

    uint32_t canvasWidth = frameWidth > d.screenWidth ? frameWidth : d.screenWidth;
    uint32_t canvasHeight = frameHeight > d.screenHeight ? frameHeight : d.screenHeight;
    uint64_t canvasPixels = static_cast<uint64_t>(canvasWidth) * canvasHeight;
    // A canvas of no area cannot be made, like one too large.
    if (canvasPixels == 0 || canvasPixels > kMaxCanvasPixels || d.chainPixels + canvasPixels > kMaxChainPixels ||
        !EnsureLine(d, frameWidth)) {
        d.source->error = kImageOutOfMemory;
        return kScanStop;
    }

    uint32_t fillValue = d.control.transparent ? d.control.transparentIndex : d.background;
    int32_t depth = DepthForTableSize(sizeField);
    const Image *base = d.previous;
    if (disposal == kDisposeToPrevious) base = d.previous ? d.previous->prevFrame : nullptr;
    Image *frame =
        MakeCanvas(base, static_cast<int32_t>(canvasWidth), static_cast<int32_t>(canvasHeight), depth, fillValue);
    if (!frame) {
        d.source->error = kImageOutOfMemory;
        return kScanStop;
    }
    d.chainPixels += canvasPixels;
    // A copied base brings its own timing and colour key; this frame's come from the control in force.
    frame->transparency = kTransparencyNone;
    frame->transparentIndex = 0;
    frame->delay = 0;
    if (d.previous)
        ImageLinkFrame(frame, d.previous);
    else
        d.first = frame;
    if (d.previous && disposal == kDisposeToBackground) ImageFillRect(frame, &d.previousRect, fillValue);
    ImageSetPalette(frame, table);

    if (dataPos >= d.size) return kScanStop;
    uint32_t minCodeSize = d.data[dataPos];
    size_t resume = dataPos + 1;
    if (minCodeSize >= kMinCodeSizeLow && minCodeSize <= kMinCodeSizeHigh) {
        GifFrameTarget target = {
            frame, left, top, frameWidth, frameHeight, interlaced, d.control.transparent, d.control.transparentIndex};
        if (GifDecodeFrameData(d.data, d.size, dataPos + 1, minCodeSize, d.dict, d.line, target, &resume) ==
            kLzwNoFirstCode)
            return kScanStop;
    }
    if (d.control.transparent) {
        frame->transparency = kTransparencyColorKey;
        frame->transparentIndex = d.control.transparentIndex;
    }
    if (d.control.seen) frame->delay = d.control.delay * 10;
    d.previous = frame;
    d.previousRect = {static_cast<uint16_t>(left), static_cast<uint16_t>(top), static_cast<uint16_t>(frameWidth),
                      static_cast<uint16_t>(frameHeight)};
    d.previousDisposal = d.control.disposal;
    // Whatever follows the frame's last pixel is not image data: step over the rest of its sub-blocks.
    pos = SkipSubBlocks(d.data, d.size, resume);
    return kScanGoOn;
}

ScanResult ReadExtension(Decoder &d, size_t &pos)
{
    const uint8_t *ext = d.data + pos;
    size_t left = d.size - pos;
    if (left < 3) return kScanStop;
    uint8_t label = ext[1];
    if (label == kGraphicControl) {
        if (left < kGraphicControlSize) return kScanStop;
        d.control.seen = true;
        d.control.transparent = (ext[3] & 1) != 0;
        if (d.control.transparent) d.control.transparentIndex = ext[6];
        d.control.delay = ReadU16(ext + 4);
        d.control.disposal = (ext[3] >> 2) & 7u;
        // The terminator behind the block is stepped over by the scan's one-byte skip.
        pos += size_t{ext[2]} + 3;
        return kScanGoOn;
    }
    if (label == kApplication) {
        if (left >= 11 && std::memcmp(ext + 3, "NETSCAPE", 8) == 0) {
            if (left < kNetscapeLoopEnd) return kScanStop;
            uint32_t count = ReadU16(ext + 16);
            d.loopCount = count ? count + 1 : 0;
        }
        pos = SkipSubBlocks(d.data, d.size, pos + size_t{ext[2]} + 3);
        return kScanGoOn;
    }
    // Comments, plain text and unknown labels: only their sub-blocks are stepped over.
    pos = SkipSubBlocks(d.data, d.size, pos + 2);
    return kScanGoOn;
}

void Scan(Decoder &d, size_t pos)
{
    while (pos < d.size) {
        uint8_t byte = d.data[pos];
        ScanResult result = kScanGoOn;
        if (byte == kImageDescriptor)
            result = DecodeFrame(d, pos);
        else if (byte == kExtension)
            result = ReadExtension(d, pos);
        else if (byte == kTrailer)
            return;
        else
            ++pos;
        if (result == kScanStop) return;
    }
}

} // namespace

Image *GifDecode(CodecRegistry *, ImageSource *source, uint32_t)
{
    if (!source || !source->data) return nullptr;
    Decoder *d = static_cast<Decoder *>(std::calloc(1, sizeof(Decoder)));
    GifDictEntry *dict = static_cast<GifDictEntry *>(std::calloc(kGifDictSize, sizeof(GifDictEntry)));
    if (!d || !dict) {
        std::free(d);
        std::free(dict);
        source->error = kImageOutOfMemory;
        return nullptr;
    }
    d->source = source;
    d->data = source->data;
    d->size = source->size;
    d->dict = dict;
    d->loopCount = 1;
    if (d->size >= kScreenDescriptorEnd) {
        const uint8_t *screen = d->data;
        d->screenWidth = ReadU16(screen + 6);
        d->screenHeight = ReadU16(screen + 8);
        d->globalSizeField = screen[10] & 7u;
        d->background = screen[11];
        size_t pos = kScreenDescriptorEnd;
        bool haveTable = true;
        if (screen[10] & 0x80) {
            size_t tableBytes = size_t{3} << (d->globalSizeField + 1);
            haveTable = d->size - pos >= tableBytes;
            if (haveTable) {
                ConvertTable(d->data + pos, d->globalSizeField, d->globalTable);
                pos += tableBytes;
            }
        }
        if (haveTable) Scan(*d, pos);
    }
    Image *first = d->first;
    if (first) first->loopCount = d->loopCount;
    std::free(d->line);
    std::free(dict);
    std::free(d);
    return first;
}
