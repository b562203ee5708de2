#include "payvo_control.h"

#include "codepage_1257.h"

namespace {

class Sink : public platform::com::EventSink {
public:
    explicit Sink(TPayvo::EventHandler handler) : handler_(std::move(handler)) {}
    void onEvent(std::int32_t dispid, std::vector<platform::com::Variant>& args) override {
        if (handler_) handler_(dispid, args);
    }

private:
    TPayvo::EventHandler handler_;
};

}  // namespace

TPayvo::TPayvo(EventHandler onEvent) {
    platform::com::HResult code = 0;
    object_ = platform::com::createObject(kPayvoControlProgId, &code);
    if (!object_)
        throw PayvoCreateError("Klase nav reģistrēta (" + std::string(kPayvoControlProgId) + ", kods " + std::to_string(code) + ")");
    cookie_ = object_->advise(std::make_shared<Sink>(std::move(onEvent)));
}

TPayvo::~TPayvo() {
    if (object_) object_->unadvise(cookie_);
}

int TPayvo::Number(const char* name) const {
    platform::com::Variant value;
    if (object_->get(name, value) != 0) return 0;
    return platform::com::toInteger(value).value_or(0);
}

QString TPayvo::Text(const char* name) const {
    platform::com::Variant value;
    if (object_->get(name, value) != 0) return {};
    return fromCp1257(platform::com::toText(value).value_or(std::string()));
}

void TPayvo::SetNumber(const char* name, int value) { object_->put(name, std::int32_t(value)); }

void TPayvo::SetText(const char* name, const QString& value) { object_->put(name, toCp1257(value)); }

bool TPayvo::Call(const char* name) {
    std::vector<platform::com::Variant> args;
    platform::com::Variant result;
    if (object_->call(name, args, result) != 0) return false;
    return platform::com::toInteger(result).value_or(0) != 0;
}

bool TPayvo::PayvoGetState() { return Call("PayvoGetState"); }
bool TPayvo::TransactionRequest() { return Call("TransactionRequest"); }
bool TPayvo::EncashTransaction() { return Call("EncashTransaction"); }
