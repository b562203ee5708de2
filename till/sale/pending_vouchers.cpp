#include "pending_vouchers.h"

#include "receipt_recovery.h"

#include <QJsonArray>

namespace {

const QString kVouchersKey = QStringLiteral("vouchers");

QJsonObject fileJson(const std::filesystem::path& file) { return ReadPendingJson(file).value_or(QJsonObject()); }

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
            DropPendingFile(file);
            return true;
        }
    } else {
        QJsonArray json;
        for (const PendingVoucher& v : vouchers)
            json.append(QJsonObject{{"reservation", v.reservation}, {"reference", v.reference}, {"receipt", v.receipt},
                                    {"printed", v.printed}});
        all[kVouchersKey] = json;
    }
    return WritePendingJson(file, all);
}

void CarryPendingVouchers(const std::filesystem::path& file, QJsonObject& receipt) {
    if (const QJsonValue kept = fileJson(file)[kVouchersKey]; kept.isArray()) receipt[kVouchersKey] = kept;
}
