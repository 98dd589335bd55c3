// Prints the golden descriptions of the named GIFs in a folder; image_golden_update writes them to
// data/golden.txt.
#include <cstdio>

#include "tests/image/golden.h"

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> <name.gif>...\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::vector<uint8_t> bytes;
        if (!giftest::ReadWholeFile(folder + "/" + argv[i], bytes)) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        std::fputs(giftest::DescribeDecodedGif(argv[i], bytes).c_str(), stdout);
    }
    return 0;
}
