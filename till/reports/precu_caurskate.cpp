#include "precu_caurskate.h"

#include "datumodelis.h"
#include "klaviatura.h"
#include "posmain.h"
#include "ui_services.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWheelEvent>

QPointer<TPrecuCaurskate> PrecuCaurskate;

namespace {
const char* const kFields[] = {"ARTIKULS", "GNOS", "CENA", "NODALA"};
}

TPrecuCaurskate::TPrecuCaurskate(TPOSMain* owner) : QDialog(owner), main_(*owner)
{
    setObjectName("PrecuCaurskate");
    setWindowTitle("Preču saraksta caurskate");
    auto* column = new QVBoxLayout(this);
    pgLappuses = new QTabWidget(this);
    pgLappuses->setObjectName("pgLappuses");
    tabPreces = new QWidget;
    auto* goods = new QVBoxLayout(tabPreces);
    grdPrecuSaraksts = new QTableView(tabPreces);
    grdPrecuSaraksts->setObjectName("grdPrecuSaraksts");
    grdPrecuSaraksts->setModel(&model_);
    grdPrecuSaraksts->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdPrecuSaraksts->setSelectionMode(QAbstractItemView::SingleSelection);
    grdPrecuSaraksts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPrecuSaraksts->verticalHeader()->hide();
    grdPrecuSaraksts->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    goods->addWidget(grdPrecuSaraksts);
    pgLappuses->addTab(tabPreces, "Preču saraksts");
    tabZudezo = new QWidget;
    auto* vouchers = new QVBoxLayout(tabZudezo);
    lstZudezoPreces = new QListWidget(tabZudezo);
    lstZudezoPreces->setObjectName("lstZudezoPreces");
    vouchers->addWidget(lstZudezoPreces);
    pgLappuses->addTab(tabZudezo, "Zudezo");
    column->addWidget(pgLappuses, 1);
    auto* bottom = new QHBoxLayout;
    shMeklet = new QLineEdit(this);
    shMeklet->setObjectName("shMeklet");
    btMeklet = new QPushButton("Meklēt", this);
    btMeklet->setObjectName("btMeklet");
    BitBtn1 = new QPushButton("Aizvērt", this);
    BitBtn1->setObjectName("BitBtn1");
    bottom->addWidget(shMeklet, 1);
    bottom->addWidget(btMeklet);
    bottom->addWidget(BitBtn1);
    column->addLayout(bottom);

    model_.setHorizontalHeaderLabels({"Artikuls", "Preces nosaukums", "Cena", "Nodaļa"});
    connect(grdPrecuSaraksts->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        KartotPec = GoodsOrder(section >= 0 && section < 4 ? QString::fromLatin1(kFields[section]) : QString());
        RefreshPreces();
    });
    connect(grdPrecuSaraksts, &QTableView::doubleClicked, this, [this] { ChooseCurrent(); });
    connect(btMeklet, &QPushButton::clicked, this, [this] {
        if (!Klaviatura) Klaviatura = new TKlaviatura(&main_);
        Klaviatura->shRinda->clear();
        Klaviatura->exec();
        shMeklet->setText(Klaviatura->shRinda->text());
        SearchEnter();
    });
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    shMeklet->installEventFilter(this);
    grdPrecuSaraksts->installEventFilter(this);
    grdPrecuSaraksts->viewport()->installEventFilter(this);
}

void TPrecuCaurskate::RefreshPreces()
{
    if (KartotPec.isEmpty()) KartotPec = QStringLiteral("ARTIKULS");
    try {
        rows_ = LoadGoods(DatuModelis->POS_DB(), KartotPec);
    } catch (const std::exception& error) {
        rows_.clear();
        platform::ui::showMessage(QString::fromStdString(error.what()));
    }
    model_.removeRows(0, model_.rowCount());
    for (const GoodsRow& row : rows_)
        model_.appendRow({new QStandardItem(row.artikuls), new QStandardItem(row.gnos),
                          new QStandardItem(QString::number(row.cena, 'f', 2)), new QStandardItem(QString::number(row.nodala))});
    moveTo(0);
}

void TPrecuCaurskate::showEvent(QShowEvent* event)
{
    pgLappuses->setCurrentWidget(tabPreces);
    const bool vouchers = main_.PrepaidServVeids == 2;
    pgLappuses->setTabVisible(pgLappuses->indexOf(tabZudezo), vouchers);
    lstZudezoPreces->clear();
    if (vouchers) lstZudezoPreces->addItems(GetVoucherProducts(main_.ZudezoClientID, main_.ZudezoPasword, main_.ZudezoUserID));
    RefreshPreces();
    shMeklet->setFocus();
    QDialog::showEvent(event);
}

void TPrecuCaurskate::moveTo(int row)
{
    if (row >= 0 && row < model_.rowCount()) grdPrecuSaraksts->selectRow(row);
}

void TPrecuCaurskate::SearchTyped(const QString& text)
{
    try {
        moveTo(FindGoods(rows_, DatuModelis->POS_DB(), text));
    } catch (const std::exception& error) {
        platform::ui::showMessage(QString::fromStdString(error.what()));
    }
}

void TPrecuCaurskate::SearchEnter()
{
    grdPrecuSaraksts->setFocus();
    const int row = grdPrecuSaraksts->currentIndex().row();
    if (row < 0 || std::size_t(row) >= rows_.size() || !GoodsMatch(rows_[std::size_t(row)], shMeklet->text()))
        platform::ui::showMessage(kGoodsNotFoundMessage);
}

void TPrecuCaurskate::ChooseCurrent()
{
    const int row = grdPrecuSaraksts->currentIndex().row();
    if (row >= 0 && std::size_t(row) < rows_.size())
        main_.edArtikuls->setText(main_.edArtikuls->text() + rows_[std::size_t(row)].artikuls);
    accept();
}

bool TPrecuCaurskate::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == shMeklet) {
            if (enter) {
                SearchEnter();
                return true;
            }
            if (!key->text().isEmpty() && key->text()[0].isPrint()) SearchTyped(shMeklet->text() + key->text());
        } else if (watched == grdPrecuSaraksts && enter) {
            ChooseCurrent();
            return true;
        }
    }
    if (watched == grdPrecuSaraksts->viewport() && event->type() == QEvent::Wheel) {
        // Nine rows a turn; the grid's own scrolling never runs.
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        const int row = grdPrecuSaraksts->currentIndex().row();
        if (delta != 0 && model_.rowCount() > 0)
            moveTo(std::clamp(row + (delta > 0 ? -9 : 9), 0, model_.rowCount() - 1));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
