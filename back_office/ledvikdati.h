// TLedvikDati: the back office's data module: the till list "KASES.DBF" of the working folder
// and the one till connection POSDati that the steps point at one till after another.
#pragma once

#include "send_receive_pass.h"

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
    const std::vector<TillRow>& Kases() const { return kases_; }
    // The till list's current row, which the till pages work on; none while the list is empty.
    const TillRow* CurrentKase() const;
    void SetCurrentKase(std::size_t row) { currentKase_ = row; }

private:
    std::vector<TillRow> kases_;
    std::size_t currentKase_ = 0;
    QString kasesError_ = QStringLiteral("KASES.DBF is not open");
};
