// TPrintClass: the till's receipt printer (both stations), cash drawer, customer pole display and
// electronic journal, one object per program, on the serial ports the settings name.
#pragma once

#include "cominterface.h"
#include "print_devices.h"

#include <QString>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

class TFMProc;

// Results of the printing operations: 0, a ComWrite failure code (-1..-3) of the first command
// that failed, or this when the line could not go into the electronic journal (the journal file
// could not be named, or the line did not reach the disk).
inline constexpr int kPrintJournalFailed = -10;

class TPrintClass {
public:
    // Reads the port settings, opens the printer and display ports, loads the Latvian letters,
    // starts the day's journal file and downloads the display's letters.
    TPrintClass(int printerType, TFMProc* fmProc);
    ~TPrintClass();
    TPrintClass(const TPrintClass&) = delete;
    TPrintClass& operator=(const TPrintClass&) = delete;

    // Journal mode: 1 keeps the journal file open after the line, 0 and 2 close it.
    int DrukaUzAbam(const QString& text, int journalMode);
    int DrukaUzCeka(const QString& text, bool wait, int journalMode);
    int DrukaUzKontrLentas(const QString& text);
    int DrukaTuksasRindasUzAbam(int n);
    int NogriezCeku();
    int AtverNaudasLadi();
    // The header that starts the next receipt: 1, or -1 when a fiscal-memory read or a print failed.
    int DrukaCekaGalvu();
    int DrukaZudezoEAN(const QString& code);
    int DrukaZudezoLogo(int n);
    void SetCompressOn();
    void SetCompressOff();
    void IeladeDrukasDraiveri();
    QString ConvertLatviesuBurtus(const QString& text) const;
    std::string KonvertetRindu(const QString& text) const;
    std::string KonvertetDisplejam(const QString& text) const;

    int PrintUzDispleja(const QString& line1, const QString& line2);
    int ClearDispleju();
    // The advertising rows (N_ISI DEMORINDA_1 and DEMORINDA_2) scrolling on the display.
    void PrintDemoUzDispleja(const QString& row1, const QString& row2);
    // The same with the rows from DemoRindas, which the program sets to its N_ISI query.
    void PrintDemoUzDispleja();
    std::function<std::pair<QString, QString>()> DemoRindas;
    void IeladetDisplejaBurtus();
    int SwitchToPrinter();
    void LasitStatusu(std::uint8_t& a, std::uint8_t& b, std::uint8_t& c);

    // Mode 1: the journal file's CRC-32 as 8 upper-case hex digits; other modes: empty text.
    // Throws std::runtime_error when the journal file cannot be read.
    QString GetKontrollentasCRC(int mode);

    // Waits ms milliseconds on the monotonic clock (platform::clock()).
    void Gaidit(int ms);
    void Pauze(int ms) { Gaidit(ms); }

    const int PrinteraTips;
    int PrinteraPorts = 1;
    int KlDisplejsPorts = 1;
    int KlDispejaTips = 0;
    long KlDispejaSpeed = 9600;
    // The line width in characters; reports may change it and put it back.
    int RindasGarums;
    ComHandle hPrinteris = kComNotOpen;
    ComHandle hDisplejs = kComNotOpen;  // equals hPrinteris when both settings name one port
    // CEKAGALVA1..4, POS_NR, VID_ID as read from the fiscal memory.
    std::array<QString, 6> CekaGalva;
    QString FMSerialNr;

    // Electronic journal.
    int ZNr = -1;
    QString KontrFails;
    std::filesystem::path KontrMape;
    std::filesystem::path KontrMape2;  // empty when there is no second journal folder
    QString IeprKontrCRC;

    // Moves a file unless the target exists; creates the target's folder. True when the target exists.
    static bool PartvietotFailu(const std::filesystem::path& source, const std::filesystem::path& target);
    // The date as eight digits, year month day.
    static QString DatumsTeksts(int year, int month, int day);

private:
    const print::PrinterType& type() const { return print::printerType(PrinteraTips); }
    const print::DisplayType& display() const { return print::displayType(KlDispejaTips); }
    bool sharedPort() const { return PrinteraPorts == KlDisplejsPorts; }
    // The first failure of a sequence of steps is what an operation reports.
    static int firstFailure(int sofar, int step) { return sofar < 0 ? sofar : (step < 0 ? step : 0); }
    ComHandle openPrinterPort() const;
    // Writes to the port; a failure is logged with the label. Returns the ComWrite result.
    int send(ComHandle port, std::string_view bytes, std::string_view logLabel);
    int selectStation(std::uint8_t station, std::string_view logLabel);
    int printLine(const QString& text, std::uint8_t station, bool twice, std::string_view label1, std::string_view label2);
    int sendDisplayLine(const QString& text, std::string_view logLabel);
    int sendDisplayStep(const print::DisplayStep& step);
    void sendAdvertRow(const QString& row);
    void PrintErrLog(std::string_view command, const std::string& error);

    // Appends the text as a line to the journal file(s); false when the file could not be named
    // or a write did not reach the disk (logged in PrintErr.log).
    bool WriteKontrollenta(const QString& text, int journalMode);
    bool startJournal();
    void moveOldJournals(const std::filesystem::path& folder);
    bool appendJournal(std::FILE*& file, const std::filesystem::path& folder, const std::string& bytes, int journalMode,
                       const QString& failureMessage);

    TFMProc* FMProc;
    bool DisplejsJaatjauno = false;
    std::FILE* fKontr = nullptr;
    std::FILE* fKontr2 = nullptr;
};
