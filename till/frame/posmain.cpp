// The sale window's lifecycle: creation, activation, closing and destruction.
#include "posmain.h"

#include "fmproc.h"
#include "password_dlg.h"
#include "printclass.h"
#include "start_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageLogger>

QPointer<TPOSMain> POSMain;

TPOSMain::TPOSMain(QWidget* parent) : QMainWindow(parent) {
    POSMain = this;
    BuildForm();
    FormCreate();
}

TPOSMain::~TPOSMain() {
    // The item field's key filter reads the window's members, and the field still gets events
    // while the window's children are taken down: the filter goes first.
    saleKeys_.reset();
    customerKeys_.reset();
    // Nothing may leave a destructor: a receipt that cannot be annulled here is reported in the
    // log, the window still goes.
    try {
        FormDestroy();
    } catch (const std::exception& error) {
        qWarning("The open receipt was not annulled when the till closed: %s", error.what());
    }
    // The scanner thread, the fiscal-memory and printer objects go after the window's last
    // receipt work; the process ends right after.
    if (ScanerThread) {
        ScanerThread->requestInterruption();
        ScanerThread->wait();
    }
    qApp->removeEventFilter(this);
    // The children go after this destructor; their focus changes must not reach the window's part
    // that is gone by then.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void TPOSMain::FormActivate() {
    CloseStartForm();
    if (PasswordDlg && PasswordDlg->KlElektron) dblKlientuSaraksts->setEnabled(false);
    if (::KlientLielaisEkrans && !::KlientLielaisEkrans->isVisible()) ShowKlientLielaisEkrans();
    RefreshPirkumuSaraksts();
    if (NeraditTouchPogas) {
        // The list stretches in its layout: without the keys it reaches down to the status bar.
        pnlPogas->hide();
        pnlQuickButton->hide();
    }
}

void TPOSMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TPOSMain::closeEvent(QCloseEvent* event) {
    if (PrintClass) {
        PrintClass->ClearDispleju();
        PrintClass->PrintDemoUzDispleja();
    }
    event->accept();
}

void TPOSMain::FormDestroy() { AnuletCeku(); }

void TPOSMain::NotBuiltYet(const QString& command) {
    SetStatusText(0, command + ": šajā kases versijā vēl nav pieejams");
}
