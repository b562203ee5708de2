#include "fmtest_form.h"

#include "ui_services.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>

bool prepareFiscalMemory(std::unique_ptr<TFMProc>& fmProc)
{
    fmProc = std::make_unique<TFMProc>();
    if (fmProc->Status == 0)
        return true;
    if (!fmProc->UncreatedRecord.isEmpty())
        platform::ui::showMessage(QStringLiteral("Fiskālajā blokā nav izveidots ieraksts %1 !!!").arg(fmProc->UncreatedRecord));
    else
        platform::ui::showMessage(QStringLiteral("Nav pieslēgts fiskālais bloks !!!"));
    return false;
}

TFmTest::TFmTest(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Fiskon"));
    setFixedSize(124, 21);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

TFmTest::~TFmTest() { FormDestroy(); }

void TFmTest::FormCreate()
{
    // A headless run or a desktop without a notification area simply has no icon.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    trayIcon_ = new QSystemTrayIcon(style()->standardIcon(QStyle::SP_DriveHDIcon), this);
    trayIcon_->setToolTip(QStringLiteral("Fiskon"));
    connect(trayIcon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            show();
            raise();
            activateWindow();
        }
    });
    trayIcon_->show();
}

void TFmTest::FormDestroy()
{
    if (trayIcon_)
        trayIcon_->hide();
}

bool TFmTest::event(QEvent* e)
{
    // The work runs once, after the window is up, as the form's first activation.
    if ((e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) && !activated_) {
        activated_ = true;
        QTimer::singleShot(0, this, &TFmTest::FormActivate);
    }
    return QWidget::event(e);
}

void TFmTest::FormActivate()
{
    ExitCode = prepareFiscalMemory(FMProc) ? 0 : 1;
    close();
    QCoreApplication::exit(ExitCode);
}
