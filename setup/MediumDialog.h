#pragma once
// Asks for an installation medium: the folder to look in for a missing file.

#include <QDialog>

#include <filesystem>
#include <string>

class QLineEdit;

namespace qln::setup {

class MediumDialog : public QDialog {
    Q_OBJECT
public:
    MediumDialog(QWidget* parent, int medium, const std::string& file, int index, int total,
                 const std::filesystem::path& folder);

    std::filesystem::path Folder() const;

private:
    void Browse();

    QLineEdit* folder_ = nullptr;
};

}  // namespace qln::setup
