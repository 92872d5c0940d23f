#include "setup/MediaTable.h"

#include "rcscript/AsciiText.h"

#include <array>

namespace qln::setup {

namespace {

constexpr std::array<MediumFile, 21> kFiles{{
    {"qln40", FileGroup::Program, Origin::Build, "qln40", true},
    {"qln40.svg", FileGroup::Program, Origin::Source, "setup/qln40.svg"},
    {"qln40-help.md", FileGroup::Program, Origin::Source, "README.md"},
    // The workbench's windows, which qln40 loads when it runs without batch switches.
    {"qln40-workbench.so", FileGroup::Program, Origin::Build, "qln40-workbench.so"},
    {"qlndb8.mdb", FileGroup::Template, Origin::Build, "qlndb8.mdb"},
    {"ReadMe.txt", FileGroup::ReadMe, Origin::Source, "setup/ReadMe.txt"},
    // Quillon Demo, a unit converter in English with German and French translations.
    {"demo.rc", FileGroup::Demo, Origin::Demo, "demo.rc", false, true},
    {"demo_rc.mdb", FileGroup::Demo, Origin::Demo, "demo_rc.mdb"},
    {"resource.h", FileGroup::Demo, Origin::Demo, "resource.h"},
    {"res/demo.bmp", FileGroup::Demo, Origin::Demo, "res/demo.bmp"},
    {"res/demo.ico", FileGroup::Demo, Origin::Demo, "res/demo.ico"},
    {"res/readme.txt", FileGroup::Demo, Origin::Demo, "res/readme.txt"},
    {"translations/demo_de.rc", FileGroup::Demo, Origin::Demo, "translations/demo_de.rc"},
    {"translations/demo_fr.rc", FileGroup::Demo, Origin::Demo, "translations/demo_fr.rc"},
    // Quillon Asia Demo, a world clock with Japanese, Korean and Chinese translations.
    {"asia/asiademo.rc", FileGroup::Demo, Origin::Demo, "asia/asiademo.rc", false, true},
    {"asia/asiademo_rc.mdb", FileGroup::Demo, Origin::Demo, "asia/asiademo_rc.mdb"},
    {"asia/resource.h", FileGroup::Demo, Origin::Demo, "asia/resource.h"},
    {"asia/res/clock.bmp", FileGroup::Demo, Origin::Demo, "asia/res/clock.bmp"},
    {"asia/translations/asiademo_ja.rc", FileGroup::Demo, Origin::Demo, "asia/translations/asiademo_ja.rc"},
    {"asia/translations/asiademo_ko.rc", FileGroup::Demo, Origin::Demo, "asia/translations/asiademo_ko.rc"},
    {"asia/translations/asiademo_zh.rc", FileGroup::Demo, Origin::Demo, "asia/translations/asiademo_zh.rc"},
}};

// The position in the entry's file name of the character MediumName replaces.
std::size_t ReplacedPosition(std::string_view entry)
{
    const std::size_t nameStart = entry.rfind('/') == std::string_view::npos ? 0 : entry.rfind('/') + 1;
    const std::string_view name = entry.substr(nameStart);
    const std::size_t dot = name.find('.');
    if (dot != std::string_view::npos && name.size() - dot - 1 == 3)
        return nameStart + dot + 1;
    return name.size() >= 2 ? entry.size() - 2 : entry.size() - 1;
}

}  // namespace

std::span<const MediumFile> AllMediumFiles() { return kFiles; }

std::vector<MediumFile> FilesToInstall(bool programFiles, bool demoFiles)
{
    std::vector<MediumFile> files;
    for (const MediumFile& f : kFiles)
        if (f.group == FileGroup::Demo ? demoFiles : programFiles)
            files.push_back(f);
    return files;
}

int MediumNumber(const MediumFile& file) { return file.group == FileGroup::Program ? 1 : 2; }

std::string MediumName(std::string_view entry)
{
    std::string name = ToLowerAscii(entry);
    if (!name.empty())
        name[ReplacedPosition(entry)] = '_';
    return name;
}

char ReplacedCharacter(std::string_view entry)
{
    return entry.empty() ? '\0' : AsciiLower(entry[ReplacedPosition(entry)]);
}

std::filesystem::path MediumPath(const MediumFile& file) { return std::filesystem::path(MediumName(file.entry)); }

std::filesystem::path InstalledPath(const MediumFile& file)
{
    if (file.group == FileGroup::Demo)
        return std::filesystem::path(DemoFolder) / file.entry;
    return std::filesystem::path(file.entry);
}

}  // namespace qln::setup
