#include "views/EditDialogBar.h"

#include "rcscript/Messages.h"

#include <QGridLayout>
#include <QLabel>

namespace qln {
namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::array<int, 4> Values(const DialogUnitRect& r)
{
    return {r.x, r.y, r.cx, r.cy};
}

bool AllZero(const DialogUnitRect& r)
{
    return r.x == 0 && r.y == 0 && r.cx == 0 && r.cy == 0;
}

QLabel* Field(QWidget* parent, bool bold)
{
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 6);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAutoFillBackground(true);
    QFont font = label->font();
    if (bold)
        font.setBold(true);
    else
        font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    return label;
}

}  // namespace

CEditDialogBar::CEditDialogBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("EditDialogBar"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    for (int column = 0; column < 4; ++column) {
        auto* header = new QLabel(Text(msg::EditBarColumns[column]), this);
        header->setAlignment(Qt::AlignCenter);
        grid->addWidget(header, 0, column + 1);
        source_[column] = Field(this, false);
        current_[column] = Field(this, true);
        grid->addWidget(source_[column], 1, column + 1);
        grid->addWidget(current_[column], 2, column + 1);
    }
    grid->addWidget(new QLabel(Text(msg::EditBarSource), this), 1, 0);
    grid->addWidget(new QLabel(Text(msg::EditBarCurrent), this), 2, 0);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(5, 1);
    clear();
}

void CEditDialogBar::showValues(const std::optional<DialogUnitRect>& source,
                                const std::optional<DialogUnitRect>& current)
{
    const bool showSource = source && !AllZero(*source), showCurrent = current && !AllZero(*current);
    for (int column = 0; column < 4; ++column) {
        source_[column]->setText(showSource ? QString::asprintf("%d", Values(*source)[column]) : QString());
        current_[column]->setText(showCurrent ? QString::asprintf("%d", Values(*current)[column]) : QString());
        changed_[column] = showCurrent && (!source || Values(*source)[column] != Values(*current)[column]);
        QPalette palette = current_[column]->palette();
        palette.setColor(QPalette::WindowText, changed_[column] ? Qt::white : palette.color(QPalette::Text));
        palette.setColor(QPalette::Window, changed_[column] ? QColor(128, 128, 128) : palette.color(QPalette::Base));
        current_[column]->setPalette(palette);
    }
}

QString CEditDialogBar::sourceField(int column) const
{
    return source_.at(static_cast<std::size_t>(column))->text();
}

QString CEditDialogBar::currentField(int column) const
{
    return current_.at(static_cast<std::size_t>(column))->text();
}

bool CEditDialogBar::currentFieldChanged(int column) const
{
    return changed_.at(static_cast<std::size_t>(column));
}

}  // namespace qln
