// tillora-devices starts the payment terminal when the till drives it through the control alone.
#include "control.h"
#include "device_table.h"
#include "serial_device.h"
#include "serial_link.h"
#include "test_environment.h"

namespace {

class TerminalDevicesTest : public testsupport::TestEnvironment {
protected:
    void TearDown() override {
        payvo::closeProcessPort();
        TestEnvironment::TearDown();
    }
};

}  // namespace

TEST_F(TerminalDevicesTest, TerminalKindTwoStartsTheTerminalOnTheChipReaderPort) {
    platform::setClock(nullptr);
    setupText("FMTips", "0");
    setupText("EFT", "2");
    setupInteger("CHIPReader", 3);
    setupText("SerialPortSpeed", "9600");
    auto running = devices::startConfigured(settings(), {portsDir(), dir(), true});
    // The control's forwarding worker first takes COM1: a line of its own here.
    sim::PseudoTerminal com1;
    ASSERT_TRUE(com1.linkAs(portsDir(), "COM1"));
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(running[0]->port, "COM3");
    {
        payvo::CPayvoCtrl control;
        control.payvo().SerialPortNumber = "3";
        control.payvo().SerialPortSpeed = "9600";
        EXPECT_TRUE(control.payvo().GetState());
        EXPECT_EQ(control.payvo().TerminalID, "T0000001");
    }

    // Kind 1 puts the chip-card reader on that port, not the terminal.
    setupText("EFT", "1");
    for (const auto& d : devices::startConfigured(settings(), {portsDir(), dir(), false, {}})) EXPECT_NE(d->description, "card payment terminal");
}
