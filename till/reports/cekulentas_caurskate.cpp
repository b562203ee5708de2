#include "cekulentas_caurskate.h"

#include "datumodelis.h"
#include "posmain.h"
#include "radio_group.h"
#include "receipt_copy.h"
#include "report_fiscal_memory.h"
#include "regional.h"
#include "clock.h"
#include "ui_services.h"

#include "fmproc.h"
#include "printclass.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

QPointer<TCekuLentasCaurskate> CekuLentasCaurskate;

namespace {

const char* const kTitles[] = {"Čeka Nr.", "Datums", "Pirkuma laiks", "Klienta kods", "Artikuls", "Preces nosaukums",
                               "Cena", "Daudzums", "Atlaide", "Summa", "Saņemtā nauda", "Izdotā nauda",
                               "Klienta nosaukums", "Kasieris"};
constexpr int kFetchRows = 64;  // a screen of the grid and a little more

QString fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }

// The sale window as the copy sees it.
class CopyOnWindow : public ClosingHost {
public:
    explicit CopyOnWindow(TPOSMain& window) : window_(window) {}
    int PrintCekaRinda(const TCekaRinda& line) override
    {
        return window_.PrintCekaRinda(line.Nodala, line.Nosaukums, line.Cena, line.Daudzums * line.Iepakojums,
                                      line.Atlaide, line.Artikuls, line.Mervieniba, false, 0);
    }
    QStringList MaksatajaRindas() override { return {}; }
    void AnuletCeku() override { window_.AnuletCeku(); }
    void SetStatusText(const QString& text) override { window_.StatusBar1->showMessage(text); }
    void ShowPazinojums(const QString& text) override { window_.ShowPazinojums(text); }

private:
    TPOSMain& window_;
};

}  // namespace

// ---------------------------------------------------------------- grid rows

void JournalModel::Reset(const QSqlDatabase& db, std::optional<QSqlQuery> query)
{
    beginResetModel();
    db_ = db;
    query_ = std::move(query);
    more_ = query_.has_value();
    lines_.clear();
    endResetModel();
}

int JournalModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(lines_.size()); }
int JournalModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 14; }

QVariant JournalModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const JournalLine& l = lines_[std::size_t(index.row())];
    switch (index.column()) {
    case 0: return l.ceka_nr;
    case 1: return QString::fromStdString(platform::shortDateText(l.datums.year(), l.datums.month(), l.datums.day()));
    case 2: return l.laiks;
    case 3: return l.kl_kods;
    case 4: return l.artikuls;
    case 5: return l.precnos;
    case 6: return fixed(l.cena, 3);
    case 7: return fixed(l.daudzums, 3);
    case 8: return l.atlaide;
    case 9: return fixed(l.SummaShow, 2);
    case 10: return fixed(l.sanemts, 2);
    case 11: return fixed(l.izdots, 2);
    case 12: return l.ShKlientaNosaukums;
    case 13: return l.kasieris;
    }
    return {};
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= 14) return {};
    return QString::fromUtf8(kTitles[section]);
}

bool JournalModel::canFetchMore(const QModelIndex& parent) const { return !parent.isValid() && more_; }

void JournalModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || !more_) return;
    std::vector<JournalLine> fetched;
    while (int(fetched.size()) < kFetchRows && (more_ = query_->next())) fetched.push_back(ReadJournalLine(db_, *query_));
    if (fetched.empty()) return;
    beginInsertRows({}, int(lines_.size()), int(lines_.size() + fetched.size()) - 1);
    lines_.insert(lines_.end(), fetched.begin(), fetched.end());
    endInsertRows();
}

int JournalModel::Locate(const std::function<bool(const JournalLine&)>& test)
{
    for (std::size_t i = 0;; ++i) {
        if (i == lines_.size()) {
            if (!more_) return -1;
            fetchMore({});
            if (i == lines_.size()) return -1;
        }
        if (test(lines_[i])) return int(i);
    }
}

void JournalModel::FetchAll()
{
    while (more_) fetchMore({});
}

// ---------------------------------------------------------------- window

TCekuLentasCaurskate::TCekuLentasCaurskate(TPOSMain* owner) : QDialog(owner), main_(*owner)
{
    setObjectName("CekuLentasCaurskate");
    setWindowTitle("Čeku lentas caurskate");
    const platform::LocalTime now = platform::localNow();
    const QDate today(now.year, now.month, now.day);
    auto* column = new QVBoxLayout(this);
    auto* filters = new QHBoxLayout;
    auto dateEdit = [&](const char* name) {
        auto* edit = new QDateEdit(today, this);
        edit->setObjectName(name);
        edit->setCalendarPopup(true);
        edit->setDisplayFormat("dd.MM.yyyy");
        filters->addWidget(edit);
        return edit;
    };
    auto lineEdit = [&](const char* name, const char* label, QLayout* into) {
        if (label) into->addWidget(new QLabel(QString::fromUtf8(label), this));
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        into->addWidget(edit);
        return edit;
    };
    dtDatumsNo = dateEdit("dtDatumsNo");
    dtDatumsLidz = dateEdit("dtDatumsLidz");
    edTimeNo = lineEdit("edTimeNo", nullptr, filters);
    edTimeLidz = lineEdit("edTimeLidz", nullptr, filters);
    for (QLineEdit* time : {edTimeNo, edTimeLidz}) time->setInputMask("99:99;_");
    edTimeNo->setText("00:00");
    edTimeLidz->setText("23:59");
    shFiltrs = lineEdit("shFiltrs", "Atlasīt :", filters);
    shMeklet = lineEdit("shMeklet", "Meklēt :", filters);
    column->addLayout(filters);
    auto* search = new QHBoxLayout;
    rdMekletPec = new TRadioGroup("Meklēt pēc :", {"Čeka Nr", "Preces artikula/nosaukuma"}, 2, this);
    rdMekletPec->setObjectName("rdMekletPec");
    rdMekletPec->SetItemIndex(0);
    search->addWidget(rdMekletPec);
    edMeklet = lineEdit("edMeklet", "Meklēt :", search);
    spTurpinMekl = new QPushButton("Turpināt meklēt", this);
    spTurpinMekl->setObjectName("spTurpinMekl");
    spTurpinMekl->setEnabled(false);
    search->addWidget(spTurpinMekl);
    column->addLayout(search);
    grdCeki = new QTableView(this);
    grdCeki->setObjectName("grdCeki");
    grdCeki->setModel(&CekuLenta);
    grdCeki->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdCeki->setSelectionMode(QAbstractItemView::SingleSelection);
    grdCeki->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdCeki->verticalHeader()->hide();
    grdCeki->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    column->addWidget(grdCeki, 1);
    auto* heads = new QGroupBox("Teksts atskaites galvā", this);
    auto* headRows = new QVBoxLayout(heads);
    const std::vector<QString> stored = LoadJournalHeads();
    for (std::size_t i = 0; i < shHead.size(); ++i) {
        shHead[i] = new QLineEdit(stored[i], heads);
        shHead[i]->setObjectName(QString("shHead%1").arg(i + 1));
        headRows->addWidget(shHead[i]);
    }
    column->addWidget(heads);
    auto* buttons = new QHBoxLayout;
    BitBtn2 = new QPushButton("Drukāt", this);
    btPrCekaKopija = new QPushButton("Čeka kopija", this);
    BitBtn1 = new QPushButton("Aizvērt", this);
    BitBtn2->setObjectName("BitBtn2");
    btPrCekaKopija->setObjectName("btPrCekaKopija");
    BitBtn1->setObjectName("BitBtn1");
    for (QPushButton* button : {BitBtn2, btPrCekaKopija, BitBtn1}) buttons->addWidget(button);
    column->addLayout(buttons);

    connect(dtDatumsNo, &QDateEdit::dateChanged, this, &TCekuLentasCaurskate::RefreshCekuLenta);
    connect(dtDatumsLidz, &QDateEdit::dateChanged, this, &TCekuLentasCaurskate::RefreshCekuLenta);
    connect(edTimeNo, &QLineEdit::textChanged, this, &TCekuLentasCaurskate::RefreshCekuLenta);
    connect(edTimeLidz, &QLineEdit::textChanged, this, &TCekuLentasCaurskate::RefreshCekuLenta);
    connect(shFiltrs, &QLineEdit::editingFinished, this, &TCekuLentasCaurskate::RefreshCekuLenta);
    connect(edMeklet, &QLineEdit::returnPressed, this, &TCekuLentasCaurskate::edMekletEnter);
    connect(spTurpinMekl, &QPushButton::clicked, this, &TCekuLentasCaurskate::spTurpinMeklClick);
    connect(BitBtn2, &QPushButton::clicked, this, &TCekuLentasCaurskate::BitBtn2Click);
    connect(btPrCekaKopija, &QPushButton::clicked, this, &TCekuLentasCaurskate::btPrCekaKopijaClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    shMeklet->installEventFilter(this);
}

TCekuLentasCaurskate::~TCekuLentasCaurskate()
{
    std::vector<QString> heads;
    for (QLineEdit* head : shHead) heads.push_back(head->text());
    SaveJournalHeads(heads);
}

JournalWindow TCekuLentasCaurskate::Window() const
{
    return {dtDatumsNo->date(), dtDatumsLidz->date(), edTimeNo->text(), edTimeLidz->text(), shFiltrs->text().trimmed()};
}

void TCekuLentasCaurskate::RefreshCekuLenta()
{
    const QSqlDatabase db = DatuModelis->POS_DB();
    try {
        CekuLenta.Reset(db, OpenJournal(db, Window()));
    } catch (const JournalError& error) {
        CekuLenta.Reset(db, std::nullopt);
        platform::ui::showMessage(QString::fromStdString(error.what()));
    }
}

void TCekuLentasCaurskate::showEvent(QShowEvent* event)
{
    RefreshCekuLenta();
    QDialog::showEvent(event);
}

void TCekuLentasCaurskate::LocateIsn(int isn)
{
    const int row = CekuLenta.Locate([isn](const JournalLine& line) { return line.isn == isn; });
    if (row >= 0) grdCeki->selectRow(row);
}

bool TCekuLentasCaurskate::eventFilter(QObject* watched, QEvent* event)
{
    // Quick positioning: the first row whose receipt number begins with what is typed so far.
    if (watched == shMeklet && event->type() == QEvent::KeyPress) {
        const QString typed = shMeklet->text() + static_cast<QKeyEvent*>(event)->text();
        if (!typed.isEmpty()) {
            const int row = CekuLenta.Locate(
                [&typed](const JournalLine& line) { return QString::number(line.ceka_nr).startsWith(typed); });
            if (row >= 0) grdCeki->selectRow(row);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TCekuLentasCaurskate::edMekletEnter()
{
    try {
        const auto by = rdMekletPec->ItemIndex() == 0 ? SearchBy::Receipt : SearchBy::ArticleOrName;
        if (const auto first = hits_.Start(SearchJournal(DatuModelis->POS_DB(), Window(), by, edMeklet->text()))) {
            spTurpinMekl->setEnabled(true);
            LocateIsn(*first);
        }
    } catch (const JournalError& error) {
        platform::ui::showMessage(QString::fromStdString(error.what()));
    }
}

void TCekuLentasCaurskate::spTurpinMeklClick()
{
    bool usedUp = false;
    const int isn = hits_.Next(usedUp);
    if (isn != 0) {
        LocateIsn(isn);
        grdCeki->setFocus();
    }
    if (usedUp) spTurpinMekl->setEnabled(false);
}

void TCekuLentasCaurskate::BitBtn2Click()
{
    CekuLenta.FetchAll();
    std::vector<QString> heads;
    for (QLineEdit* head : shHead) heads.push_back(head->text());
    platform::report::preview(BuildCekuLenta(CekuLenta.Lines(), heads, JournalPrintTitle(Window())));
}

void TCekuLentasCaurskate::btPrCekaKopijaClick()
{
    JournalCopyRequest request;
    const QModelIndex current = grdCeki->currentIndex();
    if (current.isValid()) {
        const JournalLine& line = CekuLenta.Lines()[std::size_t(current.row())];
        request.cekaNr = line.ceka_nr;
        request.datums = line.datums;
    }
    request.RinduSkaits = main_.RinduSkaits;
    request.kinds = main_.ApmaksasVeidi;
    request.currentKindText = main_.cmbApmaksasVeids->currentText();
    request.PrepaidNodala = main_.PrepaidNodala;
    request.Kasieris = main_.Kasieris;
    CopyOnWindow host(main_);
    ReportFiscalMemory fm(*main_.FMProc);
    try {
        PrintJournalReceiptCopy(DatuModelis->POS_DB(), *main_.PrintClass, fm, host, request);
    } catch (const platform::ui::ProgramEnded&) {
        throw;
    } catch (const std::runtime_error& error) {
        platform::ui::showMessage(QString::fromStdString(error.what()));
    }
}
