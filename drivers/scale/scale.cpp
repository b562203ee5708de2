#include "scale.h"

#include "scale_link.h"

namespace scalvia {

Scale::Scale() = default;
Scale::~Scale() = default;

std::int32_t Scale::Connect(std::int32_t nCom, std::int32_t timeout) {
    link_.reset();  // the port of an earlier Connect is closed before it may be opened again
    link_ = std::make_unique<ScaleLink>(nCom, timeout);
    return link_->failed() ? kNoPort : kDone;
}

std::int32_t Scale::Disconnect() {
    link_.reset();
    return kDone;
}

std::int32_t Scale::Update() {
    if (!link_) return kNoPort;
    return link_->update() ? kDone : kNoAnswer;
}

template <class T, class Get>
std::int32_t Scale::property(T* pVal, Get get) const {
    if (!pVal) return kNoPort;
    *pVal = 0;
    if (!link_) return kNoPort;
    *pVal = get(link_->last());
    return kDone;
}

std::int32_t Scale::Weight(double* pVal) const {
    return property(pVal, [](const ScaleReading& r) { return fieldValue(r.weight); });
}

std::int32_t Scale::Stable(std::int32_t* pVal) const {
    return property(pVal, [](const ScaleReading& r) { return std::int32_t(r.stable ? 1 : 0); });
}

std::int32_t Scale::Cost(double* pVal) const {
    return property(pVal, [](const ScaleReading& r) { return fieldValue(r.cost); });
}

std::int32_t Scale::Price(double* pVal) const {
    return property(pVal, [](const ScaleReading& r) { return fieldValue(r.price); });
}

int Scale::readTimeoutMs() const { return link_ ? link_->timeoutMs() : 0; }

}  // namespace scalvia
