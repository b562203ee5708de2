// Entries for the set-up form from a text, for an installation script that sets a new till up
// without anybody at the screen: one "Name=value" a line, the names of the form's fields
// (Rinda_1..Rinda_4, VidID, shPosNr, edApmVeids1..edApmVeids10, chkApmFlag1..chkApmFlag10 with
// "T" for checked). The form's own save then writes them.
#pragma once

#include <QString>

#include <optional>

class TSetup;

// Puts the entries into the form's fields; the first line that names no field, or that is not
// "Name=value", is returned as the error and nothing is changed.
std::optional<QString> ApplySetupEntries(TSetup& form, const QString& text);
