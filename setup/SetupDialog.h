#pragma once
// The setup program's dialog: destination, what to install, Install,
// Deinstall and Cancel, a progress bar and a status line. It shows what the
// Installer reports and forwards the user's commands to it.

#include "setup/Installer.h"
#include "setup/SetupUi.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace qln::setup {

class SetupDialog : public QDialog, public SetupUi {
    Q_OBJECT
public:
    explicit SetupDialog(SetupEnvironment environment, QWidget* parent = nullptr);
    ~SetupDialog() override;

    // SetupUi: message boxes and the medium dialog; tests override them.
    void ShowStatus(const std::string& text) override;
    void ShowProgress(int done, int total) override;
    void Inform(const std::string& text) override;
    bool Ask(const std::string& question) override;
    std::optional<std::filesystem::path> AskForMedium(int medium, const std::string& file, int index, int total,
                                                      const std::filesystem::path& folder) override;
    void Beep() override;
    void KeepAlive() override;

    void Install();
    void Deinstall();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void UpdateInstallButton();
    void UpdateDeinstallButton();
    void ChooseDirectory();
    void SetBusy(bool busy);

    SetupEnvironment environment_;
    std::unique_ptr<Installer> installer_;
    QLineEdit* destination_ = nullptr;
    QPushButton* choose_ = nullptr;
    QCheckBox* programFiles_ = nullptr;
    QCheckBox* demoFiles_ = nullptr;
    QPushButton* install_ = nullptr;
    QPushButton* deinstall_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    bool centred_ = false;
};

}  // namespace qln::setup
