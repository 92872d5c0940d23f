#pragma once
// CChildFrame: the window of one project inside the main window, split in
// two panes: the resource tree on the left (a third of the width less 3
// pixels) and the text table on the right. It owns its document; its title
// shows the project's file and state.

#include <QMdiSubWindow>

class QLabel;
class QSplitter;
class QVBoxLayout;

namespace qln {

class CTesselDoc;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // Takes ownership of the document.
    explicit CChildFrame(CTesselDoc* document, QWidget* parent = nullptr);

    CTesselDoc* document() const { return document_; }
    QSplitter* splitter() const { return splitter_; }

    // Puts a view into a pane in place of what it shows now (the frame owns it).
    void setTreeView(QWidget* view);
    void setTextView(QWidget* view);
    QWidget* treeView() const { return tree_; }
    QWidget* textView() const { return text_; }

    // Left pane = a third of the width less 3 pixels.
    static int TreePaneWidth(int frameWidth) { return frameWidth / 3 - 3; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateTitle();
    void placePanes();
    QWidget* replacePane(QWidget* old, QWidget* view, int index);

    CTesselDoc* document_;
    QSplitter* splitter_;
    QWidget* tree_;
    QWidget* text_;
    bool userMovedPanes_ = false;  // until then the panes follow the width
};

}  // namespace qln
