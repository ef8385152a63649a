// paint: the compact function plotter.
#include <cstdio>

#include <QApplication>

#include "datadirs.h"
#include "datafiles.h"
#include "mainform.h"
#include "plotboards.h"
#include "profile.h"
#include "qtdialogs.h"
#include "bigstack.h"

int main(int argc, char** argv)
{
    quor::restartwithbigstack(argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName("paint");
    QApplication::setApplicationVersion("0.5.0.0");
    QApplication::setQuitOnLastWindowClosed(false);
    // Nothing to open at start: only the two questions every program answers.
    const QStringList args = QApplication::arguments();
    if (args.contains("-h") || args.contains("--help")) {
        std::puts("usage: paint\n"
                  "Plots a function of one variable: type an expression such as sin(x)*x in\n"
                  "the box and press Enter. Settings are kept in ~/.config/quor/vivevazed.ini,\n"
                  "or beside the program when it runs from a writable folder of its own.\n"
                  "  -h, --help  shows this help\n"
                  "  --version   shows the version");
        return 0;
    }
    if (args.contains("--version")) {
        std::puts("paint 0.5.0.0");
        return 0;
    }

    quor::tqtdialogs dialogs(quor::painttitle);
    quor::tpaintoptions options;
    options.inipath = quor::profilepath("vivevazed.ini", quor::exedir());
    options.datadirs = quor::programdatadirs();
    quor::Tmainform form(dialogs, options, [](quor::tsession& s, quor::tdialogs& d, quor::tvarlist& globals) {
        return std::make_unique<quor::tplotboards>(s, d, globals);
    });
    QObject::connect(&form, &quor::Tmainform::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    form.show();
    return app.exec();
}
