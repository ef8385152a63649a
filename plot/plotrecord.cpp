#include "plotrecord.h"

#include "host.h"

namespace quor {

trecordinfo::trecordinfo(const std::string& name, int kind)
    : tvarlist(name, kind), labeldialog_(std::make_unique<tkeeplabels>())
{
}

bool trecordinfo::addlabel(std::int32_t x, std::int32_t y, thost& host)
{
    std::string answer;
    if (!host.inputbox("Input the text", "  ", "", answer)) return false;
    return addlabel(x, y, answer);
}

bool trecordinfo::addlabel(std::int32_t x, std::int32_t y, const std::string& text)
{
    if (text.empty()) return false;
    labels.push_back(tlabel{text, ctextpoint{x, y}});
    return true;
}

void trecordinfo::deletelabels()
{
    tlabellist entries;
    entries.swap(labels);
    try {
        labeldialog_->editlabels(entries);
    } catch (...) {
        labels.swap(entries);   // a failing dialog loses no label
        throw;
    }
    for (auto& e : entries) labels.push_back(std::move(e));
}

void trecordinfo::setlabeldeleter(std::unique_ptr<tlabeldeleter> dialog)
{
    labeldialog_ = dialog ? std::move(dialog) : std::make_unique<tkeeplabels>();
}

void copysettings(trecordinfo& destination, const trecordinfo& source)
{
    destination.setting = source.setting;
    destination.funcpen = source.funcpen;
    destination.axispen = source.axispen;
    destination.labelfont = source.labelfont;
    destination.axisfont = source.axisfont;
    destination.description = source.description;
}

}  // namespace quor
