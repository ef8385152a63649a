// A data file for load: written to a file of its own and loaded in both dialects, then
// the variables it set are listed.
#include <stdlib.h>
#include <unistd.h>

#include <fstream>

#include "fuzzhost.h"
#include "statements.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    static const std::string dir = [] {
        char templ[] = "/tmp/quorfuzzXXXXXX";
        const char* made = mkdtemp(templ);
        return std::string(made ? made : "/tmp");
    }();
    const std::string path = dir + "/data-" + std::to_string(getpid()) + ".txt";
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                   static_cast<std::streamsize>(size));
    for (quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
        quorfuzz::fuzzcontext c(d);
        c.guarded([&] { quor::execstatement("load('" + path + "')", c.vars, c.funcs, &c.host, c.session); });
        std::vector<std::string> lines;
        c.vars.listvars(lines);
    }
    return 0;
}
