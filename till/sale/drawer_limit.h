// The drawer-limit check: whether the day's takings in the drawer exceed the limit of N_ISI.
#pragma once

#include <QDate>
#include <QSqlDatabase>

// S1 (sold amount) + S2 (paid in less change) of the day's rows that are not annulled, against
// N_ISI.ISINAUDALADELIMITS: exceeded when the limit is above 0.01 and below the sum. Throws
// std::runtime_error with the database's text when a query fails.
bool DrawerLimitExceeded(const QSqlDatabase& posDb, const QDate& today);
