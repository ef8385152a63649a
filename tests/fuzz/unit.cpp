// A unit text: loaded, its functions listed and found, its lines checked, and every
// function it defines called once with arguments 1, 2, ...
#include "evaluator.h"
#include "funclist.h"
#include "fuzzhost.h"
#include "unittext.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::vector<std::string> lines = quor::splittextlines(quorfuzz::textof(data, size));
    for (quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
        quorfuzz::fuzzcontext c(d);
        std::vector<std::string> names;
        quor::listfuncnames(lines, names);
        for (const std::string& n : names) {
            int first = 0, last = 0;
            quor::findfunclines(n, lines, first, last);
        }
        for (int i = 0; i < static_cast<int>(lines.size()) && i < 64; ++i) {
            quor::checkbrackets(lines[static_cast<std::size_t>(i)], d);
            quor::getlineoffset(i, lines);
        }
        c.guarded([&] { quor::loadunitlines(lines, c.funcs, d); });
        for (int i = 0; i < c.funcs.count() && i < 16; ++i) {
            const quor::tfuncitem& f = c.funcs.item(i);
            std::string call = f.name + "(";
            for (int k = 0; k < f.paramcount() && k < 8; ++k) call += (k ? "," : "") + std::to_string(k + 1);
            c.guarded([&] { quor::evaluate(call + ")", c.vars, &c.funcs, &c.host, c.session); });
        }
    }
    return 0;
}
