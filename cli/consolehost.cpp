#include "consolehost.h"

#include "fault.h"
#include "plotside.h"
#include "session.h"

namespace quorcli {

std::string escapeline(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

tconsolehost::tconsolehost(bool transcript, std::FILE* in, std::FILE* out, std::FILE* err)
    : transcript_(transcript), in_(in), out_(out), err_(err)
{
}

tconsolehost::~tconsolehost() { flush(); }

void tconsolehost::event(const std::string& kind, const std::string& text)
{
    if (text.empty() && kind == "cancel") std::fprintf(out_, "cancel\n");
    else std::fprintf(out_, "%s: %s\n", kind.c_str(), escapeline(text).c_str());
    std::fflush(out_);
}

void tconsolehost::complain(const std::string& text)
{
    // A line repeated without end (a loop) is still written every few seconds.
    constexpr auto longest = std::chrono::seconds(5);
    if (heldcount_ > 0 && text == held_) {
        ++heldcount_;
        if (std::chrono::steady_clock::now() - heldsince_ >= longest) flush();
        return;
    }
    flush();
    held_ = text;
    heldcount_ = 1;
    heldsince_ = std::chrono::steady_clock::now();
}

void tconsolehost::flush()
{
    if (heldcount_ == 0) return;
    std::fflush(out_);
    if (heldcount_ > 1) std::fprintf(err_, "quor: %s (repeated %d times)\n", held_.c_str(), heldcount_);
    else std::fprintf(err_, "quor: %s\n", held_.c_str());
    std::fflush(err_);
    heldcount_ = 0;
    held_.clear();
}

void tconsolehost::result(const std::string& line)
{
    flush();
    std::fprintf(out_, "%s\n", line.c_str());
    std::fflush(out_);
}

void tconsolehost::report(const std::string& text)
{
    std::string place;
    if (session && session->place.line > 0) {
        const std::string* file = session->place.file;
        place = (file && !file->empty() ? *file : program) + ":" + std::to_string(session->place.line) + ": ";
    }
    complain(place + text);
}

bool tconsolehost::readline(std::string& line)
{
    line.clear();
    if (!in_) return false;
    int c;
    bool any = false;
    while ((c = std::fgetc(in_)) != EOF) {
        any = true;
        if (c == '\n') break;
        line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

void tconsolehost::showmessage(const std::string& text)
{
    ++faults;
    if (transcript_) event("box", text);
    else report(text);
}

bool tconsolehost::inputbox(const std::string& caption, const std::string& prompt, const std::string& deflt,
                            std::string& answer)
{
    // Once the input has ended, asking again can never be answered: the statement fails.
    if (inputended_) throw quor::tfault("Error on input: the input has ended");
    if (transcript_) event("ask", caption + "|" + prompt + "|" + deflt);
    else {
        flush();
        std::fprintf(err_, "%s: %s [%s] ", caption.c_str(), prompt.c_str(), deflt.c_str());
        std::fflush(err_);
    }
    if (!readline(answer)) {
        inputended_ = true;
        if (transcript_) event("cancel", "");
        return false;
    }
    if (transcript_) event("answer", answer);
    return true;
}

quor::tanswer tconsolehost::question(const std::string& caption, const std::string& text)
{
    showmessage(caption.empty() ? text : caption + ": " + text);
    return quor::tanswer::cancel;
}

bool tconsolehost::openfile(const std::string& dir, const std::string& pattern, std::string& path)
{
    if (transcript_) event("open", dir + "|" + pattern);
    else {
        flush();
        std::fprintf(err_, "open %s in %s: ", pattern.c_str(), dir.empty() ? "." : dir.c_str());
        std::fflush(err_);
    }
    if (!readline(path) || path.empty()) {
        if (transcript_) event("cancel", "");
        return false;
    }
    if (transcript_) event("answer", path);
    return true;
}

std::int32_t tconsolehost::createplotwindow(const std::string& expr, const std::string& varname, quor::tvarlist& vars,
                                            quor::tfunclist* funcs, quor::tmemo* memo)
{
    return plots ? plots->create(expr, varname, vars, funcs, memo) : 0;
}

void tconsolehost::showplotwindow(std::int32_t handle)
{
    // A plot that cannot be sampled closes at once, as its window would.
    if (plots && !plots->show(handle)) showmessage("Error on paint,this paint will quit!");
}

std::int32_t tconsolehost::getdc(std::int32_t handle) { return plots ? plots->getdc(handle) : 0; }

std::int32_t tconsolehost::showwnd(std::int32_t handle, std::int32_t mode)
{
    return plots ? plots->showwnd(handle, mode) : 0;
}

std::int32_t tconsolehost::setwndtext(std::int32_t handle, const std::string& text)
{
    return plots ? plots->setwndtext(handle, text) : 0;
}

void tconsolehost::errorreport(const std::string& text)
{
    ++faults;
    if (transcript_) event("error", text);
    else report(text);
}

void tconsolehost::append(const std::string& line)
{
    ++faults;
    if (transcript_) event("memo", line);
    else report(line);
}

void tconsolehost::appendresult(const std::string& line)
{
    if (transcript_) event("memo", line);
    else result(line);
}

}  // namespace quorcli
