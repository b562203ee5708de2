// TPayvo: the payment-terminal control as the till's card dialog holds it, created by its ProgID
// through the object layer, with the properties and methods the till uses as typed members and
// the terminal's prompt events passed to one handler.
#pragma once

#include "object_layer.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// The control's ProgID, as the till creates it.
inline constexpr const char* kPayvoControlProgId = "PAYVO.PayvoCtrl.1";

// The control could not be created (not registered, or its class not loaded).
struct PayvoCreateError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class TPayvo {
public:
    // A prompt event: its DISPID and its arguments, of which the handler may change the
    // by-reference ones (status and answer).
    using EventHandler = std::function<void(std::int32_t dispid, std::vector<platform::com::Variant>& args)>;

    // Throws PayvoCreateError when the object layer cannot create the control.
    explicit TPayvo(EventHandler onEvent);
    ~TPayvo();
    TPayvo(const TPayvo&) = delete;
    TPayvo& operator=(const TPayvo&) = delete;

    // A property by name: numbers of any width, texts converted from the control's 8-bit
    // Windows-1257 texts. A property the control does not have reads as 0 or empty.
    int Number(const char* name) const;
    QString Text(const char* name) const;
    void SetNumber(const char* name, int value);  // short, long and one-byte flag properties alike
    void SetText(const char* name, const QString& value);

    // The methods the till calls; each returns the control's boolean.
    bool PayvoGetState();
    bool TransactionRequest();
    bool EncashTransaction();

    platform::com::DispatchObject& object() { return *object_; }

private:
    bool Call(const char* name);

    std::unique_ptr<platform::com::DispatchObject> object_;
    std::uint32_t cookie_ = 0;
};
