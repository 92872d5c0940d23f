#pragma once
// Small pieces every dialog of the commands uses: a label with a mnemonic for
// its field, the OK/Cancel buttons (Enter = OK, Escape = Cancel), a language's
// display name, and the entry a list row stands for.

#include "projectdb/Languages.h"

#include <QString>

#include <optional>
#include <vector>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QWidget;

namespace qln::ui {

// A label whose mnemonic moves the focus to `field`.
QLabel* Buddy(const QString& text, QWidget* field, QWidget* parent);

// OK (the default button) and Cancel, wired to accept and reject.
QDialogButtonBox* OkCancel(QDialog* dialog);

QString DisplayName(LanguagePair language);

// The entry of row `row`, or nothing for a row outside the list (none chosen).
template <typename T>
std::optional<T> EntryAt(const std::vector<T>& entries, int row)
{
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return std::nullopt;
    return entries[static_cast<std::size_t>(row)];
}

}  // namespace qln::ui
