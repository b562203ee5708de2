// TPrintClass: construction, the printer's lines and commands, the receipt header, the error log
// and the waits.
#include "printclass.h"

#include "clock.h"
#include "fmproc.h"
#include "print_charset.h"
#include "settings_store.h"
#include "ui_services.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

constexpr const char* kSetupKey = "Software\\TOVEL\\Tillora\\Setup";
constexpr int kLineWaitMs = 300;

}  // namespace

TPrintClass::TPrintClass(int printerType, TFMProc* fmProc) : PrinteraTips(printerType), FMProc(fmProc) {
    auto& settings = platform::SettingsStore::current();
    QString kontrollenta2;
    if (settings.keyExists(kSetupKey)) {
        PrinteraPorts = settings.readInteger(kSetupKey, "PrinteraPorts").value_or(1);
        KlDisplejsPorts = settings.readInteger(kSetupKey, "KlDisplejsPorts").value_or(1);
        KlDispejaTips = settings.readInteger(kSetupKey, "KlDispejaTips").value_or(0);
        KlDispejaSpeed = settings.readInteger(kSetupKey, "KlDispejaSpeed").value_or(9600);
        kontrollenta2 = QString::fromStdString(settings.readText(kSetupKey, "Kontrollenta2").value_or(std::string()));
    }

    // A port that does not open stays kComNotOpen: nothing is said now, every write to it fails
    // and is logged.
    hPrinteris = openPrinterPort();
    hDisplejs = sharedPort() ? hPrinteris : ComOpen(KlDisplejsPorts, KlDispejaSpeed, "n");
    RindasGarums = type().lineWidth;

    IeladeDrukasDraiveri();

    // Folders that cannot be made are reported by the first journal write.
    std::error_code ec;
    KontrMape = std::filesystem::current_path(ec) / "El_Kontr";
    std::filesystem::create_directories(KontrMape, ec);
    if (!kontrollenta2.isEmpty()) {
        KontrMape2 = std::filesystem::path(kontrollenta2.toStdString()) / "El_Kontr";
        std::filesystem::create_directories(KontrMape2, ec);
    }

    // The first journal write names the day's journal file and moves older ones to Backup.
    DrukaUzCeka(QString(), false, 0);

    IeladetDisplejaBurtus();
    Gaidit(kLineWaitMs);
}

TPrintClass::~TPrintClass() {
    if (fKontr) std::fclose(fKontr);
    if (fKontr2) std::fclose(fKontr2);
    if (hDisplejs != hPrinteris) ComClose(hDisplejs);
    ComClose(hPrinteris);
}

ComHandle TPrintClass::openPrinterPort() const { return ComOpen(PrinteraPorts, type().baud, "n"); }

void TPrintClass::Gaidit(int ms) {
    auto& clock = platform::clock();
    const auto until = clock.steadyNow() + std::chrono::milliseconds(ms);
    for (auto now = clock.steadyNow(); now < until; now = clock.steadyNow())
        clock.sleepMs(int(std::chrono::ceil<std::chrono::milliseconds>(until - now).count()));
}

void TPrintClass::PrintErrLog(std::string_view command, const std::string& error) {
    // Only logged: the operation goes on with its next step and reports the failure in its result.
    std::FILE* log = std::fopen("PrintErr.log", "a+");
    if (!log) return;
    const auto t = platform::localNow();
    std::fprintf(log, "-------------------------------------\n");
    std::fprintf(log, "Datums %02d.%02d.%04d Laiks %02d:%02d:%02d\n", t.day, t.month, t.year, t.hour, t.minute, t.second);
    std::fprintf(log, "Komanda -%.*s\n", int(command.size()), command.data());
    std::fprintf(log, "Error   -%s\n", error.c_str());
    std::fclose(log);
}

int TPrintClass::send(ComHandle port, std::string_view bytes, std::string_view logLabel) {
    int result = ComWrite(port, bytes.data(), bytes.size());
    if (result < 0 && !logLabel.empty()) PrintErrLog(logLabel, "Error=" + std::to_string(result));
    return result;
}

int TPrintClass::SwitchToPrinter() {
    if (!sharedPort()) return 0;
    const auto& pass = display().passThrough;
    return send(hPrinteris, pass.bytes, pass.logLabel);
}

int TPrintClass::selectStation(std::uint8_t station, std::string_view logLabel) {
    const char command[] = {'\x1B', '\x63', '\x30', char(station)};
    return send(hPrinteris, std::string_view(command, sizeof command), logLabel);
}

std::string TPrintClass::KonvertetRindu(const QString& text) const { return print::printerBytes(type(), text); }

QString TPrintClass::ConvertLatviesuBurtus(const QString& text) const { return print::plainLatvianLetters(text); }

int TPrintClass::printLine(const QString& text, std::uint8_t station, bool twice, std::string_view label1, std::string_view label2) {
    int result = SwitchToPrinter();
    result = firstFailure(result, selectStation(station, label1));
    QString padded = text.left(RindasGarums);
    padded = padded.leftJustified(RindasGarums, u' ');
    QString line = twice ? padded + padded : padded;
    line += u'\n';
    // The buffer grows with the line: a type 3 line of Latvian letters takes seven bytes a letter.
    return firstFailure(result, send(hPrinteris, KonvertetRindu(line), label2));
}

int TPrintClass::DrukaUzAbam(const QString& text, int journalMode) {
    int result = printLine(text, type().bothStations, type().lineTwice, "DrukaUzAbam 1 ", "DrukaUzAbam 2");
    if (!WriteKontrollenta(text, journalMode)) result = firstFailure(result, kPrintJournalFailed);
    if (sharedPort() || type().waitAfterEveryLine) Gaidit(kLineWaitMs);
    return result;
}

int TPrintClass::DrukaUzCeka(const QString& text, bool wait, int journalMode) {
    int result = printLine(text, print::kStationReceipt, false, "DrukaUzCeka 1 ", "DrukaUzCeka 2");
    if (!WriteKontrollenta(text, journalMode)) result = firstFailure(result, kPrintJournalFailed);
    if ((wait && sharedPort()) || type().waitAfterEveryLine) Gaidit(kLineWaitMs);
    return result;
}

int TPrintClass::DrukaUzKontrLentas(const QString& text) {
    if (!type().journalStation) return 0;
    int result = SwitchToPrinter();
    result = firstFailure(result, selectStation(print::kStationJournal, "DrukaUzKontrLentas 1 "));
    result = firstFailure(result, send(hPrinteris, KonvertetRindu(text), "DrukaUzKontrLentas 2 "));
    if (sharedPort() || type().waitAfterEveryLine) Gaidit(kLineWaitMs);
    return result;
}

int TPrintClass::DrukaTuksasRindasUzAbam(int n) {
    int result = SwitchToPrinter();
    result = firstFailure(result, selectStation(print::kStationBoth, "DrukaTuksasRindasUzAbam 1 "));
    const char feed[] = {'\x1B', '\x64', char(std::uint8_t(n))};
    return firstFailure(result, send(hPrinteris, std::string_view(feed, sizeof feed), "DrukaTuksasRindasUzAbam 2 "));
}

int TPrintClass::NogriezCeku() {
    int result = SwitchToPrinter();
    return firstFailure(result, send(hPrinteris, print::kCut, "NogriezCeku 1 "));
}

int TPrintClass::AtverNaudasLadi() {
    int result = SwitchToPrinter();
    return firstFailure(result, send(hPrinteris, print::kOpenDrawer, "AtverNaudasLadi 1 "));
}

void TPrintClass::SetCompressOn() {
    if (!type().compressible) return;
    RindasGarums = print::kCompressedWidth;
    send(hPrinteris, print::kCompressOn, "SetCompressOn 1 ");
}

void TPrintClass::SetCompressOff() {
    if (!type().compressible) return;
    // The type's own width: 42 on the SAM4S, 36 on the others.
    RindasGarums = type().lineWidth;
    send(hPrinteris, print::kCompressOff, "SetCompressOn 1 ");
}

void TPrintClass::IeladeDrukasDraiveri() {
    switch (type().loading) {
    case print::LetterLoading::None:
        return;
    case print::LetterLoading::CodeTable46:
        send(hPrinteris, print::kCodeTable46, "IeladeDrukasDraiveri 1 ");
        send(hPrinteris, print::kPrintMode17, "IeladeDrukasDraiveri 2 ");
        return;
    case print::LetterLoading::CitizenDlf: {
        SwitchToPrinter();
        std::ifstream file("citizen.dlf", std::ios::binary);
        if (!file) {
            platform::ui::showMessage(QStringLiteral("Navarēju ielādēt printerī latviešu burtus, fails citizen.dlf nav atrodams !!!"));
            return;
        }
        // The printer takes its letter set a byte at a time.
        std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        for (char byte : bytes) {
            send(hPrinteris, std::string_view(&byte, 1), "IeladeDrukasDraiveri 3 ");
            Gaidit(1);
        }
        return;
    }
    }
}

void TPrintClass::LasitStatusu(std::uint8_t& a, std::uint8_t& b, std::uint8_t& c) {
    SwitchToPrinter();
    std::uint8_t* answers[] = {&a, &b, &c};
    for (std::size_t i = 0; i < print::kStatusQueries.size(); ++i) {
        send(hPrinteris, print::kStatusQueries[i], {});
        std::string reply = ComRead(hPrinteris);
        *answers[i] = reply.empty() ? 0 : std::uint8_t(reply[0]);
    }
}

int TPrintClass::DrukaCekaGalvu() {
    if (CekaGalva[0].isEmpty()) {
        static constexpr const char* kRecords[] = {"CEKAGALVA1", "CEKAGALVA2", "CEKAGALVA3", "CEKAGALVA4", "POS_NR", "VID_ID"};
        for (std::size_t i = 0; i < CekaGalva.size(); ++i)
            if (!FMProc || !FMProc->FMRead(QString::fromLatin1(kRecords[i]), CekaGalva[i])) return -1;
        if (!FMProc->FMSerialNr(FMSerialNr)) return -1;
    }

    auto headerLines = [this](int from, int to, bool wait) {
        for (int i = from; i <= to; ++i)
            if (DrukaUzCeka(CekaGalva[std::size_t(i)], wait, 1) < 0) return false;
        return true;
    };
    bool printed = true;
    switch (type().headerCut) {
    case print::HeaderCut::AfterLines:
        printed = headerLines(0, 3, false) && NogriezCeku() >= 0;
        break;
    case print::HeaderCut::BeforeLines:
        printed = NogriezCeku() >= 0 && headerLines(0, 3, true);
        break;
    case print::HeaderCut::BetweenLines2And3:
        printed = headerLines(0, 1, true) && NogriezCeku() >= 0 && headerLines(2, 3, true);
        break;
    }
    if (!printed) return -1;
    if (DrukaUzKontrLentas(QStringLiteral("\n")) < 0) return -1;
    if (DrukaUzAbam(QStringLiteral("Kases S/N ") + CekaGalva[4].trimmed() + QStringLiteral(" FA S/N ") + FMSerialNr, 2) < 0) return -1;
    if (!CekaGalva[5].isEmpty() && DrukaUzAbam(QStringLiteral("VID ID ") + CekaGalva[5], 0) < 0) return -1;
    return 1;
}
