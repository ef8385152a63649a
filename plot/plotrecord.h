#pragma once
// The data of a plot: sampled curve, coordinate frame, setting block, move record, text
// labels and the plot record that owns pens, fonts, labels and description.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drawtools.h"
#include "variables.h"
#include "enginefwd.h"

namespace quor {

// One sample: pixel column and (unrounded) pixel row.
struct cpaintpoint {
    std::int32_t x = 0;
    double y = 0;
};

// The sampled curve of a plot window; empty means no curve yet.
struct cpaintlist {
    std::vector<cpaintpoint> points;
    int count() const { return static_cast<int>(points.size()); }
    bool empty() const { return points.empty(); }
    const cpaintpoint& operator[](int i) const { return points[static_cast<std::size_t>(i)]; }
};

// The coordinate frame: pixel bounds, world ranges and the units between them.
struct tviewinfo {
    std::int32_t originx = 0;   // pixel column of world x = 0
    std::int32_t originy = 0;   // pixel row of world y = 0
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    bool fixedrect = false;     // bounds set by hand: resizing keeps them and does not resample
    double xmin = 0;
    double xmax = 0;
    double ymin = 0;
    double ymax = 0;
    double xunit = 0;           // world x per pixel column
    double yunit = 0;           // world y per pixel row
    std::int32_t xstep = 0;     // pixels between x-axis labels
    std::int32_t ystep = 0;     // pixels between y-axis labels
    bool fixedrange = false;    // xmin/xmax as stored; otherwise from the plot variable's elements
};

// A short text: anything longer than 255 characters is cut when stored.
class tshortstring {
public:
    tshortstring() = default;
    tshortstring(const std::string& s) : s_(shortstring(s)) {}
    tshortstring(const char* s) : s_(shortstring(s)) {}
    operator const std::string&() const { return s_; }
    const std::string& str() const { return s_; }
    bool empty() const { return s_.empty(); }
    bool operator==(const tshortstring&) const = default;

private:
    std::string s_;
};

// The setting block of a plot, copied as one value.
struct tpaintsetting {
    tviewinfo view;
    tshortstring xtitle;
    tshortstring ytitle;
    tshortstring title;     // kept and edited, not drawn
    tshortstring caption;
    bool drawaxis = false;  // axes, titles and axis labels only when set
    tcolour colour = 0;     // window and text background colour
};

// Kinds of the last drag begun.
inline constexpr std::uint8_t movenone = 2;
inline constexpr std::uint8_t movetranslate = 3;
inline constexpr std::uint8_t movestretch = 4;

// The displayed expression is yscale * E[v := xscale * v + xshift] + yshift.
struct tmoveinfo {
    double xshift = 0;   // a
    double yshift = 0;   // d
    double xscale = 1;   // b
    double yscale = 1;   // c
    std::uint8_t movekind = movenone;
    // Back to the identity; the move kind stays.
    void resetmove() { xshift = yshift = 0, xscale = yscale = 1; }
};

// Top-left corner of a label text, in pixels.
struct ctextpoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct tlabel {
    std::string text;
    ctextpoint point;
};
using tlabellist = std::vector<tlabel>;

// The label delete dialog as the record sees it: edits the entries it is handed, modally.
class tlabeldeleter {
public:
    virtual ~tlabeldeleter() = default;
    virtual void editlabels(tlabellist& entries) = 0;
};

// Keeps every label; the record's deleter until a window layer supplies a dialog.
class tkeeplabels : public tlabeldeleter {
public:
    void editlabels(tlabellist&) override {}
};

// The plot record: a variable list (unused by the plotter) extended with the plot's looks.
class trecordinfo : public tvarlist {
public:
    // "recordforpaint" with kind 0 for a plot window, "temprecord" with kind 3 for the
    // settings dialog's working copy.
    explicit trecordinfo(const std::string& name = "recordforpaint", int kind = 0);
    trecordinfo(const trecordinfo&) = delete;
    trecordinfo& operator=(const trecordinfo&) = delete;

    tfont labelfont;
    tfont axisfont;
    tpen funcpen;
    tpen axispen;
    std::vector<std::string> description;
    tlabellist labels;                  // in drawing order
    tpaintsetting setting;              // the home view and looks
    tmoveinfo move;
    std::int32_t sensitivity = 10;      // curve hit tolerance in pixels

    // Asks for a text ("Input the text") and appends it as a label at (x, y); an empty
    // answer or a cancelled box adds nothing. True when a label was added.
    bool addlabel(std::int32_t x, std::int32_t y, thost& host);
    // Appends text as a label at (x, y); an empty text adds nothing. True when added.
    bool addlabel(std::int32_t x, std::int32_t y, const std::string& text);
    // Hands all labels to the label dialog and keeps what it leaves, in order.
    void deletelabels();

    void setlabeldeleter(std::unique_ptr<tlabeldeleter> dialog);
    tlabeldeleter& labeldeleter() { return *labeldialog_; }

private:
    std::unique_ptr<tlabeldeleter> labeldialog_;
};

// Copies setting block, pens, fonts and description; labels, move record and sensitivity
// stay as they are in the destination.
void copysettings(trecordinfo& destination, const trecordinfo& source);

}  // namespace quor
