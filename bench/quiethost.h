#pragma once
// A host for benchmarks: every box, dialog and memo line goes nowhere.
#include "host.h"

namespace quorbench {

class quiethost : public quor::thost, public quor::tmemo {
public:
    void showmessage(const std::string&) override {}
    bool inputbox(const std::string&, const std::string&, const std::string&, std::string&) override { return false; }
    quor::tanswer question(const std::string&, const std::string&) override { return quor::tanswer::cancel; }
    bool openfile(const std::string&, const std::string&, std::string&) override { return false; }
    void processevents() override {}
    bool hasevents() const override { return false; }
    std::int32_t createplotwindow(const std::string&, const std::string&, quor::tvarlist&, quor::tfunclist*,
                                  quor::tmemo*) override { return 0; }
    void showplotwindow(std::int32_t) override {}
    std::int32_t getdc(std::int32_t) override { return 0; }
    std::int32_t showwnd(std::int32_t, std::int32_t) override { return 0; }
    std::int32_t setwndtext(std::int32_t, const std::string&) override { return 0; }
    void errorreport(const std::string&) override {}
    void append(const std::string&) override {}
};

}  // namespace quorbench
