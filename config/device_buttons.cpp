#include "device_buttons.h"

#include "library_loader.h"
#include "printclass.h"
#include "setup_form.h"
#include "terminal_request.h"
#include "ui_services.h"

namespace {

// The loaded terminal library and its entry: program-wide, each load replaces them.
platform::LoadedLibrary& arccom()
{
    static platform::LoadedLibrary library;
    return library;
}
ProcessOwFunction processOw = nullptr;

constexpr int kAdminOperation = 99;
const std::string kReceiptStationOnly = "\x1B\x63\x30\x02";

// Prints the bytes between four blank lines on both stations and ends with the next receipt's
// header, on a printer object of the form's chosen type that lives for the click only.
void printTest(TSetup& form, const std::string& bytes)
{
    TPrintClass print(form.rdPrinteris->ItemIndex(), form.FMProc.get());
    print.DrukaTuksasRindasUzAbam(4);
    // The tests report nothing: a printer that is not there simply prints nothing.
    ComWrite(print.hPrinteris, bytes);
    print.DrukaTuksasRindasUzAbam(4);
    print.DrukaCekaGalvu();
}

}  // namespace

std::string CodePageBytes()
{
    std::string bytes = kReceiptStationOnly;
    for (int c = 32; c <= 255; ++c) {
        bytes += char(c);
        if ((c - 32) % 16 == 15)
            bytes += '\n';
    }
    return bytes;
}

std::string FontTestBytes()
{
    std::string bytes = kReceiptStationOnly + "\x1B\x74\x2E";
    for (int n = 1; n <= 255; ++n)
        bytes += std::string("\x1B\x21") + char(n) + "Font test " + std::to_string(n) + '\n';
    return bytes;
}

int LoadArccomDll()
{
    processOw = nullptr;
    if (!arccom().load(kArccomLibrary)) {
        platform::ui::showMessage(QStringLiteral("Nevarēju atrast Ingenico Dll arccom.dll !!!"));
        return -1;
    }
    processOw = reinterpret_cast<ProcessOwFunction>(arccom().symbol(kArccomEntry));
    if (!processOw) {
        arccom().unload();
        return -1;
    }
    return 0;
}

void RunArccomOperation(int operationCode)
{
    if (!processOw)
        return;
    TerminalRequest request = MakeTerminalRequest(operationCode);
    // The library may answer into the block; the set-up program reads nothing from it.
    processOw(request.data());
    processOw = nullptr;
    arccom().unload();
}

void TSetup::btCodePageClick() { printTest(*this, CodePageBytes()); }

void TSetup::btFontTestClick() { printTest(*this, FontTestBytes()); }

void TSetup::btAdminClick()
{
    if (LoadArccomDll() < 0)
        return;
    RunArccomOperation(kAdminOperation);
}
