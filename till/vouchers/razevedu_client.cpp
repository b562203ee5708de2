#include "razevedu_client.h"

#include "razevedu.h"
#include "ui_services.h"

#include <memory>

struct RazeveduClient::Exports {
    platform::LoadedLibrary file;
    decltype(&::reserveVoucher) reserve = nullptr;
    decltype(&::cancelVoucherReservation) cancelReservation = nullptr;
    decltype(&::cancelTransaction) cancelTransaction = nullptr;
    decltype(&::buyReservedVoucher) buy = nullptr;
    decltype(&::getProductList) products = nullptr;
    decltype(&::releaseProductList) releaseProducts = nullptr;
};

namespace {

std::u16string wide(const QString& text) { return text.toStdU16String(); }

// The library's messages: the service's error texts and the network's, each in a message box.
void showLibraryMessage(void*, const std::u16string& text) { platform::ui::showMessage(QString::fromStdU16String(text)); }

template <typename F>
bool resolve(const platform::LoadedLibrary& file, const char* name, F& target) {
    target = reinterpret_cast<F>(file.symbol(name));
    return target != nullptr;
}

}  // namespace

RazeveduClient::RazeveduClient(QString clientId, QString password, QString userId)
    : clientId_(wide(clientId)), password_(wide(password)), userId_(wide(userId)) {}

const RazeveduClient::Exports* RazeveduClient::library() {
    // Loaded once and kept for the run, as a library linked at start would be.
    static std::unique_ptr<Exports> loaded;
    if (loaded) return loaded.get();
    auto e = std::make_unique<Exports>();
    decltype(&::setRazeveduMessageCallback) setCallback = nullptr;
    if (!e->file.load(kLibraryName) || !resolve(e->file, "reserveVoucher", e->reserve) ||
        !resolve(e->file, "cancelVoucherReservation", e->cancelReservation) ||
        !resolve(e->file, "cancelTransaction", e->cancelTransaction) || !resolve(e->file, "buyReservedVoucher", e->buy) ||
        !resolve(e->file, "getProductList", e->products) || !resolve(e->file, "releaseProductList", e->releaseProducts) ||
        !resolve(e->file, "setRazeveduMessageCallback", setCallback)) {
        platform::ui::showMessage("Nevarēju ielādēt ZUDEZO bibliotēku !!! " + QString::fromStdString(e->file.error()));
        return nullptr;
    }
    setCallback(showLibraryMessage, nullptr);
    loaded = std::move(e);
    return loaded.get();
}

QString RazeveduClient::reserveVoucher(const QString& ean) {
    const Exports* e = library();
    return e ? QString::fromStdU16String(e->reserve(clientId_, password_, userId_, wide(ean))) : QString();
}

QString RazeveduClient::cancelVoucherReservation(const QString& reference) {
    const Exports* e = library();
    return e ? QString::fromStdU16String(e->cancelReservation(clientId_, password_, userId_, wide(reference))) : QString();
}

QString RazeveduClient::cancelTransaction(const QString& reference) {
    const Exports* e = library();
    return e ? QString::fromStdU16String(e->cancelTransaction(clientId_, password_, userId_, wide(reference))) : QString();
}

QString RazeveduClient::buyReservedVoucher(const QString& reference, QString& receipt) {
    receipt.clear();
    const Exports* e = library();
    if (!e) return {};
    std::u16string code, serial, text;
    const std::u16string result = e->buy(clientId_, password_, userId_, wide(reference), code, serial, text);
    receipt = QString::fromStdU16String(text);
    return QString::fromStdU16String(result);
}

QStringList RazeveduClient::productList() {
    const Exports* e = library();
    if (!e) return {};
    int count = 0;
    std::u16string* products = e->products(clientId_, password_, userId_, count);
    QStringList texts;
    for (int i = 0; products && i < count; ++i) texts << QString::fromStdU16String(products[i]);
    e->releaseProducts(products);
    return texts;
}
