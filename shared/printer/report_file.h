// The kept copies of printed texts ("*.rep" in the working folder: the last X and Z reports, the
// last card and prepaid slips): one printed line per text line, Windows-1257, CR LF. Every kept
// file is written and read here, so they all share the one encoding.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Replaces the file with the lines.
void SaveReportFile(const QString& fileName, const QStringList& lines);
// The file's lines (ended by CR LF, LF or CR); empty when the file is missing.
std::optional<QStringList> LoadReportFile(const QString& fileName);
