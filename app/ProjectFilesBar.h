#pragma once
// The "Project Files" bar: one row per file of the project file list with
// its size, its project's state and number of translations, and its folder.

#include <QDockWidget>

#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace qln {

// What a row shows about one listed file; read from its files, headless.
struct ProjectFileRow {
    std::string file, size, state, translations, directory;
};
ProjectFileRow DescribeProjectFile(const std::string& path);

class CProjectFilesBar : public QDockWidget {
    Q_OBJECT
public:
    explicit CProjectFilesBar(QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    // Rebuilds every row.
    void setFiles(const std::vector<std::string>& paths);
    // Refreshes (or appends) the row of one path and selects it.
    void showFile(const std::string& path);
    // The selected path; empty when none.
    QString selectedPath() const;

signals:
    void openRequested(const QString& path);

private:
    void fillRow(QTreeWidgetItem* item, const std::string& path);
    QTreeWidgetItem* findRow(const std::string& path) const;

    QTreeWidget* list_;
};

}  // namespace qln
