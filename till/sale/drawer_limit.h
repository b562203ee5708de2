// The drawer-limit check: whether the day's takings in the drawer exceed the limit of N_ISI.
#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>

// S1 (sold amount) + S2 (paid in less change) of the day's rows that are not annulled, against
// N_ISI.ISINAUDALADELIMITS: exceeded when the limit is above 0.01 and below the sum. Throws
// std::runtime_error when a query cannot be prepared or run: kDrawerLimitFailed, the sum it was
// after and the database's text.
bool DrawerLimitExceeded(const QSqlDatabase& posDb, const QDate& today);

inline const QString kDrawerLimitFailed = QStringLiteral("Naudas lādes limitu pārbaudīt nevarēja !!! ");
