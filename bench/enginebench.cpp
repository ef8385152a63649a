// Interpreter benchmarks on the fast path (the default) and, where the literal algorithms
// finish in reasonable time, on the reference: a long sum in one expression, and user calls
// with and without a big array alive.
#include <benchmark/benchmark.h>

#include <string>

#include "funclist.h"
#include "funcstore.h"
#include "quiethost.h"
#include "session.h"
#include "statements.h"
#include "units.h"
#include "variables.h"

namespace {

struct engine {
    quorbench::quiethost host;
    quor::tsession session{host, quor::tdialect::editor};
    quor::tvarlist vars{"global", 2};
    quor::tfunclist funcs{"bench", 2};
    explicit engine(bool reference)
    {
        session.reference = reference;
        funcs.commandnames = {"delvar", "cleararr", "load", "plot", "print", "setvar", "redim", "msg", "inputnum", "len", "getdim"};
        quor::loadunitlines({"function y=inc(p)", "y:=p+1", "endfunction"}, funcs, quor::tdialect::editor);
    }
    void run(const std::vector<std::string>& lines)
    {
        quor::tfuncstore store("Main function");
        store.assignlines(lines);
        store.runstore(vars, funcs, &host, session);
    }
};

// x:=1+1+...+1 with 200,000 terms: linear in the number of terms.
void sumterms(benchmark::State& state, bool reference)
{
    engine e(reference);
    std::string text = "x:=1";
    for (int i = 1; i < 200000; ++i) text += "+1";
    for (auto _ : state) benchmark::DoNotOptimize(quor::execstatement(text, e.vars, e.funcs, &e.host, e.session));
}
void BM_sum200k(benchmark::State& state) { sumterms(state, false); }
void BM_sum200k_reference(benchmark::State& state) { sumterms(state, true); }

// 1,000 calls of a one-line user function, with or without a 100,000-element array alive;
// with `write`, the caller also writes one element of the array after each call, which must
// not copy it (the call's temporary list lets go of the elements it shared).
void usercalls(benchmark::State& state, bool bigarray, bool reference, bool write = false)
{
    engine e(reference);
    if (bigarray) e.vars.setelement("big", 99999, 1);
    if (write) {
        for (auto _ : state) e.run({"k:=0", "for(i:=1:1000)", "k:=inc(k)", "big[5]:=k", "end"});
        return;
    }
    for (auto _ : state) e.run({"k:=0", "for(i:=1:1000)", "k:=inc(k)", "end"});
}
void BM_calls1000_bigarray_write(benchmark::State& state) { usercalls(state, true, false, true); }
void BM_calls1000(benchmark::State& state) { usercalls(state, false, false); }
void BM_calls1000_bigarray(benchmark::State& state) { usercalls(state, true, false); }
void BM_calls1000_reference(benchmark::State& state) { usercalls(state, false, true); }

BENCHMARK(BM_sum200k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_sum200k_reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_calls1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_calls1000_bigarray)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_calls1000_reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_calls1000_bigarray_write)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
