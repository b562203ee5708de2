// A till database with a few items and a helper that writes order lines as the tables hold them.
#pragma once

#include "order_list.h"
#include "test_database.h"

#include <QDate>
#include <QString>
#include <QVariant>

namespace testsupport {

struct StoredLine {
    int pasutNr = 1;
    QString artikuls = QStringLiteral("100");
    double cena = 1, daudzums = 1, atlaide = 0;
    QVariant apmaksats = QStringLiteral("F");
    QVariant dzests{};  // NULL: live
    QString barmenis = QStringLiteral("Anna"), galds = QStringLiteral("1");
    QDate datums = QDate(2026, 5, 4);
    QVariant prnVirtuve{};
    QVariant klKods{};
    QVariant prnBars{}, prnRekins{};
};

class OrderDatabaseTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, NODALA) VALUES ('100', 'Kafija', 1.8, 1)");
        exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, NODALA) VALUES ('4750001000017', 'Rupjmaize', 2.15, 1)");
        exec("INSERT INTO N_KLIENTI (KODS, GNOS, ATLAIDE) VALUES ('K5', 'Pieci', 5)");
    }

    int store(const StoredLine& l) {
        exec("INSERT INTO O_PASUT (DATUMS, PASUT_NR, GALDS, CENA, ATLAIDE, DAUDZUMS, APMAKSATS, BARMENIS, DZESTS, "
             "ARTIKULS, PRN_VIRTUVE, KL_KODS, PRN_BARS, PRN_REKINS) "
             "VALUES (:D, :N, :G, :C, :AT, :Q, :AP, :B, :DZ, :A, :PV, :KL, :PB, :PR)",
             {{"D", l.datums}, {"N", l.pasutNr}, {"G", l.galds}, {"C", l.cena}, {"AT", l.atlaide}, {"Q", l.daudzums},
              {"AP", l.apmaksats}, {"B", l.barmenis}, {"DZ", l.dzests}, {"A", l.artikuls}, {"PV", l.prnVirtuve},
              {"KL", l.klKods}, {"PB", l.prnBars}, {"PR", l.prnRekins}});
        return value("SELECT MAX(ISN) FROM O_PASUT").toInt();
    }

    OrderFilter day(PaymentFilter apmaksa = PaymentFilter::Unpaid) const {
        OrderFilter f;
        f.from = f.to = QDate(2026, 5, 4);
        f.apmaksa = apmaksa;
        return f;
    }
};

}  // namespace testsupport
