#pragma once
// Tools > Convert Database... and Compact Database...: choose a project
// database file and convert it to the current format or compact it, under a
// progress window with Cancel. Neither needs an open project.

#include <QString>

#include <filesystem>

class QWidget;

namespace qln::ui {

class Prompts;

// True when the file was converted.
bool RunConvertDatabaseCommand(QWidget* parent, const std::filesystem::path& templatePath, Prompts& prompts,
                               const QString& startDir = {});
// True when the file was compacted.
bool RunCompactDatabaseCommand(QWidget* parent, Prompts& prompts, const QString& startDir = {});

}  // namespace qln::ui
