// The dialog preview built from the demo project's database.

#include "views_support.h"

#include "project/DialogPreview.h"
#include "project/TranslationStore.h"
#include "views/DynDlgView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace qln::test {
namespace {

class DynDlgViewTest : public DemoWindow {
protected:
    std::int32_t converterLine()
    {
        sql::Statement st = project->db().prepare("SELECT LineIndex FROM Dialogs WHERE Name_ID = 'IDD_CONVERTER'");
        EXPECT_TRUE(st.step());
        return static_cast<std::int32_t>(st.columnInt64(0));
    }
    std::int32_t controlLine(std::string_view ident)
    {
        sql::Statement st = project->db().prepare("SELECT LineIndex FROM DialogControl WHERE Name_ID = :id");
        st.bind(":id", ident);
        EXPECT_TRUE(st.step()) << ident;
        return static_cast<std::int32_t>(st.columnInt64(0));
    }
    std::unique_ptr<CDynDlgView> preview(int primary, int sub)
    {
        auto dialog = LoadDialogPreview(*project, converterLine(), primary, sub);
        EXPECT_TRUE(dialog);
        return dialog ? std::make_unique<CDynDlgView>(*dialog) : nullptr;
    }
    static QList<QWidget*> controls(const CDynDlgView& view)
    {
        return view.client()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    }
};

TEST_F(DynDlgViewTest, ConverterHasItsControlsAtTheirPixelRectangles)
{
    auto view = preview(0, 0);
    ASSERT_TRUE(view);
    // The template font's base units.
    EXPECT_EQ(view->baseUnits().x, 6);
    EXPECT_EQ(view->baseUnits().y, 13);
    const auto px = [](int x, int y, int cx, int cy) {
        return QRect((x * 6 + 2) / 4, (y * 13 + 4) / 8, (cx * 6 + 2) / 4, (cy * 13 + 4) / 8);
    };
    EXPECT_EQ(view->client()->size(), px(0, 0, 260, 186).size());
    EXPECT_EQ(view->captionLabel()->text(), "Quillon Demo");
    const QList<QWidget*> w = controls(*view);
    ASSERT_EQ(w.size(), 18);
    EXPECT_TRUE(qobject_cast<QLabel*>(w[0]));   // the icon
    EXPECT_EQ(qobject_cast<QLabel*>(w[1])->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(qobject_cast<QGroupBox*>(w[2])->title(), "Category");
    EXPECT_EQ(qobject_cast<QRadioButton*>(w[3])->text(), "&Length");
    EXPECT_EQ(w[3]->geometry(), px(14, 45, 66, 10));
    EXPECT_TRUE(qobject_cast<QLineEdit*>(w[7]));
    EXPECT_EQ(w[7]->geometry(), px(95, 44, 70, 14));
    auto* from = qobject_cast<QComboBox*>(w[9]);
    ASSERT_TRUE(from);
    // Closed, a combo box keeps its place and width but not the list's height.
    EXPECT_EQ(from->geometry().topLeft(), px(95, 72, 70, 80).topLeft());
    EXPECT_EQ(from->width(), px(95, 72, 70, 80).width());
    EXPECT_LT(from->height(), px(95, 72, 70, 80).height());
    EXPECT_EQ(qobject_cast<QPushButton*>(w[12])->text(), "&Convert");
    EXPECT_EQ(w[12]->geometry(), px(175, 43, 78, 14));
    EXPECT_EQ(qobject_cast<QLabel*>(w[14])->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(qobject_cast<QListWidget*>(w[17]));
    EXPECT_EQ(w[17]->geometry(), px(7, 128, 246, 51));
    // "&Value:" shows its hotkey and hands it to the edit field after it.
    EXPECT_EQ(qobject_cast<QLabel*>(w[6])->buddy(), w[7]);
    EXPECT_EQ(qobject_cast<QLabel*>(w[15])->buddy(), nullptr);  // SS_NOPREFIX
}

TEST_F(DynDlgViewTest, ShowsStoredTranslationsAndTheLanguageLayout)
{
    ASSERT_TRUE(StoreTranslation(*project, controlLine("IDC_CONVERT"), kGerman.primary, kGerman.sub, "&Umrechnen"));
    project->db().exec("INSERT INTO DialogControl (LineIndex, DlgLine, Lang_Id, Name_ID, Class, Type, Flags, x, y, "
                       "cx, cy) SELECT LineIndex, DlgLine, 7 + 1024, Name_ID, Class, Type, Flags, 170, 43, 83, 14 "
                       "FROM DialogControl WHERE Name_ID = 'IDC_CONVERT' AND Lang_Id = 0");
    auto german = preview(kGerman.primary, kGerman.sub);
    ASSERT_TRUE(german);
    auto* convert = german->client()->findChild<QPushButton*>("IDC_CONVERT");
    ASSERT_TRUE(convert);
    EXPECT_EQ(convert->text(), "&Umrechnen");
    EXPECT_EQ(convert->geometry(), german->toPixels({170, 43, 83, 14}));
    // Untranslated texts show the source.
    EXPECT_EQ(german->client()->findChild<QPushButton*>("IDC_SWAP")->text(), "&Swap");
    auto source = preview(0, 0);
    EXPECT_EQ(source->client()->findChild<QPushButton*>("IDC_CONVERT")->text(), "&Convert");
    EXPECT_EQ(source->client()->findChild<QPushButton*>("IDC_CONVERT")->geometry(),
              source->toPixels({175, 43, 78, 14}));
}

TEST_F(DynDlgViewTest, UnknownClassIsAFrameAndClassesFollowTheirStyles)
{
    project->db().exec("UPDATE DialogControl SET Type = 2, Class = '\"SysListView32\"' WHERE Name_ID = 'IDC_HISTORY'");
    auto view = preview(0, 0);
    ASSERT_TRUE(view);
    QWidget* history = view->client()->findChild<QWidget*>("IDC_HISTORY");
    ASSERT_TRUE(history);
    EXPECT_STREQ(history->metaObject()->className(), "QFrame");
    EXPECT_EQ(qobject_cast<QFrame*>(history)->frameShape(), QFrame::Box);
    EXPECT_EQ(history->geometry(), view->toPixels({7, 128, 246, 51}));

    EXPECT_EQ(ControlKindOf(2, "\"Button\"", 0x50010003), ControlKind::CheckBox);
    EXPECT_EQ(ControlKindOf(2, "BUTTON", 0x9), ControlKind::RadioButton);
    EXPECT_EQ(ControlKindOf(2, "Button", 0x7), ControlKind::GroupBox);
    EXPECT_EQ(ControlKindOf(2, "Button", 0xB), ControlKind::Unknown);
    EXPECT_EQ(ControlKindOf(2, "\"msctls_trackbar32\"", 0), ControlKind::Unknown);
    EXPECT_EQ(ControlKindOf(2, "ScrollBar", 1), ControlKind::ScrollBar);
}

}  // namespace
}  // namespace qln::test
