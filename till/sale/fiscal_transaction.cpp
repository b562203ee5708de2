#include "fiscal_transaction.h"

#include "fmproc.h"

bool InFiscalTransaction(TFMProc& fm, const QString& tag, const std::function<bool()>& writes) {
    if (!fm.FMBeginTrans(tag)) return false;
    if (writes() && fm.FMCommitTrans(tag)) return true;
    // A commit that failed leaves the transaction open: it is rolled back here too.
    fm.FMRollback(tag);
    return false;
}
