// Transactions of the module's named-file store, for callers that change several working records
// as one (a receipt's counters, a day close).
#include "fmproc.h"

#include "memorix.h"

namespace {

bool result(TFMProc& fm, int rc, const char* command, const QString& tag) {
    if (rc == MEMORIX_OK) return true;
    fm.FMError(rc, {}, QString::fromLatin1(command) + "-" + tag, {});
    return false;
}

}  // namespace

bool TFMProc::FMBeginTrans(const QString& tag) {
    return FMTips != MemorixModule || result(*this, HT_BeginTrans(), "HT_BeginTrans", tag);
}

bool TFMProc::FMCommitTrans(const QString& tag) {
    return FMTips != MemorixModule || result(*this, HT_CommitTrans(), "HT_CommitTrans", tag);
}

bool TFMProc::FMRollback(const QString& tag) {
    return FMTips != MemorixModule || result(*this, HT_Rollback(), "HT_Rollback", tag);
}

bool TFMProc::FMTransInProgress(bool& open, const QString& tag) {
    open = false;
    if (FMTips != MemorixModule) return true;
    int inProgress = 0;
    const bool ok = result(*this, HT_Get_TransactionInProgress(&inProgress), "HT_Get_TransactionInProgress", tag);
    open = ok && inProgress != 0;
    return ok;
}

bool TFMProc::FMInTransaction(const QString& tag, const std::function<bool()>& writes) {
    if (!FMBeginTrans(tag)) return false;
    if (writes() && FMCommitTrans(tag)) return true;
    // A commit that failed leaves the transaction open: it is rolled back here too.
    FMRollback(tag);
    return false;
}
