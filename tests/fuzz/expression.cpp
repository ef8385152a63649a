// One expression: evaluated, assigned and run as a statement, in both dialects, with a
// few variables (a scalar, an array, a text) to refer to.
#include "evaluator.h"
#include "fuzzhost.h"
#include "statements.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string text = quorfuzz::textof(data, size);
    for (quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
        quorfuzz::fuzzcontext c(d);
        c.guarded([&] {
            c.vars.setvar("x", 0.5, &c.funcs, nullptr, c.session);
            c.vars.setvar("a[3]", 2, &c.funcs, nullptr, c.session);
            c.vars.settext("t", "abc");
        });
        c.guarded([&] { quor::evaluate(text, c.vars, &c.funcs, &c.host, c.session); });
        c.guarded([&] { quor::evalassign(text, c.vars, &c.funcs, &c.host, c.session); });
        c.guarded([&] { quor::execstatement(text, c.vars, c.funcs, &c.host, c.session); });
    }
    return 0;
}
