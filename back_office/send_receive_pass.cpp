#include "send_receive_pass.h"

#include "dbf_table.h"

QStringList RunSendReceivePass(const TransferContext& context, const LedvikChecks& checks, const std::vector<TillRow>& kases) {
    if (checks.BrivaCena) {
        std::error_code missingIsNoError;
        std::filesystem::remove(FindFileAnyCase({}, "NOITEMS.TXT"), missingIsNoError);
    }
    QStringList failedTills;
    std::vector<TillRow> sentToKase;
    int counter = 1;
    for (const TillRow& till : kases) {
        if (till.PATH.isEmpty() || till.NEAKTIVA == u"T") continue;
        const int failuresBefore = context.log.FailureCount();
        SutaKonfiguraciju(context, till);
        if (checks.Preces) SutaPreces(context, till.PATH, till.GNOS);
        const std::pair<bool, MasterData> masterData[] = {{checks.Klienti, MasterData::Klienti},
                                                          {checks.Valutas, MasterData::Valutas},
                                                          {checks.Users, MasterData::Lietotaji},
                                                          {checks.Nodalas, MasterData::Nodalas}};
        for (const auto& [ticked, table] : masterData)
            if (ticked) SutaMasterData(context, table, till.PATH, till.GNOS);
        if (checks.SutaPrecesDAT) SutaPrecesDat(context, till.PATH, till.GNOS);
        if (checks.R_ARTIK) SanemRArtik(context, till.PATH, till.GNOS, counter == 1);
        if (checks.R_KONTR) SanemRKontr(context, till.PATH);
        if (checks.BrivaCena) SanemBrivasCenas(context, till.PATH);
        if (checks.RealizSun) SanemRealizSun(context, till.PATH, counter == 1);
        if (checks.AtdKase && KaseTellsTillApart(context, till, sentToKase)) {
            SanemAtdKase(context, till.GNOS, till.PATH);
            sentToKase.push_back(till);
        }
        if (context.log.FailureCount() > failuresBefore) failedTills << (till.GNOS.isEmpty() ? till.PATH : till.GNOS);
        ++counter;
    }
    context.gauge.hide();
    return failedTills;
}
