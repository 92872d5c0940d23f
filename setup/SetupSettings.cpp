#include "setup/SetupSettings.h"

#include "setup/QtText.h"

#include <QSettings>
#include <QString>

#include <system_error>

namespace qln::setup {

namespace fs = std::filesystem;

namespace {

const QString kMakerKey = QStringLiteral("Vostrel_Soft");
const QString kProductKey = QStringLiteral("Vostrel_Soft/Quillon 3.0");
const QString kProjectSection = QStringLiteral("PROJECTFILES");

bool Synced(QSettings& settings)
{
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool EnsureFolder(const fs::path& folder)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    return !ec;
}

}  // namespace

SetupRegistry::SetupRegistry(fs::path configHome) : configHome_(std::move(configHome)) {}

fs::path SetupRegistry::File() const { return configHome_ / "qln40-setup.ini"; }

std::string SetupRegistry::InstalledPath() const
{
    QSettings settings(ToQString(File()), QSettings::IniFormat);
    return settings.value(kProductKey + "/PATH").toString().toStdString();
}

bool SetupRegistry::Record(const std::string& version, const std::string& path) const
{
    if (!EnsureFolder(configHome_))
        return false;
    QSettings settings(ToQString(File()), QSettings::IniFormat);
    settings.setValue(kProductKey + "/VERSION", QString::fromStdString(version));
    settings.setValue(kProductKey + "/PATH", QString::fromStdString(path));
    return Synced(settings);
}

bool SetupRegistry::Forget() const
{
    if (!fs::exists(File()))
        return true;
    bool empty = false;
    {
        QSettings settings(ToQString(File()), QSettings::IniFormat);
        settings.remove(kProductKey + "/VERSION");
        settings.remove(kProductKey + "/PATH");
        settings.beginGroup(kProductKey);
        const bool productEmpty = settings.allKeys().isEmpty();
        settings.endGroup();
        if (productEmpty)
            settings.remove(kProductKey);
        settings.beginGroup(kMakerKey);
        const bool makerEmpty = settings.allKeys().isEmpty();
        settings.endGroup();
        if (makerEmpty)
            settings.remove(kMakerKey);
        if (!Synced(settings))
            return false;
        empty = settings.allKeys().isEmpty();
    }
    std::error_code ec;
    if (empty)
        fs::remove(File(), ec);
    return !ec;
}

WorkbenchSettings::WorkbenchSettings(fs::path configHome) : configHome_(std::move(configHome)) {}

fs::path WorkbenchSettings::File() const { return configHome_ / "qln40.ini"; }

bool WorkbenchSettings::WriteProjectList(const std::vector<fs::path>& projects) const
{
    if (!EnsureFolder(configHome_))
        return false;
    QSettings settings(ToQString(File()), QSettings::IniFormat);
    settings.beginGroup(kProjectSection);
    for (int i = 0; i < kProjectSlots; ++i)
        settings.remove(QStringLiteral("File%1").arg(i));
    for (std::size_t i = 0; i < projects.size() && i < kProjectSlots; ++i)
        settings.setValue(QStringLiteral("File%1").arg(i), ToQString(projects[i]));
    settings.endGroup();
    return Synced(settings);
}

std::vector<std::string> WorkbenchSettings::ProjectList() const
{
    QSettings settings(ToQString(File()), QSettings::IniFormat);
    std::vector<std::string> projects;
    for (int i = 0; i < kProjectSlots; ++i) {
        const QString value = settings.value(kProjectSection + QStringLiteral("/File%1").arg(i)).toString();
        if (!value.isEmpty())
            projects.push_back(value.toStdString());
    }
    return projects;
}

std::error_code WorkbenchSettings::Remove() const
{
    std::error_code ec;
    fs::remove(File(), ec);
    return ec;
}

}  // namespace qln::setup
