#include "program_entry.h"

#include "datumodelis.h"
#include "decimal_symbol.h"
#include "posmain.h"
#include "start_form.h"

#include "settings_store.h"
#include "ui_services.h"

#include <QApplication>

int ProgramEntry(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Tillora");
    if (!DecimalSymbolAccepted(platform::SettingsStore::current())) {
        platform::ui::showMessage(kDecimalSymbolMessage);
        return 0;
    }
    try {
        if (!DatuModelis) DatuModelis = new TDatuModelis(&app);
        try {
            DatuModelis->ConnectSTOCKARA();
        } catch (const std::exception& e) {
            // The till works without the stock database.
            platform::ui::showMessage("Nevaru atvērt datu bāzi, darbs tiek pārtraukts !!!" + QString::fromUtf8(e.what()));
        }
        StartForm = new TStartForm;
        StartForm->show();
        StartForm->repaint();
        StartForm->FormActivate();
        auto* window = new TPOSMain;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        app.exec();
        delete StartForm;
    } catch (const std::exception& e) {
        platform::ui::showMessage(QString::fromUtf8(e.what()), {}, platform::ui::Buttons::Ok, platform::ui::Icon::Error);
    }
    return 0;
}
