#include "views/TranslationBar.h"

#include "views/BlockHeaderDialog.h"
#include "views/SourceTextDialog.h"
#include "views/SpecialCharsDialog.h"
#include "views/TextTableModel.h"

#include "project/TextForms.h"
#include "project/TranslationWriter.h"
#include "rcscript/Messages.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <functional>

namespace qln {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// The translation edit: Enter and Ctrl+Enter accept and go on, Alt+Down and
// Alt+Up move to the next or previous item, Escape returns to the table.
class CTranslationEdit : public QPlainTextEdit {
public:
    explicit CTranslationEdit(CTranslationBar* bar) : QPlainTextEdit(bar), bar_(bar) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const int key = event->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            bar_->okNext();
            return;
        }
        if (event->modifiers() == Qt::AltModifier && (key == Qt::Key_Down || key == Qt::Key_Up)) {
            if (CTextListView* view = bar_->view())
                key == Qt::Key_Down ? bar_->cancelNext() : view->previousItem();
            return;
        }
        if (key == Qt::Key_Escape && bar_->view()) {
            bar_->view()->setFocus();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }

private:
    CTranslationBar* bar_;
};

namespace {

// A read-only edit of one or two lines that scrolls its text.
void SetUpEdit(QPlainTextEdit* edit, int lines)
{
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setTabChangesFocus(true);
    edit->setMinimumHeight(edit->fontMetrics().height() * lines + 10);
}

}  // namespace

CTranslationBar::CTranslationBar(QWidget* parent)
    : QDockWidget(Q(msg::TranslationBarTitle), parent), sourceEdit_(new QPlainTextEdit(this)),
      translationEdit_(new CTranslationEdit(this)), headerEdit_(new QLineEdit(this))
{
    setObjectName(QStringLiteral("TranslationBar"));
    setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea | Qt::LeftDockWidgetArea |
                    Qt::RightDockWidgetArea);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 8, 4);
    layout->setSpacing(4);
    sourceEdit_->setReadOnly(true);
    sourceEdit_->setObjectName(QStringLiteral("SourceText"));
    translationEdit_->setObjectName(QStringLiteral("TranslatedText"));
    headerEdit_->setObjectName(QStringLiteral("BlockHeader"));
    headerEdit_->setReadOnly(true);
    headerEdit_->hide();
    headerEdit_->installEventFilter(this);
    SetUpEdit(sourceEdit_, 1);
    SetUpEdit(translationEdit_, 1);
    layout->addWidget(sourceEdit_, 1);
    layout->addWidget(translationEdit_, 1);
    layout->addWidget(headerEdit_);
    auto* buttons = new QHBoxLayout;
    auto make = [&](std::string_view text, std::function<void()> slot) {
        auto* b = new QPushButton(Q(text), body);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, std::move(slot));
        buttons->addWidget(b);
        return b;
    };
    copy_ = make(msg::BarCopy, [this] { copySource(); });
    okNext_ = make(msg::BarOkNext, [this] { okNext(); });
    okNext_->setDefault(true);
    ok_ = make(msg::BarOk, [this] {
        store();
        caretToEnd();
    });
    cancelNext_ = make(msg::BarCancelNext, [this] { cancelNext(); });
    buttons->addSpacing(12);
    srcText_ = make(msg::BarSourceText, [this] { showSourceText(); });
    char_ = make(msg::BarChar, [this] { insertSpecialCharacter(); });
    buttons->addStretch(1);
    layout->addLayout(buttons);
    setWidget(body);
    connect(translationEdit_, &QPlainTextEdit::textChanged, this, [this] {
        if (!settingText_)
            edited_ = true;
        updateControls();
    });
    clear();
}

QPlainTextEdit* CTranslationBar::sourceEdit() const
{
    return sourceEdit_;
}

QPlainTextEdit* CTranslationBar::translationEdit() const
{
    return translationEdit_;
}

QPushButton* CTranslationBar::button(const QString& text) const
{
    for (QPushButton* b : {okNext_, ok_, cancelNext_, copy_, srcText_, char_})
        if (b->text() == text)
            return b;
    return nullptr;
}

void CTranslationBar::attachView(CTextListView* view)
{
    if (view_ == view)
        return;
    if (view_)
        disconnect(view_, nullptr, this, nullptr);
    view_ = view;
    if (!view) {
        clear();
        setEnabled(false);
        return;
    }
    setEnabled(true);
    connect(view, &CTextListView::itemChanged, this, &CTranslationBar::loadFromView);
    connect(view, &CTextListView::translateRequested, this, &CTranslationBar::startTranslating);
    connect(view, &QObject::destroyed, this, [this] {
        clear();
        setEnabled(false);
    });
    loadFromView();
}

void CTranslationBar::loadFromView()
{
    if (!view_ || view_->isLoading())
        return;
    const auto item = view_->currentItem();
    if (!item) {
        clear();
        return;
    }
    const int column = view_->columnOfLanguage(item->primary, item->sub);
    setItem(*item, view_->columnFont(CTextTableModel::SourceColumn), view_->columnFont(column));
}

void CTranslationBar::clear()
{
    item_ = TextItem{};
    active_ = false;
    edited_ = false;
    settingText_ = true;
    sourceEdit_->clear();
    translationEdit_->clear();
    headerEdit_->clear();
    settingText_ = false;
    headerEdit_->hide();
    translationEdit_->show();
    updateControls();
}

void CTranslationBar::setItem(const TextItem& item, const QFont& sourceFont, const QFont& translationFont)
{
    item_ = item;
    active_ = true;
    edited_ = false;
    sourceEdit_->setFont(sourceFont);
    translationEdit_->setFont(translationFont);
    const bool header = item.lineKind == 85;
    settingText_ = true;
    if (header) {
        sourceEdit_->setPlainText(Q(BlockHeaderDisplay(item.sourceText)));
        translationEdit_->setPlainText(Q(item.translation));
        headerEdit_->setText(Q(BlockHeaderDisplay(item.translation)));
    } else {
        sourceEdit_->setPlainText(Q(ToDisplayForm(item.sourceText)));
        translationEdit_->setPlainText(Q(ToDisplayForm(item.translation)));
    }
    settingText_ = false;
    translationEdit_->setVisible(!header);
    headerEdit_->setVisible(header);
    QPalette palette = translationEdit_->palette();
    palette.setColor(QPalette::Text, item.modified ? QColor(255, 0, 0) : QColor(0, 0, 0));
    translationEdit_->setPalette(palette);
    updateControls();
}

void CTranslationBar::updateControls()
{
    BarItemState state;
    state.active = active_;
    state.excluded = item_.excluded;
    state.modified = item_.modified;
    state.sourceEmpty = item_.sourceText.empty();
    state.translationEmpty = translationEdit_->document()->isEmpty();
    state.lineKind = item_.lineKind;
    const BarControls c = BarControlsFor(state);
    okNext_->setEnabled(c.ok);
    ok_->setEnabled(c.ok);
    cancelNext_->setEnabled(c.cancelNext);
    copy_->setEnabled(c.copy);
    char_->setEnabled(c.specialChar);
    srcText_->setEnabled(c.sourceText);
    translationEdit_->setReadOnly(!c.translationEdit);
    headerEdit_->setEnabled(c.translationEdit);
}

bool CTranslationBar::store()
{
    if (!view_ || !active_ || item_.excluded || item_.sourceText.empty())
        return false;
    const std::string typed = translationEdit_->toPlainText().toStdString();
    const std::string script = item_.lineKind == 85 ? typed : ToScriptForm(typed);
    const TextItem stored = item_;
    if (!view_->storeTranslation(stored.lineIndex, stored.primary, stored.sub, script))
        return false;
    // The table hands the stored row back; the bar now shows what is stored.
    if (item_.lineIndex == stored.lineIndex) {
        item_.translation = script;
        item_.modified = false;
        edited_ = false;
        QPalette palette = translationEdit_->palette();
        palette.setColor(QPalette::Text, QColor(0, 0, 0));
        translationEdit_->setPalette(palette);
        updateControls();
    }
    return true;
}

void CTranslationBar::okNext()
{
    if (!active_ || item_.excluded || item_.sourceText.empty())
        return;
    if (store() && view_)
        view_->nextItem();
    caretToEnd();
}

void CTranslationBar::cancelNext()
{
    if (!active_ || !view_)
        return;
    view_->nextItem();
    caretToEnd();
}

void CTranslationBar::copySource()
{
    if (!active_ || item_.excluded)
        return;
    if (item_.lineKind == 85) {
        setTranslationText(Q(item_.sourceText));
        headerEdit_->setText(Q(BlockHeaderDisplay(item_.sourceText)));
    } else {
        setTranslationText(Q(ToDisplayForm(item_.sourceText)));
    }
    caretToEnd();
}

void CTranslationBar::setTranslationText(const QString& text)
{
    translationEdit_->setPlainText(text);  // an edit by the user: `edited` follows
}

void CTranslationBar::insertSpecialCharacter()
{
    if (!active_ || item_.excluded || !view_ || !view_->project())
        return;
    int codePage = 1252;
    try {
        codePage = TranslationCodePage(*view_->project(), item_.primary, item_.sub);
    } catch (const sql::Error&) {
        // Keep 1252.
    }
    CSpecialCharsDialog dialog(codePage, this);
    if (dialog.exec() == QDialog::Accepted && !dialog.chosen().isEmpty()) {
        translationEdit_->insertPlainText(dialog.chosen());
        translationEdit_->setFocus();
    }
}

void CTranslationBar::showSourceText()
{
    if (!active_ || !item_.modified || !view_ || !view_->project())
        return;
    ShowOldSourceText(this, *view_->project(), item_.lineIndex, item_.sourceText);
}

void CTranslationBar::editBlockHeader()
{
    if (!active_ || item_.excluded || item_.lineKind != 85)
        return;
    const std::string current = translationEdit_->toPlainText().toStdString();
    CBlockHeaderDialog dialog(current.empty() ? item_.sourceText : current, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    setTranslationText(Q(dialog.blockName()));
    headerEdit_->setText(Q(BlockHeaderDisplay(dialog.blockName())));
    edited_ = true;
}

bool CTranslationBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == headerEdit_) {
        const bool open = event->type() == QEvent::MouseButtonDblClick ||
                          (event->type() == QEvent::KeyPress &&
                           (static_cast<QKeyEvent*>(event)->key() == Qt::Key_F4 ||
                            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space));
        if (open) {
            editBlockHeader();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                okNext();
                return true;
            }
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

void CTranslationBar::startTranslating()
{
    show();
    raise();
    if (item_.lineKind == 85 && active_)
        headerEdit_->setFocus();
    else
        translationEdit_->setFocus();
    caretToEnd();
}

void CTranslationBar::caretToEnd()
{
    QTextCursor cursor = translationEdit_->textCursor();
    cursor.movePosition(QTextCursor::End);
    translationEdit_->setTextCursor(cursor);
    if (item_.lineKind == 85 && active_)
        headerEdit_->setFocus();
    else
        translationEdit_->setFocus();
}

void CTranslationBar::saveSettings(QSettings& settings, Qt::DockWidgetArea area, const QString& section) const
{
    settings.beginGroup(section);
    settings.setValue(QStringLiteral("CX"), width());
    settings.setValue(QStringLiteral("CY"), height());
    settings.setValue(QStringLiteral("DockStyle"), static_cast<int>(area));
    settings.endGroup();
}

Qt::DockWidgetArea CTranslationBar::restoreSettings(QSettings& settings, QSize& size, const QString& section)
{
    settings.beginGroup(section);
    const int cx = settings.value(QStringLiteral("CX"), 0).toInt();
    const int cy = settings.value(QStringLiteral("CY"), 0).toInt();
    const int style = settings.value(QStringLiteral("DockStyle"), static_cast<int>(Qt::BottomDockWidgetArea)).toInt();
    settings.endGroup();
    if (cx > 40 && cy > 40)
        size = QSize(cx, cy);
    switch (style) {
    case Qt::LeftDockWidgetArea:
    case Qt::RightDockWidgetArea:
    case Qt::TopDockWidgetArea:
    case Qt::BottomDockWidgetArea: return static_cast<Qt::DockWidgetArea>(style);
    default: return Qt::BottomDockWidgetArea;
    }
}

}  // namespace qln
