#pragma once
// The setting every fuzz target runs in: a scripted host that keeps no texts (a run may
// print without end), the shipped name tables, and limits that keep one run within the
// fuzzer's memory and time: 2^24 elements per list and for the copies of running calls
// (128 MiB each, within -rss_limit_mb=2048 with the sanitizers' own use), and 20,000 steps.
#include <string>
#include <vector>

#include "fixture.h"
#include "funcstore.h"
#include "units.h"

namespace quorfuzz {

class quiethost : public quortest::scriptedhost {
public:
    void showmessage(const std::string&) override {}
    void append(const std::string&) override {}
    void errorreport(const std::string&) override {}
    quor::tanswer question(const std::string&, const std::string&) override { return quor::tanswer::no; }
    // As in the runner, asking again once the answers have run out fails the statement
    // (inputnum with a default that is no number would ask for ever).
    bool inputbox(const std::string& caption, const std::string& prompt, const std::string& deflt,
                  std::string& answer) override
    {
        if (answers.empty()) throw quor::tfault("Error on input: the input has ended");
        const bool ok = scriptedhost::inputbox(caption, prompt, deflt, answer);
        events.clear();
        return ok;
    }
};

struct fuzzcontext {
    explicit fuzzcontext(quor::tdialect d) : session(host, d), vars("global", 2), funcs("fuzz", 2)
    {
        funcs.mathnames = quortest::mathtable();
        funcs.commandnames = quortest::commandtable();
        funcs.apinames = quortest::apitable();
        funcs.stringnames = quortest::stringtable();
        vars.elementlimit = std::int64_t(1) << 24;
        session.copylimit = 1LL << 24;
        session.steplimit = 20000;
        host.answers = {"1", "abc", "<cancel>", "2"};
        host.files = {"<cancel>"};
    }

    quiethost host;
    quor::tsession session;
    quor::tvarlist vars;
    quor::tfunclist funcs;

    // Runs program text as the runner does: checked, then run; faults are reports.
    void run(const std::string& text)
    {
        quor::tfuncstore store("Main function");
        store.assignlines(quor::splittextlines(text));
        if (store.checkblocks(session).empty()) store.runstore(vars, funcs, &host, session);
    }
    // Anything an evaluation raises is a fault of the program, not of the engine.
    template <class F>
    void guarded(F f)
    {
        try {
            f();
        } catch (const quor::tfault&) {
        }
    }
};

inline std::string textof(const unsigned char* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace quorfuzz
