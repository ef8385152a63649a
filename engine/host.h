#pragma once
// The engine's only ways out to the platform: boxes, dialogs, windows, events and the memo.
#include <cstdint>
#include <string>

#include "enginefwd.h"

namespace quor {

enum class tanswer { yes, no, cancel };

// Everything the interpreter asks of the program that hosts it. Boxes are modal:
// evaluation continues after they return.
class thost {
public:
    virtual ~thost() = default;

    // A modal message box showing text.
    virtual void showmessage(const std::string& text) = 0;
    // A one-line input box; returns false when cancelled, else the answer in `answer`.
    virtual bool inputbox(const std::string& caption, const std::string& prompt,
                          const std::string& deflt, std::string& answer) = 0;
    // A Yes/No/Cancel question box.
    virtual tanswer question(const std::string& caption, const std::string& text) = 0;
    // A file-open dialog starting in dir with the file-name pattern; false when cancelled.
    virtual bool openfile(const std::string& dir, const std::string& pattern, std::string& path) = 0;
    // Lets pending window events be handled. Called before every statement, so it must be
    // cheap: a host with an event loop asks a tpacer whether it is time to look.
    virtual void processevents() = 0;
    // False for a host that has no events to let through (a console): its processevents is
    // then never called. Asked once, when a session starts.
    virtual bool hasevents() const { return true; }
    // Creates a plot window of expr over varname that evaluates against the given lists;
    // returns its handle (0 when no window could be made). It is shown by showplotwindow.
    virtual std::int32_t createplotwindow(const std::string& expr, const std::string& varname,
                                          tvarlist& vars, tfunclist* funcs, tmemo* memo) = 0;
    // Gives a window made by createplotwindow its first size: it samples and shows itself.
    virtual void showplotwindow(std::int32_t handle) = 0;
    // The three window commands, by handle; they return what the platform call returns.
    virtual std::int32_t getdc(std::int32_t handle) = 0;
    virtual std::int32_t showwnd(std::int32_t handle, std::int32_t mode) = 0;
    virtual std::int32_t setwndtext(std::int32_t handle, const std::string& text) = 0;
    // The application's general error report (errors raised outside a run).
    virtual void errorreport(const std::string& text) = 0;
    // Milliseconds since midnight UTC; seeds the random built-in.
    virtual std::int64_t clockms();
};

// Says when pending events are worth looking at: every `every` calls it reads a clock that
// costs no system call, and answers true once `ms` milliseconds have passed since the last
// true. The first call answers true.
class tpacer {
public:
    explicit tpacer(int ms = 10, int every = 64) : ms_(ms), every_(every) {}
    bool due();

private:
    int ms_, every_;
    int calls_ = 0;
    std::int64_t last_ = -1;
};

// The result memo: a multi-line text box the interpreter appends lines to.
class tmemo {
public:
    virtual ~tmemo() = default;
    virtual void append(const std::string& line) = 0;
    // A result line (what print writes) rather than a report; by default an ordinary line.
    virtual void appendresult(const std::string& line) { append(line); }
};

// Appends line to the memo; with no memo the report fails the statement instead.
void memoline(tmemo* memo, const std::string& line);
// The same for a result line.
void resultline(tmemo* memo, const std::string& line);

}  // namespace quor
