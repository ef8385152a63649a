// paint: the compact function plotter.
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
