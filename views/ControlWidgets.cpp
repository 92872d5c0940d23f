#include "views/ControlWidgets.h"

#include "project/LayoutChecks.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QProxyStyle>
#include <QStyleOptionButton>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace qln {
namespace {

// Static styles: the type in the low five bits.
constexpr std::uint32_t kSsTypeMask = 0x1F, kSsCenter = 1, kSsRight = 2, kSsSimple = 0xB, kSsLeftNoWrap = 0xC,
                        kSsSunken = 0x1000;
constexpr std::uint32_t kEsMultiLine = 0x4, kEsCenter = 0x1, kEsRight = 0x2;
constexpr std::uint32_t kSbsVert = 0x1, kUdsHorz = 0x40, kTbsVert = 0x2, kPbsVertical = 0x4;

QFrame* Frame(QWidget* parent, QFrame::Shape shape, QFrame::Shadow shadow = QFrame::Plain)
{
    auto* frame = new QFrame(parent);
    frame->setFrameShape(shape);
    frame->setFrameShadow(shadow);
    frame->setLineWidth(1);
    return frame;
}

QWidget* BlackFrame(QWidget* parent)
{
    QFrame* frame = Frame(parent, QFrame::Box);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    frame->setPalette(palette);
    return frame;
}

QWidget* FilledRect(QWidget* parent, const QColor& colour)
{
    auto* rect = new QFrame(parent);
    rect->setAutoFillBackground(true);
    QPalette palette = rect->palette();
    palette.setColor(QPalette::Window, colour);
    rect->setPalette(palette);
    return rect;
}

QWidget* MakeStatic(std::uint32_t style, QWidget* parent)
{
    switch (style & kSsTypeMask) {
    case 0x3: case 0xE: return Frame(parent, QFrame::NoFrame);  // icon, bitmap: the picture is not shown
    case 0x4: return FilledRect(parent, Qt::black);
    case 0x5: return FilledRect(parent, Qt::gray);
    case 0x6: return FilledRect(parent, Qt::white);
    case 0x7: return BlackFrame(parent);
    case 0x8: return Frame(parent, QFrame::Box, QFrame::Plain);
    case 0x9: return Frame(parent, QFrame::Box, QFrame::Plain);
    case 0x10: return Frame(parent, QFrame::HLine, QFrame::Sunken);
    case 0x11: return Frame(parent, QFrame::VLine, QFrame::Sunken);
    case 0x12: return Frame(parent, QFrame::Box, QFrame::Sunken);
    default: break;
    }
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    const std::uint32_t type = style & kSsTypeMask;
    Qt::Alignment horizontal = type == kSsCenter ? Qt::AlignHCenter : type == kSsRight ? Qt::AlignRight : Qt::AlignLeft;
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setWordWrap(type != kSsSimple && type != kSsLeftNoWrap);
    if (style & kSsSunken) {
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
    } else if (style & winstyle::Border) {
        label->setFrameShape(QFrame::Box);
    }
    return label;
}

// Buttons drawn where Windows puts their texts, which is where the
// clipped-text check measures them. A check box or radio button has a
// 13-pixel box or circle and its text takes the rest of the control from
// kCheckTextStart on (the application style's own indicator would push the
// text 2-3 pixels further right, and Qt's check box label stops a pixel
// short of the right edge). A BS_MULTILINE button wraps its text at blanks,
// centred vertically, within its margins.
class WindowsButtonStyle : public QProxyStyle {
public:
    static constexpr int kIndicator = 13, kTextStart = checks::kCheckTextStart,
                         kPushMargin = checks::kPushButtonMargins / 2;
    static constexpr const char* kWrapsProperty = "qlnWrapsText";

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_IndicatorWidth: case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth: case PM_ExclusiveIndicatorHeight: return kIndicator;
        case PM_CheckBoxLabelSpacing: case PM_RadioButtonLabelSpacing: return kTextStart - kIndicator;
        default: return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override
    {
        if (element != SE_CheckBoxContents && element != SE_RadioButtonContents)
            return QProxyStyle::subElementRect(element, option, widget);
        const QRect r = option->rect.adjusted(kTextStart, 0, 0, 0);
        return visualRect(option->direction, option->rect, r);
    }

    // The base style lays out its own parts without asking the proxy, so
    // the box and the label are drawn here, each in the rectangle above.
    // (The preview's buttons never have the focus: no focus frame.)
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (!button) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const bool wraps = widget && widget->property(kWrapsProperty).toBool();
        switch (element) {
        case CE_CheckBox: case CE_RadioButton: {
            const bool check = element == CE_CheckBox;
            QStyleOptionButton part = *button;
            part.rect = subElementRect(check ? SE_CheckBoxIndicator : SE_RadioButtonIndicator, button, widget);
            drawPrimitive(check ? PE_IndicatorCheckBox : PE_IndicatorRadioButton, &part, painter, widget);
            part.rect = subElementRect(check ? SE_CheckBoxContents : SE_RadioButtonContents, button, widget);
            drawControl(check ? CE_CheckBoxLabel : CE_RadioButtonLabel, &part, painter, widget);
            return;
        }
        case CE_CheckBoxLabel: case CE_RadioButtonLabel:
            if (wraps) {
                drawWrapped(*button, button->rect, button->rect, Qt::AlignLeft, QPalette::WindowText, painter);
                return;
            }
            break;
        case CE_PushButtonLabel:
            if (wraps) {
                drawWrapped(*button, widget->rect(), widget->rect().adjusted(kPushMargin, 0, -kPushMargin, 0),
                            Qt::AlignHCenter, QPalette::ButtonText, painter);
                return;
            }
            break;
        default: break;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

private:
    // `rect` within `bounds`, mirrored for right-to-left controls.
    void drawWrapped(const QStyleOptionButton& button, const QRect& bounds, const QRect& rect,
                     Qt::Alignment horizontal, QPalette::ColorRole role, QPainter* painter) const
    {
        const QRect r = visualRect(button.direction, bounds, rect);
        const int flags = int(visualAlignment(button.direction, horizontal | Qt::AlignVCenter)) | Qt::TextWordWrap |
                          Qt::TextShowMnemonic;
        drawItemText(painter, r, flags, button.palette, button.state & State_Enabled, button.text, role);
    }
};

// One style for all previews, owned by the application (widgets do not own
// their style).
QStyle* ButtonStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new WindowsButtonStyle;
        style->setParent(qApp);
    }
    return style;
}

QWidget* MakeButton(std::uint32_t style, QWidget* parent)
{
    QAbstractButton* button = nullptr;
    switch (style & 0xF) {
    case 2: case 3: case 5: case 6: {
        auto* box = new QCheckBox(parent);
        box->setTristate((style & 0xF) == 5 || (style & 0xF) == 6);
        button = box;
        break;
    }
    case 4: case 9: button = new QRadioButton(parent); break;
    case 7: return new QGroupBox(parent);
    default: {
        auto* push = new QPushButton(parent);
        push->setDefault((style & 0xF) == 1);
        push->setFlat((style & 0xF) == 0xA);
        if (!(style & winstyle::ButtonMultiLine))
            return push;  // the application style draws one line as Windows does
        button = push;
    }
    }
    button->setProperty(WindowsButtonStyle::kWrapsProperty, bool(style & winstyle::ButtonMultiLine));
    button->setStyle(ButtonStyle());
    return button;
}

QWidget* MakeEdit(std::uint32_t style, QWidget* parent)
{
    if (style & kEsMultiLine) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setReadOnly(true);
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setAlignment(style & kEsCenter ? Qt::AlignHCenter : style & kEsRight ? Qt::AlignRight : Qt::AlignLeft);
    return edit;
}

QWidget* MakeUpDown(std::uint32_t style, QWidget* parent)
{
    auto* arrows = new QWidget(parent);
    QBoxLayout* layout = style & kUdsHorz ? static_cast<QBoxLayout*>(new QHBoxLayout(arrows))
                                          : static_cast<QBoxLayout*>(new QVBoxLayout(arrows));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const bool horizontal = style & kUdsHorz;
    for (Qt::ArrowType arrow : {horizontal ? Qt::LeftArrow : Qt::UpArrow, horizontal ? Qt::RightArrow : Qt::DownArrow}) {
        auto* button = new QToolButton(arrows);
        button->setArrowType(arrow);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(button);
    }
    return arrows;
}

}  // namespace

QWidget* MakeControlWidget(const ControlWindow& window, QWidget* parent)
{
    const std::uint32_t style = window.style;
    switch (window.windowClass) {
    case ControlClass::Static: return MakeStatic(style, parent);
    case ControlClass::Button: return MakeButton(style, parent);
    case ControlClass::Edit: return MakeEdit(style, parent);
    case ControlClass::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        return combo;
    }
    case ControlClass::ListBox: return new QListView(parent);
    case ControlClass::ScrollBar: return new QScrollBar(style & kSbsVert ? Qt::Vertical : Qt::Horizontal, parent);
    case ControlClass::UpDown: return MakeUpDown(style, parent);
    case ControlClass::ListView: return new QListView(parent);
    case ControlClass::TreeView: return new QTreeView(parent);
    case ControlClass::TabControl: return new QTabWidget(parent);
    case ControlClass::Animation: return Frame(parent, QFrame::Box, QFrame::Sunken);
    case ControlClass::Trackbar: return new QSlider(style & kTbsVert ? Qt::Vertical : Qt::Horizontal, parent);
    case ControlClass::Progress: {
        auto* bar = new QProgressBar(parent);
        bar->setOrientation(style & kPbsVertical ? Qt::Vertical : Qt::Horizontal);
        bar->setTextVisible(false);
        bar->setValue(0);
        return bar;
    }
    case ControlClass::Unknown: break;
    }
    return BlackFrame(parent);
}

void SetControlWidgetText(QWidget* widget, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(text);
    else if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->setText(text);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        edit->setPlainText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->clear();
        if (!text.isEmpty())
            combo->addItem(text);
    }
}

QString ControlWidgetText(const QWidget* widget)
{
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (auto* line = qobject_cast<const QLineEdit*>(widget))
        return line->text();
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(widget))
        return edit->toPlainText();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText();
    return {};
}

int ClosedComboHeight(const QWidget* combo)
{
    return combo->sizeHint().height();
}

}  // namespace qln
