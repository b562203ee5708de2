// One-line receipts driven through the command file into the real till, offscreen, on the real
// clock: the demo database, the fiscal-memory module simulator taking and answering bytes at
// 115200 baud, the printer simulator taking them at 9600 baud, and the display simulator. Each
// receipt is one file ("SALE" of one item and "PAYM" in cash) put whole, then its reply awaited.
//
// Prints receipts per second and what a receipt takes beyond what the lines and the till's timer
// allow: the 400 ms poll, the waits the devices prescribe (the till's sleeps, timed) and the
// module's wire time (10 bits a byte) follow one another; the printer's line carries its bytes
// alongside them from the port's buffer, so a receipt can take no less than the longer of that
// chain and the printer's wire time. The aim is at most 20 ms beyond.
//
//   command_file_bench [receipts]        (default 1000)
#include "bench_folder.h"
#include "driven_till.h"
#include "scripted_processes.h"

#include "clock.h"
#include "codepage_1257.h"
#include "database.h"
#include "till_database.h"
#include "ui_services.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

namespace {

constexpr double kPollSeconds = 0.4;
// Longer than any chunk the printer takes here is on its line: quiet that long, it has all.
constexpr int kPrinterQuietMs = 1500;
const QString kReceipt = QStringLiteral("SALE:PLU=4750001000017;QNTY=1;\r\nPAYM:MEDIA=0;AMOUNT=2.15;\r\n");

// The system's clock, adding up the time the till sleeps.
class TimedSleeps : public platform::Clock {
public:
    std::chrono::system_clock::time_point now() const override { return std::chrono::system_clock::now(); }
    Steady::time_point steadyNow() const override { return Steady::now(); }
    void sleepMs(int ms) override {
        if (ms <= 0) return;
        const auto start = Steady::now();
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        slept_ += (Steady::now() - start).count();
    }
    double seconds() const { return std::chrono::duration<double>(Steady::duration(slept_.load())).count(); }

private:
    std::atomic<Steady::rep> slept_{0};
};

double seconds(Steady::duration d) { return std::chrono::duration<double>(d).count(); }

// The driving program's cycle: the old reply removed, the command file put, the events run until
// the file is taken and the new reply is there. `taken` is when the till took the file (its tick
// began), seen from a second thread while the till works. False when no reply came within 20 s.
bool exchange(const fs::path& dir, const QString& commands, QStringList& reply, Steady::time_point& taken) {
    fs::remove(dir / command_file::kReplyFileName);
    driven_till::putCommandFile(dir, toCp1257(commands));
    const auto deadline = Steady::now() + std::chrono::seconds(20);
    std::thread watch([&] {
        while (fs::exists(dir / command_file::kCommandFileName) && Steady::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        taken = Steady::now();
    });
    while (fs::exists(dir / command_file::kCommandFileName) || !fs::exists(dir / command_file::kReplyFileName)) {
        if (Steady::now() > deadline) break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    watch.join();
    if (Steady::now() > deadline) return false;
    std::ifstream in(dir / command_file::kReplyFileName, std::ios::binary);
    reply = command_file::DecodeCommandFile(std::string(std::istreambuf_iterator<char>(in), {}));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;

    const fs::path dir = fs::temp_directory_path() / ("tillora-command-file-bench-" + std::to_string(::getpid()));
    auto& store = enterBenchFolder(dir);
    int messages = 0;
    platform::ui::setMessageHandler([&messages](const platform::ui::MessageRequest& m) {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
        const bool question = m.buttons == platform::ui::Buttons::YesNo || m.buttons == platform::ui::Buttons::YesNoCancel;
        return int(question ? platform::ui::Yes : platform::ui::Ok);
    });
    TimedSleeps clock;
    platform::setClock(&clock);
    ScriptedProcesses processes;
    ProcessListScope processScope(processes);

    const fs::path database = dir / "POS_DATI.GDB";
    schema::createDemoDatabase(database);
    platform::defineAlias(platform::kPosDbAlias, database.string(), store);
    driven_till::writeSetup(store);
    store.writeInteger(kSetupKey, "FiskPrinteris", 1);
    driven_till::Devices devices;
    if (!devices.start(dir, dir / "ports", true)) {
        std::fprintf(stderr, "a simulator did not start or the module did not answer\n");
        return 1;
    }
    if (!driven_till::openSaleWindow()) {
        std::fprintf(stderr, "the sale window did not open\n");
        return 1;
    }
    // Wakes the event wait now and then, so a till that never answers meets the deadline.
    QTimer wake;
    wake.start(100);

    int failures = 0;
    QStringList reply;
    Steady::time_point taken;
    const auto serve = [&](const QString& commands, const QStringList& expected) {
        if (!exchange(dir, commands, reply, taken)) {
            std::fprintf(stderr, "no reply\n");
            ++failures;
        } else if (reply != expected) {
            std::fprintf(stderr, "reply: %s\n", qPrintable(reply.join(" | ")));
            ++failures;
        }
    };
    const QStringList receiptAnswers{"OK", "OK"};

    // One receipt first (first use of the statements and the lines), the printer left to finish,
    // the counts taken, and an empty file served so the poll starts its round afresh.
    serve(kReceipt, receiptAnswers);
    devices.printer->waitIdle(kPrinterQuietMs, 60000);
    const int cutsBefore = devices.printer->cuts();
    const long printerBefore = devices.printer->bytesReceived();
    const auto moduleBefore = devices.fiscal->bytesReceived() + devices.fiscal->bytesSent();
    serve(QString(), {});
    const double sleptBefore = clock.seconds();

    std::vector<double> each;
    each.reserve(std::size_t(count));
    double polls = 0;  // from each reply to the next tick
    const auto start = Steady::now();
    auto last = start;
    for (int i = 0; i < count && failures == 0; ++i) {
        serve(kReceipt, receiptAnswers);
        const auto now = Steady::now();
        each.push_back(seconds(now - last));
        polls += seconds(taken - last);
        last = now;
    }
    const double elapsed = seconds(last - start);
    const double waits = clock.seconds() - sleptBefore;
    const auto moduleBytes = devices.fiscal->bytesReceived() + devices.fiscal->bytesSent() - moduleBefore;
    devices.printer->waitIdle(kPrinterQuietMs, 600000);
    const long printerBytes = devices.printer->bytesReceived() - printerBefore;
    const int printed = devices.printer->cuts() - cutsBefore;

    const int receipts = int(each.size());
    const double perReceipt = elapsed / receipts;
    const double moduleWire = double(moduleBytes) * 10 / driven_till::kModuleBaud / receipts;
    const double printerWire = double(printerBytes) * 10 / driven_till::kPrinterBaud / receipts;
    const double chain = kPollSeconds + waits / receipts + moduleWire;
    const double beyond = perReceipt - std::max(chain, printerWire);
    // Whether a receipt takes longer as the day's receipts pile up: the first and the last tenth.
    const std::size_t tenth = std::max<std::size_t>(1, each.size() / 10);
    const auto mean = [&](std::size_t from) {
        double sum = 0;
        for (std::size_t i = from; i < from + tenth; ++i) sum += each[i];
        return 1000 * sum / double(tenth);
    };
    const double firstTenth = mean(0), lastTenth = mean(each.size() - tenth);
    std::sort(each.begin(), each.end());

    std::printf("receipts %d (%d on paper), failures %d, messages %d\n", receipts, printed, failures, messages);
    std::printf("elapsed %.3f s: %.3f receipts/s, %.1f ms a receipt (min %.1f, median %.1f, max %.1f)\n", elapsed,
                receipts / elapsed, 1000 * perReceipt, 1000 * each.front(), 1000 * each[each.size() / 2], 1000 * each.back());
    std::printf("a receipt: poll %.1f ms + prescribed waits %.1f ms + module line %.0f bytes %.1f ms = %.1f ms; "
                "printer line %.0f bytes %.1f ms alongside\n",
                1000 * kPollSeconds, 1000 * waits / receipts, double(moduleBytes) / receipts, 1000 * moduleWire,
                1000 * chain, double(printerBytes) / receipts, 1000 * printerWire);
    std::printf("the poll as it ran: %.1f ms from a reply to the next tick; the tick %.1f ms\n", 1000 * polls / receipts,
                1000 * (perReceipt - polls / receipts));
    std::printf("first tenth %.1f ms a receipt, last tenth %.1f ms\n", firstTenth, lastTenth);
    std::printf("beyond: %.1f ms a receipt (target <= 20)\n", 1000 * beyond);

    wake.stop();
    driven_till::closeTill();
    devices.stop();
    platform::setClock(nullptr);
    platform::ui::setMessageHandler({});
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(dir);
    if (failures > 0 || printed != receipts) return 1;
    return beyond <= 0.020 ? 0 : 2;
}
