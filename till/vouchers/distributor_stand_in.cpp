#include "distributor_stand_in.h"

#include <stdexcept>

QString DistributorStandIn::Call(const QString& method, const QStringList& arguments) {
    calls_.emplace_back(method, arguments);
    if (auto queued = replies_.find(method); queued != replies_.end() && !queued->second.empty()) {
        const QString reply = queued->second.front();
        queued->second.pop_front();
        return reply;
    }
    if (method == "CodeSellRequestReserve" && arguments.size() == 5) return "OK," + arguments[0];
    if (method == "CodeSellRequestPrint" && arguments.size() == 2)
        return "OK,\r\nPRIEKŠAPMAKSAS KARTE\r\nKods: " + arguments[0].right(12) + "\r\nDerīga 12 mēnešus";
    if (method == "CodeSellRequestCancel" && arguments.size() == 2) return "OK,";
    throw std::runtime_error("SanitexCOM has no method " + method.toStdString() + " with " + std::to_string(arguments.size()) +
                             " arguments");
}

void DistributorStandIn::installMaker(std::shared_ptr<DistributorStandIn> object) {
    ObjectMakers().SanitexCOM = [object] { return object; };
}
