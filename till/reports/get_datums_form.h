// TGetDatumsForm ("Datuma, klienta un preces izvēle"): the report menu's period dialog. The
// annulled-receipt list reads its two dates; the dates stay between uses.
#pragma once

#include <QPointer>

#include <QDateEdit>
#include <QDialog>
#include <QPushButton>

class TGetDatumsForm : public QDialog {
    Q_OBJECT
public:
    // Both dates start at today (the till's clock).
    explicit TGetDatumsForm(QWidget* owner);
    QDateEdit* DatumsNo;
    QDateEdit* DatumsLidz;
    QPushButton* btOK;
};

extern QPointer<TGetDatumsForm> GetDatumsForm;
