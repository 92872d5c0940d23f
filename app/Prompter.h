#pragma once
// How the workbench tells the user something and asks questions: a message
// box with an icon over the main window. Tests answer through a prompter of
// their own, so that no modal box waits for a click.

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace qln {

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void Show(QMessageBox::Icon icon, const QString& text) = 0;
    virtual QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const QString& text,
                                            QMessageBox::StandardButtons buttons) = 0;
    virtual void Beep();
};

class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void Show(QMessageBox::Icon icon, const QString& text) override;
    QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const QString& text,
                                    QMessageBox::StandardButtons buttons) override;

private:
    QPointer<QWidget> parent_;
};

// A message constant (UTF-8) as a QString.
inline QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace qln
