// TGetDatumsForm ("Datuma, klienta un preces izvēle"): the report menu's parameter dialog: the
// period, and the customers and goods the report covers. The dates stay between uses; the lists
// are read again each time it is shown, and its closing builds the filters afresh.
#pragma once

#include "report_filter.h"

#include <QPointer>

#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>

class TGetDatumsForm : public QDialog {
    Q_OBJECT
public:
    // Both dates start at today (the till's clock).
    explicit TGetDatumsForm(QWidget* owner);
    QDateEdit* DatumsNo;
    QDateEdit* DatumsLidz;
    QTableView* grdKlienti;
    QTableView* grdPreces;
    QLineEdit* shKlienti;
    QPushButton* btOK;

    // Built when the dialog closes, however it was closed.
    ReportFilter Klienti;  // on KL_KODS
    ReportFilter Preces;   // on ARTIKULS

    // Positions the customer list as a key typed into the search field does (the text so far and
    // the key): first code, then name beginning with the text, then the first name holding it.
    void FindKlients(const QString& text);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSqlQueryModel dbKlienti, dbPreces;
};

extern QPointer<TGetDatumsForm> GetDatumsForm;
