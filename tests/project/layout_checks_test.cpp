// Measuring dialog texts: the font table gives the base units Windows gives
// its dialog fonts, texts wrap and fit as controls draw them, and on a real
// project a long translation is clipped, a wider language layout fixes it,
// and a control moved onto another in the language layout overlaps it.

#include "project/DialogFonts.h"
#include "project/LayoutChecks.h"
#include "project/ProjectBuild.h"
#include "project/TranslationChecks.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "projectdb/db_fixture.h"
#include "rcscript/RcTokens.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qln::checks {
namespace {

namespace fs = std::filesystem;

bool HaveDialogFonts()
{
    return fs::exists("/usr/share/wine/fonts/ms_sans_serif.ttf") && fs::exists("/usr/share/wine/fonts/tahoma.ttf");
}

TEST(DialogFonts, BaseUnitsAreThoseWindowsGivesItsDialogFonts)
{
    if (!HaveDialogFonts())
        GTEST_SKIP() << "fonts-wine is not installed";
    struct Case { const char* face; int points; int x, y; };
    // 8-point MS Sans Serif and Tahoma are 6 x 13 at 96 dpi, the 10-point System font 8 x 16.
    for (const Case& c : {Case{"MS Sans Serif", 8, 6, 13}, Case{"MS Shell Dlg", 8, 6, 13}, Case{"ms shell dlg 2", 8, 6, 13},
                          Case{"Tahoma", 8, 6, 13}, Case{"System", 10, 8, 16}}) {
        const FontMeasure font(c.face, c.points);
        EXPECT_EQ(font.baseUnits().x, c.x) << c.face;
        EXPECT_EQ(font.baseUnits().y, c.y) << c.face;
    }
    const BaseUnits units{6, 13};
    EXPECT_EQ(units.toPixelsX(50), 75);
    EXPECT_EQ(units.toPixelsY(14), 23);
}

TEST(DialogFonts, TextsWrapAndFitAsControlsDrawThem)
{
    if (!HaveDialogFonts())
        GTEST_SKIP() << "fonts-wine is not installed";
    const FontMeasure font("MS Shell Dlg", 8);
    const int ok = font.textWidth("OK"), cancel = font.textWidth("Cancel");
    EXPECT_GT(cancel, ok);
    EXPECT_EQ(font.textWidth("OK Cancel"), ok + font.textWidth(" ") + cancel);
    EXPECT_EQ(WrapText(font, "one two three", font.textWidth("one two")),
              (std::vector<std::string>{"one two", "three"}));
    EXPECT_EQ(WrapText(font, "a\nb", 1000), (std::vector<std::string>{"a", "b"}));
    // A check box needs room for its box beside the text; a group box's text is indented.
    EXPECT_TRUE(FitText(font, TextBox::Button, "Cancel", cancel + 6, 14).fits);
    EXPECT_FALSE(FitText(font, TextBox::CheckOrRadio, "Cancel", cancel + 6, 14).fits);
    EXPECT_FALSE(FitText(font, TextBox::WrappedStatic, "one two three", font.textWidth("one two"), 13).fits);
    EXPECT_TRUE(FitText(font, TextBox::WrappedStatic, "one two three", font.textWidth("one two"), 26).fits);
    EXPECT_FALSE(FitText(font, TextBox::SingleLineStatic, "one two three", font.textWidth("one two"), 26).fits);
    // A multi-line check box wraps beside its box: two lines need two lines' height.
    const int beside = font.textWidth("one two") + 17;
    const Fit low = FitText(font, TextBox::MultiLineCheckOrRadio, "one two three", beside, 13);
    EXPECT_FALSE(low.fits);
    EXPECT_TRUE(low.tooHigh);
    EXPECT_TRUE(FitText(font, TextBox::MultiLineCheckOrRadio, "one two three", beside, 26).fits);
    EXPECT_FALSE(FitText(font, TextBox::MultiLineCheckOrRadio, "one two three", font.textWidth("three") + 16, 100).fits);
    const Fit single = FitText(font, TextBox::CheckOrRadio, "one two three", beside, 26);
    EXPECT_FALSE(single.fits);
    EXPECT_FALSE(single.tooHigh);
}

TEST(LayoutChecks, DrawnTextAndControlKinds)
{
    EXPECT_EQ(DrawnText("&Open \"\"%s\"\"\\tnow\\r\\nsaved %d", true, 3, 2), "Open \"WWW\" now\nsaved 00");
    EXPECT_EQ(DrawnText("Tom && Jerry &100%%", true, 3, 2), "Tom & Jerry 100%");
    EXPECT_EQ(DrawnText("Tom && Jerry", false, 3, 2), "Tom && Jerry");
    EXPECT_EQ(TextBoxOf(tok::KwLText, "", 0), TextBox::WrappedStatic);
    EXPECT_EQ(TextBoxOf(tok::KwControl, "Button", 3), TextBox::CheckOrRadio);        // BS_AUTOCHECKBOX
    EXPECT_EQ(TextBoxOf(tok::KwControl, "Button", 7), TextBox::GroupBox);            // BS_GROUPBOX
    EXPECT_EQ(TextBoxOf(tok::KwControl, "button", 0x2000), TextBox::MultiLineButton);
    EXPECT_EQ(TextBoxOf(tok::KwControl, "Button", 0x2003), TextBox::MultiLineCheckOrRadio);
    EXPECT_EQ(TextBoxOf(tok::KwAutoRadioButton, "", 0x2000), TextBox::MultiLineCheckOrRadio);
    EXPECT_EQ(TextBoxOf(tok::KwPushButton, "", 0x2000), TextBox::MultiLineButton);
    EXPECT_EQ(TextBoxOf(tok::KwControl, "Static", 0xC), TextBox::SingleLineStatic);  // SS_LEFTNOWORDWRAP
    EXPECT_EQ(TextBoxOf(tok::KwControl, "Static", 3), TextBox::None);                // SS_ICON
    EXPECT_EQ(TextBoxOf(tok::KwEditText, "", 0), TextBox::None);
    EXPECT_FALSE(UsesPrefix(tok::KwControl, "Static", 0x80));
    const DialogFont font = ParseFontStatement("FONT 9, \"Segoe UI\", 400, 0, 0x1");
    EXPECT_EQ(font.face, "Segoe UI");
    EXPECT_EQ(font.pointSize, 9);
}

class LayoutProject : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDialogFonts())
            GTEST_SKIP() << "fonts-wine is not installed";
        const fs::path script = dir_ / "dlg.rc";
        std::ofstream(script) << "#include <windows.h>\n"
                                 "IDD_ONE DIALOGEX 0, 0, 200, 100\n"
                                 "CAPTION \"One\"\n"
                                 "FONT 8, \"MS Shell Dlg\", 400, 0, 0x1\n"
                                 "BEGIN\n"
                                 "    LTEXT \"Name:\", 1001, 7, 7, 30, 8\n"
                                 "    PUSHBUTTON \"OK\", IDOK, 7, 20, 50, 14\n"
                                 "    CONTROL \"Keep\", 1002, \"Button\", BS_AUTOCHECKBOX | WS_TABSTOP, 7, 40, 40, 10\n"
                                 "    EDITTEXT 1003, 40, 7, 100, 12\n"
                                 "END\n";
        fs::copy_file(DefaultTemplatePath(), db_);
        project_ = std::make_unique<CProjectDatabase>(db_);
        ASSERT_EQ(BuildFromScript(script, *project_), 0);
        ASSERT_TRUE(AddLanguage(*project_, 7, 1, 1252));
    }
    void translate(const char* source, const char* german)
    {
        project_->db().exec(std::string("UPDATE ResourceText SET German = '") + german + "' WHERE SourceText = '" +
                            source + "'");
    }
    std::vector<Finding> findings(const char* check)
    {
        CheckOptions options;
        options.checks = {check};
        return CheckTranslation(*project_, "German", options).findings;
    }
    // A German layout for the control with the given text.
    void germanLayout(const char* source, int x, int y, int cx, int cy)
    {
        project_->db().exec(
            "INSERT INTO DialogControl (LineIndex, DlgLine, Lang_Id, Name_ID, Class, Type, Flags, x, y, cx, cy) "
            "SELECT c.LineIndex, c.DlgLine, 7 + 1024, c.Name_ID, c.Class, c.Type, c.Flags, " +
            std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(cx) + ", " + std::to_string(cy) +
            " FROM DialogControl c JOIN ResourceText t ON t.LineIndex = c.LineIndex WHERE c.Lang_Id = 0 AND "
            "t.SourceText = '" + source + "'");
    }
    test::TempDir dir_;
    fs::path db_ = dir_ / "dlg_rc.mdb";
    std::unique_ptr<CProjectDatabase> project_;
};

TEST_F(LayoutProject, LongTranslationsAreClippedUntilTheLanguageLayoutMakesRoom)
{
    translate("Name:", "Name:");
    translate("OK", "OK");
    translate("Keep", "Behalten");
    EXPECT_TRUE(findings("clipped").empty());
    translate("Name:", "Vollständiger Benutzername:");
    translate("OK", "Übernehmen und schließen");
    translate("Keep", "Einstellungen dauerhaft behalten");
    const std::vector<Finding> clipped = findings("clipped");
    ASSERT_EQ(clipped.size(), 3u);
    EXPECT_NE(clipped[0].message.find("MS Shell Dlg 8"), std::string::npos);
    germanLayout("Name:", 7, 7, 100, 8);
    germanLayout("OK", 7, 20, 120, 14);
    germanLayout("Keep", 7, 40, 140, 10);
    EXPECT_TRUE(findings("clipped").empty());
}

TEST_F(LayoutProject, APlaceholderTextIsClippedWhenCutEvenWithThePlaceholderEmpty)
{
    // At its widest (20 W) "%s" does not fit the 30 units of the static in
    // the source either; then only a translation cut with "%s" empty is blamed.
    project_->db().exec("UPDATE ResourceText SET SourceText = '%s items' WHERE SourceText = 'Name:'");
    translate("%s items", "%s Dinge");
    EXPECT_TRUE(findings("clipped").empty());
    translate("%s items", "%s vollst\u00E4ndig gez\u00E4hlte Eintr\u00E4ge");
    EXPECT_EQ(findings("clipped").size(), 1u);
}

TEST_F(LayoutProject, OverlapsOnlyWhereTheLanguageLayoutMadeThem)
{
    EXPECT_TRUE(findings("overlap").empty());
    germanLayout("Name:", 7, 7, 60, 8);  // now reaches into the edit box at x = 40
    const std::vector<Finding> overlaps = findings("overlap");
    ASSERT_EQ(overlaps.size(), 1u);
    EXPECT_EQ(overlaps[0].sourceText, "Name:");
}

}  // namespace
}  // namespace qln::checks
