// TPrecuCaurskate ("Preču saraksta caurskate"): the goods browser: the item table in a grid the
// cashier orders, searches as he types and chooses from into the sale window's item field; a
// second tab lists the voucher service's products when the till sells vouchers.
#pragma once

#include "goods_browser.h"

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>

class TPOSMain;

class TPrecuCaurskate : public QDialog {
    Q_OBJECT
public:
    explicit TPrecuCaurskate(TPOSMain* owner);

    void RefreshPreces();
    // The search of a key typed into shMeklet (the text so far and the key).
    void SearchTyped(const QString& text);
    // The Enter check of the search.
    void SearchEnter();
    // Hands the current row's article to the item field after what is typed there, and closes.
    void ChooseCurrent();

    QTabWidget* pgLappuses;
    QWidget* tabPreces;
    QWidget* tabZudezo;
    QTableView* grdPrecuSaraksts;
    QListWidget* lstZudezoPreces;
    QLineEdit* shMeklet;
    QPushButton* btMeklet;
    QPushButton* BitBtn1;  // "Aizvērt"
    QString KartotPec;     // the ordering, kept between openings

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveTo(int row);
    TPOSMain& main_;
    QStandardItemModel model_;
    std::vector<GoodsRow> rows_;
};

extern QPointer<TPrecuCaurskate> PrecuCaurskate;
