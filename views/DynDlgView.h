#pragma once
// CDynDlgView: the preview of one dialog as real widgets on a scrolled
// canvas. The dialog's frame has its caption strip and every control at its
// rectangle in dialog units, mapped to pixels with the base units of the
// template font (8-point "MS Sans Serif" through the font substitution
// table), offset by (5, caption height + 5). Texts show in the source or in
// one translation, coloured by their state; a click selects the smallest
// control with a text under the pointer.
//
// The layout editor derives from this view: it moves controls with
// moveControl()/setDialogSize(), applies per-language rows in
// applyLanguageLayout(), handles presses in controlPressed() and draws its
// trackers in paintOverDialog(). Pixel positions are canvas coordinates
// (the canvas scrolls, so they need no scroll offset).

#include "project/DialogFonts.h"
#include "project/DialogPreview.h"
#include "projectdb/Languages.h"

#include <QFont>
#include <QScrollArea>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class QMenu;
class QMouseEvent;
class QPainter;

namespace qln {

class CDynDlgView;
class CDialogCanvas;
class CDialogOverlay;

// One control of the preview; the widget belongs to the view's canvas.
class CControlWnd {
public:
    std::int32_t line = -1;     // the text's LineIndex (the control's id)
    std::string name;           // Name_ID; "Dialog Caption" for the caption strip
    QWidget* widget = nullptr;
    bool hasText = false;
    bool modified = false;      // for the shown language
    bool excluded = false;
    bool translated = false;    // a non-empty translation in the shown language
    bool comboBox = false;      // its script height includes the dropped-down list
    bool captionStrip = false;
    bool clipped = false;       // the clipped-text check finds its text too big
    DialogUnitRect sourceRect;  // dialog units, the source row (empty for the caption strip)
    DialogUnitRect currentRect; // dialog units, as shown now
    ControlWindow window;       // class and style the widget was made for
    int lineKind = 0;
    std::string className;
    std::string sourceText;     // script form
    std::string shownText;      // script form, what the widget shows
    CDynDlgView* view = nullptr;

    // "name, Excluded" / ", Modified" / ", Translated", or the name alone.
    QString toolTip() const;
};

class CDynDlgView : public QScrollArea {
    Q_OBJECT
public:
    CDynDlgView(CProjectDatabase* project, std::int32_t dialogLine, QWidget* parent = nullptr);
    ~CDynDlgView() override;

    // Builds the dialog from the database and shows it in a language
    // ((-1, -1): the source). False when the line is no dialog.
    bool build(int primary, int sub);
    bool isBuilt() const { return built_; }
    // Switches every text, the font and the layout to a language or the source.
    void showLanguage(int primary, int sub);

    CProjectDatabase* project() const { return project_; }
    // The database went away (the project is being updated or closed).
    void detachProject() { project_ = nullptr; }
    std::int32_t dialogLine() const { return dialogLine_; }
    const std::string& dialogName() const { return dialogName_; }
    std::int32_t captionLine() const { return captionLine_; }
    LanguagePair language() const { return language_; }
    bool sourceShown() const { return language_.primary < 0; }

    // --- Geometry ---------------------------------------------------------------------
    const std::vector<std::unique_ptr<CControlWnd>>& controls() const { return controls_; }
    CControlWnd* controlOfLine(std::int32_t line) const;
    // Canvas pixels of a rectangle in dialog units: its corners mapped with
    // the template font's base units, offset by (5, caption height + 5).
    QRect toPixels(const DialogUnitRect& rect) const;
    const BaseUnits& baseUnits() const { return units_; }
    double scaleX() const { return scaleX_; }
    double scaleY() const { return scaleY_; }
    int captionHeight() const { return captionHeight_; }
    QSize sourceSize() const { return sourceSize_; }
    QSize currentSize() const { return currentSize_; }
    // The dialog's frame in canvas pixels (below the caption strip).
    QRect dialogPixels() const;
    // Moves a control to a rectangle in dialog units (current rectangle and widget).
    void moveControl(CControlWnd& control, const DialogUnitRect& rect);
    // Sets the current dialog size and lays the frame and caption strip out again.
    void setDialogSize(int cx, int cy);
    QWidget* canvas() const;

    // --- Selection and commands -------------------------------------------------------
    const std::vector<CControlWnd*>& selection() const { return selection_; }
    CControlWnd* selected() const { return selection_.empty() ? nullptr : selection_.front(); }
    // Selects one control (null clears) and announces it as the current item.
    void select(CControlWnd* control);
    void setSelection(std::vector<CControlWnd*> controls);
    bool selectLine(std::int32_t line);
    // Among the controls with a text, the smallest containing the point.
    CControlWnd* hitTest(const QPoint& canvasPoint) const;
    // Next / previous control with a text, wrapping once around the list.
    void nextItem();
    void previousItem();
    // The selected control's text, to be shown in the text table.
    void stringResource();
    // Pops up the context menu ("String at Table", "Bookmark...") at a canvas point.
    void showContextMenu(const QPoint& canvasPoint);

    // --- Texts and status -------------------------------------------------------------
    // Reads one text again (after a translation was stored or excluded).
    void refreshText(std::int32_t line);
    // The template font, or the project's font for the shown language.
    QFont controlFont() const { return font_; }
    DialogPercentages percentages();
    QString languagePaneText() const;
    QString progressPaneText();

    // The template font (8-point "MS Sans Serif" through the substitution
    // table) and its base units, loaded once.
    struct TemplateFont {
        QFont font;
        BaseUnits units;
    };
    static const TemplateFont& templateFont();

signals:
    // The selected control changed, or should be shown as the current item again.
    void itemSelected(qint32 line);
    void stringResourceRequested(qint32 line);
    void bookmarkRequested(qint32 line, int itemKind);
    void languageShown(int primary, int sub);
    void panesChanged();
    // Enter on a control: the translator wants to type its translation.
    void translateRequested();

protected:
    // A press on the canvas (a control's or the background's): selects the
    // control under the point; the right button also pops up the context menu.
    virtual void controlPressed(CControlWnd* hit, QMouseEvent* event);
    // Drawn over the controls: the red outline of clipped texts.
    virtual void paintOverDialog(QPainter& painter);
    // Sets every control and the dialog to the layout of a language
    // (Lang_Id; 0 for the source): here always the source layout.
    virtual void applyLanguageLayout(std::int32_t langId);
    // The caption strip's background.
    virtual QColor captionStripBackground() const;
    // Paints the window colour, the dialog's face, outline and selection mark.
    virtual void paintDialog(QPainter& painter, const QRect& exposed);
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

    void updateCanvas();

private:
    friend class CDialogCanvas;
    friend class CDialogOverlay;
    void makeCaptionStrip(const PreviewCaption& caption);
    void makeControl(const PreviewControl& control);
    void placeWidget(CControlWnd& control);
    void placeCaptionStrip();
    void applyText(CControlWnd& control, const ShownTextState& state);
    void applyColours(CControlWnd& control);
    void loadFonts();
    QFont fontForLanguage(int primary, int sub) const;
    void resizeCanvas();
    void step(bool forward);

    CProjectDatabase* project_;
    std::int32_t dialogLine_;
    std::string dialogName_;
    bool built_ = false;
    BaseUnits units_;
    double scaleX_ = 0, scaleY_ = 0;
    int captionHeight_ = 0;
    std::int32_t captionLine_ = -1;
    QSize sourceSize_, currentSize_;
    LanguagePair language_{-1, -1};
    std::vector<std::unique_ptr<CControlWnd>> controls_;
    std::vector<CControlWnd*> selection_;
    QFont font_;
    std::map<std::int32_t, QFont> languageFonts_;  // by Lang_Id
    std::optional<DialogPercentages> percentages_;
    CDialogCanvas* canvas_;
    QWidget* overlay_;
};

}  // namespace qln
