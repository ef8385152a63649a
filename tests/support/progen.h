#pragma once
// Random programs from the language's grammar, and the full transcript of a run, for
// comparing the fast path with the literal algorithms.
#include <cstdint>
#include <string>
#include <vector>

#include "session.h"

namespace quortest {

struct tprogram {
    std::vector<std::string> unit;      // function blocks loaded before the run
    std::vector<std::string> lines;     // the main procedure
    std::vector<std::string> answers;   // input-box answers ("<cancel>" cancels)
    long long steplimit = 20000;        // the run's step limit
    bool places = true;                 // boxes and memo lines show the place they stand on
};

// A random program; `loadfile` is a unit file the program may load mid-run.
tprogram randomprogram(std::uint32_t seed, const std::string& loadfile);

// Everything a run shows: boxes, questions, memo lines and dialogs in order, the event
// checks, the stopped place, the variable listing and the nesting counters afterwards.
std::string runtranscript(const tprogram& p, quor::tdialect d, bool reference);

// The unit text that randomprogram's loads read.
std::string loadedunittext();

// The program with an empty literal put first in the text of every setstr, which then
// writes its text anew instead of growing it.
tprogram withoutgrowth(tprogram p);

// Runs programs seed..seed+count-1 in both dialects on both paths, and on the fast path
// once more without growth; returns the first difference as a readable report, or "" when
// every transcript matched.
std::string comparepaths(std::uint32_t seed, int count, const std::string& loadfile, int& compared);

}  // namespace quortest
