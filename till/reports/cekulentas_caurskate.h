// TCekuLentasCaurskate ("Čeku lentas caurskate"): the receipt journal review: the journal of a
// period and daily time window in a grid, positioning and search, the journal print and the copy
// of the selected receipt on the receipt printer.
#pragma once

#include "journal_review.h"

#include <QAbstractTableModel>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>

#include <array>
#include <functional>

class TPOSMain;
class TRadioGroup;

// The journal rows the grid shows, fetched from the open statement as the grid scrolls.
class JournalModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Replaces the rows with those of the statement (no rows when it could not be opened).
    void Reset(const QSqlDatabase& db, std::optional<QSqlQuery> query);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The first row (fetching as far as needed) that satisfies the test; -1 when none does.
    int Locate(const std::function<bool(const JournalLine&)>& test);
    const std::vector<JournalLine>& Lines() const { return lines_; }
    // Fetches the rest: the journal print prints every row of the statement.
    void FetchAll();

private:
    QSqlDatabase db_;
    std::optional<QSqlQuery> query_;
    bool more_ = false;
    std::vector<JournalLine> lines_;
};

class TCekuLentasCaurskate : public QDialog {
    Q_OBJECT
public:
    explicit TCekuLentasCaurskate(TPOSMain* owner);
    ~TCekuLentasCaurskate() override;

    void RefreshCekuLenta();
    JournalWindow Window() const;

    QTableView* grdCeki;
    JournalModel CekuLenta;
    QDateEdit* dtDatumsNo;
    QDateEdit* dtDatumsLidz;
    QLineEdit* edTimeNo;
    QLineEdit* edTimeLidz;
    QLineEdit* shFiltrs;
    QLineEdit* shMeklet;
    TRadioGroup* rdMekletPec;
    QLineEdit* edMeklet;
    QPushButton* spTurpinMekl;
    std::array<QLineEdit*, 5> shHead;
    QPushButton* BitBtn2;         // "Drukāt"
    QPushButton* btPrCekaKopija;  // "Čeka kopija"
    QPushButton* BitBtn1;         // "Aizvērt"

    void edMekletEnter();
    void spTurpinMeklClick();
    void BitBtn2Click();
    void btPrCekaKopijaClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LocateIsn(int isn);
    TPOSMain& main_;
    SearchHits hits_;
};

extern QPointer<TCekuLentasCaurskate> CekuLentasCaurskate;
