#include "headlessplots.h"

#include <cstdio>

#include <QGuiApplication>
#include <QImage>

#include "session.h"
#include "variables.h"

namespace quorcli {

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

theadlessplots::theadlessplots(quor::tvarlist& globals, quor::tsession& s) : globals_(globals), session_(s) {}

theadlessplots::~theadlessplots() = default;

std::int32_t theadlessplots::create(const std::string& expr, const std::string& varname, quor::tvarlist& vars,
                                    quor::tfunclist* funcs, quor::tmemo* memo)
{
    ensureguiapp();
    quor::tvarlist* list = &vars;
    if (&vars != &globals_) {
        copies_.push_back(std::make_unique<quor::tvarlist>(vars));
        list = copies_.back().get();
    }
    const std::int32_t h = registry_.create(expr, varname, *list, funcs, memo, session_, session_.plotter());
    opened_.push_back(h);
    return h;
}

bool theadlessplots::show(std::int32_t handle) { return registry_.show(handle); }

std::vector<theadlessplots::tpicture> theadlessplots::writeall(const std::string& dir)
{
    std::vector<tpicture> out;
    for (std::size_t i = 0; i < opened_.size(); ++i) {
        quor::tplotboard* board = registry_.find(opened_[i]);
        if (!board) continue;   // destroyed after a failed paint
        tpicture p{static_cast<int>(i) + 1, board->caption(), dir + "/plot-" + std::to_string(i + 1) + ".png", false};
        const QImage picture = board->picture();
        p.written = !picture.isNull() && picture.save(QString::fromStdString(p.path), "PNG");
        out.push_back(p);
    }
    return out;
}

}  // namespace quorcli
