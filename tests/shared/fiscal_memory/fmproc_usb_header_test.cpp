// The receipt header read from the USB device and printed: a record the device answers with an
// error leaves its line empty, and the header still goes out.
#include "print_fixture.h"
#include "usb_fiscal_device.h"

namespace {

using Lines = std::vector<std::string>;

class UsbHeader : public PrintFixture {
protected:
    void SetUp() override
    {
        PrintFixture::SetUp();
        setupInteger("FMTips", 3);
        settings().writeInteger(platform::kFtdiSettingsKey, "ReadTimeoutMs", 300);
        ASSERT_TRUE(device.start(portsDir(), "FTDI0"));
        device.putRecord("CEKAGALVA1", 7, "Veikals");
        device.putRecord("CEKAGALVA2", 6, "Iela 1");
        device.putRecord("CEKAGALVA3", 4, toCp1257(QStringLiteral("Rīga")));
        device.putRecord("CEKAGALVA4", 7, "PVN LV1");
        device.putRecord("POS_NR", 2, "K7");
        device.putRecord("VID_ID", 2, "99");
        device.setSerialNumber("123");
    }
    void TearDown() override
    {
        PrintFixture::TearDown();
        device.stop();
    }

    sim::UsbFiscalDevice device;
};

TEST_F(UsbHeader, DeviceErrorOnAHeaderRecordPrintsTheRestOfTheHeader)
{
    startPrinter(6);
    TPrintClass& p = open(6);
    device.faults().arm("device-error CEKAGALVA2");
    EXPECT_EQ(p.DrukaCekaGalvu(), 1);
    EXPECT_EQ(receipt(), (Lines{"", "Veikals", "", "[cut]", "Rīga", "PVN LV1", "Kases S/N K7 FA S/N 123", "VID ID 99"}));
    EXPECT_TRUE(messages().shown(QStringLiteral("Problēmas ar fiskālo bloku !!!\n\nDeviceFailure")))
        << messages().texts().join(" | ").toStdString();
    EXPECT_NE(testsupport::readFile(dir() / "error.log").find("Atminas faila vards - CEKAGALVA2\n"), std::string::npos);
}

}  // namespace
