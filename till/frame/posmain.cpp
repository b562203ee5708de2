// The sale window's lifecycle: creation, activation, closing and destruction.
#include "posmain.h"

#include "fmproc.h"
#include "password_dlg.h"
#include "printclass.h"
#include "start_form.h"

#include <QApplication>
#include <QCloseEvent>

QPointer<TPOSMain> POSMain;

TPOSMain::TPOSMain(QWidget* parent) : QMainWindow(parent) {
    POSMain = this;
    BuildForm();
    FormCreate();
}

TPOSMain::~TPOSMain() {
    FormDestroy();
    // The scanner thread, the fiscal-memory and printer objects go after the window's last
    // receipt work; the process ends right after.
    if (ScanerThread) {
        ScanerThread->requestInterruption();
        ScanerThread->wait();
    }
    qApp->removeEventFilter(this);
}

void TPOSMain::FormActivate() {
    CloseStartForm();
    if (PasswordDlg && PasswordDlg->KlElektron) dblKlientuSaraksts->setEnabled(false);
    if (::KlientLielaisEkrans && !::KlientLielaisEkrans->isVisible()) ShowKlientLielaisEkrans();
    RefreshPirkumuSaraksts();
    if (NeraditTouchPogas) {
        pnlPogas->hide();
        pnlQuickButton->hide();
        PirkumuSaraksts->setFixedHeight(std::max(0, StatusBar1->y() - PirkumuSaraksts->mapTo(this, QPoint(0, 0)).y() - 1));
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
