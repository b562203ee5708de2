#include "atminas_karte.h"

#include "fmproc.h"
#include "record_texts.h"
#include "ui_services.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>

#include <utility>

namespace {

QLineEdit* counterField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setEnabled(false);
    return field;
}

}  // namespace

TAtminasKarte::TAtminasKarte(QWidget* owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Atmiņas karte"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(427, 363);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Summas par nodaļām"), this), 0, 0);
    grid->addWidget(shValutLabel = new QLabel(QStringLiteral("Summas par valūtām"), this), 0, 1);
    grid->addWidget(lstSumPaNodalam = new QListWidget(this), 1, 0);
    grid->addWidget(lstSumValuta = new QListWidget(this), 1, 1);
    lstSumPaNodalam->setFont(fixed);
    lstSumValuta->setFont(fixed);
    const std::pair<const char*, QLineEdit**> counters[] = {{"Storno čeku summa", &shStorno},
                                                            {"Ielikts", &shIelikts},
                                                            {"Izņemts", &shIznemts},
                                                            {"Korekcijas summa", &shKorekcija}};
    int row = 2;
    for (const auto& [label, field] : counters) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
        grid->addWidget(*field = counterField(this), row++, 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("Atgrieztā tara"), this), row, 0);
    auto* packaging = new QHBoxLayout;
    packaging->addWidget(shAtgrTaraSkaits = counterField(this));
    packaging->addWidget(shAtgrTaraSumma = counterField(this));
    grid->addLayout(packaging, row++, 1);
    grid->addWidget(BitBtn1 = new QPushButton(QStringLiteral("Aizvērt"), this), row, 1);
    connect(BitBtn1, &QPushButton::clicked, this, &TAtminasKarte::BitBtn1Click);
}

bool TAtminasKarte::event(QEvent* e)
{
    // Every showing and every return to the window reads the records again. Showing a window
    // also activates it: that activation is the same opening and reads nothing more.
    if (e->type() == QEvent::Show) {
        readOnShow_ = true;
        FormActivate();
    } else if (e->type() == QEvent::WindowActivate && !std::exchange(readOnShow_, false)) {
        FormActivate();
    } else if (e->type() == QEvent::Hide) {
        readOnShow_ = false;
    }
    return QDialog::event(e);
}

QString TAtminasKarte::readRecord(const char* name)
{
    QString text;
    // A failed read has been shown and logged by the fiscal-memory layer.
    if (!FMProc->FMRead(QString::fromLatin1(name), text))
        platform::ui::endProgram(1);
    return text;
}

void TAtminasKarte::FormActivate()
{
    if (FMProc->Status != 0)
        platform::ui::showMessage(QStringLiteral("Nav pieslēgts fiskālais bloks !!!"));
    lstSumPaNodalam->clear();
    lstSumValuta->clear();
    lstSumPaNodalam->addItems(setuprecords::departmentLines(readRecord("NOD_D_SUM")));
    const QString currencies = readRecord("VALUT_D_S");
    // The "ID CS" kind keeps no currency sums.
    const bool currencyList = FMProc->FMTips != TFMProc::IdCard;
    lstSumValuta->setVisible(currencyList);
    shValutLabel->setVisible(currencyList);
    if (currencyList)
        lstSumValuta->addItems(setuprecords::currencyLines(currencies));
    using setuprecords::counterAmount;
    shStorno->setText(counterAmount(readRecord("STORNO_SUM"), 0, 9));
    shIelikts->setText(counterAmount(readRecord("IELIKTS"), 4, 8));
    shIznemts->setText(counterAmount(readRecord("IZNEMTS"), 4, 8));
    shKorekcija->setText(counterAmount(readRecord("KOREKCIJA"), 4, 8));
    const QString packaging = readRecord("ATGRTARA");
    shAtgrTaraSkaits->setText(packaging.left(4));
    shAtgrTaraSumma->setText(counterAmount(packaging, 4, 8));
}
