// Ledvik, the back office: with no arguments the window; with any, one unattended pass.
#include "decimal_symbol.h"
#include "ledvikform.h"
#include "settings_store.h"
#include "ui_services.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const QString commandLine = arguments.join(u' ');
    const bool autoMode = !commandLine.isEmpty();
    // An unattended run shows nothing and must not need a display.
    if (autoMode && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (!DecimalSymbolAccepted(platform::SettingsStore::current())) {
        platform::ui::showMessage(kDecimalSymbolMessage);
        return 1;
    }
    TLedvikDati dati;
    TLedvik ledvik(dati, autoMode);
    if (autoMode) return ledvik.RunUnattended(commandLine);
    ledvik.show();
    return application.exec();
}
