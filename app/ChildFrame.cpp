#include "app/ChildFrame.h"

#include "app/Prompter.h"
#include "app/TesselDoc.h"
#include "rcscript/Messages.h"

#include <QCloseEvent>
#include <QLabel>
#include <QSplitter>
#include <QStyle>

namespace qln {

namespace {

QLabel* Placeholder(std::string_view text, QWidget* parent)
{
    auto* label = new QLabel(Text(text), parent);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setMargin(12);
    label->setEnabled(false);
    return label;
}

}  // namespace

CChildFrame::CChildFrame(CTesselDoc* document, QWidget* parent)
    : QMdiSubWindow(parent), document_(document), splitter_(new QSplitter(Qt::Horizontal, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(style()->standardIcon(QStyle::SP_FileIcon));
    document_->setParent(this);
    tree_ = Placeholder(msg::TreePanePlaceholder, splitter_);
    text_ = Placeholder(msg::TextPanePlaceholder, splitter_);
    splitter_->addWidget(tree_);
    splitter_->addWidget(text_);
    splitter_->setChildrenCollapsible(false);
    setWidget(splitter_);
    connect(splitter_, &QSplitter::splitterMoved, this, [this] { userMovedPanes_ = true; });
    connect(document_, &CTesselDoc::titleChanged, this, &CChildFrame::updateTitle);
    connect(document_, &CTesselDoc::modifiedChanged, this, &QWidget::setWindowModified);
    updateTitle();
}

void CChildFrame::updateTitle()
{
    // "[*]" is where Qt shows the mark of unsaved changes.
    setWindowTitle(document_->title() + QStringLiteral("[*]"));
}

QWidget* CChildFrame::replacePane(QWidget* old, QWidget* view, int index)
{
    view->setParent(splitter_);
    splitter_->replaceWidget(index, view);
    old->deleteLater();
    return view;
}

void CChildFrame::setTreeView(QWidget* view)
{
    tree_ = replacePane(tree_, view, 0);
}

void CChildFrame::setTextView(QWidget* view)
{
    text_ = replacePane(text_, view, 1);
}

void CChildFrame::placePanes()
{
    const int width = splitter_->width();
    const int left = TreePaneWidth(width);
    splitter_->setSizes({left, width - left - splitter_->handleWidth()});
}

void CChildFrame::resizeEvent(QResizeEvent* event)
{
    QMdiSubWindow::resizeEvent(event);
    if (!userMovedPanes_)
        placePanes();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (!document_->CanClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

}  // namespace qln
