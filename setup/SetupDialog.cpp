#include "setup/SetupDialog.h"

#include "setup/Destination.h"
#include "setup/MediumDialog.h"
#include "setup/QtText.h"
#include "setup/SetupMessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qln::setup {

SetupDialog::SetupDialog(SetupEnvironment environment, QWidget* parent)
    : QDialog(parent), environment_(std::move(environment)),
      installer_(std::make_unique<Installer>(environment_, *this))
{
    setObjectName("SetupDialog");
    setWindowTitle(ToQString(msg::DialogTitle));
    BuildControls();
    destination_->setText(ToQString(DefaultDestination(environment_.dirs.home)));
    UpdateInstallButton();
    UpdateDeinstallButton();
}

SetupDialog::~SetupDialog() = default;

void SetupDialog::BuildControls()
{
    auto* label = new QLabel(ToQString(msg::DestinationLabel), this);
    destination_ = new QLineEdit(this);
    destination_->setObjectName("destination");
    destination_->setMinimumWidth(340);
    label->setBuddy(destination_);
    choose_ = new QPushButton(ToQString(msg::ChooseButton), this);
    choose_->setObjectName("choose");
    choose_->setToolTip(ToQString(msg::ChooseButtonTip));
    choose_->setAutoDefault(false);
    choose_->setFixedWidth(choose_->fontMetrics().horizontalAdvance("  ...  ") + 12);

    auto* choices = new QGroupBox(ToQString(msg::WhatToInstall), this);
    programFiles_ = new QCheckBox(ToQString(msg::ProgramFilesBox), choices);
    programFiles_->setObjectName("programFiles");
    demoFiles_ = new QCheckBox(ToQString(msg::DemoFilesBox), choices);
    demoFiles_->setObjectName("demoFiles");
    programFiles_->setChecked(true);
    demoFiles_->setChecked(true);
    auto* choiceLayout = new QVBoxLayout(choices);
    choiceLayout->addWidget(programFiles_);
    choiceLayout->addWidget(demoFiles_);

    progress_ = new QProgressBar(this);
    progress_->setObjectName("progress");
    progress_->setValue(0);
    progress_->setTextVisible(true);
    status_ = new QLabel(ToQString(msg::StatusReady), this);
    status_->setObjectName("status");
    status_->setTextFormat(Qt::PlainText);
    status_->setMinimumHeight(status_->fontMetrics().height() * 2);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status_->setWordWrap(true);

    install_ = new QPushButton(ToQString(msg::InstallButton), this);
    install_->setObjectName("install");
    install_->setDefault(true);
    deinstall_ = new QPushButton(ToQString(msg::DeinstallButton), this);
    deinstall_->setObjectName("deinstall");
    deinstall_->setAutoDefault(false);
    cancel_ = new QPushButton(ToQString(msg::CancelButton), this);
    cancel_->setObjectName("cancel");
    cancel_->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(destination_, 1, 0);
    grid->addWidget(choose_, 1, 1);
    grid->addWidget(choices, 2, 0, 1, 2);
    grid->addWidget(progress_, 3, 0, 1, 2);
    grid->addWidget(status_, 4, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(install_);
    buttons->addWidget(deinstall_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(4);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(destination_, &QLineEdit::textChanged, this, &SetupDialog::UpdateInstallButton);
    connect(programFiles_, &QCheckBox::toggled, this, &SetupDialog::UpdateInstallButton);
    connect(demoFiles_, &QCheckBox::toggled, this, &SetupDialog::UpdateInstallButton);
    connect(choose_, &QPushButton::clicked, this, &SetupDialog::ChooseDirectory);
    connect(install_, &QPushButton::clicked, this, &SetupDialog::Install);
    connect(deinstall_, &QPushButton::clicked, this, &SetupDialog::Deinstall);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void SetupDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (centred_)
        return;
    centred_ = true;
    if (const QScreen* shown = screen())
        move(shown->availableGeometry().center() - rect().center());
}

void SetupDialog::UpdateInstallButton()
{
    install_->setEnabled(
        CanInstall(destination_->text().toStdString(), programFiles_->isChecked(), demoFiles_->isChecked()));
}

void SetupDialog::UpdateDeinstallButton() { deinstall_->setEnabled(!installer_->RecordedPath().empty()); }

void SetupDialog::ChooseDirectory()
{
    const QString chosen = QFileDialog::getExistingDirectory(this, ToQString(msg::DirectorySelect),
                                                             destination_->text());
    if (!chosen.isEmpty())
        destination_->setText(chosen);
}

void SetupDialog::SetBusy(bool busy)
{
    for (QWidget* control : std::initializer_list<QWidget*>{destination_, choose_, programFiles_, demoFiles_,
                                                            install_, deinstall_, cancel_})
        control->setEnabled(!busy);
    if (!busy) {
        UpdateInstallButton();
        UpdateDeinstallButton();
    }
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SetupDialog::Install()
{
    if (!install_->isEnabled())
        return;
    SetBusy(true);
    const InstallChoice choice{programFiles_->isChecked(), demoFiles_->isChecked()};
    const InstallOutcome outcome = installer_->Install(destination_->text().toStdString(), choice);
    SetBusy(false);
    if (outcome.closeDialog)
        accept();
}

void SetupDialog::Deinstall()
{
    if (!deinstall_->isEnabled())
        return;
    SetBusy(true);
    installer_->Deinstall();
    SetBusy(false);
}

void SetupDialog::ShowStatus(const std::string& text) { status_->setText(ToQString(text)); }

void SetupDialog::ShowProgress(int done, int total)
{
    progress_->setRange(0, total);
    progress_->setValue(done);
}

void SetupDialog::Inform(const std::string& text)
{
    QMessageBox::information(this, ToQString(msg::DialogTitle), ToQString(text));
}

bool SetupDialog::Ask(const std::string& question)
{
    return QMessageBox::question(this, ToQString(msg::QuestionCaption), ToQString(question),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::filesystem::path> SetupDialog::AskForMedium(int medium, const std::string& file, int index,
                                                               int total, const std::filesystem::path& folder)
{
    MediumDialog dialog(this, medium, file, index, total, folder);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Folder();
}

void SetupDialog::Beep() { QApplication::beep(); }

void SetupDialog::KeepAlive() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace qln::setup
