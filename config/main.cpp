// TilloraConfig: the set-up program of one till (device settings and the fiscal memory's fixed
// records). Runs only where numbers are written with a decimal point.
//   tilloraconfig                 the settings form
//   tilloraconfig --save FILE     the form's fields from FILE (see setup_entries.h), saved as
//                                 "Saglabāt" saves them, without showing the form; exit code 0
//                                 once saved
#include "decimal_symbol.h"
#include "setup_entries.h"
#include "setup_form.h"
#include "ui_services.h"

#include <QApplication>
#include <QFile>

namespace {

int saveFromFile(const QString& file)
{
    QFile entries(file);
    if (!entries.open(QIODevice::ReadOnly | QIODevice::Text)) {
        platform::ui::showMessage(QStringLiteral("Nevarēju atvērt failu %1 !!!").arg(file));
        return 1;
    }
    TSetup form;
    if (const auto bad = ApplySetupEntries(form, QString::fromUtf8(entries.readAll()))) {
        platform::ui::showMessage(QStringLiteral("Nesaprotu rindu \"%1\" !!!").arg(*bad));
        return 1;
    }
    form.BtSaveClick();
    return form.Saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TilloraConfig"));
    if (!DecimalSymbolAccepted(platform::SettingsStore::current())) {
        platform::ui::showMessage(kDecimalSymbolMessage);
        return 0;
    }
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--save"))
        return saveFromFile(arguments[2]);
    TSetup form;
    form.show();
    app.exec();
    return 0;
}
