// TPOSMain: the balance of the article in the item field, from the stock product ("Preces
// atlikums", Ctrl+T).
#include "posmain.h"

#include "datumodelis.h"
#include "stock_link.h"

void TPOSMain::Precesatlikums1Click() {
    if (!StockaraConect) return;
    edArtikuls->setFocus();
    double atlikums = 0;
    try {
        // The connection made at start-up; one lost since is not opened again behind the cashier.
        atlikums = GetPrecesAtlikums({QSqlDatabase::database(TDatuModelis::kStockara, false), StockaraNodalasKods},
                                     edArtikuls->text());
    } catch (const StockLinkError& error) {
        ShowPazinojums(kStockLookupFailedMessage + error.text());
    }
    shAtlikums->setText(AtlikumaTeksts(atlikums));
}
