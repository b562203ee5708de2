// The sale window's message service, start-up progress line, clock, sizing rules and the
// application-wide message hook.
#include "posmain.h"

#include "text_format.h"

#include "clock.h"
#include "start_form.h"

#include <QApplication>
#include <QScreen>
#include <QTime>
#include <QWheelEvent>

void TPOSMain::ShowPazinojums(const QString& text, bool force) {
    ::ShowPazinojums(text, force, FiskPrinteris, RetPosList.get());
}

void TPOSMain::ShowStartProcess(const QString& text) {
    if (!StartForm) return;
    StartForm->shProcess->setText(text);
    StartForm->shProcess->repaint();
}

void TPOSMain::TimerPulkstenisTimer() {
    const auto now = platform::localNow();
    SetStatusText(1, TimeText(QTime(now.hour, now.minute, now.second)));
    lbSversana->setVisible(WeighingTick(*this));
}

void TPOSMain::SetStatusText(int panel, const QString& text) { StatusPanels[std::size_t(panel)]->setText(text); }

QString TPOSMain::StatusText(int panel) const { return StatusPanels[std::size_t(panel)]->text(); }

void TPOSMain::SetFullScreen() {
    if (!FullScreen) return;
    // The whole screen, as a shop's till: a window manager takes the state and leaves no title
    // bar or border past the edges; without one the geometry is all there is.
    setGeometry(QGuiApplication::primaryScreen()->geometry());
    setWindowState(windowState() | Qt::WindowFullScreen);
}

void TPOSMain::ShowKlientLielaisEkrans() {
    if (KlientLielaisEkrans <= 0 || !::KlientLielaisEkrans) return;
    QWidget* screen = ::KlientLielaisEkrans;
    const QRect primary = QGuiApplication::primaryScreen()->geometry();
    screen->show();
    if (KlientLielaisEkrans == 1) {
        screen->setGeometry(primary.width() + 1, 0, primary.width(), primary.height());
    } else {
        screen->setGeometry(primary.width() + 1, 0, KlScreenWidth, KlScreenHeight);
        for (const char* name : {"PirkumuSaraksts", "lbHeader"}) {
            if (auto* part = screen->findChild<QWidget*>(name)) {
                QFont font = part->font();
                font.setPointSize(11);
                part->setFont(font);
            }
        }
    }
    edArtikuls->setFocus();
}

bool TPOSMain::eventFilter(QObject* watched, QEvent* event) {
    // AppMessage: a wheel turn while the receipt list has the focus moves its selection one row
    // and is taken as a key press (not scrolled); every other message passes on.
    if (event->type() == QEvent::Wheel && QApplication::focusWidget() == PirkumuSaraksts) {
        const int distance = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (distance != 0) {
            PirkumuSaraksts->setCurrentRow(WheelSelection(PirkumuSaraksts->currentRow(), distance));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
