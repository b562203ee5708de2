// Fiskon: prepares the fiscal memory's working records and exits (0 when the memory is ready).
#include "fmtest_form.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fiskon"));
    QApplication::setQuitOnLastWindowClosed(false);
    TFmTest form;
    form.show();
    const int loop = app.exec();
    return loop != 0 ? loop : form.ExitCode;
}
