// The control through its dispatch interface: properties and methods by name and DISPID, events,
// registration in the settings store, and a host program's whole day against the terminal.
#include "control.h"
#include "settings_store.h"
#include "terminal_fixture.h"

using namespace payvo;
using platform::com::Variant;
using payvotest::TerminalTest;
using sim::PaymentTerminalSim;

namespace {

class ControlTest : public TerminalTest {
protected:
    void TearDown() override {
        control.reset();
        TerminalTest::TearDown();
    }
    Variant get(const char* name) {
        Variant v;
        EXPECT_EQ(control->get(name, v), 0) << name;
        return v;
    }
    void put(const char* name, Variant v) { EXPECT_EQ(control->put(name, v), 0) << name; }
    bool call(const char* name, std::vector<Variant> args = {}) {
        Variant result;
        EXPECT_EQ(control->call(name, args, result), 0) << name;
        return std::get<bool>(result);
    }
    std::string text(const char* name) { return platform::com::toText(get(name)).value_or("?"); }
    std::int32_t number(const char* name) { return platform::com::toInteger(get(name)).value_or(-999); }

    std::unique_ptr<platform::com::DispatchObject> control;
};

const char* const kClassKey = "Software\\Classes\\CLSID\\{CC324109-1A38-49C8-B82A-A6FDA6E47B24}";

}  // namespace

TEST_F(ControlTest, PropertiesKeepTheirBounds) {
    control = std::make_unique<CPayvoCtrl>();
    put("CardName", std::string(300, 'C'));
    EXPECT_EQ(text("CardName").size(), 200u);
    put("SerialPortNumber", std::string("COM12345678"));
    EXPECT_EQ(text("SerialPortNumber"), "COM1234567");
    put("IPAddress", std::string("10.0.0.1"));
    EXPECT_EQ(text("IPAddress"), "");
    EXPECT_EQ(text("SerialPortSpeed"), "115200");
    put("Amount", std::int32_t(1230));
    Variant v;
    ASSERT_EQ(control->getProperty(4, v), 0);  // by DISPID
    EXPECT_EQ(platform::com::toInteger(v), 1230);
    EXPECT_EQ(control->idOfName("transactionreturn"), 21);
    EXPECT_EQ(control->idOfName("bAmountUpdateSupport"), 109);
    EXPECT_EQ(control->put("NoSuchProperty", v), platform::com::kDispUnknownName);
    EXPECT_EQ(control->put("CardName", Variant(std::int32_t(1))), platform::com::kDispTypeMismatch);
    EXPECT_TRUE(static_cast<CPayvoCtrl&>(*control).modified());
}

TEST_F(ControlTest, DisplayTextIsGivenOnlyWhenThereIsOne) {
    control = std::make_unique<CPayvoCtrl>();
    std::vector<Variant> args{std::int16_t(5), std::string("mine")};
    Variant result;
    ASSERT_EQ(control->call("GetDisplayText", args, result), 0);
    EXPECT_EQ(platform::com::toInteger(args[0]), 0);
    EXPECT_EQ(platform::com::toText(args[1]), "mine");

    terminal.script("1", {PaymentTerminalSim::frame("2|PIN|7"), PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
    put("Amount", std::int32_t(100));
    ASSERT_TRUE(call("TransactionRequest"));
    ASSERT_EQ(control->call("GetDisplayText", args, result), 0);
    EXPECT_EQ(platform::com::toInteger(args[0]), 7);
    EXPECT_EQ(platform::com::toText(args[1]), "PIN");
}

TEST_F(ControlTest, RegistrationWritesAndRemovesTheClass) {
    EXPECT_EQ(platform::com::createObject(kPayvoProgId), nullptr);
    ASSERT_EQ(DllRegisterServer(), 0);
    EXPECT_EQ(settings().readText(kClassKey + std::string("\\ProgID"), ""), kPayvoProgId);
    EXPECT_EQ(settings().readText(kClassKey + std::string("\\MiscStatus"), ""), "132241");  // 0x20491
    EXPECT_EQ(settings().readText("Software\\Classes\\TypeLib\\{E5A1CC47-C80C-41C3-BBF5-AE69BBE02295}\\1.0", ""), "payvo ActiveX Control module");
    control = platform::com::createObject(kPayvoProgId);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(text("SerialPortNumber"), "COM1");
    control.reset();
    ASSERT_EQ(DllUnregisterServer(), 0);
    EXPECT_FALSE(settings().keyExists(kClassKey));
    EXPECT_FALSE(settings().keyExists(std::string("Software\\Classes\\") + kPayvoProgId));
    platform::com::HResult code = 0;
    EXPECT_EQ(platform::com::createObject(kPayvoProgId, &code), nullptr);
    EXPECT_EQ(code, platform::com::kClassNotRegistered);
}

TEST_F(ControlTest, ATypeLibraryThatCannotBeRegisteredRegistersNoClass) {
    auto module = payvoServerModule();
    module.typeLib.id = "{not a guid}";
    EXPECT_EQ(platform::com::registerServer(module), platform::com::kSelfRegTypeLib);
    EXPECT_FALSE(settings().keyExists(kClassKey));
    EXPECT_FALSE(settings().keyExists(std::string("Software\\Classes\\") + kPayvoProgId));
}

TEST_F(ControlTest, AHostProgramRunsItsDayThroughTheControl) {
    ASSERT_EQ(DllRegisterServer(), 0);
    control = platform::com::createObject(kPayvoProgId);
    ASSERT_NE(control, nullptr);
    auto events = std::make_shared<payvotest::EventRecorder>();
    const std::uint32_t cookie = control->advise(events);
    events->answer(kEnterLast4Digits, 0, "1234");

    // State, then a purchase with a prompt, its encash with the slip lines, card removal.
    ASSERT_TRUE(call("PayvoGetState"));
    EXPECT_EQ(number("TerminalState"), 0);
    EXPECT_EQ(text("TerminalID"), "T0000001");
    put("PrintingDevice", std::int16_t(1));
    put("TransactionType", std::int16_t(0));
    put("Amount", std::int32_t(1230));
    terminal.script("1", {PaymentTerminalSim::frame("FR|1002|||30|||4|PEDEJIE 4|"), PaymentTerminalSim::awaitRequest("FA"),
                          PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("000"))});
    ASSERT_TRUE(call("TransactionRequest"));
    EXPECT_EQ(number("TransactionReturn"), 0);
    EXPECT_EQ(events->count(kEnterLast4Digits), 1);
    ASSERT_TRUE(call("EncashTransaction"));
    EXPECT_EQ(text("Receipt"), "KARTES MAKSAJUMS\r\nSUMMA EUR 12.30\r\nPALDIES\r\n");
    ASSERT_TRUE(call("WaitForCardRemoving"));

    // A payment cancel (type 1) the terminal declines, a purchase it drops, and the till's cancel.
    put("TransactionType", std::int16_t(1));
    terminal.script("1", {PaymentTerminalSim::frame(PaymentTerminalSim::authorisation("055"))});
    EXPECT_TRUE(call("TransactionRequest"));
    EXPECT_EQ(number("TransactionReturn"), 5);
    put("TransactionType", std::int16_t(0));
    terminal.script("1", {PaymentTerminalSim::raw({0x04})});
    EXPECT_FALSE(call("TransactionRequest"));
    EXPECT_EQ(number("TransactionReturn"), 1);
    EXPECT_TRUE(call("Cancel"));

    // Hosts, their totals, and the batch of the first host.
    ASSERT_TRUE(call("GetHostList"));
    EXPECT_EQ(text("HostID"), "01");
    EXPECT_FALSE(call("GetNextHostList"));
    ASSERT_TRUE(call("GetHostTotals"));
    EXPECT_EQ(text("DebitTotal"), "3690");
    put("TransactionType", std::int16_t(9));
    ASSERT_TRUE(call("TransactionRequest"));
    EXPECT_EQ(number("StatusCode"), 0);
    settle();
    EXPECT_EQ(terminal.requestsOfType("1").back().substr(0, 6), "1|9|0|");

    EXPECT_TRUE(control->unadvise(cookie));
    EXPECT_FALSE(control->unadvise(cookie));
    put("FunctionType", std::int16_t(5));
    EXPECT_FALSE(call("TerminalFunction"));
}
