#pragma once
// The kernel's host: memo lines as the cell's output, boxes as marked output blocks that
// never wait, answers through the front end's input requests, plot windows as pictures.
#include <chrono>
#include <map>
#include <string>

#include "headlessplots.h"
#include "host.h"
#include "outlet.h"

namespace quorkernel {

// A cell's output is cut past this many bytes (memo lines and boxes together).
inline constexpr std::size_t maxcelloutput = 256 * 1024;
// At most this many plot pictures are shown for one cell; the others are noted.
inline constexpr int maxcellplots = 20;

class tkernelhost : public quor::thost, public quor::tmemo {
public:
    tkernelhost(quor::tvarlist& globals, quor::tsession& s);

    // A cell starts: output goes to outlet; input requests only when the front end allows.
    void begincell(toutlet& outlet, bool allowinput);
    // The cell ends: held text is sent, plot windows shown or updated, a cut noted.
    void endcell();
    // Sends the memo text held back.
    void flush();
    // A memo line as it stands (the kernel's own lines: stops, places).
    void line(const std::string& text);

    void showmessage(const std::string& text) override;
    bool inputbox(const std::string& caption, const std::string& prompt, const std::string& deflt,
                  std::string& answer) override;
    quor::tanswer question(const std::string& caption, const std::string& text) override;
    bool openfile(const std::string& dir, const std::string& pattern, std::string& path) override;
    // Between statements: memo text held back is sent every so often, so that lines
    // printed before a long silent computation are seen while it runs.
    void processevents() override
    {
        if (pacer_.due() && !held_.empty()) flush();
    }
    std::int32_t createplotwindow(const std::string& expr, const std::string& varname, quor::tvarlist& vars,
                                  quor::tfunclist* funcs, quor::tmemo* memo) override;
    void showplotwindow(std::int32_t handle) override;
    std::int32_t getdc(std::int32_t handle) override;
    std::int32_t showwnd(std::int32_t handle, std::int32_t mode) override;
    std::int32_t setwndtext(std::int32_t handle, const std::string& text) override;
    void errorreport(const std::string& text) override;

    void append(const std::string& line) override { this->line(line); }

private:
    // A marked block for a box of the given kind.
    void box(const std::string& kind, const std::string& text);
    // Counts bytes against the cell's limit; false once past it (the output is cut).
    bool room(std::size_t bytes);
    // Shows the plot windows opened or changed since the last call.
    void showplots();

    quor::tsession& session_;
    quor::theadlessplots plots_;
    toutlet* outlet_ = nullptr;
    bool allowinput_ = false;
    std::string held_;                   // memo text not yet sent
    std::chrono::steady_clock::time_point sent_;
    quor::tpacer pacer_{100};
    std::size_t used_ = 0;               // bytes of output of the running cell
    long long cut_ = 0;                  // lines and boxes left out past the limit
    long long refusedat_ = -1;
    int plotsshown_ = 0;                 // plot pictures shown for the running cell
    int plotscut_ = 0;                   // and those left out past maxcellplots           // the statement count at the last refused input
    struct tshown {
        std::string id;       // display id
        bool displayed = false;
        bool changed = true;
    };
    std::map<std::int32_t, tshown> shown_;   // plot windows by handle
    std::string idprefix_;                   // display ids differ from one kernel to the next
};

}  // namespace quorkernel
