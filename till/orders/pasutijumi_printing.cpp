// The orders window's print buttons, merging and moving orders, and the waiter report.
#include "pasutijumi.h"

#include "order_merge.h"
#include "order_printing.h"
#include "waiter_report.h"

#include "posmain.h"
#include "ui_services.h"

#include <QItemSelectionModel>

#include <algorithm>

namespace {

QString selectedTab(const QTabBar& tabs) { return tabs.tabText(std::max(tabs.currentIndex(), 0)); }

}  // namespace

void TPasutijumi::ConnectPrinting() {
    connect(btPrnBars, &QPushButton::clicked, this, [this] { btPrnBarsClick(); });
    connect(btPrnVirtuvei, &QPushButton::clicked, this, [this] { btPrnVirtuveiClick(); });
    connect(btPrnBarsVirtuve, &QPushButton::clicked, this, [this] { btPrnBarsVirtuveClick(); });
    connect(btPrnPasut, &QPushButton::clicked, this, [this] { btPrnPasutClick(); });
    connect(btPrnRekins, &QPushButton::clicked, this, [this] { btPrnRekinsClick(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(Brmeuatskaite1, &QAction::triggered, this, [this] { Brmeuatskaite1Click(); });
}

OrderHeading TPasutijumi::CurrentHeading() const {
    return {selectedTab(*tabBarmeni), selectedTab(*tabGaldi), CurrentPasutNr()};
}

void TPasutijumi::btPrnBarsClick() { DrukatBaram(); }

void TPasutijumi::btPrnVirtuveiClick() { DrukatVirtuvei(); }

void TPasutijumi::btPrnBarsVirtuveClick() {
    DrukatBaram();
    DrukatVirtuvei();
}

void TPasutijumi::btPrnPasutClick() { DrukatPasutijumu(); }

void TPasutijumi::btPrnRekinsClick() {
    Guarded([this] {
        ApvienotRindas();
        DrukatRekinu();
        RefreshPasutijumi(0);
    });
}

void TPasutijumi::DrukatBaram() {
    Guarded([this] { ::DrukatBaram(Db(), *POSMain->PrintClass, CurrentHeading()); });
}

void TPasutijumi::DrukatVirtuvei() {
    Guarded([this] { ::DrukatVirtuvei(Db(), CurrentHeading()); });
}

void TPasutijumi::DrukatPasutijumu() {
    Guarded([this] { ::DrukatPasutijumu(Db(), CurrentHeading()); });
}

void TPasutijumi::DrukatRekinu() {
    Guarded([this] { ::DrukatRekinu(Db(), *POSMain->PrintClass, CurrentHeading(), POSMain->Kasieris); });
}

void TPasutijumi::BitBtn3Click() {
    Guarded([this] {
        QString galds = cmbGalds->currentText();
        const QString refused = MergeOrders(Db(), shPasutNo->text(), shPasutUz->text(), galds);
        if (galds != cmbGalds->currentText()) cmbGalds->setEditText(galds);
        if (!refused.isEmpty()) {
            platform::ui::showMessage(refused);
            return;
        }
        RefreshPasutijumi(0);
    });
}

void TPasutijumi::BitBtn2Click() {
    Guarded([this] {
        QModelIndexList marked = grdO_PASUT->selectionModel()->selectedRows();
        std::sort(marked.begin(), marked.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
        std::vector<int> isns;
        for (const QModelIndex& row : marked) isns.push_back(Lines().at(std::size_t(row.row())).isn);
        MoveLinesToNewOrder(Db(), isns);
        RefreshPasutijumi(0);
    });
}

void TPasutijumi::Brmeuatskaite1Click() {
    Guarded([this] {
        PrintWaiterReport(Db(), *POSMain->PrintClass, DatumsNo->date(), DatumsLidz->date(), shApkArtikuls->text());
    });
}
