#include "plotwindows.h"

#include <QDialog>
#include <QPlainTextEdit>   // widgetmemo.h reads a QPointer of it

#include "fault.h"
#include "ownedwindow.h"
#include "plotform.h"
#include "session.h"
#include "textdel.h"
#include "variables.h"
#include "widgetmemo.h"

namespace quor {

tplotwindows::tplotwindows(tsession& s, tdialogs& dialogs, tplotflavour flavour)
    : runmodal([](QDialog& d) { return d.exec(); }), session_(s), dialogs_(dialogs), flavour_(flavour)
{
}

tplotwindows::~tplotwindows()
{
    closing_ = true;
    for (auto& [handle, e] : entries_)
        if (e->window) delete e->window.data();
    entries_.clear();
}

tplotwindows::tentry* tplotwindows::entry(std::int32_t handle) const
{
    const auto it = entries_.find(handle);
    return it == entries_.end() ? nullptr : it->second.get();
}

std::int32_t tplotwindows::createplotwindow(const std::string& expr, const std::string& varname, tvarlist& vars,
                                            tfunclist* funcs, tmemo* memo)
{
    // A plot opened while another is sampled samples once per column of that one: one
    // level of this is allowed, more would multiply without end.
    if (sampling_ > 1) throw tfault("Error on plot: plots opened inside the sampling of plots");
    auto board = std::make_unique<tplotboard>(vars, funcs, memo, session_, flavour_ == tplotflavour::plotter);
    tplotboard* b = board.get();
    const std::int32_t handle = registry_.add(std::move(board));
    auto e = std::make_unique<tentry>();
    e->expr = expr;
    e->varname = varname;
    e->vars = &vars;
    // A window made for a widget memo belongs to that memo's window.
    // It stays in front of the window that opened it, like a window owned by it.
    QWidget* owner = nullptr;
    QWidget* front = nullptr;
    if (auto* wm = dynamic_cast<twidgetmemo*>(memo)) {
        owner = wm->owner();
        front = wm->front();
    }
    e->window = new Tcostructform(*this, handle, owner);
    setownedby(e->window.data(), front);
    b->record().setlabeldeleter(std::make_unique<tlabeldialog>(*this, e->window.data()));
    entries_[handle] = std::move(e);
    order_.push_back(handle);
    return handle;
}

void tplotwindows::showplotwindow(std::int32_t handle)
{
    tentry* e = entry(handle);
    tplotboard* b = board(handle);
    if (!e || !b || !e->window) return;
    if (e->shown) {
        bringtofront(e->window.data());
        b->setvisible(true);
        return;
    }
    e->shown = true;
    const bool global = globals_ ? e->vars == globals_ : e->vars->name != "temp";
    if (!global) {
        e->copy = std::make_unique<tvarlist>(*e->vars);
        b->rebind(*e->copy, b->funcs(), b->memo());
    }
    e->vars = nullptr;   // the list may end with its call: only the copy is used from now on
    b->setup(e->expr, e->varname);
    e->window->firstshow();
}

tplotboard* tplotwindows::board(std::int32_t handle) const
{
    const tentry* e = entry(handle);
    return e && !e->doomed ? registry_.find(handle) : nullptr;
}

std::int32_t tplotwindows::getdc(std::int32_t handle)
{
    if (handle == 0) return tplotregistry::screendc;
    return board(handle) ? registry_.getdc(handle) : 0;
}

std::int32_t tplotwindows::showwnd(std::int32_t handle, std::int32_t mode)
{
    tplotboard* b = board(handle);
    tentry* e = entry(handle);
    if (!b || !e->window || !e->shown) return 0;   // one never shown has no size or curve yet
    const bool was = e->window->isVisible();
    e->window->setVisible(mode != 0);
    b->setvisible(mode != 0);
    return was ? 1 : 0;
}

std::int32_t tplotwindows::setwndtext(std::int32_t handle, const std::string& text)
{
    tplotboard* b = board(handle);
    tentry* e = entry(handle);
    if (!b || !e->window) return 0;
    registry_.setwndtext(handle, text);
    e->window->setWindowTitle(QString::fromStdString(b->caption()));
    return 1;
}

std::vector<Tcostructform*> tplotwindows::windows() const
{
    std::vector<Tcostructform*> out;
    for (std::int32_t h : order_)
        if (Tcostructform* w = find(h); w && entry(h)->shown) out.push_back(w);
    return out;
}

Tcostructform* tplotwindows::find(std::int32_t handle) const
{
    const tentry* e = entry(handle);
    return e && !e->doomed ? e->window.data() : nullptr;
}

bool tplotwindows::destroy(std::int32_t handle)
{
    tentry* e = entry(handle);
    if (!e || e->doomed) return false;
    e->doomed = true;
    if (e->window) e->window->hide();
    finish(handle);
    return true;
}

void tplotwindows::destroyall()
{
    const std::vector<std::int32_t> handles = order_;
    for (std::int32_t h : handles) destroy(h);
}

void tplotwindows::windowgone(std::int32_t handle)
{
    if (closing_) return;
    tentry* e = entry(handle);
    if (!e) return;
    e->doomed = true;
    finish(handle);
}

void tplotwindows::finish(std::int32_t handle)
{
    tentry* e = entry(handle);
    if (!e || !e->doomed || e->busy > 0) return;
    // The window object may be in a call on the stack: Qt deletes it once control is back
    // in the event loop.
    if (e->window) e->window->deleteLater();
    registry_.remove(handle);
    entries_.erase(handle);
    std::erase(order_, handle);
}

bool tplotwindows::evaluating(std::int32_t handle) const
{
    const tentry* e = entry(handle);
    return e && e->evaluating > 0;
}

tplotwindows::tbusy::tbusy(tplotwindows& windows, std::int32_t handle, bool evaluating)
    : windows_(windows), handle_(handle), evaluating_(evaluating)
{
    tentry* e = windows_.entry(handle_);
    if (!e) {
        handle_ = 0;   // nothing to guard
        return;
    }
    ++e->busy;
    if (evaluating_) {
        ++e->evaluating;
        ++windows_.sampling_;
    }
}

tplotwindows::tbusy::~tbusy()
{
    tentry* e = handle_ ? windows_.entry(handle_) : nullptr;
    if (!e) return;
    --e->busy;
    if (evaluating_) {
        --e->evaluating;
        --windows_.sampling_;
    }
    windows_.finish(handle_);
}

}  // namespace quor
