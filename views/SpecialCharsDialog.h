#pragma once
// The "Special Characters" dialog: one button for each of the characters 161
// to 255 of a code page; choosing one closes the dialog with it.

#include <QDialog>
#include <QString>

namespace qln {

class CSpecialCharsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CSpecialCharsDialog(int codePage, QWidget* parent = nullptr);
    QString chosen() const { return chosen_; }

protected:
    void done(int result) override;

private:
    QString chosen_;
};

}  // namespace qln
