// fuzzdiff N [SEED]: compares N random programs on the fast path and the literal
// algorithms, in both dialects; prints the first difference and exits 1, else the count.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "progen.h"

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 1000;
    const std::uint32_t seed = argc > 2 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 100000;
    const std::filesystem::path unit = std::filesystem::temp_directory_path() /
                                       ("quor-fuzzdiff-" + std::to_string(seed) + ".txt");
    std::ofstream(unit, std::ios::binary) << quortest::loadedunittext();
    int compared = 0;
    const std::string difference = quortest::comparepaths(seed, n, unit.string(), compared);
    std::filesystem::remove(unit);
    if (!difference.empty()) {
        std::printf("%s", difference.c_str());
        std::printf("fuzzdiff: a difference after %d identical runs\n", compared);
        return 1;
    }
    std::printf("fuzzdiff: %d programs, %d runs compared (seeds %u..%u, both dialects), no difference\n", n, compared,
                seed, seed + static_cast<std::uint32_t>(n) - 1);
    return 0;
}
