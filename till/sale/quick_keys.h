// The 36 quick-item keys "A1".."F6" of the sale window, filled from the N_PRECE rows whose
// KEY_BUTTON names a key.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include <array>
#include <vector>

inline constexpr int kQuickKeyCount = 36;

// 6 x column (A = 0 .. F = 5) + (row - 1): "A1" is 0, "B1" is 6, "F6" is 35; -1 for any text that
// is not exactly one of the 36 codes (letter case and length count).
int QuickKeyIndex(const QString& code);
// The code of a key index: "A1" for 0.
QString QuickKeyCode(int index);

struct QuickKeyRow {
    QString ARTIKULS;
    QString GNOS;
    double CENA = 0;
    QString KEY_BUTTON;
    QString KEY_RADITCENU;
};

struct QuickKeys {
    std::array<QString, kQuickKeyCount> articles;  // TPOSMain::QuickArtikuli
    std::array<QString, kQuickKeyCount> captions;  // the labels lbA1..lbF6, "-" when no row names the key
    QuickKeys();
};

// Rows in the order read: the last row naming a key wins; with KEY_RADITCENU exactly "T" the
// caption carries the price as "0.00".
QuickKeys BuildQuickKeys(const std::vector<QuickKeyRow>& rows);

inline const char* const kQuickKeyQuery =
    "SELECT ARTIKULS, GNOS, CENA, KEY_BUTTON, KEY_RADITCENU"
    "                                     FROM N_PRECE"
    "                                     WHERE KEY_BUTTON!=''";

// Runs the quick-key query. Throws std::runtime_error with the database's text on failure.
std::vector<QuickKeyRow> ReadQuickKeyRows(const QSqlDatabase& posDb);
