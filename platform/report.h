// The till's printed reports: a report model (columns, rows, nested groups whose footers sum their
// own rows, hidden bands, a summary, number masks), one renderer to pages (title, print date, page
// number) and the preview, which tests replace with a PDF file.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

class QPagedPaintDevice;

namespace platform::report {

// Prints a number with a picture such as "#0.00", "0.00", "#0.000" or "#0": the count of digits
// after the point, a minus sign when negative, always "." as the point.
QString formatMask(double value, const QString& mask);

struct Column {
    QString title;
    QString mask;          // empty: the value is printed as text
    int width = 10;        // relative width on the page
    bool summed = false;   // group footers and the summary print the sum of the column
    // A footer or summary value worked out from the band's sums (one per column, 0 for columns
    // that are not summed), such as an average; empty for an ordinary column.
    std::function<QVariant(const std::vector<double>& sums)> fromSums;
};

struct Row {
    std::vector<QVariant> values;  // one per column
    QStringList groupKeys;         // one per group level, outermost first
    QStringList groupTitles;       // header text per level, shown when the level's key changes
    bool summed = true;            // false: printed, but adds nothing to footers and the summary
};

struct GroupLevel {
    bool header = true;
    bool footer = true;
    // Footer's first cell; %1 stands for the group's title (its key when it has none).
    QString footerCaption = QStringLiteral("Kopā");
};

struct Report {
    QString title;              // printed at the head of every page
    QStringList headLines;      // caller's lines under the title (header texts, descriptions)
    std::vector<Column> columns;
    std::vector<GroupLevel> groups;
    std::vector<Row> rows;
    bool detail = true;         // false: rows only feed the group footers and the summary
    bool summary = true;
    QString summaryCaption = QStringLiteral("Kopā");
    QStringList footLines;      // lines after the summary
};

// One printed line of a report, its cells as printed.
struct Band {
    enum Kind { GroupHeader, Detail, GroupFooter, Summary, Text } kind = Detail;
    int level = 0;  // group level of a header or footer
    QStringList cells;
};

// The report's lines in print order: group headers where a key changes, detail rows, a footer
// per group with the sums of its own rows (reset after every footer), the summary with the sums
// over the whole report, then the foot lines.
std::vector<Band> layoutBands(const Report& report);

// Draws the report onto pages of the device: page head with the title, the print date and the
// page number, the column titles, then the bands.
void render(const Report& report, QPagedPaintDevice& device);
bool writePdf(const Report& report, const QString& file);

// Shows the report's preview, from which the user prints. Returns true when it was printed.
using PreviewHandler = std::function<bool(const Report&)>;
bool preview(const Report& report);
// Replaces the preview (tests write a PDF); an empty handler puts the preview dialog back.
void setPreviewHandler(PreviewHandler handler);

// Prints the report straight on the system's default printer, without a preview. Returns true
// when it was printed; false when there is no printer or the printing failed.
bool print(const Report& report);
// Replaces the default printer (tests keep what was printed, or refuse); an empty handler puts the
// printer back.
void setPrintHandler(PreviewHandler handler);

}  // namespace platform::report
