#include "views/SpecialCharsDialog.h"

#include "project/TextForms.h"
#include "rcscript/Messages.h"

#include <QPushButton>

#include <optional>

namespace qln {

namespace {

constexpr int kButtonWidth = 15, kButtonHeight = 17, kColumnStep = 17, kRowStep = 19, kPerRow = 12;

// Where the dialog was last closed, for the next time in this session.
std::optional<QPoint>& LastPosition()
{
    static std::optional<QPoint> position;
    return position;
}

}  // namespace

CSpecialCharsDialog::CSpecialCharsDialog(int codePage, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(msg::SpecialCharactersTitle.data(),
                                     static_cast<qsizetype>(msg::SpecialCharactersTitle.size())));
    const std::vector<std::string> chars = CodePageCharacters(codePage);
    const int rows = (static_cast<int>(chars.size()) + kPerRow - 1) / kPerRow;
    setFixedSize(218, rows * kRowStep + 74);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const QString ch = QString::fromStdString(chars[i]);
        auto* button = new QPushButton(ch, this);
        button->setObjectName(QStringLiteral("char%1").arg(161 + static_cast<int>(i)));
        button->setFlat(true);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setStyleSheet(QStringLiteral(
            "QPushButton { background: rgb(192,192,192); color: black; padding: 0; border-top: 1px solid white;"
            " border-left: 1px solid white; border-bottom: 1px solid rgb(128,128,128);"
            " border-right: 1px solid rgb(128,128,128); }"
            " QPushButton:focus { border: 1px solid black; }"));
        const int column = static_cast<int>(i) % kPerRow, row = static_cast<int>(i) / kPerRow;
        button->setGeometry(3 + column * kColumnStep, 3 + row * kRowStep, kButtonWidth, kButtonHeight);
        connect(button, &QPushButton::clicked, this, [this, ch] {
            chosen_ = ch;
            accept();
        });
    }
    if (LastPosition())
        move(*LastPosition());
    else if (QWidget* top = parent ? parent->window() : nullptr)
        move(top->geometry().topLeft() + QPoint(20, 20));
}

void CSpecialCharsDialog::done(int result)
{
    LastPosition() = pos();
    QDialog::done(result);
}

}  // namespace qln
