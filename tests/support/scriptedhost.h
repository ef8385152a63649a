#pragma once
// A host for tests: records every box, question, dialog and memo line in order, and
// answers input boxes and file dialogs from queues.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "host.h"

namespace quortest {

class scriptedhost : public quor::thost, public quor::tmemo {
public:
    std::vector<std::string> events;        // "box: T", "memo: T", "ask: C|P|D", "open: D|P", ...
    std::deque<std::string> answers;        // input-box answers; "<cancel>" cancels
    std::deque<std::string> files;          // file-dialog answers; "<cancel>" cancels
    std::int64_t clock = 12345678;          // milliseconds since midnight for the random built-in
    int processed = 0;                      // calls of processevents
    // When set, every box and memo line is recorded with the place the session stands on.
    const quor::tsourceplace* place = nullptr;

    // Plot windows: handle -> caption and visibility, as a headless stand-in.
    struct window {
        std::string caption;
        bool visible = false;
    };
    std::map<std::int32_t, window> windows;
    std::int32_t nexthandle = 1001;

    void showmessage(const std::string& text) override { events.push_back("box: " + text + where()); }
    bool inputbox(const std::string& caption, const std::string& prompt, const std::string& deflt,
                  std::string& answer) override
    {
        events.push_back("ask: " + caption + "|" + prompt + "|" + deflt);
        if (answers.empty() || answers.front() == "<cancel>") {
            if (!answers.empty()) answers.pop_front();
            events.push_back("cancel");
            return false;
        }
        answer = answers.front();
        answers.pop_front();
        events.push_back("answer: " + answer);
        return true;
    }
    quor::tanswer question(const std::string& caption, const std::string& text) override
    {
        events.push_back("question: " + caption + "|" + text);
        return quor::tanswer::cancel;
    }
    bool openfile(const std::string& dir, const std::string& pattern, std::string& path) override
    {
        events.push_back("open: " + dir + "|" + pattern);
        if (files.empty() || files.front() == "<cancel>") {
            if (!files.empty()) files.pop_front();
            events.push_back("cancel");
            return false;
        }
        path = files.front();
        files.pop_front();
        events.push_back("answer: " + path);
        return true;
    }
    void processevents() override { ++processed; }
    std::int32_t createplotwindow(const std::string& expr, const std::string& varname, quor::tvarlist&,
                                  quor::tfunclist*, quor::tmemo*) override
    {
        const std::int32_t h = nexthandle++;
        windows[h] = window{expr, false};
        events.push_back("plot: " + std::to_string(h) + "|" + expr + "|" + varname);
        return h;
    }
    void showplotwindow(std::int32_t handle) override
    {
        if (windows.count(handle)) windows[handle].visible = true;
    }
    std::int32_t getdc(std::int32_t handle) override { return windows.count(handle) ? 77 : 0; }
    std::int32_t showwnd(std::int32_t handle, std::int32_t mode) override
    {
        auto it = windows.find(handle);
        if (it == windows.end()) return 0;
        const bool was = it->second.visible;
        it->second.visible = mode != 0;
        return was ? 1 : 0;
    }
    std::int32_t setwndtext(std::int32_t handle, const std::string& text) override
    {
        auto it = windows.find(handle);
        if (it == windows.end()) return 0;
        it->second.caption = text;
        return 1;
    }
    void errorreport(const std::string& text) override { events.push_back("error: " + text); }
    std::int64_t clockms() override { return clock; }

    void append(const std::string& line) override { events.push_back("memo: " + line + where()); }
    // " @file:line" of the recorded place, or nothing.
    std::string where() const
    {
        if (!place) return "";
        return " @" + (place->file ? *place->file : std::string("-")) + ":" + std::to_string(place->line);
    }

    // The events recorded since the last call, which clears them.
    std::vector<std::string> take()
    {
        std::vector<std::string> out;
        out.swap(events);
        return out;
    }
};

}  // namespace quortest
