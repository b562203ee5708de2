#include "report.h"

#include "clock.h"
#include "regional.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <cmath>

namespace platform::report {

QString formatMask(double value, const QString& mask)
{
    const qsizetype point = mask.indexOf(u'.');
    const int decimals = point < 0 ? 0 : int(mask.size() - point - 1);
    // Half away from zero, as the report library printed; "-0.00" is printed "0.00".
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale + (value >= 0 ? 1e-9 : -1e-9)) / scale;
    if (rounded == 0) rounded = 0;
    return QString::number(rounded, 'f', decimals);
}

namespace {

QString cellText(const QVariant& value, const Column& column)
{
    if (!value.isValid() || value.isNull()) return {};
    if (!column.mask.isEmpty() && value.canConvert<double>() && value.typeId() != QMetaType::QString)
        return formatMask(value.toDouble(), column.mask);
    return value.toString();
}

// Running sums of one band level.
struct Sums {
    std::vector<double> values;
    explicit Sums(std::size_t columns) : values(columns, 0.0) {}
    void add(const Report& report, const Row& row)
    {
        if (!row.summed) return;
        for (std::size_t c = 0; c < report.columns.size() && c < row.values.size(); ++c)
            if (report.columns[c].summed) values[c] += row.values[c].toDouble();
    }
    void reset() { std::fill(values.begin(), values.end(), 0.0); }
};

QStringList sumCells(const Report& report, const Sums& sums, const QString& caption)
{
    QStringList cells;
    for (std::size_t c = 0; c < report.columns.size(); ++c) {
        const Column& column = report.columns[c];
        if (column.fromSums)
            cells << cellText(column.fromSums(sums.values), column);
        else if (column.summed)
            cells << formatMask(sums.values[c], column.mask.isEmpty() ? QStringLiteral("0.00") : column.mask);
        else
            cells << QString();
    }
    if (!cells.isEmpty() && cells[0].isEmpty()) cells[0] = caption;
    return cells;
}

}  // namespace

std::vector<Band> layoutBands(const Report& report)
{
    std::vector<Band> bands;
    const std::size_t levels = report.groups.size();
    std::vector<Sums> groupSums(levels, Sums(report.columns.size()));
    Sums total(report.columns.size());
    QStringList openKeys, openTitles;  // keys and titles of the groups now open, outermost first

    auto closeFrom = [&](std::size_t level) {
        for (std::size_t l = openKeys.size(); l-- > level;) {
            const GroupLevel& group = report.groups[l];
            if (group.footer) {
                QString caption = group.footerCaption;
                if (caption.contains(QStringLiteral("%1"))) caption = caption.arg(openTitles[l]);
                bands.push_back({Band::GroupFooter, int(l), sumCells(report, groupSums[l], caption)});
            }
            groupSums[l].reset();
            openKeys.removeLast();
            openTitles.removeLast();
        }
    };

    for (const Row& row : report.rows) {
        std::size_t changed = 0;
        while (changed < std::size_t(openKeys.size()) && changed < std::size_t(row.groupKeys.size()) &&
               openKeys[changed] == row.groupKeys[changed])
            ++changed;
        closeFrom(changed);
        for (std::size_t l = openKeys.size(); l < levels; ++l) {
            const QString key = l < std::size_t(row.groupKeys.size()) ? row.groupKeys[l] : QString();
            const QString title = l < std::size_t(row.groupTitles.size()) ? row.groupTitles[l] : key;
            openKeys << key;
            openTitles << title;
            if (report.groups[l].header) bands.push_back({Band::GroupHeader, int(l), {title}});
        }
        for (Sums& sums : groupSums) sums.add(report, row);
        total.add(report, row);
        if (report.detail) {
            QStringList cells;
            for (std::size_t c = 0; c < report.columns.size(); ++c)
                cells << cellText(c < row.values.size() ? row.values[c] : QVariant(), report.columns[c]);
            bands.push_back({Band::Detail, int(levels), cells});
        }
    }
    closeFrom(0);
    if (report.summary) bands.push_back({Band::Summary, 0, sumCells(report, total, report.summaryCaption)});
    for (const QString& line : report.footLines) bands.push_back({Band::Text, 0, {line}});
    return bands;
}

void render(const Report& report, QPagedPaintDevice& device)
{
    QPainter painter(&device);
    const QRect page = painter.viewport();
    const double scale = device.logicalDpiY() / 72.0;  // fonts are set in points of the page
    QFont plain(QStringLiteral("DejaVu Sans"));
    plain.setPixelSize(std::max(1, int(8 * scale)));
    QFont bold = plain;
    bold.setBold(true);
    QFont heading = bold;
    heading.setPixelSize(std::max(1, int(11 * scale)));
    const int lineHeight = QFontMetrics(plain, &device).height();

    int totalWidth = 0;
    for (const Column& column : report.columns) totalWidth += column.width;
    std::vector<QRect> cellRects;
    auto columnRects = [&](int y) {
        cellRects.clear();
        int x = page.left();
        for (const Column& column : report.columns) {
            const int w = totalWidth ? page.width() * column.width / totalWidth : page.width();
            cellRects.emplace_back(x, y, w, lineHeight);
            x += w;
        }
    };

    const LocalTime now = localNow();
    const QString printed = QString::fromStdString(shortDateText(now.year, now.month, now.day)) + " " +
                            QString::fromStdString(timeText(now.hour, now.minute, now.second));
    int pageNumber = 0;
    int y = 0;
    auto pageHead = [&] {
        if (pageNumber > 0) device.newPage();
        ++pageNumber;
        y = page.top();
        painter.setFont(plain);
        painter.drawText(QRect(page.left(), y, page.width(), lineHeight), Qt::AlignLeft, printed);
        painter.drawText(QRect(page.left(), y, page.width(), lineHeight), Qt::AlignRight,
                         QStringLiteral("Lapa %1").arg(pageNumber));
        y += lineHeight;
        painter.setFont(heading);
        const int headingHeight = QFontMetrics(heading, &device).height();
        painter.drawText(QRect(page.left(), y, page.width(), headingHeight), Qt::AlignHCenter, report.title);
        y += headingHeight;
        painter.setFont(plain);
        for (const QString& line : report.headLines) {
            painter.drawText(QRect(page.left(), y, page.width(), lineHeight), Qt::AlignLeft, line);
            y += lineHeight;
        }
        painter.setFont(bold);
        columnRects(y);
        for (std::size_t c = 0; c < report.columns.size(); ++c)
            painter.drawText(cellRects[c].adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::TextWordWrap,
                             report.columns[c].title);
        y += lineHeight * 2;
        painter.drawLine(page.left(), y - 2, page.right(), y - 2);
    };

    pageHead();
    for (const Band& band : layoutBands(report)) {
        if (y + lineHeight > page.bottom()) pageHead();
        painter.setFont(band.kind == Band::Detail || band.kind == Band::Text ? plain : bold);
        if (band.kind == Band::GroupHeader || band.kind == Band::Text) {
            painter.drawText(QRect(page.left(), y, page.width(), lineHeight), Qt::AlignLeft, band.cells.value(0));
        } else {
            columnRects(y);
            for (std::size_t c = 0; c < cellRects.size() && c < std::size_t(band.cells.size()); ++c) {
                const bool number = !report.columns[c].mask.isEmpty();
                painter.drawText(cellRects[c].adjusted(2, 0, -2, 0), number ? Qt::AlignRight : Qt::AlignLeft,
                                 band.cells[c]);
            }
            if (band.kind != Band::Detail) painter.drawLine(page.left(), y, page.right(), y);
        }
        y += lineHeight;
    }
}

bool writePdf(const Report& report, const QString& file)
{
    QPdfWriter writer(file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(report.columns.size() > 8 ? QPageLayout::Landscape : QPageLayout::Portrait);
    writer.setResolution(150);
    writer.setTitle(report.title);
    render(report, writer);
    return true;
}

namespace {

PreviewHandler& previewHandler()
{
    static PreviewHandler handler;
    return handler;
}

PreviewHandler& printHandler()
{
    static PreviewHandler handler;
    return handler;
}

void orient(QPrinter& printer, const Report& report)
{
    printer.setPageOrientation(report.columns.size() > 8 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool previewDialog(const Report& report)
{
    QPrinter printer(QPrinter::HighResolution);
    orient(printer, report);
    QPrintPreviewDialog dialog(&printer);
    dialog.setWindowTitle(report.title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&report](QPrinter* target) { render(report, *target); });
    // The dialog closes accepted after it has printed, rejected when closed without printing.
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

bool preview(const Report& report)
{
    if (previewHandler()) return previewHandler()(report);
    return previewDialog(report);
}

void setPreviewHandler(PreviewHandler handler) { previewHandler() = std::move(handler); }

bool print(const Report& report)
{
    if (printHandler()) return printHandler()(report);
    QPrinter printer(QPrinter::HighResolution);
    // Without a default printer Qt names none and would have nowhere to send the pages.
    if (printer.printerName().isEmpty() || !printer.isValid()) return false;
    orient(printer, report);
    printer.setDocName(report.title);
    render(report, printer);
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

void setPrintHandler(PreviewHandler handler) { printHandler() = std::move(handler); }

}  // namespace platform::report
