// Checking and running n nested if(1) blocks: the block check and each block's end and
// else are found in time linear in the lines; past the block limit the run stops cleanly.
#include <benchmark/benchmark.h>

#include "funclist.h"
#include "funcstore.h"
#include "quiethost.h"
#include "session.h"
#include "variables.h"

namespace {

void nestedifs(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    std::vector<std::string> source(n, "if(1)");
    source.push_back("x:=1");
    source.insert(source.end(), n, "end");
    quorbench::quiethost host;
    quor::tsession session(host, quor::tdialect::editor);
    quor::tfunclist funcs("bench", 2);
    for (auto _ : state) {
        quor::tvarlist vars("global", 2);
        quor::tfuncstore store("Main function");
        store.assignlines(source);
        if (!store.checkblocks(session).empty()) state.SkipWithError("the check failed");
        store.runstore(vars, funcs, &host, session);
        // Up to the block limit the innermost statement runs; beyond it the run stops.
        if (vars.varexists("x") != (n < quor::maxblockdepth)) state.SkipWithError("wrong outcome");
    }
}

}  // namespace

BENCHMARK(nestedifs)->Arg(2000)->Arg(4000)->Arg(8000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
