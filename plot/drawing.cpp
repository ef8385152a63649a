#include "drawing.h"

#include <cmath>
#include <exception>

#include "canvas.h"
#include "fault.h"
#include "numtext.h"
#include "sampling.h"

namespace quor {

namespace {

// Runs step; when guarded, any failure becomes the given message.
template <class F>
void guardedstep(bool guarded, const char* message, F step)
{
    if (!guarded) {
        step();
        return;
    }
    try {
        step();
    } catch (const std::exception&) {
        throw tfault(message);
    }
}

// Anchors from first to last by step. Anchors whose text would start too far left or right
// to reach the surface are skipped: they draw nothing.
template <class F>
void eachanchor(std::int32_t first, std::int32_t last, std::int32_t step, std::int64_t visiblefrom,
                std::int64_t visibleto, F draw)
{
    if (step < 1) return;   // a step that does not advance would never end
    std::int64_t p = first;
    if (p < visiblefrom) p += (visiblefrom - p) / step * step;
    const std::int64_t end = std::min<std::int64_t>(last, visibleto);
    for (; p <= end; p += step) draw(static_cast<std::int32_t>(p));
}

}  // namespace

std::string axislabel(double value)
{
    const double thousandths = value * 1000;
    if (!(thousandths >= -9223372036854775808.0 && thousandths < 9223372036854775808.0)) return numtotext(value);
    return numtotext(double(std::llrint(thousandths)) / 1000);
}

bool drawplot(tcanvas& surface, const trecordinfo& record, tpaintsetting& current, tcolour windowcolour,
              std::uint8_t viewmode, const cpaintlist& samples)
{
    try {
        surface.setbkcolour(windowcolour);
        drawlabels(surface, record);
        if (!samples.empty()) {
            const bool home = viewmode == viewhome;
            drawaxes(surface, record, home ? record.setting.view : current.view, home);
            drawcurve(surface, record, samples);
            if (home) current = record.setting;
        }
        surface.flush();
        return true;
    } catch (...) {
        return false;
    }
}

void drawlabels(tcanvas& surface, const trecordinfo& record)
{
    if (record.labels.empty()) return;
    surface.setfont(record.labelfont);
    for (const auto& label : record.labels) surface.textout(label.point.x, label.point.y, label.text);
}

void drawcurve(tcanvas& surface, const trecordinfo& record, const cpaintlist& samples)
{
    if (samples.empty()) return;
    surface.setpen(record.funcpen);
    surface.moveto(samples[0].x, truncpixel(samples[0].y));
    for (int i = 1; i < samples.count(); ++i) surface.lineto(samples[i].x, truncpixel(samples[i].y));
    surface.flush();
}

void drawaxes(tcanvas& surface, const trecordinfo& record, const tviewinfo& view, bool guarded)
{
    if (!record.setting.drawaxis) return;
    const tviewinfo& home = record.setting.view;
    const std::int32_t ox = view.originx, oy = view.originy;
    // A label text starts at its anchor and is never wider than this.
    const std::int64_t reach = 4096;
    const std::int64_t width = surface.width(), height = surface.height();

    guardedstep(guarded, "Error on paint axis", [&] {
        surface.setpen(record.axispen);
        surface.setfont(record.axisfont);
        surface.textout(ox, oy, "O");
        surface.textout(home.left, oy, record.setting.xtitle);
        surface.textout(ox, home.top, record.setting.ytitle);
        surface.moveto(home.left, oy);
        surface.lineto(home.right, oy);
    });
    guardedstep(guarded, "Error on paint x axis", [&] {
        eachanchor(home.left, home.right, home.xstep, -reach, width, [&](std::int32_t px) {
            surface.textout(px, oy, axislabel((double(px) - ox) * view.xunit));
        });
    });
    surface.moveto(ox, home.top);
    surface.lineto(ox, home.bottom);
    surface.flush();
    guardedstep(guarded, "Error on paint y axis", [&] {
        eachanchor(home.top, home.bottom, home.ystep, -reach, height, [&](std::int32_t py) {
            surface.textout(ox, py, axislabel((double(oy) - py) * view.yunit));
        });
    });
}

}  // namespace quor
