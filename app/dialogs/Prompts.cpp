#include "app/dialogs/Prompts.h"

#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QStringList>

namespace qln::ui {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

const QString kTitle = QStringLiteral("Quillon");

}  // namespace

void Prompts::Show(QWidget* parent, const std::string& text, MessageIcon icon)
{
    QMessageBox box(BoxIcon(icon), kTitle, ToQString(text), QMessageBox::Ok, parent);
    box.exec();
}

bool Prompts::Ask(QWidget* parent, const std::string& text, MessageIcon icon)
{
    QMessageBox box(BoxIcon(icon), kTitle, ToQString(text), QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString Prompts::OpenFile(QWidget* parent, const QString& title, std::string_view filter, const QString& start)
{
    return QFileDialog::getOpenFileName(parent, title, start, QtFileFilter(filter));
}

QString Prompts::SaveFile(QWidget* parent, const QString& title, std::string_view filter, const QString& start)
{
    return QFileDialog::getSaveFileName(parent, title, start, QtFileFilter(filter));
}

std::optional<QFont> Prompts::PickFont(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return font;
}

bool Prompts::Run(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

Prompts& DefaultPrompts()
{
    static Prompts prompts;
    return prompts;
}

QString QtFileFilter(std::string_view filter)
{
    // Pairs of a description and its patterns; the description already names them.
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        names << parts[i];
    return names.join(QStringLiteral(";;"));
}

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string ToStdString(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace qln::ui
