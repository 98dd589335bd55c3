// The tests' GIF writer.
#include "tests/image/gifbuilder.h"

#include <unordered_map>

namespace giftest
{

std::vector<Rgb> RampTable(uint32_t sizeField)
{
    uint32_t count = 2u << sizeField;
    std::vector<Rgb> table(count);
    for (uint32_t i = 0; i < count; ++i)
        table[i] = {static_cast<uint8_t>(i * 7 + 1), static_cast<uint8_t>(i * 3 + 2), static_cast<uint8_t>(255 - i)};
    return table;
}

std::vector<uint8_t> CodeStream::Pack() const
{
    std::vector<uint8_t> out;
    uint64_t bits = 0;
    uint32_t count = 0;
    for (auto [code, width] : codes) {
        bits |= static_cast<uint64_t>(code) << count;
        count += width;
        while (count >= 8) {
            out.push_back(static_cast<uint8_t>(bits));
            bits >>= 8;
            count -= 8;
        }
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
    // Each code the encoder emits lets the decoder add one entry with the following code; the width
    // grows once the decoder's next entry would not fit.
    auto advance = [&]() {
        if (nextFree < 4096) {
            ++nextFree;
            if (nextFree > (1u << width) && width < 12) ++width;
        }
    };
    if (options.clearFirst) stream.Add(clear, width);
    if (!pixels.empty()) {
        uint32_t current = pixels[0];
        for (size_t i = 1; i < pixels.size(); ++i) {
            uint32_t key = current << 12 | pixels[i];
            auto found = dict.find(key);
            if (found != dict.end()) {
                current = found->second;
                continue;
            }
            stream.Add(current, width);
            if (nextFree < 4096) {
                dict[key] = nextFree;
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
    if (options.endCode) stream.Add(clear + 1, width);
    return stream;
}

void GifBuilder::U16(uint32_t v)
{
    data_.push_back(static_cast<uint8_t>(v));
    data_.push_back(static_cast<uint8_t>(v >> 8));
}

void GifBuilder::Table(const std::vector<Rgb> &table, uint32_t sizeField)
{
    uint32_t count = 2u << sizeField;
    for (uint32_t i = 0; i < count; ++i) {
        Rgb c = i < table.size() ? table[i] : Rgb{0, 0, 0};
        data_.insert(data_.end(), {c.r, c.g, c.b});
    }
}

GifBuilder &GifBuilder::Screen(uint16_t width, uint16_t height, int globalSizeField, uint8_t background,
                               const std::vector<Rgb> &table, bool gif89, uint8_t sizeBits)
{
    std::string signature = gif89 ? "GIF89a" : "GIF87a";
    data_.insert(data_.end(), signature.begin(), signature.end());
    U16(width);
    U16(height);
    uint8_t packed = sizeBits & 7;
    if (globalSizeField >= 0) packed = static_cast<uint8_t>(0x80 | 0x70 | globalSizeField);
    data_.push_back(packed);
    data_.push_back(background);
    data_.push_back(0);
    if (globalSizeField >= 0) Table(table.empty() ? RampTable(globalSizeField) : table, globalSizeField);
    return *this;
}

GifBuilder &GifBuilder::GraphicControl(uint32_t disposal, bool transparent, uint8_t transparentIndex, uint16_t delay)
{
    data_.insert(data_.end(), {0x21, 0xF9, 4, static_cast<uint8_t>((disposal & 7) << 2 | (transparent ? 1 : 0))});
    U16(delay);
    data_.push_back(transparentIndex);
    data_.push_back(0);
    return *this;
}

GifBuilder &GifBuilder::Netscape(uint16_t loops)
{
    data_.insert(data_.end(), {0x21, 0xFF, 11});
    std::string id = "NETSCAPE2.0";
    data_.insert(data_.end(), id.begin(), id.end());
    data_.insert(data_.end(), {3, 1});
    U16(loops);
    data_.push_back(0);
    return *this;
}

GifBuilder &GifBuilder::Comment(const std::string &text)
{
    data_.insert(data_.end(), {0x21, 0xFE});
    Bytes(SubBlocks(std::vector<uint8_t>(text.begin(), text.end())));
    return *this;
}

GifBuilder &GifBuilder::PlainText(const std::string &text)
{
    // Text-grid position and size, cell size, colours: 12 bytes in the first sub-block.
    data_.insert(data_.end(), {0x21, 0x01, 12, 0, 0, 0, 0, 8, 0, 8, 0, 8, 8, 1, 0});
    Bytes(SubBlocks(std::vector<uint8_t>(text.begin(), text.end())));
    return *this;
}

GifBuilder &GifBuilder::Frame(uint16_t width, uint16_t height, const std::vector<uint8_t> &pixels,
                              const FrameOptions &options)
{
    std::vector<uint8_t> ordered;
    if (options.interlaced) {
        static const uint32_t kStart[] = {0, 4, 2, 1};
        static const uint32_t kStep[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (uint32_t y = kStart[pass]; y < height; y += kStep[pass])
                ordered.insert(ordered.end(), pixels.begin() + y * width, pixels.begin() + (y + 1) * width);
    } else {
        ordered = pixels;
    }
    uint8_t packed = options.interlaced ? 0x40 : 0;
    int tableBits = options.localSizeField;
    if (options.localSizeField >= 0) packed |= static_cast<uint8_t>(0x80 | options.localSizeField);
    int minCodeSize = options.minCodeSize;
    if (minCodeSize < 0) {
        int bits = tableBits >= 0 ? tableBits + 1 : 8;
        if (tableBits < 0) {
            uint8_t highest = 0;
            for (uint8_t p : pixels)
                highest = p > highest ? p : highest;
            bits = 1;
            while ((1 << bits) <= highest)
                ++bits;
        }
        minCodeSize = bits < 2 ? 2 : bits;
    }
    data_.push_back(0x2C);
    U16(options.left);
    U16(options.top);
    U16(width);
    U16(height);
    data_.push_back(packed);
    if (options.localSizeField >= 0)
        Table(options.localTable.empty() ? RampTable(options.localSizeField) : options.localTable,
              options.localSizeField);
    data_.push_back(static_cast<uint8_t>(minCodeSize));
    CodeStream codes = EncodeLzw(ordered, static_cast<uint32_t>(minCodeSize), options.lzw);
    Bytes(SubBlocks(codes.Pack(), options.lzw.subBlockSize));
    return *this;
}

GifBuilder &GifBuilder::RawFrame(uint16_t left, uint16_t top, uint16_t width, uint16_t height, uint8_t packed,
                                 uint8_t minCodeSize, const std::vector<uint8_t> &subBlocks)
{
    data_.push_back(0x2C);
    U16(left);
    U16(top);
    U16(width);
    U16(height);
    data_.push_back(packed);
    data_.push_back(minCodeSize);
    Bytes(subBlocks);
    return *this;
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
        size_t n = bytes.size() - i < blockSize ? bytes.size() - i : blockSize;
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), bytes.begin() + i, bytes.begin() + i + n);
    }
    out.push_back(0);
    return out;
}

} // namespace giftest
