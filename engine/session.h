#pragma once
// The run-time setting every engine operation receives: host, dialect and nesting guards.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "bigstack.h"
#include "enginefwd.h"

namespace quor {

// The two programs read a few things differently; the plotter's variant is `plotter`.
enum class tdialect { editor, plotter };

// Runs the body of a user function in its temporary list; reports its own faults.
class tbodyrunner {
public:
    virtual ~tbodyrunner() = default;
    virtual void runbody(const tfuncitem& item, tvarlist& temp, tfunclist& funcs, tmemo* memo,
                         class tsession& s) = 0;
};

// Where a statement stands: the file its lines came from (null or empty when not known)
// and its 1-based line there (0 when no statement is running).
struct tsourceplace {
    const std::string* file = nullptr;
    int line = 0;
};

// Limits on nesting: deeper groups or calls fail like any other call fault.
inline constexpr int maxgroupdepth = 1000;   // nested brackets within one evaluation
// Nested user-function calls: as deep as the run's stack allows (less in sanitized builds).
inline constexpr int maxcalldepth = fullnesting ? 150000 : 2000;
inline constexpr int maxblockdepth = 5000;   // nested flow blocks and statement runs
// Elements that the temporary lists of the running calls may hold together (1 GiB).
inline constexpr long long maxcopiedelements = 1LL << 27;
// Expression text that nested evaluations may hold together (64 MiB).
inline constexpr long long maxevalbytes = 1LL << 26;

class tsession {
public:
    tsession(thost& host, tdialect dialect);

    thost& host;
    tdialect dialect;
    // Runs user-function bodies; the function store is the usual runner.
    tbodyrunner* bodyrunner = nullptr;

    // Runs everything through the literal algorithms instead of the compiled fast path;
    // both give the same results, boxes and memo lines.
    bool reference = false;
    // The fast path's scanned statements and expressions, made on first use.
    std::shared_ptr<class tcodecache> code;
    // The fast path's spare variable lists, reused by user calls for their temporary lists.
    std::shared_ptr<class tlistpool> lists;

    bool editor() const { return dialect == tdialect::editor; }
    bool plotter() const { return dialect == tdialect::plotter; }

    // Current nesting, maintained by tnestguard.
    int groupdepth = 0;
    int calldepth = 0;
    int blockdepth = 0;
    // Elements held by the temporary lists of the calls now running, and their limit
    // (hosts with less memory lower it).
    long long copiedelements = 0;
    long long copylimit = maxcopiedelements;
    // Bytes of expression text held by the evaluations now running.
    long long evalbytes = 0;
    // The statement now running, kept up to date by the function stores' runs.
    tsourceplace place;

    // Statements and ranges of lines run so far, and the most a run may take (0: no
    // limit). Hosts that must finish whatever the program (fuzzing) set a limit.
    long long steps = 0;
    long long steplimit = 0;
    // Counts one step; past the limit fails, and goes on failing, with steplimitmessage.
    void step()
    {
        if (steplimit > 0 && ++steps > steplimit) steplimitreached();
    }
    // What every statement does first: pending events run (editor only), a step is counted,
    // and a requested stop raises tstopped unless inside event handling.
    void beforestatement()
    {
        if (events_ && editor()) runevents();
        step();
        if (stoprequested && eventdepth == 0) stop();
    }
    // True when the next n steps would let nothing through between them: no events are
    // run, no stop is asked for and the step limit is not reached.
    bool quietsteps(long long n) const
    {
        return !(events_ && editor()) && !stoprequested && (steplimit <= 0 || steps + n <= steplimit);
    }
    // Counts n steps that quietsteps(n) allowed.
    void countsteps(long long n)
    {
        if (steplimit > 0) steps += n;
    }
    // A pass over no statements (an empty loop body): pending events run and a requested
    // stop is honoured as before a statement, so that such a loop can be stopped too.
    void idlepass()
    {
        if (events_ && editor()) runevents();
        if (stoprequested && eventdepth == 0) stop();
    }
    // Set by the host to end the running program at its next statement (raising tstopped);
    // the starter of the run clears it.
    bool stoprequested = false;
    // Pending-event handlers now running: a statement evaluated inside one never raises the
    // stop, which must not unwind through the platform's event handling.
    int eventdepth = 0;

    // Fails with a nesting fault when less than a safety margin of stack is left.
    void checkstack() const
    {
        // The stack grows down: below the floor is past the budget.
        if (reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)) < stackfloor_) stackexhausted();
    }

    // The random built-in's generator state: seeded from the host's clock on first use,
    // then stepped by every call, so calls within one millisecond still differ.
    std::uint32_t& randomseed();

private:
    void runevents();
    [[noreturn]] static void stop();
    [[noreturn]] void steplimitreached() const;
    [[noreturn]] static void stackexhausted();
    bool events_;   // the host has pending events to let through
    bool seeded_ = false;
    std::uint32_t seed_ = 0;
    std::uintptr_t stackfloor_ = 0;   // lowest frame address the budget allows
};

// The nesting fault past limit: its message goes to the memo (when there is one) and is raised.
[[noreturn]] void nestingfault(int limit, tmemo* memo);

// Counts one level of nesting of the session's Counter for the guarded scope; fails past
// Limit. Without Stack the stack is not looked at: for a scope whose caller has just
// looked, a few frames up.
template <int tsession::*Counter, int Limit, bool Stack = true>
class tnestguard {
public:
    tnestguard(tsession& s, tmemo* memo) : s_(s)
    {
        if (s.*Counter >= Limit) nestingfault(Limit, memo);
        if (Stack) s.checkstack();
        ++(s.*Counter);
    }
    ~tnestguard() { --(s_.*Counter); }
    tnestguard(const tnestguard&) = delete;
    tnestguard& operator=(const tnestguard&) = delete;

private:
    tsession& s_;
};

// Adds n to a counter for the life of the scope.
template <class T>
class tcharge {
public:
    tcharge(T& counter, T n) : counter_(counter), n_(n) { counter_ += n_; }
    ~tcharge() { counter_ -= n_; }
    tcharge(const tcharge&) = delete;
    tcharge& operator=(const tcharge&) = delete;

private:
    T& counter_;
    T n_;
};

// Restores the session's statement place when the scope ends.
class tplaceguard {
public:
    // Field by field: a copy of the whole record would be one wide load just after the
    // narrower stores that set the place, which the processor cannot forward (a stall per
    // loop pass).
    explicit tplaceguard(tsession& s) : s_(s), file_(s.place.file), line_(s.place.line) {}
    ~tplaceguard()
    {
        s_.place.file = file_;
        s_.place.line = line_;
    }
    tplaceguard(const tplaceguard&) = delete;
    tplaceguard& operator=(const tplaceguard&) = delete;

private:
    tsession& s_;
    const std::string* file_;
    int line_;
};

// The message of a nesting fault.
std::string nestingmessage(int limit);
// The message of a run past its step limit.
std::string steplimitmessage(long long limit);


}  // namespace quor
