// CPayvoCtrl: the payment-terminal control as the host program sees it, a dispatch object whose
// properties and methods reach one T_Payvo and whose events carry the terminal's prompts.
#pragma once

#include "object_layer.h"
#include "payvo.h"

#include <memory>

namespace payvo {

inline constexpr const char* kPayvoProgId = "PAYVO.PayvoCtrl.1";
inline constexpr const char* kPayvoClsid = "{CC324109-1A38-49C8-B82A-A6FDA6E47B24}";
inline constexpr const char* kPayvoTypeLibId = "{E5A1CC47-C80C-41C3-BBF5-AE69BBE02295}";
inline constexpr std::uint32_t kPayvoMiscStatus = 0x20491;

class CPayvoCtrl : public platform::com::DispatchObject, private PayvoEventTarget {
public:
    CPayvoCtrl();
    ~CPayvoCtrl() override;

    const std::vector<platform::com::DispatchMember>& members() const override;
    platform::com::HResult getProperty(std::int32_t dispid, platform::com::Variant& value) override;
    platform::com::HResult putProperty(std::int32_t dispid, const platform::com::Variant& value) override;
    platform::com::HResult invoke(std::int32_t dispid, std::vector<platform::com::Variant>& args, platform::com::Variant& result) override;

    // The event interface's members (DISPID and name), for hosts that bind events by name.
    static const std::vector<platform::com::DispatchMember>& eventMembers();

    bool modified() const { return modified_; }
    T_Payvo& payvo() { return *payvo_; }

private:
    void fireEvent(std::int32_t dispid, std::vector<platform::com::Variant>& args) override;

    std::unique_ptr<T_Payvo> payvo_;
    bool modified_ = false;
};

// The class as the object layer knows it, and the module's registration data.
const platform::com::ClassInfo& payvoClassInfo();
platform::com::ServerModule payvoServerModule();

}  // namespace payvo

extern "C" {
// Write and remove the control's entries in the settings store: 0, SELFREG_E_TYPELIB or SELFREG_E_CLASS.
std::int32_t DllRegisterServer();
std::int32_t DllUnregisterServer();
}
