#include "app/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace qln {

namespace {

const QString kSettings = QStringLiteral("SETTINGS");
const QString kPath = QStringLiteral("PATH");
const QString kProjectFiles = QStringLiteral("PROJECTFILES");
const QString kFind = QStringLiteral("FIND");
const QString kFindString = QStringLiteral("FINDSTRING");
const QString kIncludeExt = QStringLiteral("RCINCLUDE_EXT");
const QString kRecent = QStringLiteral("Recent File List");
const QString kGeneral = QStringLiteral("General");
const QString kGeneralBar5 = QStringLiteral("General-Bar5");

// A value holding a comma, written by hand without quotes, comes back as a
// list: it is one text all the same.
QString Text(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

}  // namespace

QString CSettings::DefaultFile()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/qln40.ini");
}

CSettings::CSettings(const QString& file) : settings_(std::make_unique<QSettings>(file, QSettings::IniFormat)) {}

QString CSettings::file() const
{
    return settings_->fileName();
}

StoredPlacement CSettings::placement() const
{
    settings_->beginGroup(kSettings);
    StoredPlacement p;
    p.zoomed = settings_->value("MainWndZoomed", 0).toInt();
    p.x = settings_->value("MainWndXpos", 0).toInt();
    p.y = settings_->value("MainWndYpos", 0).toInt();
    p.cx = settings_->value("MainWndCX", 0).toInt();
    p.cy = settings_->value("MainWndCY", 0).toInt();
    settings_->endGroup();
    return p;
}

void CSettings::setPlacement(const StoredPlacement& p)
{
    settings_->beginGroup(kSettings);
    settings_->setValue("MainWndZoomed", p.zoomed);
    settings_->setValue("MainWndXpos", p.x);
    settings_->setValue("MainWndYpos", p.y);
    settings_->setValue("MainWndCX", p.cx);
    settings_->setValue("MainWndCY", p.cy);
    settings_->endGroup();
}

QString CSettings::lastImportFile() const
{
    return Text(settings_->value(kSettings + "/LastImportFile"));
}

void CSettings::setLastImportFile(const QString& file)
{
    settings_->setValue(kSettings + "/LastImportFile", file);
}

QString CSettings::projectPath() const
{
    return Text(settings_->value(kPath + "/PROJECT"));
}

void CSettings::setProjectPath(const QString& folder)
{
    settings_->setValue(kPath + "/PROJECT", folder);
}

ProjectFileSlots CSettings::projectFiles() const
{
    ProjectFileSlots list;
    const QStringList values = readList(kProjectFiles, "File", kProjectFileSlots, false);
    for (int i = 0; i < kProjectFileSlots; ++i)
        list[static_cast<std::size_t>(i)] = values[i].toStdString();
    return list;
}

void CSettings::setProjectFiles(const ProjectFileSlots& list)
{
    QStringList values;
    for (const std::string& value : list)
        values << QString::fromStdString(value);
    writeList(kProjectFiles, "File", kProjectFileSlots, values);
}

QStringList CSettings::findHistory() const
{
    return readList(kFind, "Text", kHistoryEntries, true);
}

void CSettings::setFindHistory(const QStringList& items)
{
    writeList(kFind, "Text", kHistoryEntries, items);
}

QStringList CSettings::replaceHistory() const
{
    return readList(kFind, "ReplaceText", kHistoryEntries, true);
}

void CSettings::setReplaceHistory(const QStringList& items)
{
    writeList(kFind, "ReplaceText", kHistoryEntries, items);
}

QString CSettings::includeExtensions() const
{
    return Text(settings_->value(kIncludeExt + "/RCINCLUDE_FILES_EXT"));
}

void CSettings::setIncludeExtensions(const QString& extensions)
{
    settings_->setValue(kIncludeExt + "/RCINCLUDE_FILES_EXT", extensions);
}

QStringList CSettings::recentFiles() const
{
    QStringList files;
    settings_->beginGroup(kRecent);
    for (int i = 1; i <= kRecentFiles; ++i) {
        const QString value = Text(settings_->value(QStringLiteral("File%1").arg(i)));
        if (!value.isEmpty())
            files << value;
    }
    settings_->endGroup();
    return files;
}

void CSettings::addRecentFile(const QString& file)
{
    QStringList files = recentFiles();
    files.removeIf([&](const QString& f) { return f.compare(file, Qt::CaseInsensitive) == 0; });
    files.prepend(file);
    writeRecent(files);
}

void CSettings::removeRecentFile(const QString& file)
{
    QStringList files = recentFiles();
    files.removeIf([&](const QString& f) { return f.compare(file, Qt::CaseInsensitive) == 0; });
    writeRecent(files);
}

void CSettings::writeRecent(const QStringList& files)
{
    settings_->beginGroup(kRecent);
    for (int i = 1; i <= kRecentFiles; ++i)
        settings_->setValue(QStringLiteral("File%1").arg(i), i <= files.size() ? files[i - 1] : QString());
    settings_->endGroup();
}

QByteArray CSettings::barState() const
{
    return settings_->value(kGeneral + "/State").toByteArray();
}

void CSettings::setBarState(const QByteArray& state)
{
    settings_->setValue(kGeneral + "/State", state);
}

CSettings::BarSize CSettings::projectListBar() const
{
    settings_->beginGroup(kGeneralBar5);
    BarSize size{settings_->value("CX", 0).toInt(), settings_->value("CY", 0).toInt(),
                 settings_->value("DockStyle", 0).toInt()};
    settings_->endGroup();
    return size;
}

void CSettings::setProjectListBar(const BarSize& size)
{
    settings_->beginGroup(kGeneralBar5);
    settings_->setValue("CX", size.cx);
    settings_->setValue("CY", size.cy);
    settings_->setValue("DockStyle", size.dockStyle);
    settings_->endGroup();
}

CSettings::FindOptionsSetting CSettings::findOptions() const
{
    FindOptionsSetting options;
    settings_->beginGroup(kFindString);
    options.wholeWord = settings_->value("WholeWord", 0).toInt() != 0;
    options.matchCase = settings_->value("MatchCase", 1).toInt() != 0;
    options.direction = settings_->value("FindDirectory", 2).toInt();
    settings_->endGroup();
    return options;
}

void CSettings::setFindOptions(const FindOptionsSetting& options)
{
    settings_->beginGroup(kFindString);
    settings_->setValue("WholeWord", options.wholeWord ? 1 : 0);
    settings_->setValue("MatchCase", options.matchCase ? 1 : 0);
    settings_->setValue("FindDirectory", options.direction);
    settings_->endGroup();
}

QStringList CSettings::findWhere() const
{
    // Kept as a list: entries hold blanks and quotes, never a tab.
    const QString value = Text(settings_->value(kFindString + "/Where"));
    return value.isEmpty() ? QStringList{} : value.split(QLatin1Char('\t'));
}

void CSettings::setFindWhere(const QStringList& entries)
{
    settings_->setValue(kFindString + "/Where", entries.join(QLatin1Char('\t')));
}

bool CSettings::Save()
{
    // QSettings writes the file through a temporary file that is renamed
    // over it, so a failed write leaves the previous file whole.
    QDir().mkpath(QFileInfo(settings_->fileName()).absolutePath());
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

QStringList CSettings::readList(const QString& group, const QString& prefix, int count, bool stopAtEmpty) const
{
    QStringList items;
    settings_->beginGroup(group);
    for (int i = 0; i < count; ++i) {
        const QString value = Text(settings_->value(prefix + QString::number(i)));
        if (value.isEmpty() && stopAtEmpty)
            break;
        items << value;
    }
    settings_->endGroup();
    return items;
}

void CSettings::writeList(const QString& group, const QString& prefix, int count, const QStringList& items)
{
    settings_->beginGroup(group);
    for (int i = 0; i < count; ++i)
        settings_->setValue(prefix + QString::number(i), i < items.size() ? items[i] : QString());
    settings_->endGroup();
}

}  // namespace qln
