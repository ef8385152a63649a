#pragma once
// The runner's host: boxes and memo lines on the console, answers from standard input.
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "host.h"

namespace quor {
class tsession;
}

namespace quorcli {
class tplotside;
}

namespace quorcli {

// Escapes carriage return, line feed and backslash for one transcript line.
std::string escapeline(const std::string& text);

class tconsolehost : public quor::thost, public quor::tmemo {
public:
    tconsolehost(bool transcript, std::FILE* in, std::FILE* out, std::FILE* err);
    // Writes the line still held back for folding.
    ~tconsolehost() override;

    void showmessage(const std::string& text) override;
    bool inputbox(const std::string& caption, const std::string& prompt, const std::string& deflt,
                  std::string& answer) override;
    quor::tanswer question(const std::string& caption, const std::string& text) override;
    bool openfile(const std::string& dir, const std::string& pattern, std::string& path) override;
    void processevents() override {}
    bool hasevents() const override { return false; }
    std::int32_t createplotwindow(const std::string& expr, const std::string& varname, quor::tvarlist& vars,
                                  quor::tfunclist* funcs, quor::tmemo* memo) override;
    void showplotwindow(std::int32_t handle) override;
    std::int32_t getdc(std::int32_t handle) override;
    std::int32_t showwnd(std::int32_t handle, std::int32_t mode) override;
    std::int32_t setwndtext(std::int32_t handle, const std::string& text) override;
    void errorreport(const std::string& text) override;

    // Memo lines: reports go where boxes go in plain mode, results to standard output.
    void append(const std::string& line) override;
    void appendresult(const std::string& line) override;

    // A transcript line "kind: text".
    void event(const std::string& kind, const std::string& text);
    // A line on standard output as it stands.
    void result(const std::string& line);
    // A line on standard error, "quor: text"; identical consecutive lines are folded.
    void complain(const std::string& text);
    // Writes out a folded line held back.
    void flush();

    // Plot windows are served by these boards when set.
    tplotside* plots = nullptr;
    // Plain-mode reports name the place of the running statement of this session, in
    // this file when the statement's own file is not known.
    const quor::tsession* session = nullptr;
    std::string program;
    // Boxes, error lines and error reports so far.
    int faults = 0;

private:
    // One line of standard input; false at its end.
    bool readline(std::string& line);
    // A box or error line in plain mode, prefixed with the statement's place.
    void report(const std::string& text);

    bool transcript_;
    std::FILE* in_;
    std::FILE* out_;
    std::FILE* err_;
    bool inputended_ = false;
    std::string held_;   // the last line for standard error, not yet written
    int heldcount_ = 0;  // how many times it came
    std::chrono::steady_clock::time_point heldsince_;
};

}  // namespace quorcli
