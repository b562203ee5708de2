// TPrintClass: the electronic journal. Every line printed through DrukaUzAbam and DrukaUzCeka goes,
// as Windows-1257 text with CR LF line ends, into El_Kontr/<yyyymmdd><Z number + 1>.txt (and the
// second folder's copy); older files move to Backup when a new file starts.
#include "printclass.h"

#include "clock.h"
#include "codepage_1257.h"
#include "fmproc.h"
#include "ui_services.h"

#include <zlib.h>

#include <QDate>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

bool TPrintClass::PartvietotFailu(const std::filesystem::path& source, const std::filesystem::path& target) {
    std::error_code ec;
    if (source.empty() || !std::filesystem::is_regular_file(source, ec)) return false;
    std::filesystem::create_directories(target.parent_path(), ec);
    // An existing target is not replaced: the source then stays where it is.
    if (!std::filesystem::exists(target, ec)) std::filesystem::rename(source, target, ec);
    return std::filesystem::exists(target, ec);
}

QString TPrintClass::DatumsTeksts(int year, int month, int day) {
    return QStringLiteral("%1%2%3").arg(year, 4, 10, QChar(u'0')).arg(month, 2, 10, QChar(u'0')).arg(day, 2, 10, QChar(u'0'));
}

void TPrintClass::moveOldJournals(const std::filesystem::path& folder) {
    const auto backup = folder / "Backup";
    std::error_code ec;
    std::filesystem::create_directories(backup, ec);
    if (!std::filesystem::is_directory(backup, ec)) {
        platform::ui::showMessage(QStringLiteral("Nevarēju izveidot kontrollentas rezerves katalogu, darbs tiek pārtraukts !!!"));
        platform::ui::endProgram(1);
    }
    const std::string current = KontrFails.toStdString();
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name == current || !entry.is_regular_file(ec)) continue;
        PartvietotFailu(entry.path(), backup / name);
    }
}

bool TPrintClass::startJournal() {
    // The file is named after the Z report that will close it: the last day-close number + 1. A
    // failed read would name the wrong file, so the journal waits until the number can be read.
    int nr = 0;
    double grandTotal = 0, grandVat = 0, daySum = 0, dayVat = 0;
    QDate date;
    QString time, check;
    if (!FMProc || !FMProc->FMReadGrand(-1, nr, grandTotal, grandVat, date, time, daySum, dayVat, check)) {
        PrintErrLog("WriteKontrollenta 1 ", "FMReadGrand");
        return false;
    }
    ZNr = nr;
    IeprKontrCRC = check;
    const auto today = platform::localNow();
    KontrFails = DatumsTeksts(today.year, today.month, today.day) + QString::number(ZNr + 1) + QStringLiteral(".txt");
    moveOldJournals(KontrMape);
    if (!KontrMape2.empty()) moveOldJournals(KontrMape2);
    return true;
}

bool TPrintClass::appendJournal(std::FILE*& file, const std::filesystem::path& folder, const std::string& bytes, int journalMode,
                                const QString& failureMessage) {
    if (!file) {
        file = std::fopen((folder / KontrFails.toStdString()).c_str(), "ab");
        if (!file) {
            platform::ui::showMessage(failureMessage);
            platform::ui::endProgram(1);
        }
    }
    // A line that does not reach the disk (a full disk, a lost share) would be missing from the
    // journal whose check value the Z report stores: the caller hears of it as of a failed print.
    errno = 0;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (journalMode == 1 && written) {
        written = std::fflush(file) == 0;
    } else {
        written = std::fclose(file) == 0 && written;
        file = nullptr;
    }
    if (!written) {
        const int error = errno;
        PrintErrLog("WriteKontrollenta 2 ", (folder / KontrFails.toStdString()).string() + ": " + std::strerror(error));
        // Closed, so the next line starts again with a fresh open.
        if (file) std::fclose(file);
        file = nullptr;
    }
    return written;
}

bool TPrintClass::WriteKontrollenta(const QString& text, int journalMode) {
    if (ZNr == -1 && !startJournal()) return false;
    // Written as a text-mode file is: every LF becomes CR LF, every other byte as it is.
    std::string bytes;
    for (char c : toCp1257(text + u'\n')) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    bool written = appendJournal(fKontr, KontrMape, bytes, journalMode,
                                 QStringLiteral("Nevarēju atvērt kontrollentas failu, darbs tiek pārtraukts !!!"));
    if (!KontrMape2.empty())
        written = appendJournal(fKontr2, KontrMape2, bytes, journalMode,
                                QStringLiteral("Nevarēju atvērt 2. kontrollentas failu, darbs tiek pārtraukts !!!")) &&
                  written;
    return written;
}

QString TPrintClass::GetKontrollentasCRC(int mode) {
    if (mode != 1) return {};
    const auto path = (KontrMape2.empty() ? KontrMape : KontrMape2) / KontrFails.toStdString();
    std::ifstream file(path, std::ios::binary);
    if (KontrFails.isEmpty() || !file) throw std::runtime_error("Cannot open file \"" + path.string() + "\"");
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), uInt(bytes.size()));
    return QStringLiteral("%1").arg(qulonglong(crc), 8, 16, QChar(u'0')).toUpper();
}
