// tillora-tills --show FILE: prints a dBase table, one record a line, texts from Windows-1257.
// tillora-tills --show-kase FILE: prints table KASE of a second database, one receipt a line.
// tillora-tills FOLDER [SERVER] [--refuse-kvitsnr=N]: makes a fleet of three tills in FOLDER for
// the back office: RIGA and CESIS with a day of sales and a Z report each (CESIS through the
// Firebird server SERVER, "127.0.0.1/port", when one is given), JELGAVA unreachable; KASES.DBF, the
// exchange tables ITEMS, KLIENTI, VALUTAS, USERS and NODALAS and the items file PRECES.DAT beside
// them; the second database tills/AD/AUTODIREKCIJA.GDB (for the alias "AD"), whose table KASE
// refuses receipt N when asked to.
#include "till_fleet.h"

#include <QCoreApplication>
#include <QDate>
#include <QStringList>

#include "codepage_1257.h"
#include "database.h"

#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <exception>
#include <fstream>
#include <optional>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tillora-tills FOLDER [127.0.0.1/PORT] [--refuse-kvitsnr=N] | --show FILE.DBF | --show-kase FILE.GDB\n");
        return 2;
    }
    try {
        if (std::string(argv[1]) == "--show" && argc > 2) {
            const DbfTable table = DbfTable::open(argv[2]);
            QStringList header;
            for (const DbfTable::Column& c : table.columns()) header << QString::fromStdString(c.name);
            std::printf("%s\n", qUtf8Printable(header.join(u'|')));
            for (int r = 0; r < table.recordCount(); ++r) {
                if (table.deleted(r)) continue;
                QStringList values;
                for (int c = 0; c < int(table.columns().size()); ++c) values << fromCp1257(table.text(r, c)).trimmed();
                std::printf("%s\n", qUtf8Printable(values.join(u'|')));
            }
            return 0;
        }
        if (std::string(argv[1]) == "--show-kase" && argc > 2) {
            const QSqlDatabase db = platform::openDatabaseAt(platform::parseDatabaseLocation(std::filesystem::absolute(argv[2]).string()),
                                                             QStringLiteral("kase"));
            QSqlQuery kase(db);
            if (!kase.exec(QStringLiteral("SELECT KLIENTA_ID, PASUT_ID, KVITSNR, CENA, PVN, SUMMA, SUMMAAPM, DATUMSAPM, PARSKAIT, NODALA, "
                                          "FILIALE_ID, GRUPA FROM KASE ORDER BY ID")))
                throw std::runtime_error(kase.lastError().text().toStdString());
            std::printf("Klienta_id|Pasut_ID|KvitsNr|Cena|PVN|Summa|SummaApm|DatumsApm|Parskait|nodala|filiale_ID|Grupa\n");
            while (kase.next()) {
                QStringList values;
                for (int c = 0; c < 12; ++c)
                    values << (kase.value(c).metaType().id() == QMetaType::Double ? QString::number(kase.value(c).toDouble(), 'f', 2)
                                                                                  : kase.value(c).toString());
                std::printf("%s\n", qUtf8Printable(values.join(u'|')));
            }
            return 0;
        }
        const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
        std::string server;
        std::optional<int> refusedKvitsNr;
        const std::string refuseSwitch = "--refuse-kvitsnr=";
        for (int i = 2; i < argc; ++i) {
            const std::string argument = argv[i];
            if (argument.starts_with(refuseSwitch)) refusedKvitsNr = std::stoi(argument.substr(refuseSwitch.size()));
            else server = argument;
        }
        tills::TillFleet fleet(folder / "tills", server);
        const QDate today = QDate::currentDate();
        // Table KASE tells tills apart by the first two letters of their names.
        const QString kase1 = fleet.addTill(QStringLiteral("RIGA"));
        const QString kase2 = fleet.addTill(QStringLiteral("CESIS"), !server.empty());
        fleet.addSecondDatabase();
        if (refusedKvitsNr) fleet.refuseKvitsNr(*refusedKvitsNr);
        for (const QString& till : {QStringLiteral("RIGA"), QStringLiteral("CESIS")}) {
            fleet.sell(till, 1, today, {{QStringLiteral("1001"), 1.20, 3}, {QStringLiteral("1002"), 0.85, 2}});
            fleet.sell(till, 2, today, {{QStringLiteral("1001"), 1.20, 1}}, true);
            fleet.annul(till, 3, today, {{QStringLiteral("1002"), 0.85, 5}});
            fleet.sell(till, 4, today, {{QStringLiteral("9999"), 2.50, 1, 0, 1, true}});
            fleet.zReport(till, 1, today);
        }
        fleet.closeConnections();
        tills::TillFleet::WriteKases(folder, {{QStringLiteral("RIGA"), kase1, QStringLiteral("F"), {}},
                                              {QStringLiteral("CESIS"), kase2, QStringLiteral("F"), {}},
                                              {QStringLiteral("JELGAVA"), tills::TillFleet::refusedServerPath(), QStringLiteral("F"), {}}});
        const auto& dbf = folder;
        // Item names in Windows-1257, units in the Latvian DOS code page ("\xB5" is DOS Ā).
        tills::WriteExchangeTable(dbf / "ITEMS.DBF", tills::ItemsColumns(),
                                  {tills::ItemRow("1001", "Maize rudzu", 1.20, "kl\xB5"), tills::ItemRow("1002", "Piens 1 l", 0.85, "gab."),
                                   tills::ItemRow("1003", "Sviests", 2.10, "gab.")});
        tills::WriteExchangeTable(dbf / "KLIENTI.DBF", tills::KlientiColumns(),
                                  {{"100", "SIA Klients", "R\xEEga", "LV40003000000", "5", "0", "", "1234"}});
        tills::WriteExchangeTable(dbf / "VALUTAS.DBF", tills::ValutasColumns(), {{"EUR", "Eiro", "1"}, {"USD", "ASV dol\xC6rs", "1.08"}});
        tills::WriteExchangeTable(dbf / "USERS.DBF", tills::UsersColumns(), {{"ADMIN", "1", "Administrators"}, {"ANNA", "2", "Anna B\xF1rzi\xB7" "a"}});
        // Prices in hundredths, names quoted, Windows-1257 bytes ("\xE2" is ā).
        std::ofstream(dbf / "PRECES.DAT", std::ios::binary) << "1001,125,\"Maize rudzu\",\r\n2001,349,\"Kafija mal\xE2ta\",\r\n";
        tills::WriteExchangeTable(dbf / "NODALAS.DBF", tills::NodalasColumns(), {{"1", "P\xC6rtika", "21"}, {"2", "Citas", "12"}});
        std::printf("KASES.DBF and the exchange tables in %s\n", folder.c_str());
        std::printf("The second database: %s\n", (folder / "tills" / "AD" / "AUTODIREKCIJA.GDB").c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tillora-tills: %s\n", e.what());
        return 1;
    }
}
