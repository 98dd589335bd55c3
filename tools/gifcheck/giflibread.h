// giflib reading a GIF held in memory: the golden check's reference and the benchmark's rival.
#pragma once
#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace giftest
{

struct GiflibMemory {
    const std::vector<uint8_t> *bytes;
    size_t pos;
};

inline int GiflibRead(GifFileType *gif, GifByteType *out, int count)
{
    auto *m = static_cast<GiflibMemory *>(gif->UserData);
    size_t n = std::min<size_t>(static_cast<size_t>(count), m->bytes->size() - m->pos);
    std::memcpy(out, m->bytes->data() + m->pos, n);
    m->pos += n;
    return static_cast<int>(n);
}

// The whole stream decoded by DGifSlurp, or null; memory must outlive it. Close it with DGifCloseFile.
inline GifFileType *GiflibSlurp(GiflibMemory &memory)
{
    int error = 0;
    GifFileType *gif = DGifOpen(&memory, GiflibRead, &error);
    if (gif && DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return nullptr;
    }
    return gif;
}

} // namespace giftest
