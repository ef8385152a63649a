// Name tables: the input, cut at form feeds, gives the command, api, math and strings
// tables in turn (tables not given stay the shipped ones). The warning is worked out, and
// the first names of every table are called as statements and in expressions.
#include "evaluator.h"
#include "funclist.h"
#include "fuzzhost.h"
#include "statements.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string text = quorfuzz::textof(data, size);
    quorfuzz::fuzzcontext c(quor::tdialect::editor);
    quor::tnametable* tables[] = {&c.funcs.commandnames, &c.funcs.apinames, &c.funcs.mathnames,
                                  &c.funcs.stringnames};
    std::size_t from = 0;
    for (quor::tnametable* t : tables) {
        if (from > text.size()) break;
        const std::size_t cut = std::min(text.find('\f', from), text.size());
        *t = quor::splittextlines(text.substr(from, cut - from));
        from = cut + 1;
    }
    quor::nametablewarning(c.funcs);
    c.run("x:=sqrt(16)\nprint('a'x)\nsetstr(t,'abc')\nprint(len(t))\nredim(m,t)\nmsg(getstr(t))");
    for (const quor::tnametable* t : tables) {
        for (std::size_t i = 0; i < t->size() && i < 20; ++i) {
            const std::string& n = (*t)[i];
            quor::tableindex(*t, n);
            c.guarded([&] { quor::execstatement(n + "(t,x)", c.vars, c.funcs, &c.host, c.session); });
            c.guarded([&] { quor::evaluate(n + "(1)+1", c.vars, &c.funcs, &c.host, c.session); });
        }
    }
    return 0;
}
