// Long-lived objects the sale window's start-up creates whose classes live in other units of the
// till (the payment dialog, the second screen, the scanner thread, the "SanitexCOM" voucher
// object). A unit that provides one installs its maker here; without a maker the object cannot
// be created, and the start-up takes the path it takes for an object that fails to be created.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include <QDialog>
#include <QThread>
#include <QWidget>

#include <functional>
#include <memory>

class TPOSMain;

// The outside distributor's voucher automation object ("SanitexCOM"), called by name.
class AutomationObject {
public:
    virtual ~AutomationObject() = default;
    // Calls the method of that name with text arguments and returns its text result; throws
    // std::runtime_error when the object has no such method or the call fails.
    virtual QString Call(const QString& method, const QStringList& arguments) = 0;
};

struct TillObjectMakers {
    std::function<QDialog*(TPOSMain*)> CekaApmaksa;                    // TCekaApmaksa, owned by the window
    std::function<QWidget*(TPOSMain*)> KlientLielaisEkrans;            // TKlientLielaisEkrans, owned by the window
    std::function<QThread*(TPOSMain*)> ScanerThread;                   // TScanerThread, running when returned
    std::function<std::shared_ptr<AutomationObject>()> SanitexCOM;     // throws when it cannot be created
};

TillObjectMakers& ObjectMakers();

extern QPointer<QDialog> CekaApmaksa;
extern QPointer<QWidget> KlientLielaisEkrans;
