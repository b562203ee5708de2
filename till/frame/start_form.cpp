#include "start_form.h"

#include "datumodelis.h"
#include "password_dlg.h"
#include "processes.h"
#include "settings.h"
#include "settings_store.h"

#include <QEvent>

QPointer<TStartForm> StartForm;

TStartForm::TStartForm(QWidget* owner) : QWidget(owner, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog) {
    setObjectName("StartForm");
    setFixedSize(292, 215);
    setStyleSheet("TStartForm { background: silver; }");
    QFont font("Times New Roman");
    font.setPixelSize(16);
    setFont(font);

    MainPanel = new QFrame(this);
    MainPanel->setObjectName("MainPanel");
    MainPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    MainPanel->setGeometry(rect());

    QFont banner("Times New Roman");
    banner.setPixelSize(35);
    banner.setBold(true);
    banner.setItalic(true);
    Label7 = new QLabel(MainPanel);
    Label7->setObjectName("Label7");
    Label7->setFont(banner);
    Label7->setStyleSheet("color: rgb(172,172,172)");
    Label7->setGeometry(24, 108, 260, 44);
    Label9 = new QLabel(MainPanel);
    Label9->setObjectName("Label9");
    Label9->setFont(banner);
    Label9->setStyleSheet("color: blue");
    Label9->setGeometry(21, 108, 260, 44);

    QFont small("Times New Roman");
    small.setPixelSize(13);
    lbVersion = new QLabel(MainPanel);
    lbVersion->setObjectName("lbVersion");
    lbVersion->setFont(small);
    lbVersion->setStyleSheet("color: grey");
    lbVersion->setGeometry(24, 168, 260, 16);
    shProcess = new QLabel("Process...", MainPanel);
    shProcess->setObjectName("shProcess");
    shProcess->setFont(small);
    shProcess->setStyleSheet("color: grey");
    shProcess->setGeometry(8, 192, 276, 16);
}

void TStartForm::FormActivate() {
    if (activating_) return;  // the log-in's own modal loop re-activates the splash
    activating_ = true;
    EndOldProcesses(CurrentProcessControl());
    const auto& store = platform::SettingsStore::current();
    if (DatuModelis && store.keyExists(kSetupKey))
        DatuModelis->Kontrollenta2 = QString::fromStdString(store.readText(kSetupKey, "Kontrollenta2").value_or(""));
    const bool older = !DatuModelis || DatuModelis->Kontrollenta2.isEmpty();
    Label7->setText(older ? "Tillora 2001" : "Tillora 2013");
    Label9->setText(Label7->text());
    lbVersion->setText(older ? "Ver. 2.00 (vienas kases režīms)" : "Ver. 5.00 (ar elektronisko kontrollenti)");
    if (!PasswordDlg) {
        PasswordDlg = new TPasswordDlg(this);
        PasswordDlg->exec();
    }
    activating_ = false;
}

void TStartForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}
