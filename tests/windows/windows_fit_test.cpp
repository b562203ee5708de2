// Every window of the till, the set-up program and the back office, opened offscreen on the
// screen the test runs with (1024x768, 1280x800): no visible control smaller than it needs, no
// text cut in its field, no list column narrower than its heading, no list line cut, no window
// past the screen.
#include "window_fit.h"

#include "till_window.h"

#include "atminas_karte.h"
#include "cekulentas_caurskate.h"
#include "control.h"
#include "frame_objects.h"
#include "get_datums_form.h"
#include "iestadisana.h"
#include "karsu_autorizacija.h"
#include "klaviatura.h"
#include "ledvikdati.h"
#include "ledvikform.h"
#include "mainainkasacija.h"
#include "password_dlg.h"
#include "pasutijumi.h"
#include "posmain.h"
#include "precu_caurskate.h"
#include "setup_form.h"
#include "small_dialogs.h"
#include "start_form.h"
#include "till_fleet.h"

#include <QApplication>
#include <QScreen>
#include <QTabWidget>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

// An item whose name takes the receipt line's whole 30 characters.
constexpr const char* kLongItem = "4759999000018";

class WindowsFit;

struct Form {
    const char* name;
    std::vector<std::pair<const char*, int>> setup;  // Setup values the till starts with
    // Opens the form as its program shows it; the fixture keeps what it made.
    std::function<QWidget*(WindowsFit&)> open;
    bool centred = false;  // the program opens it in the middle of the screen
};

void PrintTo(const Form& form, std::ostream* out) { *out << form.name; }

class WindowsFit : public testsupport::TillWindowTest, public ::testing::WithParamInterface<Form> {
public:
    using TillWindowTest::w;
    using TillWindowTest::writeRecords;

    void TearDown() override {
        forms.clear();
        ledvik.reset();
        ledvikDati.reset();
        TillWindowTest::TearDown();
    }

    // The sale window as the till shows it, with a few lines on the receipt.
    QWidget* saleWindow() {
        w().show();
        enter(kLongItem);
        enter("2*" + QString(kLongItem));
        enter("4750001000017");
        w().TimerPulkstenisTimer();  // the clock in the status bar
        return &w();
    }
    // The back office's window on one of its pages, its till list naming this till's database.
    QWidget* backOffice(int page) {
        tills::TillFleet::WriteKases(dir(), {{"K1", QString::fromStdString(databaseFile().string()), "F", {}}});
        ledvikDati = std::make_unique<TLedvikDati>();
        ledvik = std::make_unique<TLedvik>(*ledvikDati, false);
        ledvik->show();
        ledvik->PageControl->setCurrentIndex(page);
        return ledvik.get();
    }
    template <typename Dialog, typename... Arguments>
    QWidget* dialog(Arguments&&... arguments) {
        auto* made = new Dialog(std::forward<Arguments>(arguments)...);
        forms.emplace_back(made);
        made->show();
        return made;
    }

    std::vector<std::unique_ptr<QWidget>> forms;
    std::unique_ptr<TLedvikDati> ledvikDati;
    std::unique_ptr<TLedvik> ledvik;
};

QWidget* ShownPage(QWidget* window, int page) {
    window->findChild<QTabWidget*>()->setCurrentIndex(page);
    return window;
}

const Form kForms[] = {
    {"SaleWindow", {}, [](WindowsFit& t) { return t.saleWindow(); }},
    {"SaleWindowFullScreen", {{"FullScreen", 1}}, [](WindowsFit& t) { return t.saleWindow(); }},
    {"SaleWindowTwoRowLines", {{"EkrNosaukDivasRindas", 1}}, [](WindowsFit& t) { return t.saleWindow(); }},
    {"SaleWindowWithoutTouchKeys", {{"NeraditTouchPogas", 1}}, [](WindowsFit& t) { return t.saleWindow(); }},
    {"Orders",
     {},
     [](WindowsFit& t) -> QWidget* {
         t.w().show();
         t.w().Pastjumasastdana1Click();
         Pasutijumi->cmbBarmens->setEditText("Anna");
         Pasutijumi->cmbGalds->setEditText("12");
         Pasutijumi->shArtikuls->setText(kLongItem);
         Pasutijumi->shArtikulsKeyPress(13);
         return Pasutijumi;
     }},
    {"Payment",
     {},
     [](WindowsFit& t) -> QWidget* {
         t.saleWindow();
         ::CekaApmaksa->show();
         return ::CekaApmaksa;
     }},
    {"CardTerminal",
     {},
     [](WindowsFit& t) {
         DllRegisterServer();  // the terminal's control, as its installer registers it
         return t.dialog<TKarsuAutorizacija>(&t.w(), 2);
     }},
    {"TillSettings", {}, [](WindowsFit& t) { return t.dialog<TIestadisana>(&t.w()); }},
    {"Password", {}, [](WindowsFit& t) { return t.dialog<TPasswordDlg>(nullptr); }},
    {"Help", {}, [](WindowsFit& t) { return t.dialog<TPaligs>(&t.w()); }},
    {"PinCode", {}, [](WindowsFit& t) { return t.dialog<TPinKods>(&t.w()); }},
    {"GiftCards", {}, [](WindowsFit& t) { return t.dialog<TDavanuKartes>(&t.w()); }},
    {"DidYouCheck", {}, [](WindowsFit& t) { return t.dialog<TVaiParbaudijat>(&t.w()); }},
    {"ReceiptNumber", {}, [](WindowsFit& t) { return t.dialog<TGetKvitsNumurs>(&t.w()); }},
    {"VoucherNumber", {}, [](WindowsFit& t) { return t.dialog<TGetZudezoNumurs>(&t.w()); }},
    {"Keyboard", {}, [](WindowsFit& t) { return t.dialog<TKlaviatura>(&t.w()); }},
    {"ReportDates", {}, [](WindowsFit& t) { return t.dialog<TGetDatumsForm>(&t.w()); }},
    {"JournalReview", {}, [](WindowsFit& t) { return t.dialog<TCekuLentasCaurskate>(&t.w()); }},
    {"CashInOut", {}, [](WindowsFit& t) { return t.dialog<TMainaInkasacija>(&t.w(), 3); }},
    {"GoodsBrowser", {}, [](WindowsFit& t) { return t.dialog<TPrecuCaurskate>(&t.w()); }},
    {"StartForm", {}, [](WindowsFit&) -> QWidget* { return StartForm; }},
    {"SecondScreen",
     {{"KlientLielaisEkrans", 1}},
     [](WindowsFit& t) -> QWidget* {
         t.saleWindow();
         // As large as the main screen, brought from the second monitor onto the test's one.
         t.w().ShowKlientLielaisEkrans();
         QApplication::processEvents();
         QWidget* screen = ::KlientLielaisEkrans;
         screen->move(0, 0);
         return screen;
     }},
    {"SetUp", {},
     [](WindowsFit& t) {
         // A VAT number and a receipt counter as wide as their records hold them.
         t.writeRecords({{"VID_ID", "LV40003000001"}, {"CEKANRCOUN", "00000000001"}});
         return t.dialog<TSetup>();
     },
     true},
    {"SetUpTerminalPage", {}, [](WindowsFit& t) { return ShownPage(t.dialog<TSetup>(), 1); }},
    {"MemoryCard",
     {},
     [](WindowsFit& t) {
         auto* setUp = static_cast<TSetup*>(t.dialog<TSetup>());
         auto* card = new TAtminasKarte(setUp);
         card->FMProc = setUp->FMProc.get();
         card->show();
         return card;
     }},
    {"BackOfficeSending", {}, [](WindowsFit& t) { return t.backOffice(0); }},
    {"BackOfficeCashiers", {}, [](WindowsFit& t) { return t.backOffice(1); }},
    {"BackOfficeItems", {}, [](WindowsFit& t) { return t.backOffice(2); }},
    {"BackOfficeCustomers", {}, [](WindowsFit& t) { return t.backOffice(3); }},
    {"BackOfficeAddOnItems", {}, [](WindowsFit& t) { return t.backOffice(4); }},
};

TEST_P(WindowsFit, EveryControlWholeAndEveryListLineShown) {
    for (const auto& [name, value] : GetParam().setup) setupInteger(name, value);
    exec("INSERT INTO N_PRECE (ISN, ARTIKULS, GNOS, NODALA, CENA) VALUES (9001, '" + QString(kLongItem) +
         "', 'Šokolādes konfektes Gotiņa 1kg', 1, 1234.5678)");
    ASSERT_TRUE(startTill()) << messages().texts().join(" | ").toStdString();
    QWidget* form = GetParam().open(*this);
    ASSERT_TRUE(form);
    const QStringList cut = testsupport::CutParts(*form);
    EXPECT_TRUE(cut.isEmpty()) << cut.join("\n").toStdString();
    if (GetParam().centred) {
        // Within the frame's few pixels of the middle.
        const QPoint off = form->frameGeometry().center() - form->screen()->availableGeometry().center();
        EXPECT_LE(off.manhattanLength(), 20) << "off the middle by " << off.x() << "," << off.y();
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, WindowsFit, ::testing::ValuesIn(kForms), [](const auto& info) { return std::string(info.param.name); });

}  // namespace
