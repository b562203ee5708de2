// TStartForm: the splash shown while the till starts: banner, start-up progress line, ending of
// stray main-program processes and the cashier log-in.
#pragma once

#include <QPointer>

#include <QFrame>
#include <QLabel>
#include <QWidget>

class TStartForm : public QWidget {
    Q_OBJECT
public:
    explicit TStartForm(QWidget* owner = nullptr);

    QFrame* MainPanel;
    QLabel* Label7;    // banner, grey shadow
    QLabel* Label9;    // banner, blue, three pixels further left
    QLabel* lbVersion;
    QLabel* shProcess;  // the progress line the start-up writes

    // Runs on every activation: ends stray main programs, reads "Kontrollenta2", sets the banner,
    // and on the first one only shows the cashier log-in modally.
    void FormActivate();

protected:
    void changeEvent(QEvent* event) override;

private:
    bool activating_ = false;
};

extern QPointer<TStartForm> StartForm;
