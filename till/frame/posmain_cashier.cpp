// The sale window's cashier and settings: taking over the log-in, the rights on the controls,
// the cashier change and the settings load.
#include "posmain.h"

#include "datumodelis.h"
#include "password_dlg.h"
#include "receipt_list.h"

#include "settings_store.h"

#include <QScrollBar>

void TPOSMain::LoadKasieris() {
    CashierRights rights;
    rights.VarAtgreizt = PasswordDlg->VarAtgreizt;
    rights.VarZAtskaiti = PasswordDlg->VarZAtskaiti;
    rights.VarMainitAtlaidi = PasswordDlg->VarMainitAtlaidi;
    rights.VarDzest = PasswordDlg->VarDzest;
    rights.MaxAtlaide = PasswordDlg->MaxAtlaide;
    rights.FullName = PasswordDlg->FullName;
    static_cast<CashierData&>(*this) = CashierFromLogin(PasswordDlg->shLietotajs->text(), rights);
    // The caption names the cashier at work; a cashier change replaces the earlier name.
    setWindowTitle(baseCaption_ + " Te strādā :" + KasierisFullName);
}

void TPOSMain::ApplyRights() {
    for (const auto& rc : kRightControls) {
        const bool granted = this->*rc.right;
        if (auto* widget = findChild<QWidget*>(rc.control)) widget->setEnabled(granted);
        else if (auto* action = findChild<QAction*>(rc.control)) action->setEnabled(granted);
    }
    // The payment dialog's discount field follows the same right as the window's.
    if (CekaApmaksa)
        if (auto* discount = CekaApmaksa->findChild<QWidget*>("shAtlaide")) discount->setEnabled(VarMainitAtlaidi);
}

void TPOSMain::Kasieramaia1Click() {
    if (!PasswordDlg) PasswordDlg = new TPasswordDlg(this);
    // A cancelled change leaves the cashier at work and the open receipt as it is.
    if (!PasswordDlg->ChangeCashier(Kasieris)) return;
    LoadKasieris();
    // Every control a right governs follows the new cashier, not the first one of the day.
    ApplyRights();
}

void TPOSMain::LoadSettings() {
    static_cast<TillSettings&>(*this) =
        ::LoadSettings(static_cast<const TillSettings&>(*this), platform::SettingsStore::current(), DatuModelis->POS_DB());
    // The receipt list is as wide as its rows (one-row or two-row lines) in its fixed-pitch font,
    // with room for its frame, the rows' margins and the scroll bar of a long receipt.
    const QString row(RindasPlatums(EkrNosaukDivasRindas), u'0');
    const int rowMargin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, PirkumuSaraksts) + 1;
    PirkumuSaraksts->setMinimumWidth(PirkumuSaraksts->fontMetrics().horizontalAdvance(row) + 2 * rowMargin +
                                     2 * PirkumuSaraksts->frameWidth() + PirkumuSaraksts->verticalScrollBar()->sizeHint().width());
}
