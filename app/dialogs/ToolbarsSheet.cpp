#include "app/dialogs/ToolbarsSheet.h"

#include "app/dialogs/DialogParts.h"
#include "app/dialogs/Prompts.h"
#include "rcscript/Messages.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qln::ui {

ToolbarsSheet::ToolbarsSheet(const std::vector<ToolbarEntry>& bars, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this))
{
    setWindowTitle(ToQString(msg::ToolbarSettingsTitle));
    auto* tabs = new QTabWidget(this);
    auto* page = new QWidget(tabs);
    auto* pageLayout = new QVBoxLayout(page);
    list_->setParent(page);
    list_->setColumnCount(1);
    list_->setHeaderLabels({ToQString(msg::ToolbarsColumn)});
    list_->setRootIsDecorated(false);
    for (const ToolbarEntry& bar : bars) {
        auto* item = new QTreeWidgetItem(list_, {bar.name});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, bar.widget && bar.widget->isVisible() ? Qt::Checked : Qt::Unchecked);
    }
    list_->setCurrentItem(list_->topLevelItem(0));
    pageLayout->addWidget(Buddy(tr("&Show these bars:"), list_, page));
    pageLayout->addWidget(list_);
    tabs->addTab(page, tr("Toolbars"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(OkCancel(this));
}

std::vector<bool> ToolbarsSheet::checked() const
{
    std::vector<bool> flags;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        flags.push_back(list_->topLevelItem(i)->checkState(0) == Qt::Checked);
    return flags;
}

bool RunToolbarsCommand(QWidget* frame, const std::vector<ToolbarEntry>& bars, Prompts& prompts)
{
    ToolbarsSheet sheet(bars, frame);
    if (!prompts.Run(sheet))
        return false;
    const std::vector<bool> checked = sheet.checked();
    for (std::size_t i = 0; i < checked.size() && i < bars.size(); ++i)
        if (bars[i].id != kDialogEditBarId && bars[i].widget)
            bars[i].widget->setVisible(checked[i]);
    // The frame lays its bars out again once the events of the changes are through.
    if (frame && frame->layout())
        QTimer::singleShot(0, frame, [frame] { frame->layout()->invalidate(); });
    return true;
}

}  // namespace qln::ui
