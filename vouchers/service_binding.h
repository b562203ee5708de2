// The binding of the voucher service's interface: the endpoint and the service namespace read
// from the service description, and one call of an operation through them.
#pragma once

#include "data_object.h"
#include "http_transport.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace razevedu {

struct ServiceLocation {
    std::string serviceNamespace;  // the description's target namespace
    std::string endpoint;          // the address of the named port of the named service
};

// The description's target namespace and the address of port kPortName of service kServiceName;
// nothing when the description names no such port. Throws ServiceError for unreadable XML.
std::optional<ServiceLocation> readServiceDescription(std::string_view xml);

// The built-in location of the description: the host from the settings store with the fixed
// path and "?wsdl".
std::string builtInDescriptionLocation();
// The time limit and the plain-HTTP permission from the settings store.
TransportPolicy transportPolicyFromSettings();

class ServiceBinding {
public:
    // Reads the description at `descriptionUrl` (the built-in location when empty), under the
    // settings' transport policy, which the calls keep. Nothing when the description has no such
    // service and port; throws ServiceError when it cannot be read.
    static std::optional<ServiceBinding> bind(const std::string& descriptionUrl = {});

    // Sends the request and reads the answer; throws ServiceError for transport errors, HTTP
    // errors and SOAP faults.
    std::unique_ptr<DataObject> call(const DataObject& request) const;

    const ServiceLocation& location() const { return location_; }

private:
    ServiceBinding(ServiceLocation location, TransportPolicy policy) : location_(std::move(location)), policy_(policy) {}
    ServiceLocation location_;
    TransportPolicy policy_;
};

}  // namespace razevedu
