#include "headlessplots.h"

#include <cstdio>

#include <QGuiApplication>
#include <QImage>

#include "fault.h"
#include "picturefile.h"
#include "session.h"
#include "variables.h"

namespace quor {

namespace {

// Qt's own warnings (about the off-screen platform, runtime folders) mean nothing to a
// user of the runner; only critical messages are passed on.
void quietmessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "quor: %s\n", qPrintable(text));
}

}  // namespace

void ensureguiapp()
{
    if (QGuiApplication::instance()) return;
    qInstallMessageHandler(quietmessages);
    // The runner never shows a window: pictures are drawn off screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quor";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

theadlessplots::theadlessplots(tvarlist& globals, tsession& s) : globals_(globals), session_(s) {}

theadlessplots::~theadlessplots() = default;

theadlessplots::tpending* theadlessplots::pending(std::int32_t handle)
{
    for (const auto& p : opened_)
        if (p->handle == handle) return p.get();
    return nullptr;
}

std::int32_t theadlessplots::create(const std::string& expr, const std::string& varname, tvarlist& vars,
                                    tfunclist* funcs, tmemo* memo)
{
    // A plot opened while another is sampled samples once per column of that one: one
    // level of this is allowed, more would multiply without end.
    if (sampling_ > 1) throw tfault("Error on plot: plots opened inside the sampling of plots");
    ensureguiapp();
    auto board = std::make_unique<tplotboard>(vars, funcs, memo, session_, session_.plotter());
    const std::int32_t h = registry_.add(std::move(board));
    opened_.push_back(std::make_unique<tpending>(tpending{h, expr, varname, &vars, nullptr, false}));
    return h;
}

bool theadlessplots::show(std::int32_t handle)
{
    tpending* p = pending(handle);
    tplotboard* board = registry_.find(handle);
    if (!p || !board || p->shown) return registry_.show(handle);
    if (p->vars != &globals_) {
        p->copy = std::make_unique<tvarlist>(*p->vars);
        board->rebind(*p->copy, board->funcs(), board->memo());
    }
    p->shown = true;
    board->setup(p->expr, p->varname);
    const tcharge<int> during(sampling_, 1);
    const bool ok = registry_.show(handle);
    if (!ok) p->copy.reset();
    return ok;
}

std::vector<std::int32_t> theadlessplots::shown() const
{
    std::vector<std::int32_t> out;
    for (const auto& p : opened_)   // closed after a failed paint, or never shown: left out
        if (p->shown && registry_.find(p->handle)) out.push_back(p->handle);
    return out;
}

std::vector<theadlessplots::tpicture> theadlessplots::writeall(const std::string& dir)
{
    std::vector<tpicture> out;
    int number = 0;
    for (const std::int32_t h : shown()) {
        tplotboard* board = registry_.find(h);
        ++number;
        tpicture pic{number, board->caption(), dir + "/plot-" + std::to_string(number) + ".png", ""};
        pic.fault = writepicture(board->picture(), pic.path, "PNG");
        out.push_back(pic);
    }
    return out;
}

}  // namespace quor
