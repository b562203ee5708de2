// A till that records what the command-file interpreter asks of it, for tests of parsing and
// sequencing only (the real window is driven end to end elsewhere).
#pragma once

#include "command_file_till.h"

#include <QMap>
#include <QSqlDatabase>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

namespace command_file_test {

using command_file::CustomerField;
using command_file::PaymentKindTotal;

class FakeTill : public command_file::CommandFileTill {
public:
    // Every call as a readable line, in order.
    QStringList calls;
    std::unique_ptr<QStringList> reply;

    int lines = 0;
    int mode = 0;
    bool cardRefused = false;
    bool closingPending = false;
    QMap<QString, QString> records;      // fiscal records; a missing one cannot be read
    std::map<int, PaymentKindTotal> kinds;  // payment kinds; missing ones read as empty
    QList<int> unreadableKinds;
    int cashInOutResult = 1;  // done
    bool pendingFinishes = true;  // false: a receipt cut short cannot be finished
    bool xDone = true;
    int zResult = 1;
    QSqlDatabase db;
    // Runs inside EnterItemText, as the item entry would (raising messages, throwing).
    std::function<void(const QString&)> onEntry;

    QStringList& StartReply() override {
        if (!reply) reply = std::make_unique<QStringList>();
        reply->clear();
        return *reply;
    }
    void ShowPazinojums(const QString& text) override {
        calls << "message " + text;
        if (reply) reply->append(text);
    }
    bool ReceiptClosingPending() const override { return closingPending; }
    int RinduSkaits() const override { return lines; }
    int SaleMode() const override { return mode; }
    void StartReceiptMode(int m) override {
        calls << QStringLiteral("mode %1").arg(m);
        mode = m;
    }
    void EnterItemText(const QString& text) override {
        calls << "enter " + text;
        if (onEntry) onEntry(text);
    }
    void SetDiscountText(const QString& text) override { calls << "discount " + text; }
    void SetCustomerField(CustomerField field, const QString& text) override {
        calls << QStringLiteral("customer %1 %2").arg(int(field)).arg(text);
    }
    void SelectPaymentKind(int index) override { calls << QStringLiteral("kind %1").arg(index); }
    bool CardPaymentRefused() const override { return cardRefused; }
    QSqlDatabase PosDb() override { return db; }
    void ShowOnDisplay(const QString& l1, const QString& l2) override { calls << "display [" + l1 + "][" + l2 + "]"; }
    void ClearDisplay() override { calls << "display clear"; }
    void ShowDisplayIdle() override { calls << "display idle"; }
    void OpenDrawer() override { calls << "drawer"; }
    bool ReadFiscalRecord(const QString& name, QString& text) override {
        if (!records.contains(name)) return false;
        text = records.value(name);
        return true;
    }
    bool FinishPendingReceipt() override {
        calls << "finish pending";
        return pendingFinishes;
    }
    std::optional<PaymentKindTotal> ReadPaymentKind(int n) override {
        if (unreadableKinds.contains(n)) return std::nullopt;
        const auto it = kinds.find(n);
        return it == kinds.end() ? PaymentKindTotal{"F", "", 0} : it->second;
    }
    int CashInOut(const QString& in, const QString& out) override {
        calls << "cash [" + in + "][" + out + "]";
        return cashInOutResult;
    }
    void PrintLastReceiptCopy() override { calls << "copy"; }
    bool XReport() override {
        calls << "x report";
        if (!xDone) ShowPazinojums("Ir iesākts čeks, atskaiti ņemt nedrīkst !!!");
        return xDone;
    }
    int ZReport() override {
        calls << "z report";
        return zResult;
    }

    // A fresh day: every counter record present and zero.
    void FreshDay() {
        records["ATLNOIEPR"] = "         0";
        records["NOD_D_SUM"] = QString(240, u'0');
        records["IELIKTS"] = "   000000000";
        records["IZNEMTS"] = "   000000000";
        records["BANKA_SUM"] = "0";
        records["BANKA_ATGR"] = "0";
        records["ATGRTARA"] = "   000000000";
    }
};

}  // namespace command_file_test
