#pragma once
// The runner's host: boxes and memo lines on the console, answers from standard input.
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "host.h"

namespace quorcli {
class tplotside;
}

namespace quorcli {

// Escapes carriage return, line feed and backslash for one transcript line.
std::string escapeline(const std::string& text);

class tconsolehost : public quor::thost, public quor::tmemo {
public:
    tconsolehost(bool transcript, std::FILE* in, std::FILE* out, std::FILE* err);

    void showmessage(const std::string& text) override;
    bool inputbox(const std::string& caption, const std::string& prompt, const std::string& deflt,
                  std::string& answer) override;
    quor::tanswer question(const std::string& caption, const std::string& text) override;
    bool openfile(const std::string& dir, const std::string& pattern, std::string& path) override;
    void processevents() override {}
    std::int32_t createplotwindow(const std::string& expr, const std::string& varname, quor::tvarlist& vars,
                                  quor::tfunclist* funcs, quor::tmemo* memo) override;
    void showplotwindow(std::int32_t handle) override;
    std::int32_t getdc(std::int32_t handle) override;
    std::int32_t showwnd(std::int32_t handle, std::int32_t mode) override;
    std::int32_t setwndtext(std::int32_t handle, const std::string& text) override;
    void errorreport(const std::string& text) override;

    void append(const std::string& line) override;

    // A transcript line "kind: text", or the plain form of the event.
    void event(const std::string& kind, const std::string& text);
    // A line on standard error, "quor: text".
    void complain(const std::string& text);

    // Plot windows are served by these boards when set.
    tplotside* plots = nullptr;

private:
    // One line of standard input; false at its end.
    bool readline(std::string& line);

    bool transcript_;
    std::FILE* in_;
    std::FILE* out_;
    std::FILE* err_;
    bool inputended_ = false;
};

}  // namespace quorcli
