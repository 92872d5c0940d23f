#pragma once
// The "Source Text" dialog: a text's previous and current source text side by
// side, read only.

#include <QDialog>

#include <cstdint>
#include <string>

namespace qln {

class CProjectDatabase;

class CSourceTextDialog : public QDialog {
    Q_OBJECT
public:
    CSourceTextDialog(const QString& previous, const QString& current, QWidget* parent = nullptr);
};

// Shows the dialog for a line, or the message that there is no old source
// text. `current` is in script form.
void ShowOldSourceText(QWidget* parent, CProjectDatabase& project, std::int32_t lineIndex, const std::string& current);

}  // namespace qln
