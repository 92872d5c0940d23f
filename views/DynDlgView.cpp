#include "views/DynDlgView.h"

#include "project/LayoutChecks.h"
#include "rcscript/RcTokens.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace qln {
namespace {

constexpr std::string_view kTemplateFace = "MS Sans Serif";
constexpr int kTemplatePoints = 8;
// Static styles: alignment in the low bits, SS_CENTER and SS_RIGHT.
constexpr std::uint32_t kSsTypeMask = 0x1F, kSsCenter = 1, kSsRight = 2;

int MulDiv(int number, int numerator, int denominator)
{
    return (2 * number * numerator + denominator) / (2 * denominator);
}

CDynDlgView::TemplateFont LoadTemplateFont()
{
    CDynDlgView::TemplateFont t;
    t.font.setPixelSize(MulDiv(kTemplatePoints, 96, 72));
    if (auto file = FontFileFor(kTemplateFace)) {
        const int id = QFontDatabase::addApplicationFont(QString::fromStdString(file->string()));
        const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        if (!families.isEmpty())
            t.font.setFamily(families.front());
    }
    try {
        t.units = FontMeasure(kTemplateFace, kTemplatePoints).baseUnits();
    } catch (const std::exception&) {
        // No font file at all: measure whatever Qt falls back to the same way.
        const QFontMetrics metrics(t.font);
        const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        t.units = {(metrics.horizontalAdvance(letters) / 26 + 1) / 2, metrics.height()};
    }
    return t;
}

Qt::Alignment StaticAlignment(const PreviewControl& c)
{
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (c.lineKind == tok::KwCText || (c.lineKind == tok::KwControl && (c.style & kSsTypeMask) == kSsCenter))
        horizontal = Qt::AlignHCenter;
    if (c.lineKind == tok::KwRText || (c.lineKind == tok::KwControl && (c.style & kSsTypeMask) == kSsRight))
        horizontal = Qt::AlignRight;
    return horizontal | Qt::AlignTop;
}

}  // namespace

const CDynDlgView::TemplateFont& CDynDlgView::templateFont()
{
    static const TemplateFont font = LoadTemplateFont();
    return font;
}

CDynDlgView::CDynDlgView(const DialogPreview& dialog, QWidget* parent)
    : QWidget(parent), dialog_(dialog), units_(templateFont().units)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    caption_ = new QLabel(QString::fromStdString(dialog_.caption), this);
    caption_->setObjectName(QStringLiteral("caption"));
    caption_->setTextFormat(Qt::PlainText);
    caption_->setAutoFillBackground(true);
    caption_->setBackgroundRole(QPalette::Highlight);
    caption_->setForegroundRole(QPalette::HighlightedText);
    caption_->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(caption_);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setFont(templateFont().font);
    client_->setFixedSize(units_.toPixelsX(dialog_.cx), units_.toPixelsY(dialog_.cy));
    layout->addWidget(client_);
    layout->addStretch(1);

    std::vector<std::pair<QLabel*, std::size_t>> buddies;
    std::vector<QWidget*> made;
    for (const PreviewControl& c : dialog_.controls) {
        QWidget* w = makeControl(c);
        // Shown, not used: no clicks, typing or focus reach the controls.
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
        w->setFocusPolicy(Qt::NoFocus);
        if (auto* label = qobject_cast<QLabel*>(w); label && c.hasText && checks::UsesPrefix(c.lineKind, c.className, c.style))
            buddies.emplace_back(label, made.size());
        made.push_back(w);
    }
    // A static's hotkey moves to the control after it, so that one is its
    // buddy; a label needs a buddy for Qt to draw its '&' as a mnemonic.
    for (auto [label, i] : buddies)
        label->setBuddy(i + 1 < made.size() ? made[i + 1] : label);
}

QRect CDynDlgView::toPixels(const DialogUnitRect& r) const
{
    return {units_.toPixelsX(r.x), units_.toPixelsY(r.y), units_.toPixelsX(r.cx), units_.toPixelsY(r.cy)};
}

QWidget* CDynDlgView::makeControl(const PreviewControl& c)
{
    const QString text = QString::fromStdString(c.text);
    QRect rect = toPixels(c.rect);
    QWidget* w = nullptr;
    switch (ControlKindOf(c.lineKind, c.className, c.style)) {
    case ControlKind::Static: {
        auto* label = new QLabel(client_);
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
        label->setAlignment(StaticAlignment(c));
        label->setWordWrap(checks::TextBoxOf(c.lineKind, c.className, c.style) == checks::TextBox::WrappedStatic);
        w = label;
        break;
    }
    case ControlKind::PushButton: w = new QPushButton(text, client_); break;
    case ControlKind::CheckBox: w = new QCheckBox(text, client_); break;
    case ControlKind::RadioButton: w = new QRadioButton(text, client_); break;
    case ControlKind::GroupBox: w = new QGroupBox(text, client_); break;
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(text, client_);
        edit->setReadOnly(true);
        w = edit;
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(client_);
        if (!text.isEmpty())
            combo->addItem(text);
        // The script's height includes the dropped-down list; closed, a
        // combo box is as high as its font makes it.
        rect.setHeight(std::min(rect.height(), combo->sizeHint().height()));
        w = combo;
        break;
    }
    case ControlKind::ListBox: w = new QListWidget(client_); break;
    case ControlKind::ScrollBar:
        w = new QScrollBar(c.style & kScrollBarVertical ? Qt::Vertical : Qt::Horizontal, client_);
        break;
    case ControlKind::Unknown: {
        auto* frame = new QFrame(client_);
        frame->setFrameShape(QFrame::Box);
        frame->setLineWidth(1);
        QPalette palette = frame->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        frame->setPalette(palette);
        w = frame;
        break;
    }
    }
    w->setObjectName(QString::fromStdString(c.ident));
    w->setGeometry(rect);
    return w;
}

}  // namespace qln
