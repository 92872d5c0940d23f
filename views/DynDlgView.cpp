#include "views/DynDlgView.h"

#include "project/LayoutChecks.h"
#include "project/TextTable.h"
#include "project/TranslationStore.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Schema.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"
#include "views/ControlWidgets.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

namespace qln {
namespace {

constexpr std::string_view kTemplateFace = "MS Sans Serif";
constexpr int kTemplatePoints = 8;
constexpr int kOffset = 5;            // the dialog's frame starts 5 pixels into the view
constexpr int kCaptionUnits = 12;     // the caption strip is 12 dialog units high
const QColor kDarkBlue(0, 0, 128);

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c)
{
    const long long p = static_cast<long long>(a) * b;
    return static_cast<int>(p >= 0 ? (2 * p + c) / (2 * c) : -((-2 * p + c) / (2 * c)));
}

// The family Qt knows a Windows face by, through the substitution table.
// Font files are registered with the running application; a new one (as in
// tests) has none of them, so the cache goes with the application.
QString FamilyForFace(std::string_view face)
{
    static std::map<std::string, QString, std::less<>> families;
    static QPointer<QObject> registeredWithApplication;
    if (!registeredWithApplication) {
        families.clear();
        registeredWithApplication = new QObject(QCoreApplication::instance());
    }
    if (const auto found = families.find(face); found != families.end())
        return found->second;
    QString family = Q(face);
    if (auto file = FontFileFor(face)) {
        const int id = QFontDatabase::addApplicationFont(QString::fromStdString(file->string()));
        const QStringList names = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        if (!names.isEmpty())
            family = names.front();
    }
    families.emplace(std::string(face), family);
    return family;
}

CDynDlgView::TemplateFont LoadTemplateFont()
{
    CDynDlgView::TemplateFont t;
    t.font.setPixelSize(MulDiv(kTemplatePoints, 96, 72));
    t.font.setFamily(FamilyForFace(kTemplateFace));
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

bool CtrlS(const QKeyEvent* key)
{
    return key->key() == Qt::Key_S && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

}  // namespace

// The scrolled area the dialog is drawn on; the control widgets are its
// children and let every mouse event through to it.
class CDialogCanvas : public QWidget {
public:
    explicit CDialogCanvas(CDynDlgView* view) : QWidget(view), view_(view)
    {
        setFocusPolicy(Qt::StrongFocus);
        setObjectName(QStringLiteral("DialogCanvas"));
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        view_->paintDialog(painter, event->rect());
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        setFocus(Qt::MouseFocusReason);
        view_->controlPressed(view_->hitTest(event->position().toPoint()), event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(event);
            if (CControlWnd* hit = view_->hitTest(help->pos()))
                QToolTip::showText(help->globalPos(), hit->toolTip(), this, hit->widget->geometry());
            else
                QToolTip::hideText();
            return true;
        }
        if (event->type() == QEvent::ShortcutOverride) {
            // Ctrl+S shows the text in the table while the preview has the
            // focus (elsewhere it saves); Enter and Tab stay the preview's.
            auto* key = static_cast<QKeyEvent*>(event);
            if (CtrlS(key) || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                event->accept();
                return true;
            }
        }
        return QWidget::event(event);
    }
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        if (event->reason() == QContextMenuEvent::Mouse)
            return;  // the press already opened it
        CControlWnd* c = view_->selected();
        view_->showContextMenu(c ? c->widget->geometry().center() : QPoint(kOffset, kOffset));
    }

private:
    CDynDlgView* view_;
};

// Lies over every control and draws what the view paints over the dialog.
class CDialogOverlay : public QWidget {
public:
    CDialogOverlay(CDynDlgView* view, QWidget* canvas) : QWidget(canvas), view_(view)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        view_->paintOverDialog(painter);
    }

private:
    CDynDlgView* view_;
};

QString CControlWnd::toolTip() const
{
    QString tip = Q(name);
    if (excluded)
        tip += QStringLiteral(", Excluded");
    else if (modified)
        tip += QStringLiteral(", Modified");
    else if (translated)
        tip += QStringLiteral(", Translated");
    return tip;
}

const CDynDlgView::TemplateFont& CDynDlgView::templateFont()
{
    static const TemplateFont font = LoadTemplateFont();
    FamilyForFace(kTemplateFace);  // registered with this application
    return font;
}

CDynDlgView::CDynDlgView(CProjectDatabase* project, std::int32_t dialogLine, QWidget* parent)
    : QScrollArea(parent), project_(project), dialogLine_(dialogLine), units_(templateFont().units),
      font_(templateFont().font), canvas_(new CDialogCanvas(this)), overlay_(new CDialogOverlay(this, canvas_))
{
    setObjectName(QStringLiteral("DialogPreview"));
    setWidgetResizable(false);
    setWidget(canvas_);
    setFocusProxy(canvas_);
    canvas_->setFont(templateFont().font);
    setBackgroundRole(QPalette::Base);
}

CDynDlgView::~CDynDlgView() = default;

QWidget* CDynDlgView::canvas() const
{
    return canvas_;
}

bool CDynDlgView::build(int primary, int sub)
{
    if (!project_)
        return false;
    DialogLoad load;
    try {
        load = LoadDialogTemplate(*project_, dialogLine_);
    } catch (const sql::Error&) {
        return false;
    }
    if (!load.dialog)
        return false;
    const DialogTemplate& dialog = *load.dialog;
    dialogName_ = dialog.name;
    sourceSize_ = currentSize_ = QSize(dialog.cx, dialog.cy);
    const QRect frame = toPixels({0, 0, dialog.cx, dialog.cy});
    scaleX_ = dialog.cx > 0 ? static_cast<double>(frame.width()) / dialog.cx : 0;
    scaleY_ = dialog.cy > 0 ? static_cast<double>(frame.height()) / dialog.cy : 0;
    if (dialog.caption) {
        captionHeight_ = MulDiv(kCaptionUnits, units_.y, 8);
        captionLine_ = dialog.caption->lineIndex;
        makeCaptionStrip(*dialog.caption);
    }
    for (const PreviewControl& c : dialog.controls)
        makeControl(c);
    loadFonts();
    resizeCanvas();
    built_ = true;
    showLanguage(primary, sub);
    for (const auto& c : controls_)
        if (c->hasText) {
            select(c.get());
            break;
        }
    return true;
}

void CDynDlgView::makeCaptionStrip(const PreviewCaption& caption)
{
    auto c = std::make_unique<CControlWnd>();
    c->line = caption.lineIndex;
    c->name = "Dialog Caption";
    c->hasText = true;
    c->captionStrip = true;
    c->excluded = caption.excluded;
    c->sourceText = caption.sourceText;
    c->window = ControlWindow{ControlClass::Static, winstyle::ChildVisible, true, false};
    c->view = this;
    auto* label = new QLabel(canvas_);
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(true);
    // Its own role: the view's Base role would otherwise be inherited.
    label->setBackgroundRole(QPalette::Window);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setObjectName(QStringLiteral("DialogCaption"));
    c->widget = label;
    controls_.push_back(std::move(c));
    placeCaptionStrip();
}

void CDynDlgView::makeControl(const PreviewControl& pc)
{
    auto c = std::make_unique<CControlWnd>();
    c->line = pc.lineIndex;
    c->name = pc.name;
    c->hasText = pc.hasText;
    c->excluded = pc.excluded;
    c->comboBox = pc.window.comboBox;
    c->sourceRect = c->currentRect = pc.rect;
    c->window = pc.window;
    c->lineKind = pc.lineKind;
    c->className = pc.className;
    c->sourceText = pc.sourceText;
    c->view = this;
    QWidget* w = MakeControlWidget(pc.window, canvas_);
    w->setObjectName(Q(pc.name));
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    w->setFocusPolicy(Qt::NoFocus);
    for (QWidget* inner : w->findChildren<QWidget*>())
        inner->setFocusPolicy(Qt::NoFocus);
    c->widget = w;
    // A static's hotkey goes to the control after it; Qt draws a label's
    // '&' as a hotkey only when the label has a buddy.
    if (auto* label = qobject_cast<QLabel*>(w); label && pc.hasText && checks::UsesPrefix(pc.lineKind, pc.className, pc.flags))
        label->setBuddy(label);
    controls_.push_back(std::move(c));
    placeWidget(*controls_.back());
}

QRect CDynDlgView::toPixels(const DialogUnitRect& r) const
{
    const int left = kOffset + MulDiv(r.x, units_.x, 4), right = kOffset + MulDiv(r.x + r.cx, units_.x, 4);
    const int top = captionHeight_ + kOffset + MulDiv(r.y, units_.y, 8);
    const int bottom = captionHeight_ + kOffset + MulDiv(r.y + r.cy, units_.y, 8);
    return QRect(left, top, right - left, bottom - top);
}

QRect CDynDlgView::dialogPixels() const
{
    return toPixels({0, 0, currentSize_.width(), currentSize_.height()});
}

CControlWnd* CDynDlgView::controlOfLine(std::int32_t line) const
{
    for (const auto& c : controls_)
        if (c->line == line)
            return c.get();
    return nullptr;
}

void CDynDlgView::placeWidget(CControlWnd& c)
{
    if (c.captionStrip) {
        placeCaptionStrip();
        return;
    }
    QRect rect = toPixels(c.currentRect);
    if (c.comboBox)
        rect.setHeight(std::min(rect.height(), ClosedComboHeight(c.widget)));
    c.widget->setGeometry(rect);
}

void CDynDlgView::placeCaptionStrip()
{
    for (const auto& c : controls_)
        if (c->captionStrip) {
            const int width = dialogPixels().width();
            // Left 4, top 3, right width - 15, bottom caption height - 2, offset by (5, 5).
            c->widget->setGeometry(QRect(QPoint(kOffset + 4, kOffset + 3),
                                         QPoint(kOffset + width - 15 - 1, kOffset + captionHeight_ - 2 - 1)));
        }
}

void CDynDlgView::moveControl(CControlWnd& control, const DialogUnitRect& rect)
{
    control.currentRect = rect;
    placeWidget(control);
    updateCanvas();
}

void CDynDlgView::setDialogSize(int cx, int cy)
{
    currentSize_ = QSize(cx, cy);
    placeCaptionStrip();
    resizeCanvas();
    updateCanvas();
}

void CDynDlgView::resizeCanvas()
{
    const QRect frame = dialogPixels();
    canvas_->resize(frame.right() + 1 + 2 + kOffset, frame.bottom() + 1 + 2 + kOffset);
    overlay_->setGeometry(canvas_->rect());
    overlay_->raise();
}

void CDynDlgView::updateCanvas()
{
    overlay_->raise();
    canvas_->update();
    overlay_->update();
}

void CDynDlgView::loadFonts()
{
    languageFonts_.clear();
    if (!project_)
        return;
    try {
        for (const auto& [langId, entry] : LoadFonts(*project_)) {
            QFont font = templateFont().font;
            font.setFamily(FamilyForFace(entry.fontName));
            languageFonts_[langId] = font;
        }
        // The source shows in the font of the script's first language.
        const std::vector<LanguagePair> sources = SourceLanguages(*project_);
        if (const auto found = sources.empty() ? languageFonts_.end()
                                               : languageFonts_.find(LangIdOf(sources.front().primary, sources.front().sub));
            found != languageFonts_.end())
            languageFonts_[-1] = found->second;
        else
            languageFonts_.erase(-1);
    } catch (const sql::Error&) {
        // Without the font table every text uses the template font.
    }
}

QFont CDynDlgView::fontForLanguage(int primary, int sub) const
{
    const auto found = languageFonts_.find(primary < 0 ? -1 : LangIdOf(primary, sub));
    return found != languageFonts_.end() ? found->second : templateFont().font;
}

void CDynDlgView::showLanguage(int primary, int sub)
{
    if (primary < 0)
        sub = -1;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    language_ = {primary, sub};
    font_ = fontForLanguage(primary, sub);
    std::map<std::int32_t, ShownTextState> texts;
    std::set<std::int32_t> clipped;
    if (project_) {
        try {
            texts = ReadDialogTexts(*project_, dialogLine_, captionLine_, primary, sub);
        } catch (const sql::Error&) {
            // The texts stay as they were.
        }
    }
    for (const auto& c : controls_) {
        if (!c->hasText)
            continue;
        c->widget->setFont(font_);
        const auto found = texts.find(c->line);
        applyText(*c, found != texts.end() ? found->second : ShownTextState{c->sourceText, {}, false, c->excluded});
    }
    applyLanguageLayout(primary < 0 ? 0 : LangIdOf(primary, sub));
    if (project_) {
        try {
            clipped = ClippedDialogControls(*project_, dialogLine_, primary, sub);
        } catch (const sql::Error&) {
            // No outlines without the check.
        }
    }
    for (const auto& c : controls_)
        c->clipped = clipped.count(c->line) > 0 && !c->captionStrip;
    percentages_.reset();
    updateCanvas();
    QApplication::restoreOverrideCursor();
    emit languageShown(language_.primary, language_.sub);
    emit panesChanged();
}

void CDynDlgView::applyLanguageLayout(std::int32_t)
{
    if (currentSize_ != sourceSize_)
        setDialogSize(sourceSize_.width(), sourceSize_.height());
    for (const auto& c : controls_)
        if (!c->captionStrip && !(c->currentRect == c->sourceRect))
            moveControl(*c, c->sourceRect);
}

void CDynDlgView::applyText(CControlWnd& c, const ShownTextState& state)
{
    const bool source = language_.primary < 0;
    c.sourceText = state.sourceText;
    c.excluded = state.excluded;
    c.translated = !source && state.translated();
    c.modified = !source && state.modified;
    c.shownText = source ? state.sourceText : state.shown();
    SetControlWidgetText(c.widget, Q(WindowText(c.shownText)));
    c.widget->setToolTip(c.toolTip());
    applyColours(c);
}

void CDynDlgView::applyColours(CControlWnd& c)
{
    const bool source = language_.primary < 0;
    QColor text;
    if (c.excluded)
        text = c.captionStrip ? QColor(192, 192, 192) : QColor(128, 128, 128);
    else if (c.modified)
        text = QColor(255, 0, 0);
    else if (c.translated || source)
        text = c.captionStrip ? QColor(255, 255, 255) : QColor(0, 0, 0);
    else
        text = c.captionStrip ? QColor(0, 255, 255) : QColor(0, 0, 255);
    QPalette palette = c.widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Text, text);
        if (c.captionStrip)
            palette.setColor(group, QPalette::Window, captionStripBackground());
    }
    c.widget->setPalette(palette);
}

QColor CDynDlgView::captionStripBackground() const
{
    return kDarkBlue;
}

void CDynDlgView::refreshText(std::int32_t line)
{
    CControlWnd* c = controlOfLine(line);
    if (!c || !c->hasText || !project_)
        return;
    try {
        if (const auto state = ReadTextState(*project_, line, language_.primary, language_.sub))
            applyText(*c, *state);
        const std::set<std::int32_t> clipped =
            ClippedDialogControls(*project_, dialogLine_, language_.primary, language_.sub);
        for (const auto& other : controls_)
            other->clipped = clipped.count(other->line) > 0 && !other->captionStrip;
    } catch (const sql::Error&) {
        return;
    }
    percentages_.reset();
    updateCanvas();
    emit panesChanged();
}

// --- Selection -------------------------------------------------------------------------

void CDynDlgView::select(CControlWnd* control)
{
    setSelection(control ? std::vector<CControlWnd*>{control} : std::vector<CControlWnd*>{});
    if (control) {
        ensureWidgetVisible(control->widget, 8, 8);
        emit itemSelected(control->line);
    }
}

void CDynDlgView::setSelection(std::vector<CControlWnd*> controls)
{
    selection_ = std::move(controls);
    updateCanvas();
}

bool CDynDlgView::selectLine(std::int32_t line)
{
    CControlWnd* c = controlOfLine(line);
    if (!c || !c->hasText)
        return false;
    select(c);
    return true;
}

CControlWnd* CDynDlgView::hitTest(const QPoint& point) const
{
    CControlWnd* best = nullptr;
    long long bestArea = 0;
    for (const auto& c : controls_) {
        if (!c->hasText)
            continue;
        const QRect r = c->widget->geometry();
        if (!r.contains(point))
            continue;
        const long long area = static_cast<long long>(r.width()) * r.height();
        if (!best || area < bestArea) {
            best = c.get();
            bestArea = area;
        }
    }
    return best;
}

void CDynDlgView::step(bool forward)
{
    const auto n = static_cast<long>(controls_.size());
    if (n == 0)
        return;
    long from = forward ? -1 : n;
    if (CControlWnd* current = selected())
        for (long i = 0; i < n; ++i)
            if (controls_[static_cast<std::size_t>(i)].get() == current)
                from = i;
    for (long k = 1; k <= n; ++k) {
        const long i = ((from + (forward ? k : -k)) % n + n) % n;
        CControlWnd* c = controls_[static_cast<std::size_t>(i)].get();
        if (c->hasText) {
            select(c);
            return;
        }
    }
}

void CDynDlgView::nextItem()
{
    step(true);
}

void CDynDlgView::previousItem()
{
    step(false);
}

void CDynDlgView::stringResource()
{
    if (CControlWnd* c = selected())
        emit stringResourceRequested(c->line);
}

void CDynDlgView::showContextMenu(const QPoint& canvasPoint)
{
    CControlWnd* c = selected();
    QMenu menu(this);
    QAction* string = menu.addAction(Q(msg::PreviewStringAtTable));
    QAction* bookmark = menu.addAction(Q(msg::PreviewBookmark));
    string->setEnabled(c);
    bookmark->setEnabled(c);
    QAction* chosen = menu.exec(canvas_->mapToGlobal(canvasPoint));
    if (!c || !chosen)
        return;
    if (chosen == string)
        emit stringResourceRequested(c->line);
    else if (chosen == bookmark)
        emit bookmarkRequested(c->line, c->captionStrip ? category::DialogCaption : category::DialogItem);
}

void CDynDlgView::controlPressed(CControlWnd* hit, QMouseEvent* event)
{
    if (hit)
        select(hit);
    if (event->button() == Qt::RightButton)
        showContextMenu(event->position().toPoint());
}

// --- Status ----------------------------------------------------------------------------

DialogPercentages CDynDlgView::percentages()
{
    if (!percentages_) {
        long total = 0, translated = 0, modified = 0;
        for (const auto& c : controls_) {
            if (!c->hasText || c->excluded || c->sourceText.empty())
                continue;
            ++total;
            translated += c->translated ? 1 : 0;
            modified += c->modified ? 1 : 0;
        }
        percentages_ = ComputeDialogPercentages(total, translated, modified);
    }
    return *percentages_;
}

QString CDynDlgView::languagePaneText() const
{
    if (sourceShown())
        return Q(msg::PreviewSourcePane);
    const auto name = LanguageDisplayName(language_.primary, language_.sub);
    return Q(msg::Format(msg::PreviewLanguagePane, {name.value_or("")}));
}

QString CDynDlgView::progressPaneText()
{
    if (sourceShown())
        return {};
    const DialogPercentages p = percentages();
    return Q(msg::Format(msg::ProgressPane, {std::to_string(p.translated), std::to_string(p.modified)}));
}

// --- Painting and keys -----------------------------------------------------------------

void CDynDlgView::paintDialog(QPainter& painter, const QRect& exposed)
{
    painter.fillRect(exposed, palette().color(QPalette::Base));
    const QRect frame = dialogPixels();
    const QRect whole(QPoint(kOffset, kOffset), frame.bottomRight());
    painter.fillRect(whole, palette().color(QPalette::Window));
    for (const auto& c : controls_)
        if (c->captionStrip)
            painter.fillRect(c->widget->geometry(), captionStripBackground());
    // The 2-pixel outline from (5, 5) to (5 + width, 5 + caption height + height).
    painter.setPen(QPen(kDarkBlue, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(kOffset, kOffset), QPoint(kOffset + frame.width(), frame.bottom() + 1)));
    painter.setPen(QPen(Qt::black, 1));
    for (const CControlWnd* c : selection_)
        painter.drawRect(c->widget->geometry().adjusted(-2, -2, 1, 1));
}

void CDynDlgView::paintOverDialog(QPainter& painter)
{
    painter.setPen(QPen(QColor(255, 0, 0), 1));
    painter.setBrush(Qt::NoBrush);
    for (const auto& c : controls_)
        if (c->clipped)
            painter.drawRect(c->widget->geometry().adjusted(0, 0, -1, -1));
}

void CDynDlgView::keyPressEvent(QKeyEvent* event)
{
    if (CtrlS(event)) {
        stringResource();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selected())
            emit translateRequested();
        return;
    case Qt::Key_Menu:
        showContextMenu(selected() ? selected()->widget->geometry().center() : QPoint(kOffset, kOffset));
        return;
    default: QScrollArea::keyPressEvent(event);
    }
}

bool CDynDlgView::focusNextPrevChild(bool next)
{
    // Tab and Shift+Tab walk the controls instead of the focus chain.
    next ? nextItem() : previousItem();
    return true;
}

}  // namespace qln
