#include "pending_vouchers.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <system_error>

namespace {

const QString kVouchersKey = QStringLiteral("vouchers");

QJsonObject fileJson(const std::filesystem::path& file) {
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(in.readAll()).object();
}

}  // namespace

std::vector<PendingVoucher> LoadPendingVouchers(const std::filesystem::path& file) {
    std::vector<PendingVoucher> vouchers;
    for (const QJsonValue& value : fileJson(file)[kVouchersKey].toArray()) {
        const QJsonObject v = value.toObject();
        vouchers.push_back({v["reservation"].toString(), v["reference"].toString(), v["receipt"].toString(),
                            v["printed"].toBool()});
    }
    return vouchers;
}

bool KeepPendingVouchers(const std::filesystem::path& file, const std::vector<PendingVoucher>& vouchers) {
    QJsonObject all = fileJson(file);
    if (vouchers.empty()) {
        all.remove(kVouchersKey);
        if (all.isEmpty()) {
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
            return true;
        }
    } else {
        QJsonArray json;
        for (const PendingVoucher& v : vouchers)
            json.append(QJsonObject{{"reservation", v.reservation}, {"reference", v.reference}, {"receipt", v.receipt},
                                    {"printed", v.printed}});
        all[kVouchersKey] = json;
    }
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write(QJsonDocument(all).toJson(QJsonDocument::Compact));
    return out.commit();
}

void CarryPendingVouchers(const std::filesystem::path& file, QJsonObject& receipt) {
    if (const QJsonValue kept = fileJson(file)[kVouchersKey]; kept.isArray()) receipt[kVouchersKey] = kept;
}
