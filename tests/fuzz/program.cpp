// A whole program run with a unit: the text before a line "%%" is the unit, the rest the
// program (all of it when there is no such line); run in both dialects.
#include "fuzzhost.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string text = quorfuzz::textof(data, size);
    const std::size_t cut = text.find("\n%%\n");
    const std::string unit = cut == std::string::npos ? "" : text.substr(0, cut);
    const std::string program = cut == std::string::npos ? text : text.substr(cut + 4);
    for (quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
        quorfuzz::fuzzcontext c(d);
        c.guarded([&] { quor::loadunitlines(quor::splittextlines(unit), c.funcs, d); });
        c.run(program);
    }
    return 0;
}
