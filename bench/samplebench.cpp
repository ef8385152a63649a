// Sampling a curve over a full default window: one evaluation per pixel column, as on
// every resize, zoom, restore and move. Target: well under 16 ms per sampling.
#include <benchmark/benchmark.h>

#include "funclist.h"
#include "quiethost.h"
#include "sampling.h"
#include "session.h"
#include "units.h"
#include "variables.h"

namespace {

void samplewindow(benchmark::State& state, quor::tdialect dialect)
{
    quorbench::quiethost host;
    quor::tsession session(host, dialect);
    quor::tvarlist vars("global", 2);
    quor::tfunclist funcs("bench", 2);
    funcs.mathnames = {"abs", "tan", "atan", "cos", "exp", "frac", "ln", "odd", "pi", "random",
                       "round", "sin", "sqr", "sqrt", "trunc", "val"};
    funcs.commandnames = {"delvar", "cleararr", "load", "plot", "print", "setvar", "redim", "msg", "inputnum", "len", "getdim"};
    funcs.apinames = {"getdc", "showwnd", "setwndtext"};
    funcs.stringnames = {"getstr", "setstr", "inputstr", "strcpy"};
    for (auto _ : state) {
        quor::tviewinfo view;
        view.right = 535;   // the default window's area: 536 columns
        view.bottom = 329;
        view.xmin = 1;
        view.xmax = 20;
        view.fixedrange = true;
        benchmark::DoNotOptimize(quor::samplecurve("sin(x)*x", "x", view, vars, funcs, &host, session));
    }
}

// The same window sampling a user function while a 100,000-element array is alive: every
// sample is a call, whose temporary list shares the array instead of copying it.
void BM_samplecurve_userfunc_bigarray(benchmark::State& state)
{
    quorbench::quiethost host;
    quor::tsession session(host, quor::tdialect::plotter);
    quor::tvarlist vars("global", 2);
    quor::tfunclist funcs("bench", 2);
    funcs.mathnames = {"abs", "tan", "atan", "cos", "exp", "frac", "ln", "odd", "pi", "random",
                       "round", "sin", "sqr", "sqrt", "trunc", "val"};
    quor::loadunitlines({"function y=wave(t)", "y:=sin(t)*t", "endfunction"}, funcs, quor::tdialect::plotter);
    vars.setelement("big", 99999, 1);
    for (auto _ : state) {
        quor::tviewinfo view;
        view.right = 535;
        view.bottom = 329;
        view.xmin = 1;
        view.xmax = 20;
        view.fixedrange = true;
        benchmark::DoNotOptimize(quor::samplecurve("wave(x)", "x", view, vars, funcs, &host, session));
    }
}
BENCHMARK(BM_samplecurve_userfunc_bigarray)->Unit(benchmark::kMillisecond);

void BM_samplecurve_editor(benchmark::State& state) { samplewindow(state, quor::tdialect::editor); }
void BM_samplecurve_plotter(benchmark::State& state) { samplewindow(state, quor::tdialect::plotter); }

BENCHMARK(BM_samplecurve_editor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_samplecurve_plotter)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
