// The goods browser's logic: the ordering of the goods list, the four-step search that positions
// it as the cashier types, the Enter check, and the voucher service's product list.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct GoodsRow {
    QString artikuls, gnos;
    double cena = 0;
    int nodala = 0;
};

// The ordering for a clicked column field (ARTIKULS, GNOS, CENA, NODALA; any other: ARTIKULS).
QString GoodsOrder(const QString& field);
// The goods list in that order ("ARTIKULS" when empty). Throws std::runtime_error with the
// database's text.
std::vector<GoodsRow> LoadGoods(const QSqlDatabase& db, const QString& order);

// The row to move to for the search text S (the field's text and the typed key): the first row
// whose article begins with S, else whose name begins with S (both as typed), else the article
// of the first item whose upper-case name begins with, then holds, the upper-case S. -1: stay.
// The text is bound as a parameter.
int FindGoods(const std::vector<GoodsRow>& rows, const QSqlDatabase& db, const QString& text);
// Whether the row answers the search text on Enter (otherwise "Pilnais teksts nav atrasts !!!").
bool GoodsMatch(const GoodsRow& row, const QString& text);
inline const QString kGoodsNotFoundMessage = QStringLiteral("Pilnais teksts nav atrasts !!!");

// The voucher service's products as texts, one per product (client identifier, password, client
// user identifier); empty when the service reported an error. The voucher client installs its
// own; until then there are none.
using VoucherProductSource =
    std::function<QStringList(const QString& clientId, const QString& password, const QString& userId)>;
void SetVoucherProductSource(VoucherProductSource source);
QStringList GetVoucherProducts(const QString& clientId, const QString& password, const QString& userId);
