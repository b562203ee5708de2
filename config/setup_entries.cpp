#include "setup_entries.h"

#include "setup_form.h"

#include <QStringList>

#include <functional>
#include <map>
#include <utility>
#include <vector>

std::optional<QString> ApplySetupEntries(TSetup& form, const QString& text)
{
    std::map<QString, std::function<void(const QString&)>> fields;
    const auto edit = [&fields](const QString& name, QLineEdit* field) {
        fields[name] = [field](const QString& value) { field->setText(value); };
    };
    for (int i = 0; i < 4; ++i)
        edit(QStringLiteral("Rinda_%1").arg(i + 1), form.Rinda[std::size_t(i)]);
    edit(QStringLiteral("VidID"), form.VidID);
    edit(QStringLiteral("shPosNr"), form.shPosNr);
    for (int i = 0; i < 10; ++i) {
        edit(QStringLiteral("edApmVeids%1").arg(i + 1), form.edApmVeids[std::size_t(i)]);
        QCheckBox* box = form.chkApmFlag[std::size_t(i)];
        fields[QStringLiteral("chkApmFlag%1").arg(i + 1)] = [box](const QString& value) { box->setChecked(value == QLatin1String("T")); };
    }
    std::vector<std::pair<std::function<void(const QString&)>, QString>> entries;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
        const auto field = equals > 0 ? fields.find(trimmed.left(equals).trimmed()) : fields.end();
        if (field == fields.end())
            return trimmed;
        entries.emplace_back(field->second, trimmed.mid(equals + 1));
    }
    for (const auto& [set, value] : entries)
        set(value);
    return std::nullopt;
}
