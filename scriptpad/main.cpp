// scriptpad: the editor and debugger of Quor.
#include <cstdio>
#include <cstring>
#include <string>

#include <QApplication>

#include "plotwindows.h"
#include "qtdialogs.h"
#include "qthost.h"
#include "scriptpad.h"
#include "bigstack.h"
#include "toolpictures.h"

namespace {

void usage(std::FILE* to)
{
    std::fputs("usage: scriptpad [-u UNIT]... [FILE]\n"
               "  FILE     a program text opened at start\n"
               "  -u UNIT  loads a unit for this session (not remembered in base.ini)\n",
               to);
}

}  // namespace

int main(int argc, char** argv)
{
    quor::restartwithbigstack(argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quor Editor");
    QApplication::setApplicationVersion("0.5.0.0");
    QApplication::setWindowIcon(quor::programicon());

    quor::tscriptsetup setup = quor::defaultsetup();
    QString file;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == "-h" || a == "--help") {
            usage(stdout);
            return 0;
        }
        if (a == "--version") {
            std::puts("scriptpad 0.5.0.0");
            return 0;
        }
        if (a == "-u" || a == "--unit") {
            if (i + 1 >= args.size()) {
                std::fputs("scriptpad: -u needs a unit file\n", stderr);
                usage(stderr);
                return 2;
            }
            setup.extraunits.push_back(args[++i].toStdString());
        } else if (a.startsWith('-') && a.size() > 1) {
            std::fprintf(stderr, "scriptpad: unknown option %s\n", a.toLocal8Bit().constData());
            usage(stderr);
            return 2;
        } else if (file.isEmpty()) {
            file = a;
        } else {
            std::fputs("scriptpad: only one file can be opened\n", stderr);
            return 2;
        }
    }

    quor::tqtdialogs dialogs("Quor Editor");
    quor::tqthost host(dialogs, "Quor Editor");
    quor::tscriptpad pad(host, dialogs, setup);
    quor::Thotleg& editor = *pad.hotleg;
    // Programs open real plot windows; they belong to the result pane's window.
    quor::tplotwindows plots(editor.session(), dialogs, quor::tplotflavour::editor);
    plots.setglobals(editor.vars());
    host.setwindows(&plots);
    host.setowner(&editor);
    editor.onclosed = [&plots] {
        plots.destroyall();
        QApplication::quit();
    };
    if (!file.isEmpty()) editor.openpath(file);
    editor.show();
    const int status = QApplication::exec();
    host.setwindows(nullptr);
    return status;
}
