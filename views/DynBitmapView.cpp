#include "views/DynBitmapView.h"

#include "views/LanguageActions.h"

#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QPainter>
#include <QToolBar>
#include <QVBoxLayout>

namespace qln {
namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Draws the bitmap at the top left, or the missing file's text centred.
class BitmapCanvas : public QWidget {
public:
    explicit BitmapCanvas(const CDynBitmapView& view, QWidget* parent) : QWidget(parent), view_(view)
    {
        setObjectName(QStringLiteral("bitmapCanvas"));
        setBackgroundRole(QPalette::Base);
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (view_.hasImage()) {
            p.drawImage(QPoint(0, 0), view_.image());
            return;
        }
        const QString text = view_.missingText();
        if (!text.isEmpty())
            p.drawText(rect(), Qt::AlignCenter, text);
    }

private:
    const CDynBitmapView& view_;
};

}  // namespace

CDynBitmapView::CDynBitmapView(CProjectDatabase& project, std::int32_t bitmapLine, std::filesystem::path sourceScript,
                               QWidget* parent)
    : QWidget(parent), project_(project), line_(bitmapLine), sourceScript_(std::move(sourceScript))
{
    try {
        name_ = project_.GetIdentifier(line_, IdentTable::Bitmap).value_or("");
    } catch (const sql::Error&) {
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const LanguageActions actions = AddLanguageActions(*this, *bar);
    source_ = actions.source;
    translated_ = actions.translated;
    connect(source_, &QAction::triggered, this, [this] { showLanguage(-1, -1); });
    connect(translated_, &QAction::triggered, this, [this] {
        updateActions();
        emit translatedRequested();
    });
    layout->addWidget(bar);
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(true);
    canvas_ = new BitmapCanvas(*this, scroll_);
    scroll_->setWidget(canvas_);
    layout->addWidget(scroll_);
    setFocusPolicy(Qt::StrongFocus);
    showLanguage(-1, -1);
}

void CDynBitmapView::showLanguage(int primary, int sub)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    language_ = primary < 0 ? LanguagePair{-1, -1} : LanguagePair{primary, sub};
    std::optional<BitmapChoice> choice;
    try {
        choice = ChooseBitmapFile(project_, line_, language_.primary, language_.sub, sourceScript_);
    } catch (const sql::Error& error) {
        emit statusText(Q(DatabaseErrorMessage(error)));
    }
    choice_ = choice.value_or(BitmapChoice{});
    image_ = QImage();
    bool refused = false;
    if (!choice_.fullPath.empty()) {
        const BitmapLoad load = LoadBitmapFile(choice_.fullPath);
        refused = load.status == BitmapStatus::TooLarge;
        if (load.image) {
            const auto& bytes = load.image->file;
            image_.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
        }
    }
    canvas_->setMinimumSize(extent());
    canvas_->update();
    updateActions();
    QApplication::restoreOverrideCursor();
    if (refused)
        emit tooLarge(Q(msg::BitmapTooLarge));
}

QSize CDynBitmapView::extent() const
{
    return hasImage() ? image_.size() : QSize(0, 0);
}

QString CDynBitmapView::missingText() const
{
    if (hasImage() || choice_.fileName.empty())
        return {};
    return Q(msg::Format(msg::BitmapFileNotFound, {choice_.fileName}));
}

QString CDynBitmapView::languagePaneText() const
{
    if (sourceShown())
        return Q(msg::SourceBitmapPane);
    const auto name = LanguageDisplayName(language_.primary, language_.sub);
    return Q(name ? *name : std::string_view()) + ' ' + Q(msg::BitmapPaneSuffix);
}

QString CDynBitmapView::progressPaneText() const
{
    if (sourceShown())
        return {};
    const std::string translated = choice_.translated ? "100" : "0";
    const std::string modified = choice_.modified ? "100" : "0";
    return Q(msg::Format(msg::ProgressPane, {translated, modified}));
}

void CDynBitmapView::updateActions()
{
    UpdateLanguageActions({source_, translated_}, project_, sourceShown());
}

void CDynBitmapView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(Q(msg::ContextFileNameAtTable), this, [this] { emit stringAtTableRequested(line_); });
    QAction* bookmark = menu.addAction(Q(msg::ContextBookmark), this, [this] { emit bookmarkRequested(line_); });
    bookmark->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&CDynBitmapView::bookmarkRequested)));
    menu.exec(event->globalPos());
}

}  // namespace qln
