// Every statement the programs run against the till database (and the stock product's), as the
// programs word it, prepared and executed through the Qt Firebird driver on a fresh database
// holding the demo data, with parameters of the types the programs bind. A statement that names
// a missing column, needs a wider text or a different type fails here.
#include "test_database.h"

#include "database.h"
#include "till_database.h"

#include <QDate>
#include <QSqlError>
#include <QSqlRecord>

#include <string>
#include <vector>

namespace {

using testsupport::SqlParams;

enum class Target { Till, Stockara };

struct Statement {
    Statement(std::string name, QString sql, SqlParams params = {}, Target target = Target::Till)
        : name(std::move(name)), sql(std::move(sql)), params(std::move(params)), target(target) {}
    std::string name;
    QString sql;
    SqlParams params;
    Target target;
};

const QDate kToday = QDate::currentDate();
const QDate kMonthAgo = kToday.addDays(-30);

// The period parameters most reports take.
SqlParams period(const char* from, const char* to) { return {{from, kMonthAgo}, {to, kToday}}; }

SqlParams operator+(SqlParams a, const SqlParams& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The journal insert of a stored receipt line, with the values a sale of two boxes gives.
const QString kSaleInsert =
    "INSERT INTO REALIZ (CEKA_NR, DATUMS, LAIKS, KL_KODS, ARTIKULS, CENA, NODOKLIS, DAUDZUMS, ATLAIDE, SANEMTS, IZDOTS, "
    "BONUSS, APM_VEIDS, NODALA, KASIERIS, PIEZIMES, KARTES_NR, KARTES_SUMMA, ANULETS, APM_RINDA, CITASZINAS) "
    "VALUES (:CEKA_NR, :DATUMS, :LAIKS, :KL_KODS, :ARTIKULS, :CENA, :NODOKLIS, :DAUDZUMS, :ATLAIDE, :SANEMTS, :IZDOTS, "
    ":BONUSS, :APM_VEIDS, :NODALA, :KASIERIS, :PIEZIMES, :KARTES_NR, :KARTES_SUMMA, 'F', :APM_RINDA, :CITASZINAS)";

const QString kItemLookup =
    "SELECT ISN, ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, ATLAIDE, IZP_SAK_D, IZP_BEIG_D, IZP_SAK_T, IZP_BEIG_T, "
    "NEDOT_ATL, NEDOT_ATL2, CENA2, DAUDZUMS2, TARA, WARNING, EAN_KASTE, EAN_KASTELIELA, EAN_PALETE, SKKASTE, "
    "SKKASTELIELA, SKPALETE FROM N_PRECE "
    "WHERE ARTIKULS=:ARTIKULS OR EAN_KASTE=:ARTIKULS OR EAN_KASTELIELA=:ARTIKULS OR EAN_PALETE=:ARTIKULS";

const QString kNotAnnulled = "ANULETS!='T' AND ANULETS IS NOT NULL";

std::vector<Statement> statements() {
    const QString blanks37(37, ' ');
    std::vector<Statement> s;

    // ---------------------------------------------------------------- till: start-up, log-in, settings
    s.push_back({"StartupOpenJournal", "SELECT ISN FROM REALIZ"});
    s.push_back({"CashierLogin",
                 "SELECT ISN, GNOS, PASWORD, VARATGREIZT, VAR_Z_ATSKAITI, VARMAINITATLAIDI, VARDZEST, MAXATLAIDE, FULLNAME, KL_ELEKTRON\n"
                 " FROM O_USERS\n WHERE GNOS=:GNOS",
                 {{"GNOS", "ADMIN"}}});
    s.push_back({"MaxReceiptNumber", "SELECT MAX(CEKA_NR) CEKA_NR\n FROM REALIZ\n WHERE DATUMS=:DATUMS", {{"DATUMS", QDateTime(kToday, QTime(0, 0))}}});
    s.push_back({"CustomerList", "SELECT *\n FROM N_KLIENTI\n ORDER BY GNOS"});
    s.push_back({"QuickItemKeys", "SELECT ARTIKULS, GNOS, CENA, KEY_BUTTON, KEY_RADITCENU" + blanks37 + "FROM N_PRECE" + blanks37 +
                                      "WHERE KEY_BUTTON!=''"});
    s.push_back({"FullLineFlag", "SELECT PILNUJA1DAUDZ FROM N_ISI"});
    s.push_back({"SettingsDialogRead", "SELECT ISN, PILNUJA1DAUDZ FROM N_ISI"});
    s.push_back({"SettingsDialogModify", "update N_ISI\nset\n  PILNUJA1DAUDZ = :PILNUJA1DAUDZ\nwhere\n  ISN = :OLD_ISN",
                 {{"PILNUJA1DAUDZ", "T"}, {"OLD_ISN", 1}}});
    s.push_back({"SettingsDialogInsert", "insert into N_ISI\n  (PILNUJA1DAUDZ)\nvalues\n  (:PILNUJA1DAUDZ)", {{"PILNUJA1DAUDZ", "F"}}});
    s.push_back({"SettingsDialogDelete", "delete from N_ISI\nwhere\n  ISN = :OLD_ISN", {{"OLD_ISN", 2}}});
    s.push_back({"DisplayIdleLines", "SELECT DEMORINDA_1, DEMORINDA_2 FROM N_ISI"});
    s.push_back({"SecondScreen", "SELECT DEMORINDA_1, DEMORINDA_2, LOGO_EKRANS FROM N_ISI"});

    // ---------------------------------------------------------------- till: sale and receipt engine
    s.push_back({"ReceiptLineInsert", kSaleInsert,
                 {{"CEKA_NR", 42}, {"DATUMS", kToday}, {"LAIKS", "09:05:03"}, {"KL_KODS", "K001"}, {"ARTIKULS", "4750002000016"},
                  {"CENA", 0.65}, {"NODOKLIS", 1}, {"DAUDZUMS", 24.0}, {"ATLAIDE", 5.0}, {"SANEMTS", 20.0}, {"IZDOTS", 5.18},
                  {"BONUSS", 0.0}, {"APM_VEIDS", 1}, {"NODALA", 1}, {"KASIERIS", "ADMIN"}, {"PIEZIMES", ""}, {"KARTES_NR", ""},
                  {"KARTES_SUMMA", 0.0}, {"APM_RINDA", "/0=10.00/1=10.00"}, {"CITASZINAS", "Viesm.ANNA P.Nr 3 Galds 5"}}});
    s.push_back({"AnnulledLineInsert",
                 "INSERT INTO REALIZ (CEKA_NR, DATUMS, LAIKS, KL_KODS,             ARTIKULS, CENA, NODOKLIS, DAUDZUMS, ATLAIDE,"
                 "              NODALA, KASIERIS, PIEZIMES, ANULETS) VALUES (:CEKA_NR,            :DATUMS, :LAIKS, :KL_KODS, :ARTIKULS,"
                 " :CENA, :NODOKLIS, :DAUDZUMS, :ATLAIDE,             :NODALA, :KASIERIS, :PIEZIMES, 'T')",
                 {{"CEKA_NR", 43}, {"DATUMS", kToday}, {"LAIKS", "09:06:00"}, {"KL_KODS", ""}, {"ARTIKULS", "---"}, {"CENA", 3.5},
                  {"NODOKLIS", 1.0}, {"DAUDZUMS", -1.0}, {"ATLAIDE", 0.0}, {"NODALA", 1}, {"KASIERIS", "ADMIN"}, {"PIEZIMES", "BR.CENA"}}});
    s.push_back({"ZRowInsert", "insert into REALIZ\n  (DATUMS, LAIKS, PIEZIMES, FREEKOMENT)\nvalues\n  (:DATUMS, :LAIKS, :PIEZIMES, :FREEKOMENT)",
                 {{"DATUMS", kToday}, {"LAIKS", "23:10:00"}, {"PIEZIMES", "Z=7"}, {"FREEKOMENT", "BEZ_PVN=10.00|PVN_SUM=2.10|APM_KASE=12.10|"}}});
    s.push_back({"ZRowQuery", "SELECT ISN, DATUMS, LAIKS, PIEZIMES, FREEKOMENT\n FROM REALIZ\n WHERE ISN=1"});
    s.push_back({"ZRowModify",
                 "update REALIZ\nset\n  DATUMS = :DATUMS,\n  LAIKS = :LAIKS,\n  PIEZIMES = :PIEZIMES,\n  FREEKOMENT = :FREEKOMENT\nwhere\n  ISN = :OLD_ISN",
                 {{"DATUMS", kToday}, {"LAIKS", "23:11:00"}, {"PIEZIMES", "Z=7"}, {"FREEKOMENT", "KOREKC_SK=0|"}, {"OLD_ISN", 0}}});
    s.push_back({"ZRowDelete", "delete from REALIZ\nwhere\n  ISN = :OLD_ISN", {{"OLD_ISN", 0}}});
    s.push_back({"ItemLookup", kItemLookup, {{"ARTIKULS", "14750002000013"}}});
    s.push_back({"DrawerSold",
                 "SELECT SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA              FROM REALIZ              WHERE DATUMS=:DATUMS"
                 "                 AND ANULETS!='T' AND ANULETS IS NOT NULL",
                 {{"DATUMS", kToday}}});
    s.push_back({"DrawerPaidIn",
                 "SELECT SUM(SANEMTS-IZDOTS) SUMMA              FROM REALIZ              WHERE DATUMS=:DATUMS AND DAUDZUMS IS NULL"
                 "                  AND ANULETS!='T' AND ANULETS IS NOT NULL ",
                 {{"DATUMS", kToday}}});
    s.push_back({"DrawerLimit", "SELECT ISINAUDALADELIMITS FROM N_ISI"});
    s.push_back({"CurrencyRate", "SELECT ISN, KURSS FROM N_VALUTAS WHERE VAL_KODS=:VALUTA", {{"VALUTA", "USD"}}});
    s.push_back({"CustomerCredit",
                 "SELECT SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA, NODOKLIS                          from realiz"
                 "                          WHERE datums >= :DATUMS_NO                             AND ANULETS!='T' AND ANULETS IS NOT NULL"
                 "                             AND KL_KODS=:KL_KODS                          GROUP BY NODOKLIS",
                 {{"DATUMS_NO", kMonthAgo}, {"KL_KODS", "K001"}}});
    s.push_back({"ReturnReceiptTotal",
                 "SELECT DATUMS, CENA*(1-ATLAIDE/100)*DAUDZUMS SUMMA FROM REALIZ WHERE CEKA_NR=:CEKA_NR AND " + kNotAnnulled, {{"CEKA_NR", 42}}});
    s.push_back({"ReturnReceiptLines",
                 "SELECT ARTIKULS, CENA, DAUDZUMS, ATLAIDE, KL_KODS, KL_NOSAUKUMS, KL_REG_NR, APM_RINDA, CITASZINAS, APM_VEIDS "
                 "FROM REALIZ WHERE CEKA_NR=:CEKA_NR AND " + kNotAnnulled,
                 {{"CEKA_NR", 42}}});
    s.push_back({"AddOnArticles", "SELECT PIEVARTIK1, PIEVSUMMA1, PIEVARTIK2, PIEVSUMMA2, PIEVARTIK3, PIEVSUMMA3 FROM N_ISI"});
    s.push_back({"ItemName", "SELECT GNOS FROM N_PRECE WHERE ARTIKULS=:ARTIKULS", {{"ARTIKULS", "4750001000222"}}});

    // ---------------------------------------------------------------- till: journal, goods browser, copies
    const QString journalBase =
        "SELECT REALIZ.CEKA_NR, REALIZ.DATUMS, REALIZ.LAIKS, REALIZ.KL_KODS, REALIZ.ARTIKULS, REALIZ.CENA, "
        "REALIZ.DAUDZUMS, REALIZ.ATLAIDE, REALIZ.CENA*REALIZ.DAUDZUMS*(1-REALIZ.ATLAIDE/100) SUMMA, "
        "REALIZ.SANEMTS, REALIZ.IZDOTS, REALIZ.KL_NOSAUKUMS, REALIZ.KL_REG_NR,  REALIZ.ISN, "
        "N_PRECE.GNOS PRECNOS, REALIZ.KASIERIS, REALIZ.CITASZINAS FROM REALIZ LEFT OUTER JOIN N_PRECE N_prece "
        "ON  (REALIZ.ARTIKULS = N_prece.ARTIKULS) WHERE REALIZ.DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ "
        "AND REALIZ.LAIKS BETWEEN :LAIKS_NO AND :LAIKS_LIDZ";
    const QString journalTail = " AND REALIZ.ANULETS!='T' AND REALIZ.ANULETS IS NOT NULL ORDER BY REALIZ.DATUMS, REALIZ.CEKA_NR";
    const SqlParams journalParams = period("DAT_NO", "DAT_LIDZ") + SqlParams{{"LAIKS_NO", "00:00"}, {"LAIKS_LIDZ", "23:59"}};
    s.push_back({"JournalReview", journalBase + journalTail, journalParams});
    s.push_back({"JournalReviewByReceipt", journalBase + " AND REALIZ.CEKA_NR=:CEKA_NR" + journalTail,
                 journalParams + SqlParams{{"CEKA_NR", "42"}}});
    const QString searchBase =
        "SELECT REALIZ.ISN, REALIZ.CEKA_NR, REALIZ.ARTIKULS, N_PRECE.GNOS PRECNOS FROM REALIZ LEFT OUTER JOIN N_PRECE N_prece "
        "ON  (REALIZ.ARTIKULS = N_prece.ARTIKULS) WHERE REALIZ.DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ "
        "AND REALIZ.LAIKS BETWEEN :LAIKS_NO AND :LAIKS_LIDZ AND REALIZ.ANULETS!='T' AND REALIZ.ANULETS IS NOT NULL ";
    s.push_back({"JournalSearchByNumber", searchBase + "AND REALIZ.CEKA_NR=42 ORDER BY REALIZ.DATUMS, REALIZ.CEKA_NR", journalParams});
    s.push_back({"JournalSearchByText",
                 searchBase + "AND (N_prece.ARTIKULS CONTAINING 'ūdens' OR N_PRECE.GNOS CONTAINING 'ūdens') ORDER BY REALIZ.DATUMS, REALIZ.CEKA_NR",
                 journalParams});
    s.push_back({"CustomerNameByCode", "SELECT GNOS FROM N_KLIENTI WHERE KODS=:KODS", {{"KODS", "K001"}}});
    s.push_back({"CustomerNameSearch", "SELECT GNOS FROM N_KLIENTI WHERE GNOS CONTAINING :LAUKS", {{"LAUKS", "Bērz"}}});
    s.push_back({"GoodsBrowser", "SELECT ARTIKULS, GNOS, CENA, NODALA FROM N_PRECE ORDER BY ARTIKULS"});
    s.push_back({"GoodsBrowserStarting", "SELECT ARTIKULS FROM N_PRECE WHERE UPPER(GNOS) STARTING WITH 'ĀBOLU'"});
    s.push_back({"GoodsBrowserContaining", "SELECT ARTIKULS FROM N_PRECE WHERE UPPER(GNOS) CONTAINING 'ŪDENS'"});
    s.push_back({"ReceiptCopyLines",
                 "SELECT REALIZ.ISN, REALIZ.NODOKLIS, REALIZ.CENA, REALIZ.DAUDZUMS, REALIZ.ATLAIDE, N_PRECE.GNOS NOSAUKUMS, N_PRECE.MERVIENIBA, "
                 "REALIZ.ARTIKULS, REALIZ.SANEMTS, REALIZ.IZDOTS, REALIZ.APM_RINDA, REALIZ.KL_NOSAUKUMS, REALIZ.CITASZINAS, REALIZ.KL_REG_NR, "
                 "REALIZ.KL_KODS, REALIZ.APM_VEIDS FROM REALIZ LEFT OUTER JOIN N_PRECE N_prece ON  (REALIZ.ARTIKULS = N_prece.ARTIKULS) "
                 "WHERE REALIZ.DATUMS=:DATUMS AND REALIZ.CEKA_NR=:CEKA_NR",
                 {{"DATUMS", QDateTime(kToday, QTime(0, 0))}, {"CEKA_NR", 42}}});
    s.push_back({"ReceiptCopyCustomer",
                 "SELECT N_KLIENTI.KODS, N_KLIENTI.GNOS KLIENTS, N_KLIENTI.ADRESE, N_KLIENTI.PVN_KODS FROM N_KLIENTI WHERE N_KLIENTI.KODS=:KODS",
                 {{"KODS", "K001"}}});
    s.push_back({"AnnulledReceiptList",
                 "SELECT CEKA_NR, SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA FROM REALIZ WHERE DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ "
                 "AND ANULETS='T' GROUP BY CEKA_NR",
                 period("DAT_NO", "DAT_LIDZ")});
    s.push_back({"ReportCustomerPicker",
                 "SELECT N_KLIENTI.GNOS, N_KLIENTI.KODS FROM REALIZ JOIN N_KLIENTI ON REALIZ.KL_KODS = N_KLIENTI.KODS "
                 "GROUP BY N_KLIENTI.GNOS, N_KLIENTI.KODS ORDER BY N_KLIENTI.GNOS"});
    s.push_back({"ReportGoodsPicker", "SELECT N_PRECE.ISN, N_PRECE.GNOS, N_PRECE.ARTIKULS FROM N_PRECE ORDER BY N_PRECE.ARTIKULS, N_PRECE.GNOS"});

    // ---------------------------------------------------------------- till: report forms
    const QString amount = "CENA*DAUDZUMS*(1-ATLAIDE/100)";
    const QString reportWhere = " WHERE DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ AND DAUDZUMS IS NOT NULL AND " + kNotAnnulled;
    const SqlParams reportPeriod = period("DAT_NO", "DAT_LIDZ");
    s.push_back({"ReportByCustomer",
                 "SELECT KL_NOSAUKUMS, KL_KODS, SUM(" + amount + ") SUMMA, SUM(CENA*DAUDZUMS*ATLAIDE/100) ATL_SUMMA, ARTIKULS FROM REALIZ" +
                     reportWhere + " AND KL_KODS IN ('K001','K002') GROUP BY KL_NOSAUKUMS, KL_KODS, ARTIKULS ORDER BY KL_NOSAUKUMS, KL_KODS, ARTIKULS",
                 reportPeriod});
    s.push_back({"ReportByCashier",
                 "SELECT KASIERIS, SUM(" + amount + ") SUMMA, SUM(CENA*DAUDZUMS*ATLAIDE/100) ATL_SUMMA FROM REALIZ" + reportWhere +
                     " AND NOT KL_KODS IN ('K003') GROUP BY KASIERIS",
                 reportPeriod});
    s.push_back({"ReportByHour",
                 "SELECT DATUMS, LAIKS, SUM(" + amount + ") SUMMA FROM REALIZ" + reportWhere + " GROUP BY DATUMS, LAIKS ORDER BY DATUMS, LAIKS",
                 reportPeriod});
    s.push_back({"ReportByCustomerSummary",
                 "SELECT REALIZ.CEKA_NR, REALIZ.DATUMS, REALIZ.APM_VEIDS, REALIZ.KL_NOSAUKUMS, REALIZ.KL_KODS, "
                 "SUM(REALIZ.CENA*REALIZ.DAUDZUMS*(1-REALIZ.ATLAIDE/100)) SUMMAARPVN, REALIZ.PIEZIMES, N_NODALAS.NODOKLIS "
                 "FROM REALIZ JOIN N_NODALAS ON REALIZ.NODOKLIS = N_NODALAS.NODALA_NR "
                 "WHERE REALIZ.DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ AND REALIZ.DAUDZUMS IS NOT NULL "
                 "AND REALIZ.ANULETS!='T' AND REALIZ.ANULETS IS NOT NULL AND REALIZ.KL_KODS='K001' "
                 "GROUP BY REALIZ.CEKA_NR, REALIZ.DATUMS, REALIZ.APM_VEIDS, REALIZ.KL_NOSAUKUMS, REALIZ.KL_KODS, REALIZ.PIEZIMES, N_NODALAS.NODOKLIS "
                 "ORDER BY REALIZ.CEKA_NR",
                 reportPeriod});
    const QString goodsPart =
        " REALIZ.APM_VEIDS, N_NODALAS.NODOKLIS, N_PRECE.GNOS PRECE, SUM(REALIZ.DAUDZUMS) SKAITS, "
        "SUM(REALIZ.CENA*REALIZ.DAUDZUMS*(1-REALIZ.ATLAIDE/100)) SUMMAARPVN FROM REALIZ, N_NODALAS, N_PRECE "
        "WHERE REALIZ.NODOKLIS = N_NODALAS.NODALA_NR AND REALIZ.ARTIKULS = N_PRECE.ARTIKULS "
        "AND REALIZ.DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ AND REALIZ.DAUDZUMS IS NOT NULL "
        "AND REALIZ.ANULETS!='T' AND REALIZ.ANULETS IS NOT NULL AND REALIZ.KL_KODS='K001' AND REALIZ.ARTIKULS='4750002000016' ";
    s.push_back({"ReportGoodsSummary",
                 "SELECT 1 FLAG," + goodsPart + "AND (REALIZ.PIEZIMES IS NULL OR REALIZ.PIEZIMES='') "
                     "GROUP BY REALIZ.APM_VEIDS, N_NODALAS.NODOKLIS, N_PRECE.GNOS UNION SELECT 2 FLAG," + goodsPart +
                     "AND REALIZ.PIEZIMES<>'' GROUP BY REALIZ.APM_VEIDS, N_NODALAS.NODOKLIS, N_PRECE.GNOS ORDER BY 1, 2, 3, 4",
                 reportPeriod});
    s.push_back({"ReportByTaxRate",
                 "SELECT SUM(" + amount + ") SUMMA, NODOKLIS, 1 FLAG FROM REALIZ WHERE DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ AND " +
                     kNotAnnulled + " GROUP BY NODOKLIS UNION SELECT SUM(" + amount +
                     ") SUMMA, NODOKLIS, 2 FLAG FROM REALIZ WHERE DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ AND " + kNotAnnulled +
                     " AND DAUDZUMS < 0 GROUP BY NODOKLIS ORDER BY 3, 2",
                 reportPeriod});
    s.push_back({"ReportPriceDeviations",
                 "SELECT REALIZ.CEKA_NR, REALIZ.DATUMS, N_PRECE.ARTIKULS, N_PRECE.GNOS PRECE, REALIZ.ATLAIDE, N_PRECE.CENA, "
                 "REALIZ.CENA*(1-REALIZ.ATLAIDE/100) REALIZ_CENA, REALIZ.KL_KODS, REALIZ.KL_NOSAUKUMS FROM N_PRECE, REALIZ "
                 "WHERE N_PRECE.ARTIKULS = REALIZ.ARTIKULS AND N_PRECE.CENA <> REALIZ.CENA*(1-REALIZ.ATLAIDE/100) "
                 "AND REALIZ.DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ AND REALIZ.DAUDZUMS IS NOT NULL",
                 reportPeriod});
    s.push_back({"ReportDiscountsByCustomer",
                 "SELECT KL_KODS, SUM(" + amount + ") SUMMA, SUM(CENA*DAUDZUMS*(ATLAIDE/100)) ATL_SUMMA, ATLAIDE FROM REALIZ" + reportWhere +
                     " GROUP BY KL_KODS, ATLAIDE",
                 reportPeriod});
    s.push_back({"ReportDepartment", "SELECT GNOS, NODOKLIS FROM N_NODALAS WHERE NODALA_NR=:NODALA_NR", {{"NODALA_NR", 1}}});
    s.push_back({"ReceiptSummaryZRows",
                 "SELECT ISN, DATUMS, FREEKOMENT FROM REALIZ WHERE PIEZIMES LIKE 'Z=%' AND DATUMS BETWEEN :DATIMS_NO AND :DATIMS_LIDZ ORDER BY DATUMS, ISN",
                 period("DATIMS_NO", "DATIMS_LIDZ")});
    s.push_back({"ReceiptSummaryPreviousZ", "SELECT MAX(ISN) MAX_ISN FROM REALIZ WHERE PIEZIMES LIKE 'Z=%' AND ISN < :ISN", {{"ISN", 1000}}});
    s.push_back({"ReceiptSummaryCount",
                 "SELECT COUNT(DISTINCT CEKA_NR) SKAITS FROM REALIZ WHERE CEKA_NR IS NOT NULL AND ANULETS = 'F' AND DAUDZUMS>0 "
                 "AND ISN > :ISN_NO AND ISN < :ISN_LIDZ",
                 {{"ISN_NO", 0}, {"ISN_LIDZ", 1000}}});

    // ---------------------------------------------------------------- till: command file
    s.push_back({"CommandFileItemFind", "SELECT ISN FROM N_PRECE WHERE ARTIKULS=:ARTIKULS", {{"ARTIKULS", "555"}}});
    s.push_back({"CommandFileItemInsert",
                 "INSERT INTO N_PRECE (GNOS, MERVIENIBA, NODALA, CENA, ARTIKULS) VALUES (:GNOS, :MERVIENIBA, :NODALA, :CENA, :ARTIKULS)",
                 {{"GNOS", "Ķiršu pīrāgs"}, {"MERVIENIBA", "gab."}, {"NODALA", 1}, {"CENA", 1.1}, {"ARTIKULS", "555"}}});
    s.push_back({"CommandFileItemUpdate",
                 "UPDATE N_PRECE SET GNOS=:GNOS, MERVIENIBA=:MERVIENIBA, NODALA=:NODALA, CENA=:CENA WHERE ISN=:ISN",
                 {{"GNOS", "Ķiršu pīrāgs"}, {"MERVIENIBA", "gab."}, {"NODALA", 1}, {"CENA", 1.2}, {"ISN", 1}}});

    // ---------------------------------------------------------------- till: restaurant orders
    const QString live = "(O_PASUT.DZESTS!='T' OR O_PASUT.DZESTS IS NULL)";
    s.push_back({"OrderLineInsert",
                 "INSERT INTO O_PASUT (DATUMS, BARMENIS, PASUT_NR, GALDS, VIETA,                         ARTIKULS, CENA, ATLAIDE, DAUDZUMS, APMAKSATS) VALUES"
                 "                         (:DATUMS, :BARMENIS, :PASUT_NR, :GALDS, :VIETA,                         :ARTIKULS, :CENA, :ATLAIDE, :DAUDZUMS, 'F')",
                 {{"DATUMS", kToday}, {"BARMENIS", "Anna Kļaviņa"}, {"PASUT_NR", 1}, {"GALDS", "Terase 5"}, {"VIETA", "2"},
                  {"ARTIKULS", "201"}, {"CENA", 3.9}, {"ATLAIDE", -10.0}, {"DAUDZUMS", 2.0}}});
    s.push_back({"OrderNewKey", "SELECT GEN_ID(O_PASUTGEN,0) ISN FROM N_ISI"});
    s.push_back({"OrderNextNumber", "SELECT MAX(PASUT_NR) PASUT_NR FROM O_PASUT"});
    s.push_back({"OrderList",
                 "SELECT * FROM O_PASUT  WHERE  " + live + "  AND  O_PASUT.DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ  AND  O_PASUT.BARMENIS='Anna Kļaviņa'"
                     " AND  O_PASUT.GALDS='Terase 5' AND  O_PASUT.APMAKSATS!='T' ORDER BY O_PASUT.DATUMS, O_PASUT.PASUT_NR, O_PASUT.ISN ",
                 period("DAT_NO", "DAT_LIDZ")});
    s.push_back({"OrderItemName", "SELECT GNOS         FROM N_PRECE         WHERE ARTIKULS = :ARTIKULS", {{"ARTIKULS", "201"}}});
    s.push_back({"OrderWaiters",
                 "SELECT O_PASUT.BARMENIS FROM O_PASUT                         GROUP BY O_PASUT.BARMENIS                         ORDER BY O_PASUT.BARMENIS"});
    s.push_back({"OrderTables",
                 "SELECT O_PASUT.GALDS FROM O_PASUT  WHERE  O_PASUT.BARMENIS='Anna Kļaviņa' AND  O_PASUT.DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ"
                 "                         GROUP BY O_PASUT.GALDS                         ORDER BY O_PASUT.GALDS",
                 period("DAT_NO", "DAT_LIDZ")});
    s.push_back({"OrderQuickItems",
                 "SELECT GNOS, SHORTKEY                         FROM N_PRECE                         WHERE SHORTKEY IS NOT NULL"
                 "                           AND SHORTKEY!='' ORDER BY GNOS"});
    s.push_back({"OrderQuickItemByKey", "SELECT ARTIKULS FROM N_PRECE WHERE SHORTKEY=:SHORTKEY", {{"SHORTKEY", "F5"}}});
    s.push_back({"OrderServiceCharge",
                 "SELECT SUM(O_PASUT.DAUDZUMS*O_PASUT.CENA*(1+O_PASUT.ATLAIDE/100)) SUMMA                          FROM O_PASUT"
                 "                          WHERE O_PASUT.PASUT_NR=:PASUT_NR AND " + live + " ",
                 {{"PASUT_NR", 1}}});
    s.push_back({"OrderLineDelete", "UPDATE O_PASUT SET DZESTS='T' WHERE ISN=:ISN", {{"ISN", 999}}});
    s.push_back({"OrderLineRemove", "DELETE FROM O_PASUT WHERE ISN=:ISN", {{"ISN", 999}}});
    s.push_back({"OrderDiscount", "UPDATE O_PASUT SET ATLAIDE=:ATLAIDE                          WHERE  O_PASUT.PASUT_NR=:PASUT_NR ",
                 {{"ATLAIDE", -5.0}, {"PASUT_NR", 1}}});
    s.push_back({"OrderCustomerDiscount", "SELECT ATLAIDE FROM N_KLIENTI WHERE KODS=:KODS ", {{"KODS", "K002"}}});
    s.push_back({"OrderCustomer", "UPDATE O_PASUT SET KL_KODS=:KL_KODS, ATLAIDE=:ATLAIDE                          WHERE  O_PASUT.PASUT_NR=:PASUT_NR ",
                 {{"KL_KODS", "K002"}, {"ATLAIDE", -5.0}, {"PASUT_NR", 1}}});
    s.push_back({"OrderPayLines",
                 "SELECT BARMENIS, PASUT_NR, GALDS, ARTIKULS, CENA, DAUDZUMS, ATLAIDE, KL_KODS                         FROM O_PASUT WHERE PASUT_NR=:NEW_NR AND " +
                     live + " ",
                 {{"NEW_NR", 1}}});
    s.push_back({"OrderPaid", "UPDATE O_PASUT SET APMAKSATS='T'                             WHERE PASUT_NR=:NEW_NR", {{"NEW_NR", 1}}});
    s.push_back({"OrderBarSlip",
                 "SELECT O_PASUT.DAUDZUMS, N_PRECE.GNOS PRECE                          FROM O_PASUT, N_PRECE                          WHERE O_PASUT.ARTIKULS = N_PRECE.ARTIKULS"
                 "                            AND O_PASUT.PASUT_NR=:PASUT_NR                            AND N_PRECE.NODALA=1                            AND " + live +
                     "                            AND (O_PASUT.PRN_BARS!='T' OR O_PASUT.PRN_BARS IS NULL)                          ORDER BY O_PASUT.ISN",
                 {{"PASUT_NR", 1}}});
    s.push_back({"OrderBarPrinted", "UPDATE O_PASUT SET PRN_BARS='T' WHERE PASUT_NR=:PASUT_NR", {{"PASUT_NR", 1}}});
    s.push_back({"OrderBill",
                 "SELECT O_PASUT.DAUDZUMS*O_PASUT.CENA*(1+O_PASUT.ATLAIDE/100) SUMMA, N_PRECE.GNOS PRECE,                             O_PASUT.DAUDZUMS"
                 "                          FROM O_PASUT, N_PRECE                          WHERE O_PASUT.ARTIKULS = N_PRECE.ARTIKULS"
                 "                            AND O_PASUT.PASUT_NR=:PASUT_NR                            AND " + live + "                          ORDER BY O_PASUT.ISN",
                 {{"PASUT_NR", 1}}});
    s.push_back({"OrderBillPrinted", "UPDATE O_PASUT SET PRN_REKINS='T' WHERE PASUT_NR=:PASUT_NR", {{"PASUT_NR", 1}}});
    s.push_back({"OrderKitchenCancel",
                 "SELECT O_PASUT.DAUDZUMS, O_PASUT.CENA, N_PRECE.GNOS PRECE, N_PRECE.NODALA\nFROM O_PASUT, N_PRECE\n"
                 "WHERE O_PASUT.ARTIKULS = N_PRECE.ARTIKULS\nAND O_PASUT.ISN=:ISN",
                 {{"ISN", 1}}});
    s.push_back({"OrderKitchenSlip",
                 "SELECT O_PASUT.ARTIKULS, O_PASUT.DAUDZUMS, O_PASUT.CENA,\n     O_PASUT.DAUDZUMS*O_PASUT.CENA SUMMA, N_PRECE.GNOS PRECE, N_PRECE.NODALA\n"
                 " FROM O_PASUT, N_PRECE\n WHERE O_PASUT.ARTIKULS = N_PRECE.ARTIKULS\n   AND O_PASUT.PASUT_NR=:PASUT_NR\n   AND N_PRECE.NODALA=2\n"
                 "   AND (O_PASUT.DZESTS!='T' OR O_PASUT.DZESTS IS NULL)\n   AND (O_PASUT.PRN_VIRTUVE!='T' OR O_PASUT.PRN_VIRTUVE IS NULL)\n"
                 " ORDER BY O_PASUT.ISN",
                 {{"PASUT_NR", 1}}});
    s.push_back({"OrderKitchenPrinted", "UPDATE O_PASUT SET PRN_VIRTUVE='T' WHERE PASUT_NR=:PASUT_NR", {{"PASUT_NR", 1}}});
    s.push_back({"OrderPrintout",
                 "SELECT O_PASUT.ARTIKULS, O_PASUT.DAUDZUMS, O_PASUT.CENA,\n     O_PASUT.DAUDZUMS*O_PASUT.CENA SUMMA, N_PRECE.GNOS PRECE\n"
                 " FROM O_PASUT, N_PRECE\n WHERE O_PASUT.ARTIKULS = N_PRECE.ARTIKULS\n   AND O_PASUT.PASUT_NR=:PASUT_NR\n   AND O_PASUT.DZESTS!='T' \n"
                 " ORDER BY O_PASUT.ARTIKULS",
                 {{"PASUT_NR", 1}}});
    s.push_back({"OrderTargetTable", "SELECT GALDS FROM O_PASUT WHERE PASUT_NR=:NEW_NR", {{"NEW_NR", 1}}});
    s.push_back({"OrderMerge", "UPDATE O_PASUT SET PASUT_NR=:NEW_NR, GALDS=:NEW_GALDS WHERE PASUT_NR=:OLD_NR",
                 {{"NEW_NR", 1}, {"NEW_GALDS", "Terase 5"}, {"OLD_NR", 2}}});
    s.push_back({"OrderMoveLine", "UPDATE O_PASUT SET PASUT_NR=:NEW_NR WHERE ISN=:ISN", {{"NEW_NR", 3}, {"ISN", 999}}});
    s.push_back({"OrderJoinRows",
                 "SELECT ISN, ARTIKULS, PASUT_NR, DAUDZUMS                         FROM O_PASUT                         WHERE PASUT_NR=:PASUT_NR AND " + live + " ",
                 {{"PASUT_NR", 1}}});
    s.push_back({"OrderJoinSum",
                 "SELECT ARTIKULS, SUM(DAUDZUMS) DAUDZUMS                         FROM O_PASUT                         WHERE PASUT_NR=:PASUT_NR AND ARTIKULS=:ARTIKULS"
                 "                              AND " + live + "                         GROUP BY ARTIKULS",
                 {{"PASUT_NR", 1}, {"ARTIKULS", "201"}}});
    s.push_back({"OrderJoinUpdate", "UPDATE O_PASUT SET DAUDZUMS=:DAUDZUMS WHERE ISN=:ISN", {{"DAUDZUMS", 3.0}, {"ISN", 1}}});
    s.push_back({"OrderJoinDelete",
                 "DELETE FROM O_PASUT                             WHERE ARTIKULS=:ARTIKULS AND PASUT_NR=:PASUT_NR                                 AND ISN!=:ISN",
                 {{"ARTIKULS", "201"}, {"PASUT_NR", 1}, {"ISN", 1}}});
    const SqlParams waiterPeriod = period("DATUMS_NO", "DATUMS_LIDZ");
    const QString waiterSum = "select SUM(CENA * DAUDZUMS * (1 + ATLAIDE/100)) as SUMMA                      from O_PASUT"
                              "                      where DATUMS between :DATUMS_NO and :DATUMS_LIDZ";
    s.push_back({"WaiterReport", waiterSum + "                      group by BARMENIS                      order by BARMENIS", waiterPeriod});
    s.push_back({"WaiterDeleted", waiterSum + "                            and O_PASUT.DZESTS='T' and BARMENIS = :BARMENIS",
                 waiterPeriod + SqlParams{{"BARMENIS", "Anna Kļaviņa"}}});
    s.push_back({"WaiterService",
                 waiterSum + "                            and ARTIKULS = :ARTIKULS                            and " + live + " and BARMENIS = :BARMENIS",
                 waiterPeriod + SqlParams{{"ARTIKULS", "APK"}, {"BARMENIS", "Anna Kļaviņa"}}});
    s.push_back({"WaiterUnpaid",
                 waiterSum + "                            and " + live + "                            AND APMAKSATS='F' and BARMENIS = :BARMENIS",
                 waiterPeriod + SqlParams{{"BARMENIS", "Anna Kļaviņa"}}});

    // ---------------------------------------------------------------- set-up program
    s.push_back({"SetupDepartmentRate", "SELECT NODALA_NR, NODOKLIS\nFROM N_NODALAS\nWHERE NODALA_NR=:NODALA_NR", {{"NODALA_NR", 3}}});
    s.push_back({"SetupCurrencies", "SELECT VAL_KODS\nFROM N_VALUTAS"});

    // ---------------------------------------------------------------- back office: sending
    s.push_back({"SendSettingsFind", "SELECT ISN FROM N_ISI"});
    s.push_back({"SendSettingsUpdate",
                 "UPDATE N_ISI SET ISINAUDALADELIMITS=:ISINAUDALADELIMITS, DEMORINDA_1=:DEMORINDA_1, DEMORINDA_2=:DEMORINDA_2, LOGO_EKRANS=:LOGO_EKRANS",
                 {{"ISINAUDALADELIMITS", 600.0}, {"DEMORINDA_1", "Laipni lūdzam veikalā!"}, {"DEMORINDA_2", "Šodien svaiga maize"},
                  {"LOGO_EKRANS", QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11)}}});
    s.push_back({"SendSettingsInsert",
                 "INSERT INTO N_ISI (ISN, ISINAUDALADELIMITS, DEMORINDA_1, DEMORINDA_2, LOGO_EKRANS) VALUES (1, :ISINAUDALADELIMITS, :DEMORINDA_1, "
                 ":DEMORINDA_2, :LOGO_EKRANS)",
                 {{"ISINAUDALADELIMITS", 0.0}, {"DEMORINDA_1", "Sveiki"}, {"DEMORINDA_2", "Paldies"}, {"LOGO_EKRANS", QVariant(QMetaType(QMetaType::QByteArray))}}});
    s.push_back({"SendItemsFind", "SELECT ISN FROM N_PRECE WHERE ARTIKULS=:ARTIKULS", {{"ARTIKULS", "4750001000017"}}});
    const SqlParams itemColumns{{"GNOS", "Rupjmaize ar ķimenēm"}, {"CENA", 2.2}, {"ATLAIDE", 0.0}, {"IZP_SAK_D", QDateTime(QDate(1899, 12, 30), QTime(0, 0))},
                                {"IZP_SAK_T", ""}, {"IZP_BEIG_D", QDateTime(QDate(1899, 12, 30), QTime(0, 0))}, {"IZP_BEIG_T", ""}, {"NODALA", 1},
                                {"MERVIENIBA", "gab."}, {"NEDOT_ATL", "F"}, {"NEDOT_ATL2", "F"}, {"CENA2", 0.0}, {"DAUDZUMS2", 0.0}, {"TARA", "F"},
                                {"WARNING", ""}, {"SKKASTE", 10.0}, {"SKKASTELIELA", 0.0}, {"SKPALETE", 400.0}, {"EAN_KASTE", "14750001000014"},
                                {"EAN_KASTELIELA", ""}, {"EAN_PALETE", "34750001000018"}};
    s.push_back({"SendItemsUpdate",
                 "UPDATE N_PRECE SET GNOS=:GNOS, CENA=:CENA, ATLAIDE=:ATLAIDE, IZP_SAK_D=:IZP_SAK_D, IZP_SAK_T=:IZP_SAK_T, IZP_BEIG_D=:IZP_BEIG_D, "
                 "IZP_BEIG_T=:IZP_BEIG_T, NODALA=:NODALA, MERVIENIBA=:MERVIENIBA, NEDOT_ATL=:NEDOT_ATL, NEDOT_ATL2=:NEDOT_ATL2, CENA2=:CENA2, "
                 "DAUDZUMS2=:DAUDZUMS2, TARA=:TARA, WARNING=:WARNING, SKKASTE=:SKKASTE, SKKASTELIELA=:SKKASTELIELA, SKPALETE=:SKPALETE, "
                 "EAN_KASTE=:EAN_KASTE, EAN_KASTELIELA=:EAN_KASTELIELA, EAN_PALETE=:EAN_PALETE WHERE ARTIKULS=:ARTIKULS",
                 itemColumns + SqlParams{{"ARTIKULS", "4750001000017"}}});
    s.push_back({"SendItemsInsert",
                 "INSERT INTO N_PRECE (ISN, ARTIKULS, GNOS, CENA, ATLAIDE, IZP_SAK_D, IZP_SAK_T, IZP_BEIG_D, IZP_BEIG_T, NODALA, MERVIENIBA, "
                 "NEDOT_ATL, NEDOT_ATL2, CENA2, DAUDZUMS2, TARA, WARNING, SKKASTE, SKKASTELIELA, SKPALETE, EAN_KASTE, EAN_KASTELIELA, EAN_PALETE) "
                 "VALUES (1, :ARTIKULS, :GNOS, :CENA, :ATLAIDE, :IZP_SAK_D, :IZP_SAK_T, :IZP_BEIG_D, :IZP_BEIG_T, :NODALA, :MERVIENIBA, "
                 ":NEDOT_ATL, :NEDOT_ATL2, :CENA2, :DAUDZUMS2, :TARA, :WARNING, :SKKASTE, :SKKASTELIELA, :SKPALETE, :EAN_KASTE, "
                 ":EAN_KASTELIELA, :EAN_PALETE)",
                 itemColumns + SqlParams{{"ARTIKULS", QString(30, QChar(u'ž'))}}});
    s.push_back({"SendCustomersDelete", "DELETE FROM N_KLIENTI"});
    s.push_back({"SendCustomersFind", "SELECT ISN FROM N_KLIENTI WHERE N_KLIENTI.KODS=:KODS", {{"KODS", "K009"}}});
    s.push_back({"SendCustomersInsert",
                 "INSERT INTO N_KLIENTI (ISN, KODS, GNOS, ADRESE, PVN_KODS, ATLAIDE, ATLIK_SUM, ATLIK_DAT, PINKODS) values"
                 " (1,:KODS, :GNOS, :ADRESE, :PVN_KODS, :ATLAIDE, :ATLIK_SUM, :ATLIK_DAT, :PINKODS)",
                 {{"KODS", "K009"}, {"GNOS", QString(140, QChar(u'ņ'))}, {"ADRESE", QString(100, QChar(u'ē'))}, {"PVN_KODS", QString(20, QChar('9'))},
                  {"ATLAIDE", 2.5}, {"ATLIK_SUM", 300.0}, {"ATLIK_DAT", QDateTime(kMonthAgo, QTime(0, 0))}, {"PINKODS", "4321"}}});
    s.push_back({"SendCurrenciesDelete", "DELETE FROM N_VALUTAS"});
    s.push_back({"SendCurrenciesInsert", "INSERT INTO N_VALUTAS (ISN, VAL_KODS, GNOS, KURSS) values (1,:VAL_KODS, :GNOS, :KURSS)",
                 {{"VAL_KODS", "GBP"}, {"GNOS", "Lielbritānijas mārciņa"}, {"KURSS", 1.17}}});
    s.push_back({"SendCashiersDelete", "DELETE FROM O_USERS"});
    s.push_back({"SendCashiersInsert", "INSERT INTO O_USERS (ISN, GNOS, PASWORD, FULLNAME) values (1, :GNOS, :PASWORD, :FULLNAME)",
                 {{"GNOS", "ĢIRTS"}, {"PASWORD", "slepens"}, {"FULLNAME", "Ģirts Ūdris"}}});
    s.push_back({"SendDepartmentsDelete", "DELETE FROM N_NODALAS"});
    s.push_back({"SendDepartmentsInsert", "INSERT INTO N_NODALAS (ISN, NODALA_NR, GNOS, NODOKLIS) values (1, :NODALA_NR, :GNOS, :NODOKLIS)",
                 {{"NODALA_NR", 5}, {"GNOS", "Zāles"}, {"NODOKLIS", 12.0}}});
    s.push_back({"SendPricesFileUpdate", "UPDATE N_PRECE SET GNOS=:GNOS, CENA=:CENA, NODALA=:NODALA, MERVIENIBA=:MERVIENIBA WHERE ARTIKULS=:ARTIKULS",
                 {{"GNOS", "Maize"}, {"CENA", 2.5}, {"NODALA", 1}, {"MERVIENIBA", "GAB."}, {"ARTIKULS", "1234"}}});
    s.push_back({"SendPricesFileInsert",
                 "INSERT INTO N_PRECE (ISN, ARTIKULS, GNOS, CENA, NODALA, MERVIENIBA) values (1,:ARTIKULS, :GNOS, :CENA, :NODALA, :MERVIENIBA)",
                 {{"ARTIKULS", "1234"}, {"GNOS", "Maize"}, {"CENA", 2.5}, {"NODALA", 1}, {"MERVIENIBA", "GAB."}}});

    // ---------------------------------------------------------------- back office: editor and price conversion
    s.push_back({"EditorCashiers",
                 "SELECT ISN, GNOS, PASWORD, FULLNAME, VARATGREIZT, VAR_Z_ATSKAITI, VARMAINITATLAIDI, MAXATLAIDE, VARDZEST, KL_ELEKTRON FROM O_USERS"});
    s.push_back({"EditorCurrencies", "SELECT ISN, VAL_KODS, GNOS, KURSS FROM N_VALUTAS"});
    s.push_back({"EditorItems",
                 "SELECT ISN, ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, ATLAIDE, IZP_SAK_D, IZP_SAK_T, IZP_BEIG_D, IZP_BEIG_T, SHORTKEY, CENA2, "
                 "DAUDZUMS2, TARA, NEDOT_ATL, NEDOT_ATL2, KEY_BUTTON, KEY_RADITCENU, WARNING, SKKASTE, SKKASTELIELA, SKPALETE, EAN_KASTE, "
                 "EAN_KASTELIELA, EAN_PALETE FROM N_PRECE ORDER BY ARTIKULS"});
    s.push_back({"EditorCustomers",
                 "SELECT ISN, KODS, GNOS, ADRESE, PVN_KODS, ATLAIDE, BEZATLAIDES, ATLSUMMAX, SLIMOKASE_ATL FROM N_KLIENTI ORDER BY GNOS"});
    s.push_back({"EditorAddOns", "SELECT PIEVARTIK1, PIEVSUMMA1, PIEVARTIK2, PIEVSUMMA2,PIEVARTIK3, PIEVSUMMA3, PARVEURPARD_C FROM N_ISI"});
    s.push_back({"PriceConversionMark", "UPDATE N_ISI SET PARVEURPARD_C='T'"});

    // ---------------------------------------------------------------- back office: collecting
    const SqlParams collectPeriod = period("DATUMS_NO", "DATUMS_LIDZ");
    const SqlParams zRange{{"ISN_NO", 1}, {"ISN_LIDZ", 1410065407}};
    s.push_back({"CollectZSearch", "SELECT ISN, PIEZIMES FROM REALIZ WHERE PIEZIMES STARTING WITH 'Z=' AND CEKA_NR IS NULL ORDER BY PIEZIMES DESCENDING"});
    const QString byItemPart =
        "SELECT DATUMS, KL_KODS, ARTIKULS, SUM(DAUDZUMS) DAUDZUMS, SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA, NODOKLIS, ATLAIDE, CENA, APM_VEIDS "
        "from realiz WHERE datums BETWEEN :DATUMS_NO AND :DATUMS_LIDZ AND REALIZ.ISN BETWEEN :ISN_NO AND :ISN_LIDZ "
        "AND ANULETS!='T' AND ANULETS IS NOT NULL AND DAUDZUMS %1 0 group by DATUMS, KL_KODS, artikuls, nodoklis, atlaide, CENA, APM_VEIDS";
    s.push_back({"CollectByItem", byItemPart.arg(">") + " union " + byItemPart.arg("<") + " order by 1, 2, 7, 3", collectPeriod + zRange});
    s.push_back({"CollectJournal", "SELECT * FROM REALIZ WHERE DATUMS BETWEEN :DATUMS_NO AND :DATUMS_LIDZ AND " + kNotAnnulled, collectPeriod});
    s.push_back({"CollectFreePrice",
                 "SELECT ARTIKULS, CENA, DAUDZUMS from realiz WHERE DATUMS BETWEEN :DATUMS_NO AND :DATUMS_LIDZ AND DAUDZUMS IS NOT NULL "
                 "AND PIEZIMES='BR.CENA' AND " + kNotAnnulled,
                 collectPeriod});
    s.push_back({"CollectSumsByItem",
                 "SELECT ARTIKULS, SUM(DAUDZUMS) DAUDZUMS,                             SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA"
                 "                          from realiz                          WHERE datums BETWEEN :DATUMS_NO AND :DATUMS_LIDZ"
                 "                             AND REALIZ.ISN BETWEEN :ISN_NO AND :ISN_LIDZ                             AND ANULETS!='T' AND ANULETS IS NOT NULL"
                 "                          group by artikuls, CENA, ATLAIDE                          order by artikuls",
                 collectPeriod + zRange});
    s.push_back({"CollectReceiptsZSearch",
                 "SELECT ISN, PIEZIMES                                  FROM REALIZ                                  WHERE PIEZIMES STARTING WITH 'Z=' AND"
                 "                                    CEKA_NR IS NULL                                    AND ANULETS!='T' AND ANULETS IS NOT NULL"
                 "                                  ORDER BY PIEZIMES DESCENDING"});
    s.push_back({"CollectReceipts",
                 "SELECT KL_KODS, CEKA_NR,                             NODOKLIS, SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA,"
                 "                             DATUMS, APM_VEIDS, CITASZINAS                          from realiz"
                 "                          WHERE datums BETWEEN :DATUMS_NO AND :DATUMS_LIDZ                             AND REALIZ.ISN BETWEEN :ISN_NO AND :ISN_LIDZ"
                 "                             AND ANULETS!='T' AND ANULETS IS NOT NULL                          GROUP BY KL_KODS, CEKA_NR, NODOKLIS, DATUMS,"
                 "                             APM_VEIDS, CITASZINAS                          order by CEKA_NR ",
                 collectPeriod + zRange});

    // ---------------------------------------------------------------- stock product
    s.push_back({"StockGoodsFind",
                 "SELECT ISN                         FROM N_KLPREC                         WHERE ARTIKULS=:ARTIKULS                          OR ARTIKULS2=:ARTIKULS"
                 "                          OR ARTIKULS3=:ARTIKULS                          OR ARTIKULS4=:ARTIKULS                          OR ARTIKULS5=:ARTIKULS"
                 "                          OR ARTIKULS6=:ARTIKULS",
                 {{"ARTIKULS", "4750001000017"}}, Target::Stockara});
    s.push_back({"StockGoodsFindForUpdate",
                 "SELECT ISN                         FROM N_KLPREC                         WHERE ARTIKULS=:ARTIKULS_1                          OR ARTIKULS2=:ARTIKULS"
                 "                          OR ARTIKULS3=:ARTIKULS                          OR ARTIKULS4=:ARTIKULS                          OR ARTIKULS5=:ARTIKULS"
                 "                          OR ARTIKULS6=:ARTIKULS                          OR ARTIKULS7=:ARTIKULS_1",
                 {{"ARTIKULS", "4750001000017"}, {"ARTIKULS_1", "4750001000017"}}, Target::Stockara});
    s.push_back({"StockDepartment", "SELECT ISN                         FROM N_DEPART                         WHERE KODS=:KODS", {{"KODS", "V1"}},
                 Target::Stockara});
    s.push_back({"StockBalance",
                 "SELECT SUM(ATLIKUMS) ATLIKUMS             FROM O_TEKATLIK             WHERE O_TEKATLIK.ISPRECE = :ISPRECE"
                 "              AND O_TEKATLIK.ISNODALA = :ISNODALA",
                 {{"ISPRECE", 1}, {"ISNODALA", 1}}, Target::Stockara});
    s.push_back({"StockBalanceRows",
                 "SELECT ATLIKUMS, ISPRECE, ISNODALA, NELEGALIZ              FROM O_TEKATLIK              WHERE O_TEKATLIK.ISPRECE = :ISPRECE"
                 "               AND O_TEKATLIK.ISNODALA = :ISNODALA               AND (O_TEKATLIK.NELEGALIZ = 'F' OR O_TEKATLIK.NELEGALIZ IS NULL)",
                 {{"ISPRECE", 1}, {"ISNODALA", 1}}, Target::Stockara});
    s.push_back({"StockBalanceAppend", "INSERT INTO O_TEKATLIK (ATLIKUMS, ISPRECE, ISNODALA, NELEGALIZ) VALUES (:ATLIKUMS, :ISPRECE, :ISNODALA, 'F')",
                 {{"ATLIKUMS", -2.0}, {"ISPRECE", 1}, {"ISNODALA", 1}}, Target::Stockara});
    return s;
}

class QuotedStatement : public testsupport::DatabaseTest, public ::testing::WithParamInterface<Statement> {};

TEST_P(QuotedStatement, PreparesAndExecutes) {
    const Statement& statement = GetParam();
    QSqlDatabase target;
    if (statement.target == Target::Till) {
        // Demo rows and a journal with a sale, an annulled line and a Z row, so that selects
        // fetch real values of every type.
        platform::runScript(platform::parseDatabaseLocation(databaseFile().string()), schema::demoDataScript());
        target = db();
        exec(kSaleInsert, {{"CEKA_NR", 1}, {"DATUMS", QDate::currentDate()}, {"LAIKS", "10:00:00"}, {"KL_KODS", "K001"},
                           {"ARTIKULS", "4750002000016"}, {"CENA", 0.6}, {"NODOKLIS", 1}, {"DAUDZUMS", 12.0}, {"ATLAIDE", 0.0},
                           {"SANEMTS", 10.0}, {"IZDOTS", 2.8}, {"BONUSS", 0.0}, {"APM_VEIDS", 1}, {"NODALA", 1}, {"KASIERIS", "ADMIN"},
                           {"PIEZIMES", ""}, {"KARTES_NR", ""}, {"KARTES_SUMMA", 0.0}, {"APM_RINDA", ""}, {"CITASZINAS", ""}});
        exec("INSERT INTO REALIZ (DATUMS, LAIKS, PIEZIMES, FREEKOMENT) VALUES (CURRENT_DATE, '23:00:00', 'Z=1', 'BEZ_PVN=1|')");
        exec("INSERT INTO O_PASUT (DATUMS, BARMENIS, PASUT_NR, GALDS, ARTIKULS, CENA, DAUDZUMS, APMAKSATS) "
             "VALUES (CURRENT_DATE, 'ANNA', 1, '5', '201', 3.9, 1, 'F')");
    } else {
        const auto file = dir() / "STOCKARA.GDB";
        testsupport::copyFreshStockaraDatabase(file);
        target = platform::openDatabaseAt(platform::parseDatabaseLocation(file.string()), "TEST_STOCKARA");
        testsupport::execSql(target, "INSERT INTO N_KLPREC (ARTIKULS, ARTIKULS7, GNOS) VALUES ('4750001000017', '4750001000017', 'Rupjmaize')");
        testsupport::execSql(target, "INSERT INTO N_DEPART (KODS, GNOS) VALUES ('V1', 'Veikals')");
        testsupport::execSql(target, "INSERT INTO O_TEKATLIK (ISPRECE, ISNODALA, ATLIKUMS) VALUES (1, 1, 12.5)");
    }
    ASSERT_FALSE(HasFailure());

    QSqlQuery query = testsupport::execSql(target, statement.sql, statement.params);
    ASSERT_FALSE(HasFailure());
    if (query.isSelect()) {
        int rows = 0;
        while (query.next()) {
            for (int column = 0; column < query.record().count(); ++column) (void)query.value(column);
            ++rows;
        }
        EXPECT_FALSE(query.lastError().isValid()) << query.lastError().text().toStdString();
        RecordProperty("rows", rows);
    }
    if (statement.target == Target::Stockara) {
        query = QSqlQuery();
        target = QSqlDatabase();
        platform::closeDatabase("TEST_STOCKARA");
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, QuotedStatement, ::testing::ValuesIn(statements()),
                         [](const ::testing::TestParamInfo<Statement>& info) { return info.param.name; });

}  // namespace
