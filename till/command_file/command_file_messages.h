// The texts the command file answers with.
#pragma once

#include <QString>

namespace command_file::messages {

inline const QString kOk = QStringLiteral("OK");
inline const QString kNavArtikula = QStringLiteral("Nav artikula !!!");
inline const QString kNavNosaukuma = QStringLiteral("Nav preces nosaukuma !!!");
inline const QString kNavDaudzuma = QStringLiteral("Nav daudzuma !!!");
inline const QString kJauktsCeks = QStringLiteral("Vienā čekā nevar būt gan pirkums, gan atgriešana !!!");
inline const QString kNavSummas = QStringLiteral("Nav ievadīta summa !!!");
inline const QString kNepabeigtaApmaksa = QStringLiteral("Apmaksas rinda nav pabeigta ar ';' !!!");
inline const QString kEftCancel = QStringLiteral("EFT - Cancel");
inline const QString kNolasisanasKluda = QStringLiteral("-2");
inline const QString kJanobeidzCeks = QStringLiteral("Sākumā jānobeidz čeks !!!");
inline const QString kNepareizaSumma = QStringLiteral("Nepareiza summa !!!");
inline const QString kNavSummasInkasacijai = QStringLiteral("Nav ievadītas summas, ko vēlas ielikt vai izņemts !!!");
inline const QString kDarbsPartraukts = QStringLiteral("Darbs tiek pārtraukts !!!");
inline const QString kFmKluda = QStringLiteral("FM kļūda !!!");
inline const QString kAtskaitiNedrikst = QStringLiteral("Ir iesākts čeks, atskaiti ņemt nedrīkst !!!");
inline const QString kZAtskaitesKluda =
    QStringLiteral("Nevarēju izdrukāt Z atskaiti !!!\n (Fiscal Printer Z atskaite ");
inline const QString kNezinamaKomanda = QStringLiteral("Nezināma komanda !!!");
inline const QString kKluda = QStringLiteral("Kļūda komandas izpildē !!!");

}  // namespace command_file::messages
