// A small GIF writer for the tests: assembles streams block by block, with an LZW encoder whose
// corners (no opening clear code, no clear on a full dictionary) can be chosen.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace giftest
{

struct LzwOptions {
    bool clearFirst = true;
    bool clearWhenFull = true; // false: keep coding with a full dictionary (deferred clear)
    uint32_t subBlockSize = 255;
};

// LZW codes (code, width) as the encoder emits them; Pack turns them into bytes.
struct CodeStream {
    std::vector<std::pair<uint32_t, uint32_t>> codes;
    void Add(uint32_t code, uint32_t width) { codes.emplace_back(code, width); }
    std::vector<uint8_t> Pack() const;
};

CodeStream EncodeLzw(const std::vector<uint8_t> &pixels, uint32_t minCodeSize, const LzwOptions &options = {});

struct FrameOptions {
    uint16_t left = 0;
    uint16_t top = 0;
    bool interlaced = false;
    int localSizeField = -1; // -1: no local table
    int minCodeSize = -1;    // -1: from the pixel values, at least 2
    LzwOptions lzw;
};

// Colour tables are ramps: entry i is (7i + 1, 3i + 2, 255 - i).
class GifBuilder
{
public:
    // globalSizeField -1 leaves the global table out; its size bits then read sizeBits.
    GifBuilder &Screen(uint16_t width, uint16_t height, int globalSizeField, uint8_t background = 0,
                       uint8_t sizeBits = 0);
    GifBuilder &GraphicControl(uint32_t disposal, bool transparent, uint8_t transparentIndex, uint16_t delay);
    GifBuilder &Netscape(uint16_t loops);
    GifBuilder &Extension(uint8_t label, const std::string &text);
    // pixels are width * height indices in picture order (top row first); interlacing is applied here.
    GifBuilder &Frame(uint16_t width, uint16_t height, const std::vector<uint8_t> &pixels,
                      const FrameOptions &options = {});
    // A frame of no table whose data is the given raw bytes after the minimum code size.
    GifBuilder &RawFrame(uint16_t width, uint16_t height, uint8_t minCodeSize, const std::vector<uint8_t> &subBlocks);
    GifBuilder &Bytes(const std::vector<uint8_t> &bytes);
    GifBuilder &Trailer();

    const std::vector<uint8_t> &Data() const { return data_; }

    // Data bytes cut into sub-blocks of at most blockSize bytes, with the zero terminator.
    static std::vector<uint8_t> SubBlocks(const std::vector<uint8_t> &bytes, uint32_t blockSize = 255);

private:
    void U16(uint32_t v);
    void Descriptor(uint16_t left, uint16_t top, uint16_t width, uint16_t height, uint8_t packed);
    void Table(uint32_t sizeField);
    std::vector<uint8_t> data_;
};

} // namespace giftest
