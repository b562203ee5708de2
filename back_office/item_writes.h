// One till's items written in one transaction: each code updates the item the till has or inserts
// a new one; a statement the till refuses is logged and the others go on. Used by the items steps
// of ITEMS.DBF and of PRECES.DAT, which log under one step name.
#pragma once

#include "transfer_steps.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

#include <functional>

// The log lines' head of both items steps.
inline const QString kItemsStep = QStringLiteral("Suta preces : ");

class ItemWrites {
public:
    // Prepares the look-up, update and insert of `columns` (the written columns besides ARTIKULS).
    ItemWrites(const QSqlDatabase& db, const QStringList& columns, const TransferContext& context);

    // Writes `values` (one per column, in order) to the item of `artikuls`; `itemText` names the
    // item in the log line of a refused insert, and is asked only then.
    void write(const QString& artikuls, const QVariantList& values, const std::function<QString()>& itemText);

private:
    const TransferContext& context_;
    QStringList columns_;
    QSqlQuery lookUp_, update_, insert_;
};

// Connects to the till at `path`, begins the transaction, runs `body`, commits, and logs "OK" or
// what failed; any failure rolls the whole till back. Hides the gauge at the end.
void WriteItemsToTill(const TransferContext& context, const QString& path, const std::function<void(QSqlDatabase&)>& body);
