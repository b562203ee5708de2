// The orders list: the filters (waiter and table tabs, period, payment state), the rebuilt list
// with its total and current row, and the tabs' contents.
#include "pasutijumi.h"

#include "order_list_model.h"
#include "radio_group.h"

#include <QItemSelectionModel>
#include <QSignalBlocker>

#include <algorithm>

namespace {

const QString kAllWaiters = QStringLiteral("Visi Bārmeņi");
const QString kAllTables = QStringLiteral("Visi");

// The filter a tab's text gives: the tab meaning "all" (tested by its text) gives none.
std::optional<QString> TabFilter(const QTabBar& tabs, const QString& all) {
    const QString text = tabs.tabText(tabs.currentIndex());
    if (text == all) return std::nullopt;
    return text;
}

void SelectFirstTab(QTabBar& tabs) {
    if (tabs.currentIndex() >= 0 || tabs.count() == 0) return;
    const QSignalBlocker quiet(&tabs);
    tabs.setCurrentIndex(0);
}

// The tabs "all" and one per name; the combo's list the names, its first entry chosen.
void FillTabs(QTabBar& tabs, QComboBox& combo, const QString& all, const QStringList& names) {
    const QSignalBlocker quietTabs(&tabs);
    while (tabs.count() > 0) tabs.removeTab(0);
    combo.clear();
    tabs.addTab(all);
    for (const QString& name : names) tabs.addTab(name);
    combo.addItems(names);
    if (!names.isEmpty()) combo.setCurrentIndex(0);
}

int FindTab(const QTabBar& tabs, const QString& text) {
    for (int i = 0; i < tabs.count(); ++i)
        if (tabs.tabText(i) == text) return i;
    return -1;
}

}  // namespace

void TPasutijumi::RefreshPasutijumi(int isn) {
    SelectFirstTab(*tabBarmeni);
    SelectFirstTab(*tabGaldi);
    OrderFilter filter;
    filter.barmenis = TabFilter(*tabBarmeni, kAllWaiters);
    filter.galds = TabFilter(*tabGaldi, kAllTables);
    filter.from = DatumsNo->date();
    filter.to = DatumsLidz->date();
    filter.apmaksa = PaymentFilter(std::max(0, AtlaseApmaksa->ItemIndex()));
    std::vector<OrderLine> lines = ReadOrderList(Db(), filter);
    shSumma->setText(OrderTotalText(OrderListTotal(lines)));
    model_->setLines(std::move(lines));
    // Without a key the list stays on its last line, whose order the next line joins. The current
    // row is not marked: the marks are the lines the waiter chose for "Iezīmētos - jaunā
    // pasūtījumā", and a Ctrl+click adds to them.
    const int row = isn != 0 ? model_->rowOf(isn) : model_->rowCount() - 1;
    grdO_PASUT->selectionModel()->clearSelection();
    if (row >= 0) grdO_PASUT->selectionModel()->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
}

void TPasutijumi::LoadBarmeni() { FillTabs(*tabBarmeni, *cmbBarmens, kAllWaiters, ReadWaiters(Db())); }

void TPasutijumi::LoadGaldi() {
    SelectFirstTab(*tabBarmeni);
    FillTabs(*tabGaldi, *cmbGalds, kAllTables,
             ReadTables(Db(), TabFilter(*tabBarmeni, kAllWaiters), DatumsNo->date(), DatumsLidz->date()));
}

int TPasutijumi::FindBarmenisTab(const QString& text) const { return FindTab(*tabBarmeni, text); }

int TPasutijumi::FindGaldsTab(const QString& text) const { return FindTab(*tabGaldi, text); }

int TPasutijumi::GetNextPasutNr() { return NextOrderNumber(Db()); }

const std::vector<OrderLine>& TPasutijumi::Lines() const { return model_->lines(); }

const OrderLine* TPasutijumi::CurrentLine() const {
    const int row = grdO_PASUT->currentIndex().row();
    if (row < 0 || row >= int(Lines().size())) return nullptr;
    return &Lines()[std::size_t(row)];
}

int TPasutijumi::CurrentIsn() const { return CurrentLine() ? CurrentLine()->isn : 0; }

int TPasutijumi::CurrentPasutNr() const { return CurrentLine() ? CurrentLine()->pasutNr : 0; }

void TPasutijumi::tabBarmeniChange() {
    Guarded([this] {
        shAtlaide->clear();
        cmbBarmens->setEditText(tabBarmeni->currentIndex() == 0 ? QString() : tabBarmeni->tabText(tabBarmeni->currentIndex()));
        LoadGaldi();
        RefreshPasutijumi(0);
    });
    shArtikuls->setFocus();
}

void TPasutijumi::tabGaldiChange() {
    Guarded([this] {
        shAtlaide->clear();
        cmbGalds->setEditText(tabGaldi->currentIndex() == 0 ? QString() : tabGaldi->tabText(tabGaldi->currentIndex()));
        RefreshPasutijumi(0);
    });
    shArtikuls->setFocus();
}

void TPasutijumi::DatumsNoChange() {
    Guarded([this] { RefreshPasutijumi(0); });
}

void TPasutijumi::DatumsLidzChange() {
    Guarded([this] { RefreshPasutijumi(0); });
}

void TPasutijumi::AtlaseApmaksaClick() {
    Guarded([this] { RefreshPasutijumi(0); });
}
