#include "cashier.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <stdexcept>

QString CharColumn(const QVariant& value) {
    QString text = value.toString();
    while (text.endsWith(' ')) text.chop(1);
    return text;
}

LoginCheck CheckCashier(const QSqlDatabase& posDb, const QString& userName, const QString& password, CashierRights& rights) {
    if (userName.isEmpty()) return LoginCheck::EmptyUserName;
    QSqlQuery query(posDb);
    query.prepare(kCashierQuery);
    query.bindValue(":GNOS", userName);
    if (!query.exec()) throw std::runtime_error(query.lastError().text().toStdString());
    if (!query.next() || query.value("ISN").toInt() == 0) return LoginCheck::UnknownUser;
    if (query.value("PASWORD").toString() != password) return LoginCheck::WrongPassword;
    const auto granted = [&query](const char* column) { return CharColumn(query.value(column)) == "T"; };
    rights.VarAtgreizt = granted("VARATGREIZT");
    rights.VarZAtskaiti = granted("VAR_Z_ATSKAITI");
    rights.VarMainitAtlaidi = granted("VARMAINITATLAIDI");
    rights.VarDzest = granted("VARDZEST");
    rights.KlElektron = granted("KL_ELEKTRON");
    rights.MaxAtlaide = query.value("MAXATLAIDE").toDouble();
    rights.FullName = query.value("FULLNAME").toString();
    return LoginCheck::Passed;
}

QString LoginCheckMessage(LoginCheck result) {
    switch (result) {
    case LoginCheck::EmptyUserName: return kEmptyUserNameMessage;
    case LoginCheck::UnknownUser: return kUnknownUserMessage;
    case LoginCheck::WrongPassword: return kWrongPasswordMessage;
    case LoginCheck::Passed: break;
    }
    return {};
}

CashierData CashierFromLogin(const QString& userName, const CashierRights& rights) {
    CashierData c;
    c.Kasieris = userName;
    c.KasierisFullName = rights.FullName.isEmpty() ? userName : rights.FullName;
    c.VarAtgreizt = rights.VarAtgreizt;
    c.VarZAtskaiti = rights.VarZAtskaiti;
    c.VarMainitAtlaidi = rights.VarMainitAtlaidi;
    c.VarDzest = rights.VarDzest;
    c.MaxAtlaide = rights.MaxAtlaide;
    return c;
}
