// TLedvikDati: the back office's data module: the till list "KASES.DBF" of the working folder
// and the one till connection POSDati that the steps and the editor pages point at one till
// after another.
#pragma once

#include "till_list.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

class TLedvikDati : public QObject {
    Q_OBJECT
public:
    explicit TLedvikDati(QObject* owner = nullptr);
    ~TLedvikDati() override;

    // Opens the till list; on failure the list stays closed and empty and the error is returned.
    std::optional<QString> OpenKases();
    bool KasesOpen() const { return kasesError_.isEmpty(); }
    // Why the list is closed (empty while open).
    const QString& KasesError() const { return kasesError_; }
    std::vector<TillRow> Kases() const { return kases_.rows(); }
    // The live list the editor works on.
    TillList& KasesList() { return kases_; }

private:
    TillList kases_;
    QString kasesError_ = QStringLiteral("KASES.DBF is not open");
};
