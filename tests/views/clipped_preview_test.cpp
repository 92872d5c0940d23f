// The clipped-text check and the dialog preview agree: on windirstat's real
// dialogs in German (its own translation, and a few longer texts put in
// here), every control the check calls clipped is visibly cut in the
// rendered widget, and every control it lets pass shows its whole text.
// "Cut" is measured on pixels: the widget drawn at its own size lacks text
// ink that the same widget drawn with plenty of room has.

#include "views_support.h"

#include "project/ImportScript.h"
#include "project/LayoutChecks.h"
#include "project/TranslationStore.h"
#include "views/ControlWidgets.h"
#include "views/DynDlgView.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <cstring>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

// Pixels of the text's colour (within a tolerance for anti-aliasing edges).
int TextInk(const QImage& image, const QColor& text)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - text.red()) < 90 && std::abs(p.green() - text.green()) < 90 &&
                std::abs(p.blue() - text.blue()) < 90)
                ++ink;
        }
    return ink;
}

// Ink of the widget at its size, and with room to spare in both directions.
std::pair<int, int> InkAtSizeAndWithRoom(QWidget* widget)
{
    const QColor text = widget->palette().color(QPalette::WindowText);
    const QRect geometry = widget->geometry();
    const int constrained = TextInk(widget->grab().toImage(), text);
    widget->resize(geometry.width() * 4 + 400, geometry.height() * 4 + 60);
    const int roomy = TextInk(widget->grab().toImage(), text);
    widget->setGeometry(geometry);
    return {constrained, roomy};
}

// Cut: the roomy rendering has at least a few pixels of ink more (a sliver
// of a glyph is a few pixels; anti-aliasing alone differs by less).
bool VisiblyCut(QWidget* widget)
{
    const auto [constrained, roomy] = InkAtSizeAndWithRoom(widget);
    return roomy - constrained > std::max(3, roomy / 50);
}

bool MeasuredKind(QWidget* w)
{
    return qobject_cast<QLabel*>(w) || qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w) ||
           qobject_cast<QRadioButton*>(w) || qobject_cast<QGroupBox*>(w);
}

std::int32_t DialogLine(CProjectDatabase& project, const std::string& name)
{
    sql::Statement st = project.db().prepare(
        "SELECT LineIndex FROM Dialogs WHERE Name_ID = :n AND Lang_Id = 0 ORDER BY LineIndex LIMIT 1");
    st.bind(":n", name);
    return st.step() ? static_cast<std::int32_t>(st.columnInt64(0)) : -1;
}

std::int32_t TextLine(CProjectDatabase& project, std::int32_t dialog, const std::string& source)
{
    sql::Statement st = project.db().prepare(
        "SELECT c.LineIndex FROM DialogControl c JOIN ResourceText t ON t.LineIndex = c.LineIndex "
        "WHERE c.DlgLine = :d AND c.Lang_Id = 0 AND t.SourceText = :s ORDER BY c.LineIndex LIMIT 1");
    st.bind(":d", dialog);
    st.bind(":s", source);
    return st.step() ? static_cast<std::int32_t>(st.columnInt64(0)) : -1;
}

TEST(ClippedPreview, WhatTheCheckCallsClippedIsVisiblyCutAndWhatFitsIsWhole)
{
    const fs::path corpus = fs::path(QLN_CORPUS_DIR) / "windirstat" / "windirstat";
    if (!fs::is_regular_file(corpus / "windirstat.rc"))
        GTEST_SKIP() << "corpus folder " << corpus << " is absent";
    if (!fs::exists("/usr/share/wine/fonts/ms_sans_serif.ttf"))
        GTEST_SKIP() << "fonts-wine is not installed";
    auto app = MakeApplication();
    TempDir dir;
    const fs::path db = dir / "windirstat_rc.mdb";
    ASSERT_TRUE(BuildProjectDatabase(corpus / "windirstat.rc", db, NoProgress(), TemplatePath()).ok());
    ASSERT_EQ(ImportTranslatedScript(db, corpus / "res" / "wdsr0407" / "windirstat.rc", kGerman).status,
              ImportStatus::Imported);
    CProjectDatabase project(db);

    // Longer German texts on a static, a push button, a check box, a radio
    // button and a group box, so that each kind is seen cut.
    const struct { const char* dialog; const char* source; const char* german; } longer[] = {
        {"IDD_DELETE_WARNING", "Yes", "&Ja, ganz sicher und unwiderruflich"},
        {"IDD_DELETE_WARNING", "&Don't show this warning again.",
         "Diesen Dialog in Zukunft nie wieder anzeigen, auch nicht bei Ordnern"},
        {"IDD_SELECTDRIVES", "&All Local Drives", "&Alle lokalen Laufwerke dieses Rechners und der Netzwerkfreigaben"},
        {"IDD_PAGE_TREEMAP", "St&yle", "Dar&stellungsstil der Kacheln in der Baumkarte"},
        {"IDD_PAGE_GENERAL", "&Language", "Sprache der Benutzeroberfl\xC3\xA4" "che nach dem n\xC3\xA4" "chsten Start"},
    };
    for (const auto& t : longer) {
        const std::int32_t dialog = DialogLine(project, t.dialog);
        ASSERT_GE(dialog, 0) << t.dialog;
        const std::int32_t line = TextLine(project, dialog, t.source);
        ASSERT_GE(line, 0) << t.dialog << " " << t.source;
        ASSERT_TRUE(StoreTranslation(project, line, kGerman.primary, kGerman.sub, t.german));
    }

    int clipped = 0, fits = 0;
    std::set<std::string> clippedKinds;
    for (const char* name : {"IDD_SELECTDRIVES", "IDD_DELETE_WARNING", "IDD_MODALAPISHUTTLE", "IDD_PAGE_CLEANUPS",
                             "IDD_PAGE_TREELIST", "IDD_PAGE_TREEMAP", "IDD_PAGE_GENERAL"}) {
        SCOPED_TRACE(name);
        const std::int32_t dialog = DialogLine(project, name);
        ASSERT_GE(dialog, 0);
        CDynDlgView view(&project, dialog);
        ASSERT_TRUE(view.build(-1, -1));
        view.resize(900, 700);
        view.show();
        // A control whose source text is cut already is the program's own
        // fault: the check does not blame the translation for it.
        std::set<std::int32_t> sourceCut;
        for (const auto& c : view.controls())
            if (c->hasText && !c->captionStrip && MeasuredKind(c->widget) && VisiblyCut(c->widget))
                sourceCut.insert(c->line);
        view.showLanguage(kGerman.primary, kGerman.sub);
        for (const auto& c : view.controls()) {
            if (!c->hasText || c->captionStrip || !MeasuredKind(c->widget) || c->shownText.empty())
                continue;
            SCOPED_TRACE(c->name + " \"" + c->shownText + "\"");
            // The check measures placeholders between their widest values
            // and none, the preview draws them as written: no comparison.
            if (c->shownText.find('%') != std::string::npos)
                continue;
            const bool cut = VisiblyCut(c->widget);
            if (c->clipped) {
                ++clipped;
                clippedKinds.insert(c->widget->metaObject()->className());
                EXPECT_TRUE(cut) << "called clipped, drawn whole";
            } else if (!sourceCut.count(c->line)) {
                ++fits;
                EXPECT_FALSE(cut) << "called fitting, drawn cut";
            }
        }
    }
    std::printf("%d controls called clipped, %d fitting\n", clipped, fits);
    EXPECT_GE(clipped, 5);
    EXPECT_GE(fits, 10);
    EXPECT_GE(clippedKinds.size(), 4u);
}

// The first column right of `from` with a pixel of the text's colour.
int FirstInkColumn(const QImage& image, const QColor& text, int from)
{
    for (int x = from; x < image.width(); ++x)
        if (TextInk(image.copy(x, 0, 1, image.height()), text) > 0)
            return x;
    return -1;
}

// A button of the preview, in the template font, showing `text`.
std::unique_ptr<QWidget> PreviewButton(std::uint32_t style, const char* text, QWidget* dialog)
{
    std::unique_ptr<QWidget> widget(MakeControlWidget(ControlWindow{ControlClass::Button, style, true, false}, dialog));
    widget->setFont(CDynDlgView::templateFont().font);
    SetControlWidgetText(widget.get(), QString::fromUtf8(text));
    widget->show();
    return widget;
}

// The check gives a check box's or radio button's text the control's width
// less 17 pixels for the box and its gap. The preview must draw the text
// exactly there: starting 17 pixels in, whole when the control is as wide as
// the check needs, cut when it is 3 pixels narrower.
TEST(ClippedPreview, CheckBoxAndRadioTextStartWhereTheCheckMeasuresIt)
{
    if (!fs::exists("/usr/share/wine/fonts/ms_sans_serif.ttf"))
        GTEST_SKIP() << "fonts-wine is not installed";
    auto app = MakeApplication();
    const QFont font = CDynDlgView::templateFont().font;
    const FontMeasure measure("MS Sans Serif", 8);
    QWidget dialog;
    dialog.resize(600, 100);
    for (const char* text : {"&Raster anzeigen", "Wide WWW", "&Alle lokalen Laufwerke", "i"}) {
        QLabel label(QString::fromUtf8(text), &dialog);
        label.setFont(font);
        label.setGeometry(0, 0, 300, 20);
        const QColor ink = label.palette().color(QPalette::WindowText);
        const int bearing = FirstInkColumn(label.grab().toImage(), ink, 0);
        for (const std::uint32_t style : {0x3u /* auto check box */, 0x6u /* auto 3-state */, 0x9u /* auto radio */}) {
            SCOPED_TRACE(std::to_string(style) + " \"" + text + "\"");
            const std::unique_ptr<QWidget> widget = PreviewButton(style, text, &dialog);
            const checks::Fit fit = checks::FitText(measure, checks::TextBox::CheckOrRadio,
                                                    checks::DrawnText(text, true, 20, 10), 1000, 20);
            widget->setGeometry(0, 0, fit.needed + 40, 20);
            // Right of the 13-pixel box, the first ink is the text's (the
            // hotkey's underline starts left of a glyph's own ink).
            if (!std::strchr(text, '&')) {
                EXPECT_EQ(FirstInkColumn(widget->grab().toImage(), ink, 13), 17 + bearing);
            }
            widget->setGeometry(0, 0, fit.needed, 20);
            EXPECT_FALSE(VisiblyCut(widget.get())) << "as wide as the check needs (" << fit.needed << " px), drawn cut";
            widget->setGeometry(0, 0, fit.needed - 3, 20);
            EXPECT_TRUE(VisiblyCut(widget.get())) << "3 px narrower than the check needs, drawn whole";
        }
    }
}

// A BS_MULTILINE push button, check box or radio button wraps its text at
// blanks, as the check measures it: two lines held in two lines' height are
// drawn whole, in one line's height cut; without the style, one line is cut.
TEST(ClippedPreview, MultiLineButtonsWrapWhereTheCheckWrapsThem)
{
    if (!fs::exists("/usr/share/wine/fonts/ms_sans_serif.ttf"))
        GTEST_SKIP() << "fonts-wine is not installed";
    auto app = MakeApplication();
    const FontMeasure measure("MS Sans Serif", 8);
    QWidget dialog;
    dialog.resize(600, 100);
    const char* text = "&Raster anzeigen in Farbe";
    const std::string drawn = checks::DrawnText(text, true, 20, 10);
    for (const std::uint32_t style : {0x2000u /* push */, 0x2003u /* auto check box */, 0x2009u /* auto radio */}) {
        SCOPED_TRACE(style);
        const bool push = (style & 0xF) == 0;
        const int cx = measure.textWidth("Raster anzeigen") + (push ? 6 : 17);
        const int twoLines = 2 * measure.lineHeight() + 4, oneLine = measure.lineHeight();
        const checks::TextBox box = push ? checks::TextBox::MultiLineButton : checks::TextBox::MultiLineCheckOrRadio;
        ASSERT_TRUE(checks::FitText(measure, box, drawn, cx, twoLines).fits);
        ASSERT_FALSE(checks::FitText(measure, box, drawn, cx, oneLine).fits);
        for (const bool multiLine : {true, false}) {
            SCOPED_TRACE(multiLine ? "multi-line" : "single line");
            const std::unique_ptr<QWidget> widget =
                PreviewButton(multiLine ? style : style & ~0x2000u, text, &dialog);
            widget->setGeometry(0, 0, cx, twoLines);
            EXPECT_EQ(VisiblyCut(widget.get()), !multiLine);
            if (multiLine) {
                widget->setGeometry(0, 0, cx, oneLine);
                EXPECT_TRUE(VisiblyCut(widget.get())) << "two lines in one line's height";
            }
        }
    }
}

}  // namespace
}  // namespace qln::test
