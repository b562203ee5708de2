// SutaKonfiguraciju: the till's settings row N_ISI (cash limit, display lines, screen logo).
#include "logo_jpeg.h"
#include "till_sql.h"

#include <QFileInfo>

#include <cmath>

namespace {

const QString kStep = QStringLiteral("Suta Konfigurāciju : ");

// The cash limit as typed, with a decimal point; anything that is no number means no limit.
double cashLimit(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

}  // namespace

void SutaKonfiguraciju(const TransferContext& context, const TillRow& till) {
    context.log.LogProcess("Sūta Konfigurāciju : Sāku procesu " + till.GNOS);
    QSqlDatabase db;
    try {
        db = ConnectTill(till.PATH);
        BeginTransaction(db);
        QSqlQuery select = PreparedQuery(db, QStringLiteral("SELECT ISN FROM N_ISI"));
        const bool rowExists = FirstIsn(select) != 0;
        QSqlQuery write = PreparedQuery(
            db, rowExists ? QStringLiteral("UPDATE N_ISI SET ISINAUDALADELIMITS=:ISINAUDALADELIMITS, DEMORINDA_1=:DEMORINDA_1, "
                                           "DEMORINDA_2=:DEMORINDA_2, LOGO_EKRANS=:LOGO_EKRANS")
                          : QStringLiteral("INSERT INTO N_ISI (ISN, ISINAUDALADELIMITS, DEMORINDA_1, DEMORINDA_2, LOGO_EKRANS) "
                                           "VALUES (1, :ISINAUDALADELIMITS, :DEMORINDA_1, :DEMORINDA_2, :LOGO_EKRANS)"));
        write.bindValue(QStringLiteral(":ISINAUDALADELIMITS"), cashLimit(context.values.NaudaLimits));
        write.bindValue(QStringLiteral(":DEMORINDA_1"), context.values.DemoRinda_1);
        write.bindValue(QStringLiteral(":DEMORINDA_2"), context.values.DemoRinda_2);
        // No readable logo leaves the column empty: the till then shows none.
        std::optional<QByteArray> logo;
        if (!till.LOGO_EKR.isEmpty() && QFileInfo(till.LOGO_EKR).isFile()) logo = LogoJpeg(till.LOGO_EKR);
        write.bindValue(QStringLiteral(":LOGO_EKRANS"), logo ? QVariant(*logo) : QVariant(QMetaType::fromType<QByteArray>()));
        Execute(write);
        if (const auto error = Commit(db))
            context.log.LogFailure(kStep + "izmainīt konfigurāciju neizdevās " + *error);
        else
            context.log.LogProcess(kStep + "OK");
    } catch (const std::exception& e) {
        if (db.isOpen()) db.rollback();
        context.log.LogFailure(kStep + "Nevarēju pieslēgties kasei ??? " + QString::fromStdString(e.what()));
    }
}
