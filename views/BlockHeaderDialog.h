#pragma once
// The editor of a version block header: a language and a code page make the
// 8-character block name ("040704E4") stored as the header's translation.

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;

namespace qln {

class CBlockHeaderDialog : public QDialog {
    Q_OBJECT
public:
    // Starts from `value` when it is a block name.
    explicit CBlockHeaderDialog(const std::string& value, QWidget* parent = nullptr);
    std::string blockName() const;
    QComboBox* languageBox() const { return language_; }
    QComboBox* codePageBox() const { return codePage_; }

private:
    void updateName();
    QComboBox* language_;
    QComboBox* codePage_;
    QLabel* name_;
};

}  // namespace qln
