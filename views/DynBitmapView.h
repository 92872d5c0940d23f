#pragma once
// CDynBitmapView: the bitmap file a bitmap text names, for the source or
// one translation language, drawn at its own size at the top left of a
// scrolling area; "(Bitmap file not found)" under the file name when the
// file cannot be read as a bitmap.

#include "project/BitmapView.h"
#include "projectdb/Languages.h"

#include <QImage>
#include <QScrollArea>

class QAction;
class QToolBar;

namespace qln {

class CProjectDatabase;

class CDynBitmapView : public QWidget {
    Q_OBJECT
public:
    // The project must outlive the view; relative names are taken against
    // the folders of the translated scripts and of `sourceScript`.
    CDynBitmapView(CProjectDatabase& project, std::int32_t bitmapLine, std::filesystem::path sourceScript,
                   QWidget* parent = nullptr);

    // Chooses and reads the file for a language; (-1, -1) for the source.
    void showLanguage(int primary, int sub);
    LanguagePair language() const { return language_; }
    bool sourceShown() const { return language_.primary < 0; }
    // Reads the text and the file again.
    void refresh() { showLanguage(language_.primary, language_.sub); }

    std::int32_t bitmapLine() const { return line_; }
    const std::string& name() const { return name_; }
    const BitmapChoice& choice() const { return choice_; }
    bool hasImage() const { return !image_.isNull(); }
    const QImage& image() const { return image_; }
    // The scroll extent: the image's size, or none.
    QSize extent() const;
    // What is drawn without an image (empty while there is one or no name).
    QString missingText() const;

    // "Source Bitmap" or "German Bitmap"; the translated and modified percentages.
    QString languagePaneText() const;
    QString progressPaneText() const;

    QScrollArea* scrollArea() const { return scroll_; }
    QAction* sourceAction() const { return source_; }
    QAction* translatedAction() const { return translated_; }

signals:
    void translatedRequested();
    void stringAtTableRequested(qint32 lineIndex);
    void bookmarkRequested(qint32 lineIndex);
    // The file's width or height is negative.
    void tooLarge(const QString& message);
    void statusText(const QString& text);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void updateActions();

    CProjectDatabase& project_;
    std::int32_t line_;
    std::filesystem::path sourceScript_;
    std::string name_;
    LanguagePair language_{-1, -1};
    BitmapChoice choice_;
    QImage image_;
    QScrollArea* scroll_;
    QWidget* canvas_;
    QAction* source_;
    QAction* translated_;
};

}  // namespace qln
