#include "get_datums_form.h"

#include "clock.h"
#include "datumodelis.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSqlQuery>
#include <QVBoxLayout>
#include <QWheelEvent>

QPointer<TGetDatumsForm> GetDatumsForm;

namespace {

QTableView* choiceGrid(QWidget* owner, const char* name, QSqlQueryModel& model)
{
    auto* grid = new QTableView(owner);
    grid->setObjectName(name);
    grid->setModel(&model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::MultiSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return grid;
}

void reload(QSqlQueryModel& model, const char* statement)
{
    QSqlQuery query(DatuModelis->POS_DB());
    query.exec(QString::fromLatin1(statement));
    model.setQuery(std::move(query));
    while (model.canFetchMore()) model.fetchMore();
}

// The grid's rows as (key, name) in list order, and the chosen rows in the order they were chosen.
ReportFilter selectionOf(QTableView& grid, const QSqlQueryModel& model, int keyColumn, int nameColumn)
{
    std::vector<SelectionEntry> list;
    for (int r = 0; r < model.rowCount(); ++r)
        list.push_back({model.index(r, keyColumn).data().toString(), model.index(r, nameColumn).data().toString()});
    std::vector<int> chosen;
    for (const QModelIndex& index : grid.selectionModel()->selectedRows()) chosen.push_back(index.row());
    ReportFilter filter = BuildSelectionFilter(list, chosen, model.query().isActive());
    if (model.rowCount() > 0) grid.setCurrentIndex(model.index(0, 0));
    return filter;
}

int findStarting(const QSqlQueryModel& model, int column, const QString& text)
{
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.index(r, column).data().toString().startsWith(text)) return r;
    return -1;
}

}  // namespace

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
    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel("Klienta meklēšana :", this));
    shKlienti = new QLineEdit(this);
    shKlienti->setObjectName("shKlienti");
    shKlienti->installEventFilter(this);
    search->addWidget(shKlienti);
    column->addLayout(search);
    auto* lists = new QHBoxLayout;
    grdKlienti = choiceGrid(this, "grdKlienti", dbKlienti);
    grdPreces = choiceGrid(this, "grdPreces", dbPreces);
    for (QTableView* grid : {grdKlienti, grdPreces}) grid->viewport()->installEventFilter(this);
    lists->addWidget(grdKlienti);
    lists->addWidget(grdPreces);
    column->addLayout(lists);
    btOK = new QPushButton("OK", this);
    btOK->setObjectName("btOK");
    column->addWidget(btOK);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TGetDatumsForm::showEvent(QShowEvent* event) {
    // Only customers that occur in the journal.
    reload(dbKlienti,
           "SELECT N_KLIENTI.GNOS, N_KLIENTI.KODS FROM REALIZ JOIN N_KLIENTI ON REALIZ.KL_KODS = N_KLIENTI.KODS "
           "GROUP BY N_KLIENTI.GNOS, N_KLIENTI.KODS ORDER BY N_KLIENTI.GNOS");
    reload(dbPreces, "SELECT N_PRECE.ISN, N_PRECE.GNOS, N_PRECE.ARTIKULS FROM N_PRECE ORDER BY N_PRECE.ARTIKULS, N_PRECE.GNOS");
    grdKlienti->clearSelection();
    grdPreces->clearSelection();
    QDialog::showEvent(event);
}

void TGetDatumsForm::done(int result) {
    Klienti = selectionOf(*grdKlienti, dbKlienti, 1, 0);
    Preces = selectionOf(*grdPreces, dbPreces, 2, 1);
    QDialog::done(result);
}

void TGetDatumsForm::FindKlients(const QString& text) {
    int row = findStarting(dbKlienti, 1, text);
    if (row < 0) row = findStarting(dbKlienti, 0, text);
    if (row < 0) {
        QSqlQuery query(DatuModelis->POS_DB());
        query.prepare(QStringLiteral("SELECT GNOS FROM N_KLIENTI WHERE GNOS CONTAINING :LAUKS"));
        query.bindValue(QStringLiteral(":LAUKS"), text);
        if (query.exec() && query.next() && !query.value(0).toString().isEmpty())
            row = findStarting(dbKlienti, 0, query.value(0).toString());
    }
    if (row >= 0) grdKlienti->selectionModel()->setCurrentIndex(dbKlienti.index(row, 0), QItemSelectionModel::NoUpdate);
}

bool TGetDatumsForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == shKlienti && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            grdKlienti->setFocus();
            grdKlienti->selectionModel()->select(grdKlienti->currentIndex(),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
            return true;
        }
        if (!key->text().isEmpty()) FindKlients(shKlienti->text() + key->text());
        return false;
    }
    if (event->type() == QEvent::Wheel) {
        // A notch moves the current row 9 rows; the grid's own scrolling does not run.
        QTableView* grid = watched == grdKlienti->viewport() ? grdKlienti : grdPreces;
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        const int notches = delta / 120;
        if (notches != 0 && grid->model()->rowCount() > 0) {
            const int row = std::clamp(grid->currentIndex().row() - 9 * notches, 0, grid->model()->rowCount() - 1);
            grid->selectionModel()->setCurrentIndex(grid->model()->index(row, 0), QItemSelectionModel::NoUpdate);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
