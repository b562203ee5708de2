#include "mainainkasacija.h"

#include "cash_in_out.h"
#include "klaviatura.h"
#include "report_fiscal_memory.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QShowEvent>

QPointer<TMainaInkasacija> MainaInkasacija;

TMainaInkasacija::TMainaInkasacija(QWidget* owner, int cekaValuta) : QDialog(owner) {
    setObjectName("MainaInkasacija");
    setWindowTitle("Maiņas nauda/Inkasācija");
    auto* grid = new QGridLayout(this);
    const auto row = [&](int at, QPushButton*& button, const char* buttonName, const QString& caption, QLineEdit*& field,
                         const char* fieldName) {
        button = new QPushButton(caption, this);
        button->setObjectName(buttonName);
        button->setAutoDefault(false);
        field = new QLineEdit(this);
        field->setObjectName(fieldName);
        grid->addWidget(button, at, 0);
        grid->addWidget(field, at, 1);
    };
    row(0, btIelikts, "btIelikts", "Maiņas nauda", shIelikts, "shIelikts");
    row(1, btInkasacija, "btInkasacija", "Inkasācija", shIznemts, "shIznemts");
    row(2, btMainaLVL, "btMainaLVL", "Maiņa LVL", shIeliktsLVL, "shIeliktsLVL");
    row(3, btInkasacijaLVL, "btInkasacijaLVL", "Inkasācija LVL", shIznemtsLVL, "shIznemtsLVL");
    auto* buttons = new QHBoxLayout;
    btDrukat = new QPushButton("&Drukāt", this);
    btDrukat->setObjectName("btDrukat");
    btClose = new QPushButton("&Aizvērt", this);
    btClose->setObjectName("btClose");
    btClose->setAutoDefault(false);
    buttons->addWidget(btDrukat);
    buttons->addWidget(btClose);
    grid->addLayout(buttons, 4, 0, 1, 2);

    // FormCreate: the lats controls only with receipts in euros that take lats too.
    for (QWidget* lats : {static_cast<QWidget*>(btMainaLVL), static_cast<QWidget*>(shIeliktsLVL),
                          static_cast<QWidget*>(btInkasacijaLVL), static_cast<QWidget*>(shIznemtsLVL)})
        lats->setVisible(cekaValuta == 1);

    connect(btIelikts, &QPushButton::clicked, this, &TMainaInkasacija::btIeliktsClick);
    connect(btInkasacija, &QPushButton::clicked, this, &TMainaInkasacija::btInkasacijaClick);
    connect(btMainaLVL, &QPushButton::clicked, this, &TMainaInkasacija::btMainaLVLClick);
    connect(btInkasacijaLVL, &QPushButton::clicked, this, &TMainaInkasacija::btInkasacijaLVLClick);
    connect(btDrukat, &QPushButton::clicked, this, &TMainaInkasacija::btDrukatClick);
    connect(btClose, &QPushButton::clicked, this, &TMainaInkasacija::btCloseClick);
}

void TMainaInkasacija::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormActivate();
}

void TMainaInkasacija::FormActivate() {
    for (QLineEdit* field : {shIelikts, shIznemts, shIeliktsLVL, shIznemtsLVL}) field->clear();
    Statuss = 0;
}

void TMainaInkasacija::keyboardInto(QLineEdit* field) {
    if (!Klaviatura) Klaviatura = new TKlaviatura(parentWidget());
    Klaviatura->shRinda->clear();
    Klaviatura->exec();
    field->setText(Klaviatura->shRinda->text());
}

void TMainaInkasacija::btIeliktsClick() { keyboardInto(shIelikts); }
void TMainaInkasacija::btInkasacijaClick() { keyboardInto(shIznemts); }
void TMainaInkasacija::btMainaLVLClick() { keyboardInto(shIeliktsLVL); }
void TMainaInkasacija::btInkasacijaLVLClick() { keyboardInto(shIznemtsLVL); }

void TMainaInkasacija::btDrukatClick() {
    // Hidden lats fields read as empty.
    const auto visibleText = [](const QLineEdit* field) { return field->isHidden() ? QString() : field->text(); };
    ReportFiscalMemory fm(*FMProc);
    const CashOutcome outcome =
        CashInOut({shIelikts->text(), visibleText(shIeliktsLVL), shIznemts->text(), visibleText(shIznemtsLVL)}, EUR_Kurss,
                  Kasieris, fm, *PrintClass);
    if (outcome.Statuss == 0) {
        if (outcome.focus == CashField::IeliktsLVL) shIeliktsLVL->setFocus();
        if (outcome.focus == CashField::IznemtsLVL) shIznemtsLVL->setFocus();
        return;
    }
    Statuss = outcome.Statuss;
    accept();
}

void TMainaInkasacija::btCloseClick() { reject(); }
