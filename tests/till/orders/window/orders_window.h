// The orders window on the real till window, offscreen: the demo database, the fiscal-memory
// module, the receipt printer and the customer display simulated; ADMIN logged in.
#pragma once

#include "pasutijumi.h"
#include "posmain.h"

#include "report.h"
#include "till_window.h"

#include <QSqlQuery>
#include <QVariant>

#include <vector>

class OrdersWindow : public testsupport::TillWindowTest {
protected:
    OrdersWindow() : TillWindowTest({.printerType = 1}) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(writeRecords({{"CEKAGALVA1", "SIA Kafejnīca"},
                                              {"NOD_D_SUM", testsupport::departmentRates(21)},
                                              {"CEKANRCOUN", "00000000041"}}));
        platform::report::setPreviewHandler([this](const platform::report::Report& r) {
            previews.push_back(r);
            return true;
        });
        platform::report::setPrintHandler([this](const platform::report::Report& r) {
            slips.push_back(r);
            return printerReady;
        });
        // The demo's promotion runs around the test clock's day.
        exec("UPDATE N_PRECE SET IZP_SAK_D='2026-02-01', IZP_BEIG_D='2026-04-01' WHERE ARTIKULS='4750003000015'");
        ASSERT_TRUE(startTill());
        messages().clear();
    }

    void TearDown() override {
        platform::report::setPreviewHandler({});
        platform::report::setPrintHandler({});
        TillWindowTest::TearDown();
    }

    TPasutijumi& open() {
        w().Pastjumasastdana1Click();
        return *Pasutijumi;
    }
    TPasutijumi& f() { return *Pasutijumi; }

    // Waiter and table for the next lines.
    void serve(const QString& barmenis, const QString& galds) {
        f().cmbBarmens->setEditText(barmenis);
        f().cmbGalds->setEditText(galds);
    }
    // Types a line into the orders window's entry field and presses Enter.
    void type(const QString& text) {
        f().shArtikuls->setText(text);
        f().shArtikulsKeyPress(13);
    }

    struct Stored {
        int isn, pasutNr;
        QString artikuls;
        double cena, daudzums, atlaide;
        QString galds, apmaksats, dzests;
    };
    std::vector<Stored> stored() {
        std::vector<Stored> rows;
        QSqlQuery q = exec("SELECT ISN, PASUT_NR, ARTIKULS, CENA, DAUDZUMS, ATLAIDE, GALDS, APMAKSATS, DZESTS "
                           "FROM O_PASUT ORDER BY ISN");
        while (q.next())
            rows.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString(), q.value(3).toDouble(),
                            q.value(4).toDouble(), q.value(5).toDouble(), q.value(6).toString(), q.value(7).toString(),
                            q.value(8).toString()});
        return rows;
    }

    // The reports shown on screen, and those sent to the default printer (which prints them
    // while printerReady).
    std::vector<platform::report::Report> previews;
    std::vector<platform::report::Report> slips;
    bool printerReady = true;
};
