#include "app/Prompter.h"

#include <QApplication>

namespace qln {

void Prompter::Beep()
{
    QApplication::beep();
}

void MessageBoxPrompter::Show(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent_);
    box.exec();
}

QMessageBox::StandardButton MessageBoxPrompter::Ask(QMessageBox::Icon icon, const QString& text,
                                                    QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, buttons, parent_);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace qln
