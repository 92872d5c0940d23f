#include "app/ProjectFilesBar.h"

#include "app/ProjectFileList.h"
#include "app/Prompter.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/AsciiText.h"
#include "rcscript/Messages.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace qln {

namespace fs = std::filesystem;

ProjectFileRow DescribeProjectFile(const std::string& path)
{
    ProjectFileRow row;
    const fs::path file(path);
    row.file = file.filename().string();
    row.directory = file.parent_path().string();
    std::error_code ec;
    fs::path script = file;
    fs::path database = file;
    if (HasDatabaseExtension(file))
        script = PairProjectPaths(file).script;
    else
        database = DatabasePathForScript(file);
    if (const auto size = fs::file_size(script, ec); !ec)
        row.size = std::to_string(size);
    if (!fs::is_regular_file(database, ec) || !IsProjectDatabase(database))
        return row;
    try {
        CProjectDatabase db(database, sql::Database::Mode::ReadOnly);
        if (const auto status = db.GetStatus())
            row.state = std::string(ProjectStateText(*status));
        row.translations = std::to_string(ListLanguages(db).size());
    } catch (const sql::Error&) {
        // A database that cannot be read shows no state.
    }
    return row;
}

CProjectFilesBar::CProjectFilesBar(QWidget* parent)
    : QDockWidget(Text(msg::ProjectFilesTitle), parent), list_(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("ProjectFilesBar"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({Text(msg::ProjectFilesColumnFile), Text(msg::ProjectFilesColumnSize),
                            Text(msg::ProjectFilesColumnState), Text(msg::ProjectFilesColumnTranslations),
                            Text(msg::ProjectFilesColumnDirectory)});
    list_->header()->setStretchLastSection(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    setWidget(list_);
    connect(list_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { emit openRequested(item->data(0, Qt::UserRole).toString()); });
}

void CProjectFilesBar::fillRow(QTreeWidgetItem* item, const std::string& path)
{
    const ProjectFileRow row = DescribeProjectFile(path);
    item->setText(0, QString::fromStdString(row.file));
    item->setText(1, QString::fromStdString(row.size));
    item->setText(2, QString::fromStdString(row.state));
    item->setText(3, QString::fromStdString(row.translations));
    item->setText(4, QString::fromStdString(row.directory));
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(0, Qt::UserRole, QString::fromStdString(path));
    item->setToolTip(0, QString::fromStdString(path));
}

void CProjectFilesBar::setFiles(const std::vector<std::string>& paths)
{
    list_->clear();
    for (const std::string& path : paths)
        fillRow(new QTreeWidgetItem(list_), path);
    for (int column = 0; column < 4; ++column)
        list_->resizeColumnToContents(column);
}

QTreeWidgetItem* CProjectFilesBar::findRow(const std::string& path) const
{
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        if (EqualsNoCase(item->data(0, Qt::UserRole).toString().toStdString(), path))
            return item;
    }
    return nullptr;
}

void CProjectFilesBar::showFile(const std::string& path)
{
    QTreeWidgetItem* item = findRow(path);
    if (!item)
        item = new QTreeWidgetItem(list_);
    fillRow(item, path);
    list_->setCurrentItem(item);
    for (int column = 0; column < 4; ++column)
        list_->resizeColumnToContents(column);
}

QString CProjectFilesBar::selectedPath() const
{
    const QTreeWidgetItem* item = list_->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

}  // namespace qln
