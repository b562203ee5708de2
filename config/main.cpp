// TilloraConfig: the set-up program of one till (device settings and the fiscal memory's fixed
// records). Runs only where numbers are written with a decimal point.
#include "decimal_symbol.h"
#include "library_loader.h"
#include "setup_form.h"
#include "terminal_request.h"
#include "ui_services.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TilloraConfig"));
    if (!DecimalSymbolAccepted(platform::SettingsStore::current())) {
        platform::ui::showMessage(kDecimalSymbolMessage);
        return 0;
    }
    // The card-terminal library of this PC in place of the vendor's Windows path.
    if (const char* arccom = std::getenv("TILLORA_ARCCOM"); arccom && *arccom)
        platform::LoadedLibrary::substitute(kArccomLibrary, arccom);
    TSetup form;
    form.show();
    app.exec();
    return 0;
}
