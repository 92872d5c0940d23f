#include "setup/MediumDialog.h"

#include "setup/QtText.h"
#include "setup/SetupMessages.h"

#include "rcscript/Messages.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qln::setup {

MediumDialog::MediumDialog(QWidget* parent, int medium, const std::string& file, int index, int total,
                           const std::filesystem::path& folder)
    : QDialog(parent)
{
    setObjectName("MediumDialog");
    setWindowTitle(ToQString(msg::MediumTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ToQString(qln::msg::Format(msg::InsertMedium, {std::to_string(medium)})), this));
    layout->addWidget(new QLabel(ToQString(qln::msg::Format(msg::MediumFile, {file})), this));
    layout->addWidget(
        new QLabel(ToQString(qln::msg::Format(msg::MediumFileCount, {std::to_string(index), std::to_string(total)})), this));

    auto* row = new QHBoxLayout;
    auto* label = new QLabel(ToQString(msg::MediumFolderLabel), this);
    folder_ = new QLineEdit(ToQString(folder), this);
    folder_->setObjectName("folder");
    folder_->setMinimumWidth(320);
    label->setBuddy(folder_);
    auto* browse = new QPushButton(ToQString(msg::MediumBrowse), this);
    browse->setObjectName("browse");
    browse->setAutoDefault(false);
    row->addWidget(label);
    row->addWidget(folder_, 1);
    row->addWidget(browse);
    layout->addSpacing(6);
    layout->addLayout(row);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, &MediumDialog::Browse);
    folder_->setFocus();
}

std::filesystem::path MediumDialog::Folder() const { return std::filesystem::path(folder_->text().toStdString()); }

void MediumDialog::Browse()
{
    const QString chosen = QFileDialog::getExistingDirectory(this, ToQString(msg::DirectorySelect), folder_->text());
    if (!chosen.isEmpty())
        folder_->setText(chosen);
}

}  // namespace qln::setup
