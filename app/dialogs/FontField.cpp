#include "app/dialogs/FontField.h"

#include "app/dialogs/Prompts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace qln::ui {

FontField::FontField(Prompts& prompts, QWidget* parent)
    : QWidget(parent), prompts_(prompts), sample_(new QLabel(this)), button_(new QPushButton(tr("F&ont..."), this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    sample_->setFrameShape(QFrame::StyledPanel);
    sample_->setMinimumWidth(180);
    layout->addWidget(sample_, 1);
    layout->addWidget(button_);
    connect(button_, &QPushButton::clicked, this, &FontField::choose);
    showSample();
}

void FontField::setFont(const FontChoice& font)
{
    font_ = font;
    showSample();
}

void FontField::choose()
{
    QFont initial = QWidget::font();
    if (!font_.name.empty())
        initial.setFamily(ToQString(font_.name));
    if (std::optional<QFont> picked = prompts_.PickFont(this, initial)) {
        font_.name = ToStdString(picked->family());
        showSample();
    }
}

void FontField::showSample()
{
    QFont shown = QWidget::font();
    if (!font_.name.empty())
        shown.setFamily(ToQString(font_.name));
    sample_->setFont(shown);
    sample_->setText(font_.name.empty() ? tr("(default font) AaBbYyZz")
                                        : ToQString(font_.name) + QStringLiteral("  AaBbYyZz"));
}

}  // namespace qln::ui
