// The dialog preview built from the demo project's database: controls at
// their pixel rectangles, classes as widgets, texts and colours by state,
// the caption strip, selection by click, next and previous, percentages.

#include "views_support.h"

#include "project/DialogPreview.h"
#include "project/TranslationStore.h"
#include "views/ControlWidgets.h"
#include "views/DynDlgView.h"

#include "rcscript/RcTokens.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

namespace qln::test {
namespace {

class DynDlgViewTest : public DemoWindow {
protected:
    std::int32_t dialogLine(std::string_view name = "IDD_CONVERTER")
    {
        sql::Statement st = project->db().prepare("SELECT LineIndex FROM Dialogs WHERE Name_ID = :n AND Lang_Id = 0");
        st.bind(":n", name);
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
    std::unique_ptr<CDynDlgView> preview(int primary, int sub, std::string_view name = "IDD_CONVERTER")
    {
        auto view = std::make_unique<CDynDlgView>(project.get(), dialogLine(name));
        EXPECT_TRUE(view->build(primary, sub));
        view->resize(600, 500);
        view->show();
        return view;
    }
    static CControlWnd* byName(const CDynDlgView& view, std::string_view name, int nth = 0)
    {
        for (const auto& c : view.controls())
            if (c->name == name && nth-- == 0)
                return c.get();
        return nullptr;
    }
    static CControlWnd* byText(const CDynDlgView& view, const QString& text)
    {
        for (const auto& c : view.controls())
            if (ControlWidgetText(c->widget) == text)
                return c.get();
        return nullptr;
    }
    static QColor textColour(const CControlWnd& c) { return c.widget->palette().color(QPalette::WindowText); }
};

TEST_F(DynDlgViewTest, ControlsSitAtTheirConvertedRectanglesAsTheirClasses)
{
    auto view = preview(-1, -1);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->baseUnits().x, 6);
    EXPECT_EQ(view->baseUnits().y, 13);
    // 12 dialog units of caption; corners mapped, then offset by (5, 5 + caption).
    EXPECT_EQ(view->captionHeight(), 20);
    const auto px = [](int x, int y, int cx, int cy) {
        const auto X = [](int v) { return (v * 6 + 2) / 4; };
        const auto Y = [](int v) { return (v * 13 + 4) / 8; };
        return QRect(QPoint(5 + X(x), 25 + Y(y)), QPoint(5 + X(x + cx) - 1, 25 + Y(y + cy) - 1));
    };
    EXPECT_EQ(view->toPixels({0, 0, 260, 186}), px(0, 0, 260, 186));
    EXPECT_DOUBLE_EQ(view->scaleX(), 390.0 / 260);
    EXPECT_EQ(view->sourceSize(), QSize(260, 186));

    // The caption strip: left 4, top 3, right width - 15, bottom caption height - 2, offset by (5, 5).
    CControlWnd* caption = view->controls().front().get();
    ASSERT_TRUE(caption->captionStrip);
    EXPECT_EQ(caption->name, "Dialog Caption");
    EXPECT_EQ(caption->widget->geometry(), QRect(QPoint(9, 8), QPoint(5 + 390 - 16, 5 + 20 - 3)));
    EXPECT_EQ(qobject_cast<QLabel*>(caption->widget)->text(), "Quillon Demo");
    EXPECT_EQ(caption->widget->palette().color(QPalette::Window), QColor(0, 0, 128));
    EXPECT_EQ(textColour(*caption), QColor(255, 255, 255));

    ASSERT_EQ(view->controls().size(), 19u);
    CControlWnd* icon = view->controls()[1].get();
    EXPECT_FALSE(icon->hasText);
    EXPECT_EQ(qobject_cast<QFrame*>(icon->widget)->frameShape(), QFrame::Box);  // ICON: a black frame
    EXPECT_EQ(icon->widget->geometry(), px(7, 7, 20, 20));
    EXPECT_EQ(qobject_cast<QLabel*>(view->controls()[2]->widget)->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_EQ(qobject_cast<QGroupBox*>(view->controls()[3]->widget)->title(), "Category");
    CControlWnd* length = byName(*view, "IDC_CAT_LENGTH");
    EXPECT_EQ(qobject_cast<QRadioButton*>(length->widget)->text(), "&Length");
    EXPECT_EQ(length->widget->geometry(), px(14, 45, 66, 10));
    EXPECT_EQ(length->sourceRect, (DialogUnitRect{14, 45, 66, 10}));
    CControlWnd* value = byName(*view, "IDC_VALUE");
    EXPECT_TRUE(qobject_cast<QLineEdit*>(value->widget));
    EXPECT_FALSE(value->hasText);  // EDITTEXT shows no text
    // Closed, a combo box keeps its place and width but not the list's height.
    CControlWnd* from = byName(*view, "IDC_FROM_UNIT");
    ASSERT_TRUE(from->comboBox);
    EXPECT_EQ(from->widget->geometry().topLeft(), px(95, 72, 70, 80).topLeft());
    EXPECT_EQ(from->widget->width(), px(95, 72, 70, 80).width());
    EXPECT_LT(from->widget->height(), px(95, 72, 70, 80).height());
    EXPECT_TRUE(qobject_cast<QPushButton*>(byName(*view, "IDC_CONVERT")->widget)->isDefault());
    EXPECT_TRUE(qobject_cast<QListView*>(byName(*view, "IDC_HISTORY")->widget));
    EXPECT_EQ(byName(*view, "IDC_HISTORY")->widget->geometry(), px(7, 128, 246, 51));
    // The template font is the view's font, the source its colour.
    EXPECT_EQ(length->widget->font(), CDynDlgView::templateFont().font);
    EXPECT_EQ(textColour(*length), QColor(0, 0, 0));
    EXPECT_EQ(view->languagePaneText(), "Source Dialog");
    EXPECT_EQ(view->progressPaneText(), "");
}

TEST_F(DynDlgViewTest, TextsAndColoursFollowTheirStateInTheLanguage)
{
    const std::int32_t convert = controlLine("IDC_CONVERT"), swap = controlLine("IDC_SWAP"),
                       mass = controlLine("IDC_CAT_MASS"), length = controlLine("IDC_CAT_LENGTH");
    ASSERT_TRUE(StoreTranslation(*project, convert, kGerman.primary, kGerman.sub, "&Umrechnen"));
    ASSERT_TRUE(StoreTranslation(*project, mass, kGerman.primary, kGerman.sub, "&Masse"));
    ASSERT_TRUE(StoreTranslation(*project, length, kGerman.primary, kGerman.sub, "&L\xC3\xA4nge"));
    // Mass: translated but excluded; Length: its source changed since.
    project->db().exec("UPDATE ResourceText SET Exclude = 1 WHERE LineIndex = " + std::to_string(mass));
    project->db().exec("UPDATE ResourceText SET \"" + LanguageFlagColumn("German") + "\" = 1 WHERE LineIndex = " +
                       std::to_string(length));
    // An empty translation is no translation.
    ASSERT_TRUE(StoreTranslation(*project, swap, kGerman.primary, kGerman.sub, ""));

    auto view = preview(kGerman.primary, kGerman.sub);
    CControlWnd* c = byName(*view, "IDC_CONVERT");
    EXPECT_EQ(ControlWidgetText(c->widget), "&Umrechnen");
    EXPECT_TRUE(c->translated);
    EXPECT_EQ(textColour(*c), QColor(0, 0, 0));
    EXPECT_EQ(c->widget->toolTip(), "IDC_CONVERT, Translated");
    CControlWnd* s = byName(*view, "IDC_SWAP");
    EXPECT_EQ(ControlWidgetText(s->widget), "&Swap");
    EXPECT_EQ(textColour(*s), QColor(0, 0, 255));
    EXPECT_EQ(s->widget->toolTip(), "IDC_SWAP");
    CControlWnd* m = byName(*view, "IDC_CAT_MASS");
    EXPECT_EQ(ControlWidgetText(m->widget), "&Mass");  // excluded: the source form
    EXPECT_EQ(textColour(*m), QColor(128, 128, 128));
    EXPECT_EQ(m->widget->toolTip(), "IDC_CAT_MASS, Excluded");
    CControlWnd* l = byName(*view, "IDC_CAT_LENGTH");
    EXPECT_EQ(ControlWidgetText(l->widget), "&L\xC3\xA4nge");
    EXPECT_EQ(textColour(*l), QColor(255, 0, 0));
    EXPECT_EQ(l->widget->toolTip(), "IDC_CAT_LENGTH, Modified");
    // The caption strip is untranslated: cyan on dark blue.
    EXPECT_EQ(textColour(*view->controls().front()), QColor(0, 255, 255));
    EXPECT_EQ(view->languagePaneText(), "German Dialog");
    // 12 texts count (Mass is excluded, the result is empty): 2 translated, 1 modified, each rounded up.
    long total = 0;
    for (const auto& control : view->controls())
        total += control->hasText && !control->excluded && !control->sourceText.empty() ? 1 : 0;
    EXPECT_EQ(total, 12);
    EXPECT_EQ(view->percentages().translated, 17);  // 200 / 12 = 16.7
    EXPECT_EQ(view->percentages().modified, 9);     // 100 / 12 = 8.3
    EXPECT_EQ(view->progressPaneText(), "Translated: 17%  Modified: 9%");

    // Back to the source: every text in its source form, black.
    view->showLanguage(-1, -1);
    EXPECT_EQ(ControlWidgetText(c->widget), "&Convert");
    EXPECT_EQ(textColour(*c), QColor(0, 0, 0));
    EXPECT_EQ(textColour(*l), QColor(0, 0, 0));
    EXPECT_EQ(textColour(*m), QColor(128, 128, 128));
    // A translation stored later shows when its line is read again.
    view->showLanguage(kGerman.primary, kGerman.sub);
    ASSERT_TRUE(StoreTranslation(*project, swap, kGerman.primary, kGerman.sub, "&Tauschen"));
    view->refreshText(swap);
    EXPECT_EQ(ControlWidgetText(s->widget), "&Tauschen");
    EXPECT_EQ(textColour(*s), QColor(0, 0, 0));
    EXPECT_EQ(view->percentages().translated, 25);
}

TEST_F(DynDlgViewTest, ModifiedCaptionUpperCaseButtonAndCustomClass)
{
    // A caption whose source changed is not shown; the controls move up.
    project->db().exec("UPDATE ResourceText SET Modified = 1 WHERE SourceText = 'Quillon Demo'");
    project->db().exec("UPDATE DialogControl SET Type = 2, Class = '\"Button\"', Flags = 0x50010003 "
                       "WHERE Name_ID = 'IDC_CAT_MASS'");
    project->db().exec("UPDATE DialogControl SET Type = 2, Class = '\"MyOwnGraph\"' WHERE Name_ID = 'IDC_HISTORY'");
    auto view = preview(-1, -1);
    EXPECT_EQ(view->captionHeight(), 0);
    EXPECT_EQ(view->captionLine(), -1);
    for (const auto& c : view->controls())
        EXPECT_FALSE(c->captionStrip);
    CControlWnd* mass = byName(*view, "IDC_CAT_MASS");
    EXPECT_TRUE(qobject_cast<QCheckBox*>(mass->widget));  // BS_AUTOCHECKBOX
    EXPECT_EQ(ControlWidgetText(mass->widget), "&Mass");
    EXPECT_EQ(mass->window.style & winstyle::TabStop, 0u);
    CControlWnd* graph = byName(*view, "IDC_HISTORY");
    EXPECT_STREQ(graph->widget->metaObject()->className(), "QFrame");
    EXPECT_EQ(qobject_cast<QFrame*>(graph->widget)->frameShape(), QFrame::Box);
    EXPECT_EQ(graph->widget->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(graph->widget->geometry(), view->toPixels({7, 128, 246, 51}));
    EXPECT_EQ(graph->widget->geometry().top(), 5 + (128 * 13 + 4) / 8);
    EXPECT_FALSE(graph->hasText);
}

TEST_F(DynDlgViewTest, ClicksSelectTheSmallestTextControlAndItemsWrap)
{
    auto view = preview(kGerman.primary, kGerman.sub);
    QSignalSpy selected(view.get(), &CDynDlgView::itemSelected);
    // Built: the first control with a text (the caption) is selected.
    ASSERT_TRUE(view->selected());
    EXPECT_TRUE(view->selected()->captionStrip);
    // A click inside the group box on a radio button picks the radio button.
    CControlWnd* temperature = byName(*view, "IDC_CAT_TEMPERATURE");
    QTest::mouseClick(view->canvas(), Qt::LeftButton, {}, temperature->widget->geometry().center());
    EXPECT_EQ(view->selected(), temperature);
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.back().at(0).toInt(), temperature->line);
    // Inside the group box but on no radio button: the group box.
    const QRect group = view->controls()[3]->widget->geometry();
    QTest::mouseClick(view->canvas(), Qt::LeftButton, {}, group.bottomLeft() + QPoint(3, -3));
    EXPECT_EQ(view->selected(), view->controls()[3].get());
    // The edit field has no text: a click on it selects nothing new.
    QTest::mouseClick(view->canvas(), Qt::LeftButton, {}, byName(*view, "IDC_VALUE")->widget->geometry().center());
    EXPECT_EQ(view->selected(), view->controls()[3].get());
    EXPECT_EQ(view->hitTest(byName(*view, "IDC_VALUE")->widget->geometry().center()), nullptr);

    // Next skips controls without text; from the last it wraps to the caption.
    view->select(byName(*view, "IDC_CAT_TEMPERATURE"));
    view->nextItem();
    EXPECT_EQ(view->selected()->lineKind, tok::KwLText);  // "&Value:", the edit skipped
    view->select(byText(*view, "&History:"));  // the last text
    ASSERT_TRUE(view->selected());
    view->nextItem();
    EXPECT_TRUE(view->selected()->captionStrip);
    view->previousItem();
    EXPECT_EQ(ControlWidgetText(view->selected()->widget), "&History:");
    // Tab walks the controls too.
    view->canvas()->setFocus();
    QTest::keyClick(view->canvas(), Qt::Key_Tab);
    EXPECT_TRUE(view->selected()->captionStrip);
    // Ctrl+S asks for the text in the table.
    QSignalSpy string(view.get(), &CDynDlgView::stringResourceRequested);
    QTest::keyClick(view->canvas(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(string.size(), 1);
    EXPECT_EQ(string.front().at(0).toInt(), view->captionLine());
}

TEST_F(DynDlgViewTest, MovedControlsAndSizeReturnToTheSourceLayout)
{
    auto view = preview(kGerman.primary, kGerman.sub);
    CControlWnd* convert = byName(*view, "IDC_CONVERT");
    view->moveControl(*convert, {170, 43, 83, 14});
    EXPECT_EQ(convert->widget->geometry(), view->toPixels({170, 43, 83, 14}));
    view->setDialogSize(300, 200);
    EXPECT_EQ(view->currentSize(), QSize(300, 200));
    EXPECT_EQ(view->canvas()->width(), view->dialogPixels().right() + 1 + 7);
    // Showing a language applies the source layout again here.
    view->showLanguage(-1, -1);
    EXPECT_EQ(convert->currentRect, convert->sourceRect);
    EXPECT_EQ(convert->widget->geometry(), view->toPixels({175, 43, 78, 14}));
    EXPECT_EQ(view->currentSize(), view->sourceSize());
}

}  // namespace
}  // namespace qln::test
