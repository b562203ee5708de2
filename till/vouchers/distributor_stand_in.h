// A stand-in for the outside distributor's voucher object "SanitexCOM" for tests and the demo: it
// answers its three methods from scripted replies (by default: every request approved, a short
// voucher text to print) and keeps every call.
#pragma once

#include "frame_objects.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <map>
#include <utility>
#include <vector>

class DistributorStandIn : public AutomationObject {
public:
    QString Call(const QString& method, const QStringList& arguments) override;

    // The next reply of a method; once the queue is empty the default replies follow.
    void queueReply(const QString& method, const QString& reply) { replies_[method].push_back(reply); }
    const std::vector<std::pair<QString, QStringList>>& calls() const { return calls_; }

    // Installs a maker that gives the start-up this object.
    static void installMaker(std::shared_ptr<DistributorStandIn> object);

private:
    std::map<QString, std::deque<QString>> replies_;
    std::vector<std::pair<QString, QStringList>> calls_;
};
