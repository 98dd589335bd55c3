// Golden descriptions of decoded GIFs: every frame's geometry, timing, transparency and checksums of
// its pixels and palette, one text block per file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace giftest
{

bool ReadWholeFile(const std::string &path, std::vector<uint8_t> &out);

// The block for one file, headed by its name.
std::string DescribeDecodedGif(const std::string &name, const std::vector<uint8_t> &bytes);

} // namespace giftest
