#include "app/BookmarkViews.h"

#include "app/ChildFrame.h"
#include "app/DialogPreviewWindow.h"
#include "app/FindCommands.h"
#include "app/MainFrame.h"
#include "app/MenuBitmapWindows.h"
#include "project/TextTable.h"
#include "views/DynBitmapView.h"
#include "views/DynDlgView.h"
#include "views/DynMenuView.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace qln {

namespace {

// The source is stored as no language.
std::optional<LanguagePair> ShownLanguage(LanguagePair language)
{
    return language.primary < 0 ? std::nullopt : std::optional<LanguagePair>(language);
}

BookmarkItem ViewItem(std::string_view window, std::int32_t line, int category, std::string resource,
                      std::string itemId, LanguagePair language)
{
    return {std::string(window), line, category, std::move(resource), std::move(itemId), ShownLanguage(language)};
}

LanguagePair LanguageOf(const BookmarkTarget& target)
{
    return target.language.value_or(LanguagePair{-1, -1});
}

bool OpenDialogAt(CMainFrame& frame, const BookmarkTarget& target)
{
    CChildFrame* child = frame.activeChild();
    if (!child || target.resourceLine < 0)
        return false;
    const std::int32_t select = target.lineIndex == target.resourceLine ? -1 : target.lineIndex;
    return OpenDialogPreview(frame, *child, target.resourceLine, LanguageOf(target), select) != nullptr;
}

bool OpenMenuAt(CMainFrame& frame, const BookmarkTarget& target)
{
    return target.resourceLine >= 0 &&
           OpenMenuView(frame, target.resourceLine, LanguageOf(target), target.lineIndex) != nullptr;
}

bool OpenBitmapAt(CMainFrame& frame, const BookmarkTarget& target)
{
    return target.resourceLine >= 0 && OpenBitmapView(frame, target.resourceLine, LanguageOf(target)) != nullptr;
}

}  // namespace

BookmarkItem DialogBookmarkItem(const CDynDlgView& view, std::int32_t line)
{
    const CControlWnd* control = line >= 0 ? view.controlOfLine(line) : nullptr;
    if (!control)
        return ViewItem(kBookmarkDialog, view.dialogLine(), category::Dialog, view.dialogName(), view.dialogName(),
                        view.language());
    if (control->captionStrip)
        return ViewItem(kBookmarkDialog, line, category::DialogCaption, view.dialogName(), "", view.language());
    return ViewItem(kBookmarkDialog, line, category::DialogItem, view.dialogName(), control->name, view.language());
}

BookmarkItem MenuBookmarkItem(const CDynMenuView& view, std::int32_t line)
{
    const MenuTree& menu = view.menu();
    if (const int index = line >= 0 ? menu.nodeOfLine(line) : -1; index >= 0) {
        const MenuNode& node = menu.nodes[static_cast<std::size_t>(index)];
        return ViewItem(kBookmarkMenu, line, node.category, menu.name, node.idText, view.language());
    }
    return ViewItem(kBookmarkMenu, menu.menuLine, category::Menu, menu.name, menu.name, view.language());
}

BookmarkItem BitmapBookmarkItem(const CDynBitmapView& view)
{
    return ViewItem(kBookmarkBitmap, view.bitmapLine(), category::BitmapFile, view.name(), view.name(),
                    view.language());
}

std::optional<BookmarkItem> ActiveViewBookmarkItem(CMainFrame& frame)
{
    if (const CDynDlgView* preview = ActiveDialogPreview(frame)) {
        const CControlWnd* selected = preview->selected();
        return DialogBookmarkItem(*preview, selected ? selected->line : -1);
    }
    QMdiSubWindow* window = frame.mdiArea()->currentSubWindow();
    QWidget* shown = window ? window->widget() : nullptr;
    if (const auto* menu = qobject_cast<const CDynMenuView*>(shown))
        return MenuBookmarkItem(*menu, menu->selectedLine());
    if (const auto* bitmap = qobject_cast<const CDynBitmapView*>(shown))
        return BitmapBookmarkItem(*bitmap);
    return std::nullopt;
}

void RegisterBookmarkViewOpeners()
{
    SetBookmarkViewOpener(kBookmarkDialog, OpenDialogAt);
    SetBookmarkViewOpener(kBookmarkMenu, OpenMenuAt);
    SetBookmarkViewOpener(kBookmarkBitmap, OpenBitmapAt);
}

}  // namespace qln
