// TIestadisana: the till's own settings dialog ("Iestādīšana"): twenty values of the Setup key and
// N_ISI.PILNUJA1DAUDZ, checked as a whole and stored all together or not at all.
#pragma once

#include <QPointer>

#include "radio_group.h"
#include "settings_store.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>

#include <optional>

// What the dialog's controls hold, with the contents they have before anything is read.
struct IestadisanaValues {
    QString SvaruPrefix = "SvaruPrefix";
    QString CekaKopijaPath;
    QString KasesNr;
    bool StockaraConect = false;
    QString StockaraNodalasKods = "shNodKods";
    QString CenasDecimalzimes = "2";  // stored as typed: the settings load falls back to 2
    bool ArtikAtsevRinda = false;
    bool UzlimeIrSumma = false;
    int SvariTips = 0;
    QString ArtikulaStart = "ArtikulaStart";
    QString ArtikulaGarums = "ArtikulaGarums";
    QString SvaraStart = "SvaraStart";
    QString SvaraGarums = "SvaraSakums";
    bool FiskPrinteris = false;
    bool SummuVardiem = false;
    bool FullScreen = false;
    int KlientLielaisEkrans = 0;
    QString KlScreenWidth = "800";
    QString KlScreenHeight = "600";
    bool SilentMessage = false;
};

// Fills the values from the Setup key (the dialog's FormCreate); a missing key leaves them.
// Throws SettingsReadError when SvaruPrefix is not a string.
void ReadIestadisanaValues(IestadisanaValues& values, const platform::SettingsStore& store);

// The message for the first field whose text is not a whole number (blanks around allowed), in
// the order the values are stored; empty when every field is good.
std::optional<QString> CheckIestadisanaValues(const IestadisanaValues& values);

// Writes the twenty values into the Setup key when it exists (never creating it). The values
// must have passed CheckIestadisanaValues.
void WriteIestadisanaValues(const IestadisanaValues& values, platform::SettingsStore& store);

// The settings row of N_ISI as the dialog edits it: its key (0 when the table has no row) and
// whether PILNUJA1DAUDZ is "T".
struct N_ISI_Row {
    int ISN = 0;
    bool PILNUJA1DAUDZ = false;
};
N_ISI_Row ReadN_ISI(const QSqlDatabase& posDb);  // throws std::runtime_error
// Updates the row read (or inserts one when there was none), inside the caller's transaction.
void WriteN_ISI(const QSqlDatabase& posDb, const N_ISI_Row& row);  // throws std::runtime_error

// Validates the number boxes (only when the key exists: without it no box is stored), then
// stores the N_ISI row and the registry values in one go: the row's statement runs in a
// transaction that commits only after every registry value is written. Returns the message that
// stopped it (nothing is stored then), or nothing on success.
std::optional<QString> StoreIestadisana(const IestadisanaValues& values, const N_ISI_Row& row,
                                        platform::SettingsStore& store, QSqlDatabase posDb);

class TIestadisana : public QDialog {
    Q_OBJECT
public:
    explicit TIestadisana(QWidget* owner);  // FormCreate

    QLineEdit* CekaKopijaPath;
    QLineEdit* KasesNr;
    QPushButton* BitBtn1;
    QCheckBox* chkStockaraConect;
    QLineEdit* shNodKods;
    QLineEdit* shCenasDecimalzimes;
    QCheckBox* chkArtikAtsevRinda;
    QCheckBox* chkUzlimeIrSumma;
    TRadioGroup* rdSvariTips;
    QLineEdit* SvaruPrefix;
    QLineEdit* ArtikulaStart;
    QLineEdit* ArtikulaGarums;
    QLineEdit* SvaraStart;
    QLineEdit* SvaraGarums;
    QCheckBox* chkFiskPrinteris;
    QCheckBox* chkSummuVardiem;
    QCheckBox* PILNUJA1DAUDZ;
    QCheckBox* chkFullScreen;
    TRadioGroup* rdKlientLielaisEkrans;
    QLineEdit* edKlScreenWidth;
    QLineEdit* edKlScreenHeight;
    QCheckBox* chkSilentMessage;

    // Re-reads the N_ISI row at every showing.
    void FormShow();
    // OK: a bad value keeps the dialog open with its message; otherwise everything is stored.
    void BitBtn1Click();
    void chkStockaraConectClick();
    void rdKlientLielaisEkransClick();

    IestadisanaValues Values() const;
    void SetValues(const IestadisanaValues& values);

protected:
    void showEvent(QShowEvent* event) override;

private:
    N_ISI_Row row_;
};

extern QPointer<TIestadisana> Iestadisana;
