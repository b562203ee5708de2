// A till process for the receipt-closing kill tests: the real sale window, offscreen, in a process
// of its own, started in the test's folder with the test's settings, ports and database
// (TILLORA_REGISTRY, TILLORA_PORTS, the alias POS_DB), so the devices' and the database's state
// after a kill is what a till that died leaves.
//
//   till_process <time> <kill-step> <kill-receipt> [receipt ...]
//       ADMIN logs in and the sale window starts (its start-up finishes what an earlier run
//       left); then each receipt is entered and paid. A receipt is its item entries joined by ","
//       and its payment text after "|" ("2*4750001000017,4750001000024|/0=10.00"). When the
//       closing of receipt <kill-receipt> (1-based, in this process) reaches <kill-step> (the
//       names of closing_steps.h), or the start-up's recovery reaches a "recovery-" step named,
//       the process kills itself (SIGKILL) there. "-" names no step. A receipt "@" + payment text
//       is the orders window's payment of the order its list shows last.
//   till_process <time> serve <kill-step> <kill-receipt>
//       the same till in command-file mode: it serves command files until it is killed; the
//       receipts counted are those the command files close.
//
// <time> is the clock's time as seconds since the epoch, or "real" for the system's clock (a
// payment terminal answers in its own time). Every message the till shows is written on the
// output, one a line, and answered Ok; the card dialog's "Veikt operāciju" is pressed whenever
// the dialog shows. Exit code: 0 done, 3 the sale window did not start.
#include "closing_steps.h"
#include "karsu_autorizacija.h"
#include "pasutijumi.h"
#include "razevedu_client.h"
#include "posmain.h"
#include "scripted_processes.h"
#include "till_window.h"

#include "clock.h"
#include "library_loader.h"
#include "session.h"
#include "ui_services.h"

#include <QApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

namespace {

int receiptsClosing = 0;

void enter(const QString& text) {
    POSMain->edArtikuls->setText(text);
    POSMain->edArtikulsKeyPress(13);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    QApplication app(argc, argv);
    std::optional<platform::ManualClock> clock;
    if (std::string(argv[1]) != "real") {
        clock.emplace(std::chrono::system_clock::from_time_t(std::time_t(std::stoll(argv[1]))));
        platform::setClock(&*clock);
    }
    const bool serve = std::string(argv[2]) == "serve";
    const int first = serve ? 3 : 2;
    const std::string killStep = argv[first];
    const int killReceipt = std::stoi(argv[first + 1]);
    SetClosingStepHook([&](std::string_view step) {
        // Every receipt the command file closes passes "numbered" first.
        if (serve && step == "numbered") ++receiptsClosing;
        const bool recovery = step.starts_with("recovery-");
        if (step == killStep && (recovery || receiptsClosing == killReceipt)) std::raise(SIGKILL);
    });
    platform::ui::setMessageHandler([](const platform::ui::MessageRequest& r) {
        std::cout << r.text.toStdString() << std::endl;
        return (r.buttons == platform::ui::Buttons::YesNo || r.buttons == platform::ui::Buttons::YesNoCancel)
                   ? int(platform::ui::Yes)
                   : int(platform::ui::Ok);
    });
    memorix::setReadTimeoutMs(300);
    // The cashier at the card dialog: the operation it was opened for, once each time it shows.
    QTimer cashier;
    QObject::connect(&cashier, &QTimer::timeout, [] {
        if (KarsuAutorizacija && KarsuAutorizacija->isVisible() && KarsuAutorizacija->btProcess->isEnabled())
            KarsuAutorizacija->btProcess->click();
    });
    cashier.start(50);
    platform::LoadedLibrary::substitute(RazeveduClient::kLibraryName, RAZEVEDU_LIBRARY);
    ScriptedProcesses processes;
    ProcessListScope scope(processes);

    testsupport::openStartForm();
    testsupport::logInAs("ADMIN", "1");
    if (!testsupport::startSaleWindow() || POSMain.isNull()) return 3;
    if (serve) return app.exec();
    for (int i = first + 2; i < argc; ++i) {
        if (const QString text = QString::fromLocal8Bit(argv[i]); text.startsWith(u'@')) {
            POSMain->Pastjumasastdana1Click();
            Pasutijumi->RefreshPasutijumi(0);
            Pasutijumi->shArtikuls->setText(text.mid(1));
            ++receiptsClosing;
            Pasutijumi->shArtikulsKeyPress(13);
            continue;
        }
        const QStringList receipt = QString::fromLocal8Bit(argv[i]).split(u'|');
        for (const QString& item : receipt.value(0).split(u',', Qt::SkipEmptyParts)) enter(item);
        // The receipt being closed now, for the kill hook ("numbered" is passed inside).
        ++receiptsClosing;
        enter(receipt.value(1));
    }
    testsupport::closeTill();
    return 0;
}
