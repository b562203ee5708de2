// TLedvik::btSutitClick's work: the send/receive pass over the till list.
#pragma once

#include "ledvik_settings.h"
#include "transfer_steps.h"

#include <QStringList>

#include <filesystem>
#include <vector>

// For every active row (PATH not empty, NEAKTIVA not "T"): the settings row, then the ticked
// steps in their fixed order; the first active till makes R_ARTIK.DBF and SUN.TXT anew. With free-price lines
// ticked, NOITEMS.TXT is deleted first. A till that table KASE cannot tell from one sent there
// before in the pass is not sent there. An exchange file that cannot be made ends the pass
// (DbfError). Returns the names of the tills for which a step failed (GNOS, or PATH when the row
// has no name), in the list's order.
QStringList RunSendReceivePass(const TransferContext& context, const LedvikChecks& checks, const std::vector<TillRow>& kases);
