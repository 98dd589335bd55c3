// The tests' GIF writer.
#include "tests/image/gifbuilder.h"

#include <algorithm>
#include <unordered_map>

namespace giftest
{

std::vector<uint8_t> CodeStream::Pack() const
{
    std::vector<uint8_t> out;
    uint64_t bits = 0;
    uint32_t count = 0;
    for (auto [code, width] : codes) {
        bits |= static_cast<uint64_t>(code) << count;
        for (count += width; count >= 8; count -= 8, bits >>= 8)
            out.push_back(static_cast<uint8_t>(bits));
    }
    if (count) out.push_back(static_cast<uint8_t>(bits));
    return out;
}

CodeStream EncodeLzw(const std::vector<uint8_t> &pixels, uint32_t minCodeSize, const LzwOptions &options)
{
    CodeStream stream;
    const uint32_t clear = 1u << minCodeSize;
    uint32_t width = minCodeSize + 1;
    uint32_t nextFree = clear + 2;
    std::unordered_map<uint32_t, uint32_t> dict;
    // Each code emitted lets the decoder add one entry with the following code; the width grows once
    // the decoder's next entry would not fit.
    auto advance = [&]() {
        if (nextFree < 4096 && ++nextFree > (1u << width) && width < 12) ++width;
    };
    if (options.clearFirst) stream.Add(clear, width);
    if (!pixels.empty()) {
        uint32_t current = pixels[0];
        for (size_t i = 1; i < pixels.size(); ++i) {
            auto found = dict.find(current << 12 | pixels[i]);
            if (found != dict.end()) {
                current = found->second;
                continue;
            }
            stream.Add(current, width);
            if (nextFree < 4096) {
                dict[current << 12 | pixels[i]] = nextFree;
                advance();
            } else if (options.clearWhenFull) {
                stream.Add(clear, width);
                dict.clear();
                nextFree = clear + 2;
                width = minCodeSize + 1;
            }
            current = pixels[i];
        }
        stream.Add(current, width);
        advance();
    }
    stream.Add(clear + 1, width);
    return stream;
}

void GifBuilder::U16(uint32_t v)
{
    data_.insert(data_.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
}

void GifBuilder::Table(uint32_t sizeField)
{
    for (uint32_t i = 0; i < (2u << sizeField); ++i)
        data_.insert(data_.end(),
                     {static_cast<uint8_t>(i * 7 + 1), static_cast<uint8_t>(i * 3 + 2), static_cast<uint8_t>(255 - i)});
}

void GifBuilder::Descriptor(uint16_t left, uint16_t top, uint16_t width, uint16_t height, uint8_t packed)
{
    data_.push_back(0x2C);
    for (uint16_t v : {left, top, width, height})
        U16(v);
    data_.push_back(packed);
}

GifBuilder &GifBuilder::Screen(uint16_t width, uint16_t height, int globalSizeField, uint8_t background,
                               uint8_t sizeBits)
{
    data_.insert(data_.end(), {'G', 'I', 'F', '8', '9', 'a'});
    U16(width);
    U16(height);
    data_.push_back(globalSizeField >= 0 ? static_cast<uint8_t>(0xF0 | globalSizeField) : (sizeBits & 7));
    data_.insert(data_.end(), {background, 0});
    if (globalSizeField >= 0) Table(static_cast<uint32_t>(globalSizeField));
    return *this;
}

GifBuilder &GifBuilder::GraphicControl(uint32_t disposal, bool transparent, uint8_t transparentIndex, uint16_t delay)
{
    data_.insert(data_.end(), {0x21, 0xF9, 4, static_cast<uint8_t>((disposal & 7) << 2 | (transparent ? 1 : 0))});
    U16(delay);
    data_.insert(data_.end(), {transparentIndex, 0});
    return *this;
}

GifBuilder &GifBuilder::Netscape(uint16_t loops)
{
    std::string id = "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
    data_.insert(data_.end(), id.begin(), id.end());
    U16(loops);
    data_.push_back(0);
    return *this;
}

GifBuilder &GifBuilder::Extension(uint8_t label, const std::string &text)
{
    data_.insert(data_.end(), {0x21, label});
    return Bytes(SubBlocks(std::vector<uint8_t>(text.begin(), text.end())));
}

GifBuilder &GifBuilder::Frame(uint16_t width, uint16_t height, const std::vector<uint8_t> &pixels,
                              const FrameOptions &options)
{
    std::vector<uint8_t> ordered = pixels;
    if (options.interlaced) {
        ordered.clear();
        const uint32_t start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (uint32_t y = start[pass]; y < height; y += step[pass])
                ordered.insert(ordered.end(), pixels.begin() + y * width, pixels.begin() + (y + 1) * width);
    }
    int minCodeSize = options.minCodeSize;
    if (minCodeSize < 0) {
        uint8_t highest = 0;
        for (uint8_t p : pixels)
            highest = p > highest ? p : highest;
        for (minCodeSize = 2; (1 << minCodeSize) <= highest; ++minCodeSize) {
        }
    }
    uint8_t packed = options.interlaced ? 0x40 : 0;
    if (options.localSizeField >= 0) packed |= static_cast<uint8_t>(0x80 | options.localSizeField);
    Descriptor(options.left, options.top, width, height, packed);
    if (options.localSizeField >= 0) Table(static_cast<uint32_t>(options.localSizeField));
    data_.push_back(static_cast<uint8_t>(minCodeSize));
    return Bytes(SubBlocks(EncodeLzw(ordered, static_cast<uint32_t>(minCodeSize), options.lzw).Pack(),
                           options.lzw.subBlockSize));
}

GifBuilder &GifBuilder::RawFrame(uint16_t width, uint16_t height, uint8_t minCodeSize,
                                 const std::vector<uint8_t> &subBlocks)
{
    Descriptor(0, 0, width, height, 0);
    data_.push_back(minCodeSize);
    return Bytes(subBlocks);
}

GifBuilder &GifBuilder::Bytes(const std::vector<uint8_t> &bytes)
{
    data_.insert(data_.end(), bytes.begin(), bytes.end());
    return *this;
}

GifBuilder &GifBuilder::Trailer()
{
    data_.push_back(0x3B);
    return *this;
}

std::vector<uint8_t> GifBuilder::SubBlocks(const std::vector<uint8_t> &bytes, uint32_t blockSize)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < bytes.size(); i += blockSize) {
        size_t n = std::min<size_t>(bytes.size() - i, blockSize);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), bytes.begin() + i, bytes.begin() + i + n);
    }
    out.push_back(0);
    return out;
}

} // namespace giftest
