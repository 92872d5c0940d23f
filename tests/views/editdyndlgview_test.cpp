// The layout editor's view on the demo project, offscreen: edit mode and its
// gate, selection by mouse with Shift, drags on the tracker's handles,
// keyboard nudges with beeps, the position and size bar, saving, undo and the
// save question on a language switch.

#include "views_support.h"

#include "projectdb/version7_project.h"
#include "views/EditDialogBar.h"
#include "views/EditDynDlgView.h"

#include <QSignalSpy>

namespace qln::test {
namespace {

class EditDynDlgViewTest : public DemoWindow {
protected:
    std::int32_t converterLine()
    {
        sql::Statement st =
            project->db().prepare("SELECT LineIndex FROM Dialogs WHERE Name_ID = 'IDD_CONVERTER' AND Lang_Id = 0");
        EXPECT_TRUE(st.step());
        return static_cast<std::int32_t>(st.columnInt64(0));
    }
    // The editor on the converter in German, in edit mode, shown in the window.
    std::unique_ptr<CEditDynDlgView> editor()
    {
        auto v = std::make_unique<CEditDynDlgView>(project.get(), converterLine());
        EXPECT_TRUE(v->build(kGerman.primary, kGerman.sub));
        v->warn = [this](const QString& text) { warnings << text; };
        v->ask = [this](const QString& text) {
            questions << text;
            return answer;
        };
        v->resize(600, 500);
        v->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(v.get()));
        return v;
    }
    static CControlWnd& control(CEditDynDlgView& v, std::string_view name)
    {
        for (const auto& c : v.controls())
            if (c->name == name)
                return *c;
        ADD_FAILURE() << name;
        return *v.controls().front();
    }
    static void click(CEditDynDlgView& v, QPoint at, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(v.canvas(), Qt::LeftButton, modifiers, at);
    }
    static void drag(CEditDynDlgView& v, QPoint from, QPoint to)
    {
        QTest::mousePress(v.canvas(), Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, v.canvas()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(v.canvas(), &move);
        QTest::mouseRelease(v.canvas(), Qt::LeftButton, {}, to);
    }
    std::string germanRow(std::string_view name)
    {
        sql::Statement st = project->db().prepare(
            "SELECT x || ',' || y || ',' || cx || ',' || cy || ',' || Modified FROM DialogControl "
            "WHERE Lang_Id = 1031 AND Name_ID = :name");
        st.bind(":name", name);
        return st.step() ? st.columnText(0) : std::string();
    }

    QStringList warnings, questions;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
};

TEST_F(EditDynDlgViewTest, KeysNudgeTheSelectionAndTheBarShowsIt)
{
    auto v = editor();
    CEditDialogBar bar;
    v->setDialogBar(&bar);
    EXPECT_TRUE(v->canToggleEditMode());
    ASSERT_TRUE(v->setEditMode(true));
    EXPECT_TRUE(v->editActive());
    // The caption strip turns grey.
    for (const auto& c : v->controls()) {
        if (c->captionStrip) {
            const QRect strip = c->widget->geometry();
            const QImage shown = v->canvas()->grab().toImage();
            EXPECT_EQ(shown.pixelColor(strip.right() - 3, strip.center().y()), QColor(128, 128, 128));
        }
    }
    QSignalSpy beeps(v.get(), &CEditDynDlgView::beeped);

    // A click selects the smallest control; the bar shows its rectangle.
    CControlWnd& swap = control(*v, "IDC_SWAP");
    const int width = swap.widget->width();
    click(*v, swap.widget->geometry().center());
    ASSERT_EQ(v->layout()->selection().size(), 1u);
    EXPECT_EQ(bar.sourceField(2), "80");
    EXPECT_EQ(bar.currentField(2), "80");
    EXPECT_FALSE(bar.currentFieldChanged(2));
    v->canvas()->setFocus();
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(v->canvas(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(swap.currentRect.cx, 90);
    EXPECT_EQ(swap.widget->width(), width + 15);
    EXPECT_EQ(bar.currentField(2), "90");
    EXPECT_TRUE(bar.currentFieldChanged(2));
    EXPECT_TRUE(v->layoutChanged());
    EXPECT_TRUE(v->canSaveLayout());
    EXPECT_TRUE(v->canSetOriginalSize());

    // Left to the dialog's edge, then one more: a beep, no change.
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(v->canvas(), Qt::Key_Left);
    EXPECT_EQ(swap.currentRect.x, 0);
    EXPECT_EQ(beeps.count(), 0);
    QTest::keyClick(v->canvas(), Qt::Key_Left);
    EXPECT_EQ(swap.currentRect.x, 0);
    EXPECT_EQ(beeps.count(), 1);

    // A combo box keeps its height.
    CControlWnd& combo = control(*v, "IDC_FROM_UNIT");
    click(*v, combo.widget->geometry().center());
    QTest::keyClick(v->canvas(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(combo.currentRect.cy, 80);

    // Saved: the German row; undo after another change returns to it.
    v->saveLayout();
    EXPECT_FALSE(v->layoutChanged());
    EXPECT_EQ(germanRow("IDC_SWAP"), "0,98,90,14,0");
    QTest::keyClick(v->canvas(), Qt::Key_Right);
    EXPECT_EQ(combo.currentRect.x, 96);
    v->undoLayout();
    EXPECT_EQ(combo.currentRect.x, 95);
    EXPECT_FALSE(v->layoutChanged());

    // Nothing selected: the dialog's size, in the bar as (0, 0, cx, cy).
    click(*v, QPoint(v->dialogPixels().right() - 3, v->dialogPixels().bottom() - 3));
    EXPECT_TRUE(v->layout()->selection().empty());
    QTest::keyClick(v->canvas(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(v->currentSize(), QSize(260, 187));
    EXPECT_EQ(bar.currentField(3), "187");
    EXPECT_EQ(bar.sourceField(0), "0");
    EXPECT_EQ(bar.sourceField(3), "186");

    // Edit mode off: no nudges, the selection gone.
    v->setEditMode(false);
    QTest::keyClick(v->canvas(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(v->currentSize(), QSize(260, 187));
    EXPECT_FALSE(v->canSaveLayout());
}

TEST_F(EditDynDlgViewTest, MouseSelectsWithShiftAndDragsTheHandles)
{
    auto v = editor();
    ASSERT_TRUE(v->setEditMode(true));
    v->canvas()->setFocus();
    QSignalSpy beeps(v.get(), &CEditDynDlgView::beeped);
    CControlWnd& swap = control(*v, "IDC_SWAP");
    CControlWnd& convert = control(*v, "IDC_CONVERT");

    // The right handle of one control: the width follows the pointer, which
    // counts from 7 pixels (the frame lies at 5): 166 pixels are unit 106.
    click(*v, swap.widget->geometry().center());
    const QRect g = swap.widget->geometry();
    drag(*v, QPoint(g.right() + 1, g.center().y()), QPoint(g.right() + 1 + 30, g.center().y()));
    EXPECT_EQ(swap.currentRect.x, 7);
    EXPECT_EQ(swap.currentRect.cx, 99);
    EXPECT_EQ(swap.currentRect.cy, 14);

    // Shift adds to the selection; several move together from inside either.
    click(*v, convert.widget->geometry().center(), Qt::ShiftModifier);
    ASSERT_EQ(v->layout()->selection().size(), 2u);
    const QPoint inside = convert.widget->geometry().center();
    drag(*v, inside, inside + QPoint(15, 13));
    EXPECT_EQ(swap.currentRect.x, 17);
    EXPECT_EQ(swap.currentRect.y, 106);
    EXPECT_EQ(convert.currentRect.x, 185);
    EXPECT_EQ(convert.currentRect.y, 51);
    // Dragged past the left edge: refused with a beep, both stay.
    drag(*v, inside, inside - QPoint(60, 0));
    EXPECT_GE(beeps.count(), 1);
    EXPECT_EQ(swap.currentRect.x, 17);

    // A press on empty space clears the selection; the frame's corner sizes the dialog.
    click(*v, QPoint(v->dialogPixels().right() - 3, v->dialogPixels().top() + 3));
    EXPECT_TRUE(v->layout()->selection().empty());
    const QPoint corner = v->dialogPixels().bottomRight() + QPoint(1, 1);
    drag(*v, corner, corner + QPoint(15, 26));
    EXPECT_EQ(v->currentSize(), QSize(269, 201));

    // Select All, then Set to Original Size returns every control.
    v->selectAllControls();
    EXPECT_EQ(v->layout()->selection().size(), v->layout()->controls().size());
    v->setOriginalSize();
    EXPECT_EQ(swap.currentRect, swap.sourceRect);
    EXPECT_EQ(convert.currentRect, convert.sourceRect);
    EXPECT_EQ(v->currentSize(), QSize(269, 201));
}

TEST_F(EditDynDlgViewTest, LanguageSwitchAsksAndOldFormatsAreRefused)
{
    auto v = editor();
    ASSERT_TRUE(v->setEditMode(true));
    v->canvas()->setFocus();
    CControlWnd& swap = control(*v, "IDC_SWAP");
    click(*v, swap.widget->geometry().center());
    QTest::keyClick(v->canvas(), Qt::Key_Right, Qt::ShiftModifier);

    answer = QMessageBox::Cancel;
    EXPECT_FALSE(v->switchLanguage(-1, -1));
    EXPECT_EQ(v->language().primary, kGerman.primary);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0], "Changes at dialog IDD_CONVERTER.\n\nDo you want to save current dialog template ?");
    answer = QMessageBox::No;
    EXPECT_TRUE(v->switchLanguage(-1, -1));
    EXPECT_TRUE(v->sourceShown());
    EXPECT_FALSE(v->editActive());
    EXPECT_EQ(germanRow("IDC_SWAP"), "");
    EXPECT_EQ(swap.currentRect, swap.sourceRect);

    v->switchLanguage(kGerman.primary, kGerman.sub);
    EXPECT_TRUE(v->editActive());
    click(*v, swap.widget->geometry().center());
    QTest::keyClick(v->canvas(), Qt::Key_Right, Qt::ShiftModifier);
    answer = QMessageBox::Yes;
    EXPECT_TRUE(v->switchLanguage(-1, -1));
    EXPECT_EQ(germanRow("IDC_SWAP"), "7,98,81,14,0");
    // Back in German the saved layout shows again.
    v->switchLanguage(kGerman.primary, kGerman.sub);
    EXPECT_EQ(swap.currentRect.cx, 81);

    // A database of format 7 has no layouts to edit.
    const std::filesystem::path old = dir / "old.mdb";
    MakeVersion7Database(old);
    CProjectDatabase oldProject(old);
    CEditDynDlgView oldView(&oldProject, 30);
    ASSERT_TRUE(oldView.build(7, 3));
    oldView.warn = [this](const QString& text) { warnings << text; };
    EXPECT_FALSE(oldView.setEditMode(true));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith("Obsolete database format:  " + QString::fromStdString(old.string())));
}

}  // namespace
}  // namespace qln::test
