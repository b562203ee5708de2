#include "report_file.h"

#include "codepage_1257.h"

#include <QFile>

#include <string>
#include <string_view>

void SaveReportFile(const QString& fileName, const QStringList& lines)
{
    std::string bytes;
    for (const QString& line : lines)
        bytes += toCp1257(line) + "\r\n";
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes.data(), qint64(bytes.size()));
}

std::optional<QStringList> LoadReportFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    // Lines end with CR LF, LF or CR, as the printed texts held line feeds of their own.
    QStringList lines;
    QString text = fromCp1257(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    if (!text.isEmpty() || !bytes.isEmpty())
        lines = text.split(u'\n');
    return lines;
}
