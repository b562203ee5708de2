#include "get_datums_form.h"

#include "clock.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

QPointer<TGetDatumsForm> GetDatumsForm;

TGetDatumsForm::TGetDatumsForm(QWidget* owner) : QDialog(owner) {
    setObjectName("GetDatumsForm");
    setWindowTitle("Datuma, klienta un preces izvēle");
    const platform::LocalTime now = platform::localNow();
    const QDate today(now.year, now.month, now.day);
    auto* column = new QVBoxLayout(this);
    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel("Laika periods", this));
    DatumsNo = new QDateEdit(today, this);
    DatumsNo->setObjectName("DatumsNo");
    DatumsNo->setCalendarPopup(true);
    DatumsNo->setDisplayFormat("dd.MM.yyyy");
    period->addWidget(DatumsNo);
    period->addWidget(new QLabel("līdz", this));
    DatumsLidz = new QDateEdit(today, this);
    DatumsLidz->setObjectName("DatumsLidz");
    DatumsLidz->setCalendarPopup(true);
    DatumsLidz->setDisplayFormat("dd.MM.yyyy");
    period->addWidget(DatumsLidz);
    column->addLayout(period);
    btOK = new QPushButton("OK", this);
    btOK->setObjectName("btOK");
    column->addWidget(btOK);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
}
