#include "plotboard.h"

#include <algorithm>
#include <cmath>


#include "fault.h"
#include "host.h"
#include "numtext.h"
#include "picturefile.h"
#include "sampling.h"
#include "scanner.h"
#include "session.h"
#include "statements.h"
#include "surface.h"
#include "variables.h"
#include "vectorcanvas.h"

namespace quor {

tplotboard::tplotboard(tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s, bool drawaxis,
                       int outerwidth, int outerheight)
    : vars_(&vars), funcs_(funcs), memo_(memo), session_(s), drawaxis_(drawaxis), outerwidth_(outerwidth),
      outerheight_(outerheight)
{
    record_.labelfont = textfont_;
    record_.axisfont = textfont_;
    record_.funcpen = tpen{};
    record_.axispen = tpen{};
}

void tplotboard::setup(const std::string& expression, const std::string& variable)
{
    tpaintsetting block;
    block.view.left = 0;
    block.view.right = outerwidth_ - 9;
    block.view.top = 0;
    block.view.bottom = outerheight_ - 46;
    block.view.xmin = 1.0;
    block.view.xmax = 20.0;
    block.view.fixedrange = !vars_->varexists(variable);
    block.view.fixedrect = false;
    block.view.xstep = 50;
    block.view.ystep = 50;
    block.drawaxis = drawaxis_;
    caption_ = expression;
    block.caption = caption_;
    block.colour = silver;

    expression_ = expression;
    baseexpression_ = expression;
    variable_ = variable;
    record_.setting = block;
    current_ = block;
}

void tplotboard::setup(const std::string& args, const std::function<void(const std::string&)>& storehandle)
{
    std::string rest = args;
    tfunclist* funcs = funcs_ ? funcs_ : &nofuncs_;
    std::string expression = splitarg(rest, session_.dialect);
    if (session_.editor() && expression.find('\'') != std::string::npos)
        expression = evaltext(expression, *vars_, *funcs, memo_, session_);
    std::string variable = splitarg(rest, session_.dialect);
    if (session_.editor() && variable.find('\'') != std::string::npos)
        variable = evaltext(variable, *vars_, *funcs, memo_, session_);
    if (storehandle) storehandle(rest);
    setup(expression, variable);
}

QSize tplotboard::areasize() const { return QSize(std::max(1, outerwidth_ - 8), std::max(1, outerheight_ - 45)); }

void tplotboard::sample(tviewinfo& view)
{
    samples_ = samplecurve(expression_, variable_, view, *vars_, funcs_ ? *funcs_ : nofuncs_, memo_, session_);
    // As drawing in the home view would: a zoom before the next draw starts from this view.
    if (viewmode_ == viewhome) current_ = record_.setting;
}

const tviewinfo& tplotboard::viewof(std::uint8_t mode) const
{
    return mode == viewzoomed ? current_.view : record_.setting.view;
}

bool tplotboard::resample(bool forced)
{
    tviewinfo& home = record_.setting.view;
    try {
        if (home.fixedrect) {
            if (!forced) return true;
        } else {
            home.left = 0;
            home.right = outerwidth_ - 9;
            home.top = 0;
            home.bottom = outerheight_ - 46;
        }
        if (viewmode_ == viewhome) {
            sample(home);
        } else {
            if (!home.fixedrect) {
                current_.view.left = home.left;
                current_.view.right = home.right;
                current_.view.top = home.top;
                current_.view.bottom = home.bottom;
            }
            sample(current_.view);
        }
        return true;
    } catch (const tstopped&) {
        throw;   // the run was stopped: no fault of the plot
    } catch (...) {
        return false;
    }
}

bool tplotboard::resize(int outerwidth, int outerheight)
{
    outerwidth_ = outerwidth;
    outerheight_ = outerheight;
    return resample(false);
}

bool tplotboard::draw(QImage& surface)
{
    tsurface s(surface);
    s.fill(colour_);
    return drawplot(s, record_, current_, colour_, viewmode_, samples_);
}

QImage tplotboard::render()
{
    QImage image(areasize(), QImage::Format_RGB32);
    if (!draw(image)) return QImage();
    return image;
}

QImage tplotboard::picture()
{
    const int w = outerwidth_ - 9, h = outerheight_ - 46;
    if (w < 1 || h < 1) return QImage();
    const QImage drawn = render();
    if (drawn.isNull()) return QImage();
    return drawn.copy(0, 0, w, h);
}

bool tplotboard::savepicture(const std::string& path, const char* format)
{
    const QImage image = picture();
    return !image.isNull() && writepicture(image, path, format).empty();
}

bool tplotboard::savesvg(const std::string& path)
{
    tpaintsetting current = current_;
    return writesvg(path, outerwidth_ - 9, outerheight_ - 46, colour_, caption_, [&](tcanvas& canvas) {
        return drawplot(canvas, record_, current, colour_, viewmode_, samples_);
    });
}

std::string tplotboard::svg()
{
    tpaintsetting current = current_;
    return svgtext(outerwidth_ - 9, outerheight_ - 46, colour_, caption_, [&](tcanvas& canvas) {
        return drawplot(canvas, record_, current, colour_, viewmode_, samples_);
    });
}

void tplotboard::drawanchormark(QImage& surface) const
{
    tsurface s(surface);
    s.setbkcolour(colour_);
    s.setfont(textfont_);
    s.textout(anchor_.x, anchor_.y, "*");
}

void tplotboard::zoom()
{
    if (zoomrect_.none()) return;
    viewmode_ = viewzoomed;
    zoomrange(zoomrect_, current_.view);
    current_.view.fixedrange = true;
    sample(current_.view);
}

void tplotboard::wheelzoom(std::int32_t x, double factor)
{
    if (!(factor > 0) || samples_.empty()) return;
    if (viewmode_ == viewhome) current_ = record_.setting;
    tviewinfo& view = current_.view;
    const double at = (double(x) - view.originx) * view.xunit;
    const double xmin = at - (at - view.xmin) * factor, xmax = at + (view.xmax - at) * factor;
    if (!(xmin < xmax) || !std::isfinite(xmin) || !std::isfinite(xmax)) return;
    view.xmin = xmin;
    view.xmax = xmax;
    view.fixedrange = true;
    viewmode_ = viewzoomed;
    sample(view);
}

void tplotboard::restoreimage()
{
    viewmode_ = viewhome;
    sample(record_.setting.view);
}

bool tplotboard::restoreexpression()
{
    record_.move.resetmove();
    expression_ = baseexpression_;
    return resample(true);
}

tpressaction tplotboard::press(std::int32_t x, std::int32_t y, tkeys keys)
{
    press_ = {x, y};
    if (!keys.shift && !keys.ctrl && !keys.alt) return tpressaction::none;
    const auto hit = curvehit(press_, samples_, record_.sensitivity);
    if (!hit) return tpressaction::none;
    const tpixel point{samples_[*hit].x, truncpixel(samples_[*hit].y)};
    if (keys.ctrl && !keys.shift) {
        anchor_ = point;
        return tpressaction::anchorset;
    }
    press_ = point;
    // A press while a drag is still open keeps the mode the drag started from.
    if (viewmode_ != viewdragging) savedmode_ = viewmode_;
    viewmode_ = viewdragging;
    record_.move.movekind = keys.shift ? movetranslate : movestretch;
    return keys.shift ? tpressaction::movestarted : tpressaction::stretchstarted;
}

treleaseaction tplotboard::release(std::int32_t x, std::int32_t y, bool leftbutton, bool ctrl)
{
    if (!leftbutton) return treleaseaction::none;
    if (viewmode_ != viewdragging) {
        if (x == press_.x || y == press_.y || x < 1 || y < 1) {
            zoomrect_ = tzoomrect{};
            return treleaseaction::none;
        }
        zoomrect_ = tzoomrect{press_.x, press_.y, x, y};
        return treleaseaction::zoomrect;
    }
    viewmode_ = savedmode_;
    try {
        const tviewinfo& view = viewof(savedmode_);
        if (record_.move.movekind == movetranslate) movebypixels(press_, {x, y}, view, record_.move);
        if (record_.move.movekind == movestretch) stretchbypixels(anchor_, press_, {x, y}, view, record_.move);
        expression_ = makemovedexpr(baseexpression_, variable_, record_.move);
    } catch (...) {
        throw tfault("Error on move paint");
    }
    if (ctrl) return treleaseaction::movedkept;
    return resample(true) ? treleaseaction::moved : treleaseaction::quit;
}

std::string tplotboard::hint(std::int32_t x, std::int32_t y) const
{
    // While a move is dragged, the view the drag started from.
    const std::uint8_t mode = viewmode_ == viewdragging ? savedmode_ : viewmode_;
    const tworld w = pixeltovalue({x, y}, viewof(mode));
    return numtotext(w.x) + "," + numtotext(w.y);
}

tpointer tplotboard::pointer(std::int32_t x, std::int32_t y) const
{
    if (viewmode_ == viewdragging) return tpointer::move;
    return curvehit({x, y}, samples_, record_.sensitivity) ? tpointer::hand : tpointer::arrow;
}

bool tplotboard::addlabel(const std::string& text) { return record_.addlabel(press_.x, press_.y, text); }

bool tplotboard::addlabel() { return record_.addlabel(press_.x, press_.y, session_.host); }

void tplotboard::deletelabels() { record_.deletelabels(); }

void tplotboard::setlabelfont(const tfont& f)
{
    textfont_ = f;
    record_.labelfont = f;
}

void tplotboard::loadproperties(trecordinfo& working, tshortstring& expression, tshortstring& variable)
{
    expression = expression_;
    variable = variable_;
    record_.setting.caption = caption_;
    record_.setting.colour = colour_;
    copysettings(working, record_);
}

void tplotboard::applyproperties(const trecordinfo& working, const std::string& expression, const std::string& variable)
{
    copysettings(record_, working);
    // The dialog shows the texts cut to 255 characters; a cut copy is no change.
    if (expression != expression_ && expression != shortstring(expression_)) {
        expression_ = expression;
        baseexpression_ = expression;
    }
    if (variable != shortstring(variable_)) variable_ = variable;
    caption_ = record_.setting.caption;
    colour_ = record_.setting.colour & 0xFFFFFF;
    textfont_ = record_.labelfont;
    if (viewmode_ == viewhome) sample(record_.setting.view);
}

bool tplotboard::applypointmove(tworld p1, tworld p2, std::optional<tworld> fixed)
{
    try {
        if (fixed) stretchbyvalues(*fixed, p1, p2, record_.move);
        else movebyvalues(p1, p2, record_.move);
        expression_ = makemovedexpr(baseexpression_, variable_, record_.move);
    } catch (...) {
        throw tfault("Error on move paint");
    }
    return resample(true);
}

double tplotboard::valueat(const std::string& x)
{
    try {
        return evalat(expression_, variable_, x, *vars_, funcs_ ? *funcs_ : nofuncs_, memo_, session_);
    } catch (...) {
        throw tfault("Invalid float " + x);
    }
}

bool tplotboard::changeexpression(const std::string& expression, const std::string& variable)
{
    expression_ = expression;
    baseexpression_ = expression;
    variable_ = variable;
    record_.move.resetmove();
    return resample(true);
}

void tplotboard::rebind(tvarlist& vars, tfunclist* funcs, tmemo* memo)
{
    vars_ = &vars;
    funcs_ = funcs;
    memo_ = memo;
}

}  // namespace quor
