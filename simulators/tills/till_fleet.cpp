#include "till_fleet.h"

#include "codepage_1257.h"
#include "database.h"
#include "receipt_store.h"
#include "till_database.h"
#include "z_row.h"

#include <QSqlError>
#include <QSqlQuery>

#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace tills {
namespace {

std::vector<TCekaRinda> receiptLines(const std::vector<SoldLine>& lines) {
    std::vector<TCekaRinda> out;
    for (const SoldLine& l : lines) {
        TCekaRinda line;
        line.Artikuls = l.artikuls;
        line.Cena = l.cena;
        line.Daudzums = l.daudzums;
        line.Iepakojums = 1;
        line.Atlaide = l.atlaide;
        line.Nodala = l.nodala;
        line.ApmVeids = 1;
        // The till names an article it does not know "---" and stores it as a free-price line.
        line.Nosaukums = l.freePrice ? QStringLiteral("---") : l.artikuls;
        out.push_back(line);
    }
    return out;
}

void run(const QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    if (!query.exec(sql)) throw std::runtime_error(query.lastError().text().toStdString() + "\n" + sql.toStdString());
}

// A trigger raising an exception for rows whose `column` is `value`, on insert and update.
// `who` names the refusing database in the exception's text.
void refuse(const QSqlDatabase& db, const QString& who, const QString& table, const QString& column, const QString& value) {
    const QString exception = "REFUSED_" + table;
    run(db, QString("CREATE EXCEPTION %1 '%2 refuses %3 %4'").arg(exception, who, column, value));
    run(db, QString("CREATE TRIGGER %1_REFUSE FOR %1 ACTIVE BEFORE INSERT OR UPDATE POSITION 5 AS BEGIN "
                    "IF (NEW.%2 = '%3') THEN EXCEPTION %4; END")
                .arg(table, column, value, exception));
}

std::string number(double value) { return QString::number(value, 'f', 2).toStdString(); }

}  // namespace

void WriteExchangeTable(const std::filesystem::path& file, const std::vector<DbfTable::Column>& columns,
                        const std::vector<ExchangeRow>& rows) {
    DbfTable table = DbfTable::create(file, columns);
    for (const ExchangeRow& row : rows) {
        const int record = table.append();
        for (std::size_t i = 0; i < row.size() && i < columns.size(); ++i) table.setText(record, int(i), row[i]);
    }
}

std::vector<DbfTable::Column> ItemsColumns(const std::string& without) {
    std::vector<DbfTable::Column> all = {
        {"ARTIKULS", 'C', 40, 0},   {"NOSAUKUMS", 'C', 60, 0},  {"CENA", 'N', 12, 2},       {"ATLAIDE", 'N', 6, 2},
        {"IZP_SAK_D", 'D', 8, 0},   {"IZP_SAK_T", 'C', 10, 0},  {"IZP_BEIG_D", 'D', 8, 0},  {"IZP_BEIG_T", 'C', 10, 0},
        {"NODALA", 'N', 4, 0},      {"MERVIENIBA", 'C', 13, 0}, {"NEDOT_ATL", 'C', 1, 0},   {"NEDOT_ATL2", 'C', 1, 0},
        {"CENA2", 'N', 12, 2},      {"DAUDZUMS2", 'N', 12, 3},  {"TARA", 'C', 1, 0},        {"WARNING", 'C', 250, 0},
        {"SKKASTE", 'N', 10, 2},    {"SKKASTELIE", 'N', 10, 2}, {"SKPALETE", 'N', 10, 2},   {"EAN_KASTE", 'C', 50, 0},
        {"EAN_KASTEL", 'C', 50, 0}, {"EAN_PALETE", 'C', 50, 0}, {"FIELD1001", 'C', 40, 0},
    };
    std::erase_if(all, [&](const DbfTable::Column& c) { return c.name == without; });
    return all;
}

ExchangeRow ItemRow(const std::string& code, const std::string& name, double price, const std::string& unitDos) {
    return {code, name, number(price), "0", "", "", "", "", "1", unitDos, "F", "F", "0", "0", "F", "", "0", "0", "0", "", "", "", code};
}

std::vector<DbfTable::Column> KlientiColumns() {
    return {{"KODS", 'C', 30, 0},    {"NOSAUKUMS", 'C', 140, 0}, {"ADRESE", 'C', 100, 0}, {"PVN_KODS", 'C', 30, 0},
            {"ATLAIDE", 'N', 6, 2},  {"ATLIK_SUM", 'N', 12, 2},  {"ATLIK_DAT", 'D', 8, 0}, {"PINKODS", 'C', 30, 0}};
}

std::vector<DbfTable::Column> ValutasColumns() {
    return {{"VAL_KODS", 'C', 3, 0}, {"NOSAUKUMS", 'C', 60, 0}, {"KURSS", 'N', 14, 6}};
}

std::vector<DbfTable::Column> UsersColumns() {
    return {{"INOS", 'C', 20, 0}, {"PASWORD", 'C', 30, 0}, {"GNOS", 'C', 40, 0}};
}

std::vector<DbfTable::Column> NodalasColumns() {
    return {{"NODALA_NR", 'N', 4, 0}, {"NOSAUKUMS", 'C', 60, 0}, {"NODOKLIS", 'N', 6, 2}};
}

TillFleet::TillFleet(std::filesystem::path folder, std::string server) : folder_(std::move(folder)), server_(std::move(server)) {
    std::filesystem::create_directories(folder_);
}

TillFleet::~TillFleet() {
    closeConnections();
    for (const auto& [name, fd] : held_) ::close(fd);
}

QString TillFleet::addTill(const QString& name, bool onServer) {
    if (onServer && server_.empty()) throw std::runtime_error("The fleet has no Firebird server for " + name.toStdString());
    const auto file = std::filesystem::absolute(folder_ / name.toStdString() / "POS_DATI.GDB");
    std::filesystem::create_directories(file.parent_path());
    schema::createTillDatabase(file);
    const QString path = QString::fromStdString(onServer ? server_ + ":" + file.string() : file.string());
    paths_[name] = path;
    return path;
}

QString TillFleet::missingFilePath() const {
    return QString::fromStdString(std::filesystem::absolute(folder_ / "missing" / "POS_DATI.GDB").string());
}

QString TillFleet::path(const QString& name) const { return paths_.at(name); }

QSqlDatabase TillFleet::db(const QString& name) {
    const QString connection = "fleet:" + name;
    if (QSqlDatabase::contains(connection)) {
        QSqlDatabase open = QSqlDatabase::database(connection, false);
        if (open.isOpen()) return open;
    }
    return platform::openDatabaseAt(platform::parseDatabaseLocation(path(name).toStdString()), connection,
                                    platform::tillDatabaseLogin());
}

void TillFleet::closeConnections() {
    for (const auto& [name, path] : paths_)
        if (QSqlDatabase::contains("fleet:" + name)) platform::closeDatabase("fleet:" + name);
    if (QSqlDatabase::contains(QStringLiteral("fleet:AD"))) platform::closeDatabase(QStringLiteral("fleet:AD"));
}

void TillFleet::sell(const QString& name, int cekaNr, const QDate& day, const std::vector<SoldLine>& lines, bool isReturn,
                     const QString& klKods, int apmVeids, const QString& citasZinas) {
    const std::vector<TCekaRinda> rows = receiptLines(lines);
    ClosingReceipt receipt;
    receipt.lines = rows;
    for (const TCekaRinda& l : rows) receipt.CekaSumma += l.Cena * l.Daudzums * (1 - l.Atlaide / 100);
    receipt.Sanemts = receipt.CekaSumma;
    receipt.isReturn = isReturn;
    ReceiptRows stored;
    stored.CekaNr = cekaNr;
    stored.Datums = day;
    stored.Laiks = QStringLiteral("12:00:00");
    stored.KlKods = klKods;
    stored.ApmVeids = apmVeids - 1;
    stored.Kasieris = QStringLiteral("ADMIN");
    stored.CitasZinas = citasZinas;
    StoreReceiptRows(db(name), receipt, stored);
}

void TillFleet::annul(const QString& name, int cekaNr, const QDate& day, const std::vector<SoldLine>& lines) {
    AnnulledReceipt receipt;
    receipt.CekaNr = cekaNr;
    receipt.Datums = day;
    receipt.Laiks = QStringLiteral("12:00:00");
    receipt.Kasieris = QStringLiteral("ADMIN");
    StoreAnnulledRows(db(name), receipt, receiptLines(lines));
}

void TillFleet::zReport(const QString& name, int number, const QDate& day) {
    const platform::LocalTime at{day.year(), day.month(), day.day(), 20, 0, 0, 0, 0};
    StoreZReportRow(db(name), MakeZReportRow(number, QStringLiteral("SUMMA=0.00"), at));
}

void TillFleet::refuseKey(const QString& name, const QString& table, const QString& column, const QString& value) {
    refuse(db(name), QStringLiteral("The till"), table, column, value);
}

QString TillFleet::addSecondDatabase(bool onServer) {
    if (onServer && server_.empty()) throw std::runtime_error("The fleet has no Firebird server for the second database");
    const auto file = std::filesystem::absolute(folder_ / "AD" / "AUTODIREKCIJA.GDB");
    std::filesystem::create_directories(file.parent_path());
    schema::createAutoDirekcijaDatabase(file);
    secondPath_ = QString::fromStdString(onServer ? server_ + ":" + file.string() : file.string());
    return secondPath_;
}

QSqlDatabase TillFleet::secondDb() {
    const QString connection = QStringLiteral("fleet:AD");
    if (QSqlDatabase::contains(connection)) {
        QSqlDatabase open = QSqlDatabase::database(connection, false);
        if (open.isOpen()) return open;
    }
    return platform::openDatabaseAt(platform::parseDatabaseLocation(secondPath_.toStdString()), connection,
                                    platform::tillDatabaseLogin());
}

void TillFleet::refuseKvitsNr(int kvitsNr) { refuse(secondDb(), QStringLiteral("The second database"), QStringLiteral("KASE"), QStringLiteral("KVITSNR"), QString::number(kvitsNr)); }

void TillFleet::hold(const QString& name) {
    closeConnections();
    const std::string file = platform::parseDatabaseLocation(path(name).toStdString()).path;
    const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (fd >= 0) ::close(fd);
        throw std::runtime_error("Cannot hold " + file);
    }
    held_[name] = fd;
}

void TillFleet::release(const QString& name) {
    if (auto it = held_.find(name); it != held_.end()) {
        ::close(it->second);
        held_.erase(it);
    }
}

void TillFleet::WriteKases(const std::filesystem::path& folder, const std::vector<std::vector<QString>>& rows) {
    std::vector<ExchangeRow> bytes;
    for (const auto& row : rows) {
        ExchangeRow out;
        for (const QString& value : row) out.push_back(toCp1257(value));
        bytes.push_back(out);
    }
    WriteExchangeTable(folder / "KASES.DBF", {{"GNOS", 'C', 10, 0}, {"PATH", 'C', 200, 0}, {"NEAKTIVA", 'C', 1, 0}, {"LOGO_EKR", 'C', 200, 0}},
                       bytes);
}

}  // namespace tills
