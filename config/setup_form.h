// TSetup, the set-up program's one window: the till's device settings (kept in the settings
// store's Setup key) and the fiscal memory's fixed working records, the device tests, the print of
// day-close records by date and the working-record viewer.
#pragma once

#include "fmproc.h"
#include "radio_group.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include <array>
#include <memory>

class TAtminasKarte;

class TSetup : public QWidget {
    Q_OBJECT
public:
    // Runs FormCreate: opens the fiscal memory and fills the controls. A fiscal memory that is not
    // ready, or a record read that fails, ends the program.
    explicit TSetup(QWidget* parent = nullptr);
    ~TSetup() override;

    // Handlers of the form's buttons and events.
    void FormDblClick();
    void rdPrepaidVeidsClick();
    void BtSaveClick();
    void btDrukatClick();
    void btMemCardClick();
    void btCodePageClick();
    void btFontTestClick();
    void btAdminClick();
    void btCloseClick() { close(); }

    // The settings back into the Setup key and the second journal's folder made. False (with the
    // field named to the user, nothing written) when a numeric field does not hold a whole number.
    bool FormDestroy();

    std::unique_ptr<TFMProc> FMProc;
    // The last day-close record as the form shows it; compared by the save, which appends a record
    // when the fields differ.
    int LastZ_Numurs = 0;
    double LastGrandTotal = 0;
    double LastGrandPVN = 0;
    // Set once "Saglabāt" has written every record (a refusal leaves it false).
    bool Saved = false;

    QTabWidget* pgLappuses;
    QWidget* tabGeneral;
    QWidget* tabIngenico;
    std::array<QLineEdit*, 4> Rinda;
    QLineEdit* shPosNr;
    QLineEdit* VidID;
    QLineEdit* Z_Numurs;
    QLineEdit* GrandTotal;
    QLineEdit* GrandPVN;
    QLineEdit* X_Numurs;
    QLineEdit* CekaNr;
    std::array<QLineEdit*, 10> edApmVeids;
    std::array<QCheckBox*, 10> chkApmFlag;
    TRadioGroup* rdPrinteris;
    TRadioGroup* rdKlDisplejs;
    QComboBox* cmbKlDisplejsCOM;
    QComboBox* cmbPrinterisCOM;
    QComboBox* cmbSvariCOM;
    QComboBox* cmbSkanerisCOM;
    QComboBox* cmbChipCOM;
    QComboBox* cmbFM_COM;
    TRadioGroup* rdFM_Tips;
    QLineEdit* shPrepaidNodala;
    QLineEdit* shNeatrastaPreceNodala;
    QComboBox* cmbElKontr;
    QLineEdit* edValutasKods;
    QCheckBox* chkNedrAnulCek;
    QCheckBox* chkEurSumma;
    QLineEdit* edEUR_Kurss;
    QCheckBox* chkNotTouchScreen;
    QCheckBox* chkEkrNosaukDivasRindas;
    TRadioGroup* rdCekaValuta;
    TRadioGroup* rdPrepaidVeids;
    QGroupBox* grpZudezo;
    QLineEdit* edZudezoClientID;
    QLineEdit* edZudezoUserID;
    QLineEdit* edZudezoPasword;
    QLineEdit* edIngePardosana;
    QLineEdit* edIngeAtgriesana;
    QLineEdit* edIngenicoValuta;
    QLineEdit* edIngenicoDienasBeigas1;
    QLineEdit* edIngenicoDienasBeigas2;
    std::array<QLineEdit*, 10> edZudezoLogo;
    QDateEdit* SakDatums;
    QDateEdit* BeiguDatums;
    QPushButton* btDrukat;
    QPushButton* btSave;
    QPushButton* btClose;
    QPushButton* btMemCard;
    QPushButton* btCodePage;
    QPushButton* btFontTest;
    QPushButton* btAdmin;

    // The working-record viewer, made on the first "Atmiņas karte" and kept.
    TAtminasKarte* AtminasKarte = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void buildGeneralPage();
    void buildIngenicoPage();
    void FormCreate();
    void readWorkingRecords();
    void readLastDayClose();
    // Settings store, in setup_settings.cpp.
    void readSettings();
    void writeSettings();

    bool destroyed_ = false;
};
