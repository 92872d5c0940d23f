#include "views/SourceTextDialog.h"

#include "project/TextForms.h"
#include "project/TranslationStore.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace qln {

namespace {
QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

CSourceTextDialog::CSourceTextDialog(const QString& previous, const QString& current, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Q(msg::SourceTextDialogTitle));
    auto* form = new QFormLayout(this);
    for (const auto& [label, text] : {std::pair{msg::SourceTextPrevious, previous}, {msg::SourceTextCurrent, current}}) {
        auto* edit = new QLineEdit(text, this);
        edit->setReadOnly(true);
        edit->setMinimumWidth(360);
        form->addRow(Q(label), edit);
    }
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(Q(msg::SourceTextClose), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void ShowOldSourceText(QWidget* parent, CProjectDatabase& project, std::int32_t lineIndex, const std::string& current)
{
    std::string old;
    try {
        old = OldSourceText(project, lineIndex);
    } catch (const sql::Error& error) {
        QMessageBox::warning(parent, Q(msg::SourceTextDialogTitle), Q(DatabaseErrorMessage(error)));
        return;
    }
    if (old.empty()) {
        QMessageBox::information(parent, Q(msg::SourceTextDialogTitle), Q(msg::NoOldSourceText));
        return;
    }
    CSourceTextDialog dialog(Q(ToDisplayForm(old)), Q(ToDisplayForm(current)), parent);
    dialog.exec();
}

}  // namespace qln
