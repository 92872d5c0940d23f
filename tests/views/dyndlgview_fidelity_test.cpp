// Fidelity of the dialog preview on real scripts: twenty dialogs of the
// corpus, of several fonts and control classes, are opened in the preview,
// and every control widget must sit exactly at its dialog-unit rectangle
// converted with the template font's base units (6 x 13) as Windows rounds
// them, offset by the dialog frame's origin. The conversion is done here,
// not with the view's own.

#include "views_support.h"

#include "views/DynDlgView.h"

#include <QLabel>

#include <map>
#include <set>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

// The dialogs, by script (below the corpus folder) and dialog name.
const std::map<std::string, std::vector<std::string>>& FidelityDialogs()
{
    static const std::map<std::string, std::vector<std::string>> dialogs = {
        {"windirstat/windirstat/windirstat.rc",
         {"IDD_ABOUTBOX", "IDD_SELECTDRIVES", "IDD_DELETE_WARNING", "IDD_MODALAPISHUTTLE", "IDD_PAGE_CLEANUPS",
          "IDD_PAGE_TREELIST", "IDD_PAGE_TREEMAP", "IDD_PAGE_GENERAL"}},
        {"windows-classic-samples/Samples/Win7Samples/dataaccess/oledb/tablecopy/tablecopy.rc",
         {"IDD_FROM_INFO", "IDD_OPTIONS", "IDD_PROGRESS"}},
        {"windows-classic-samples/Samples/Win7Samples/multimedia/directshow/misc/mapper/Mapper.rc",
         {"IDD_MAPPER_DIALOG"}},
        {"windows-classic-samples/Samples/Win7Samples/web/bits/upload/dialog.rc", {"IDD_UPLOADSAMPLECLIENTDIALOG"}},
        {"windows-classic-samples/Samples/Win7Samples/netds/peertopeer/graphchat/vista/GraphChat.rc",
         {"IDD_ABOUTBOX", "IDD_NEWGRAPH", "IDD_WHISPER"}},
        {"windows-classic-samples/Samples/Win7Samples/netds/adsi/general/adqi/ADQI.rc",
         {"IDD_ADQI_DIALOG", "IDD_IADS", "IDD_RENAME", "IDD_IDIRECTORYSEARCH"}},
    };
    return dialogs;
}

// MulDiv as Windows computes it: the product divided, rounded half away from zero.
int WinMulDiv(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

struct DialogRow {
    std::int32_t line = -1;
    int cx = 0, cy = 0;
    bool hasCaption = false;
};

DialogRow FindDialog(CProjectDatabase& project, const std::string& name)
{
    DialogRow row;
    sql::Statement st = project.db().prepare(
        "SELECT LineIndex, cx, cy FROM Dialogs WHERE Name_ID = :n AND Lang_Id = 0 ORDER BY LineIndex LIMIT 1");
    st.bind(":n", name);
    if (!st.step())
        return row;
    row.line = static_cast<std::int32_t>(st.columnInt64(0));
    row.cx = st.columnInt(1);
    row.cy = st.columnInt(2);
    sql::Statement c = project.db().prepare("SELECT COUNT(*) FROM DlgCaption WHERE DlgLine = :d");
    c.bind(":d", row.line);
    row.hasCaption = c.step() && c.columnInt64(0) > 0;
    return row;
}

TEST(DynDlgViewFidelity, EveryControlOfTwentyCorpusDialogsSitsAtItsConvertedRectangle)
{
    const fs::path corpus = fs::path(QLN_CORPUS_DIR);
    for (const auto& [script, names] : FidelityDialogs())
        if (!fs::is_regular_file(corpus / script))
            GTEST_SKIP() << "corpus script " << corpus / script << " is absent";
    auto app = MakeApplication();

    // The documented base units of 8-point "MS Sans Serif" through the substitution table.
    EXPECT_EQ(CDynDlgView::templateFont().units.x, 6);
    EXPECT_EQ(CDynDlgView::templateFont().units.y, 13);
    constexpr int kBaseX = 6, kBaseY = 13;

    int dialogs = 0, controls = 0, combos = 0;
    std::set<int> classes;  // window classes seen
    for (const auto& [script, names] : FidelityDialogs()) {
        TempDir dir;
        BuildResult built = BuildProjectDatabase(corpus / script, dir / "corpus_rc.mdb", NoProgress(), TemplatePath());
        ASSERT_TRUE(built.ok()) << script << ": " << built.message;
        for (const std::string& name : names) {
            SCOPED_TRACE(script + " " + name);
            const DialogRow row = FindDialog(*built.database, name);
            ASSERT_GE(row.line, 0);
            CDynDlgView view(built.database.get(), row.line);
            ASSERT_TRUE(view.build(-1, -1));
            view.resize(800, 700);
            view.show();
            ++dialogs;
            EXPECT_EQ(view.baseUnits().x, kBaseX);
            EXPECT_EQ(view.baseUnits().y, kBaseY);

            // The frame's origin: (5, 5) below a caption strip of 12 dialog units.
            const int caption = row.hasCaption ? WinMulDiv(12, kBaseY, 8) : 0;
            EXPECT_EQ(view.captionHeight(), caption);
            const QPoint origin(5, 5 + caption);
            const auto expected = [&](const DialogUnitRect& r) {
                const int left = WinMulDiv(r.x, kBaseX, 4), right = WinMulDiv(r.x + r.cx, kBaseX, 4);
                const int top = WinMulDiv(r.y, kBaseY, 8), bottom = WinMulDiv(r.y + r.cy, kBaseY, 8);
                return QRect(origin + QPoint(left, top), QSize(right - left, bottom - top));
            };
            EXPECT_EQ(view.dialogPixels(), expected({0, 0, row.cx, row.cy}));

            // Every control of the dialog's rows has its widget, none more.
            sql::Statement count = built.database->db().prepare(
                "SELECT COUNT(*) FROM DialogControl WHERE DlgLine = :d");
            count.bind(":d", row.line);
            ASSERT_TRUE(count.step());
            const auto rows = static_cast<std::size_t>(count.columnInt64(0));
            EXPECT_EQ(view.controls().size(), rows + (row.hasCaption ? 1 : 0));

            for (const auto& c : view.controls()) {
                SCOPED_TRACE(c->name);
                ASSERT_TRUE(c->widget);
                EXPECT_TRUE(c->widget->isVisible());
                if (c->captionStrip) {
                    // Left 4, top 3, right frame width - 15, bottom caption height - 2, from (5, 5).
                    const int width = expected({0, 0, row.cx, row.cy}).width();
                    EXPECT_EQ(c->widget->geometry(), QRect(QPoint(9, 8), QPoint(5 + width - 16, 5 + caption - 3)));
                    continue;
                }
                ++controls;
                classes.insert(static_cast<int>(c->window.windowClass));
                const QRect want = expected(c->sourceRect);
                const QRect got = c->widget->geometry();
                if (c->comboBox) {
                    // The script's height includes the dropped-down list; closed, it is shorter.
                    ++combos;
                    EXPECT_EQ(got.topLeft(), want.topLeft());
                    EXPECT_EQ(got.width(), want.width());
                    EXPECT_LE(got.height(), want.height());
                    EXPECT_GT(got.height(), 0);
                } else {
                    EXPECT_EQ(got, want) << "at " << c->sourceRect.x << ',' << c->sourceRect.y << ' '
                                         << c->sourceRect.cx << 'x' << c->sourceRect.cy;
                }
            }
        }
    }
    EXPECT_EQ(dialogs, 20);
    EXPECT_GT(controls, 200);
    EXPECT_GT(combos, 0);
    EXPECT_GE(classes.size(), 5u);
}

}  // namespace
}  // namespace qln::test
