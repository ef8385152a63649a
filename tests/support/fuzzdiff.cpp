// fuzzdiff N [SEED]: compares N random programs on the fast path and the literal
// algorithms, in both dialects; prints the first difference and exits 1, else the count.
// fuzzdiff --files UNIT PROGRAM: compares one program (its lines, with the unit's functions
// loaded first) the same way, to cut a difference found down to its cause.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bigstack.h"
#include "progen.h"

namespace {

std::vector<std::string> readlines(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

int comparefiles(const char* unit, const char* program)
{
    quortest::tprogram p;
    p.unit = readlines(unit);
    p.lines = readlines(program);
    int differences = 0;
    for (const quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
        const std::string fast = quortest::runtranscript(p, d, false);
        const std::string literal = quortest::runtranscript(p, d, true);
        if (fast == literal) continue;
        ++differences;
        std::printf("%s\n--- fast\n%s--- reference\n%s", d == quor::tdialect::editor ? "editor" : "plotter",
                    fast.c_str(), literal.c_str());
    }
    if (differences == 0) std::printf("fuzzdiff: no difference\n");
    return differences == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    // As the test programs: runaway recursion stops at the nesting limit, which both paths
    // reach, and not where the default stack of either runs out.
    quor::restartwithbigstack(argv);
    if (argc == 4 && std::string(argv[1]) == "--files") return comparefiles(argv[2], argv[3]);
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
