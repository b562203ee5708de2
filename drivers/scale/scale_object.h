// Scalvia as an in-process server of the object layer: the class Scale behind IScale's dispatch
// interface (DISPIDs 1 to 7), its class entry under "Scalvia.Scale.1", and the module's
// self-registration.
#pragma once

#include "object_layer.h"
#include "scale.h"

namespace scalvia {

// IScale over one Scale. Every member returns the Scale's own status (0, -1, -2); the
// properties are read-only and give their value in `value` (a double, Stable a long).
class ScaleObject : public platform::com::DispatchObject {
public:
    const std::vector<platform::com::DispatchMember>& members() const override;
    platform::com::HResult getProperty(std::int32_t dispid, platform::com::Variant& value) override;
    platform::com::HResult putProperty(std::int32_t dispid, const platform::com::Variant& value) override;
    platform::com::HResult invoke(std::int32_t dispid, std::vector<platform::com::Variant>& args,
                                  platform::com::Variant& result) override;

private:
    Scale scale_;
};

// The class as the object layer knows it, and the module's registration data.
const platform::com::ClassInfo& scaleClassInfo();
platform::com::ServerModule scaleServerModule();

}  // namespace scalvia

extern "C" {
// Write and remove the server's entries in the settings store: 0, SELFREG_E_TYPELIB or SELFREG_E_CLASS.
std::int32_t DllRegisterServer();
std::int32_t DllUnregisterServer();
}
