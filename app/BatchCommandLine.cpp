#include "app/BatchCommandLine.h"

#include "rcscript/AsciiText.h"

#include <filesystem>

namespace qln {

const BatchSwitchEntry BatchSwitch[24] = {
    {"D", 1, 1, 0, batchcmd::UpToDate},     {"UpToDate", 1, 1, 0, batchcmd::UpToDate},
    {"L", 2, 1, 0, batchcmd::HasLanguage},  {"HasLanguage", 2, 1, 0, batchcmd::HasLanguage},
    {"T", 2, 1, 0, batchcmd::Translated},   {"Translated", 2, 1, 0, batchcmd::Translated},
    {"E", 2, 1, 0, batchcmd::Export},       {"Export", 2, 1, 0, batchcmd::Export},
    {"I", 3, 1, 0, batchcmd::Import},       {"Import", 3, 1, 0, batchcmd::Import},
    {"U", 1, 1, 0, batchcmd::Update},       {"Update", 1, 1, 0, batchcmd::Update},
    {"A", 3, 1, 0, batchcmd::AddLang},      {"AddLang", 3, 1, 0, batchcmd::AddLang},
    {"C", 1, 1, 0, batchcmd::CreateDb},     {"CreateDb", 1, 1, 0, batchcmd::CreateDb},
    {"RC", 3, 1, 0, batchcmd::WriteRc},     {"WriteRC", 3, 1, 0, batchcmd::WriteRc},
    {"LOG", 1, 0, 0, batchcmd::LogFile},    {"LogFile", 1, 0, 0, batchcmd::LogFile},
    {"LIDS", 1, 0, 0, batchcmd::ListLids},  {"ListLIDS", 1, 0, 0, batchcmd::ListLids},
    {"COMP", 1, 0, 0, batchcmd::Compact},   {"Compact", 1, 0, 0, batchcmd::Compact},
};

namespace {

}  // namespace

const BatchSwitchEntry* FindBatchSwitch(std::string_view text)
{
    // The table's names fit in 16 bytes with their terminating NUL.
    if (text.empty() || text.size() >= sizeof(BatchSwitchEntry::name))
        return nullptr;
    for (const BatchSwitchEntry& entry : BatchSwitch)
        if (EqualsNoCase(text, entry.name))
            return &entry;
    return nullptr;
}

std::string_view ShortSwitchName(int commandId)
{
    for (const BatchSwitchEntry& entry : BatchSwitch)
        if (entry.commandId == commandId)
            return entry.name;  // the short spelling comes first
    return {};
}

void CCommandLineInfo::ParseParam(std::string_view text, bool isSwitch, bool isLast)
{
    if (!isSwitch)
        ParsePlainWord(text);
    ParseLast(isLast);
}

void CCommandLineInfo::ParsePlainWord(std::string_view text)
{
    fileName = std::string(text);
}

void CCommandLineInfo::ParseLast(bool isLast)
{
    if (isLast && !fileName.empty() && shellCommand == ShellCommand::FileNew)
        shellCommand = ShellCommand::FileOpen;
}

void CBatchCommandLineInfo::ParseParam(std::string_view text, bool isSwitch, bool isLast)
{
    if (isSwitch) {
        // The framework's own switches are not passed on: unknown here, they
        // count as unknown switches.
        if (const BatchSwitchEntry* entry = FindBatchSwitch(text)) {
            currentCommand = entry->commandId;
            if (entry->commandId != batchcmd::LogFile)
                switches.emplace_back(text);
        } else {
            hasUnknownSwitch = true;
            unknownSwitch = std::string(text);
        }
    } else if (switches.empty()) {
        ParsePlainWord(text);
    } else if (currentCommand == batchcmd::LogFile) {
        logFileName = std::string(text);
        currentCommand = -1;
    } else {
        params.emplace_back(text);
    }
    ParseLast(isLast);
}

CommandLineWord ClassifyWord(std::string_view arg)
{
    if (!arg.empty() && arg.front() == '-')
        return {std::string(arg.substr(1)), true};
    if (!arg.empty() && arg.front() == '/') {
        const std::string_view rest = arg.substr(1);
        std::error_code ec;
        if (rest.empty() ||
            (rest.find('/') == std::string_view::npos && !std::filesystem::exists(std::filesystem::path(arg), ec)))
            return {std::string(rest), true};
    }
    return {std::string(arg), false};
}

void ParseCommandLine(std::span<const std::string> words, CCommandLineInfo& info)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const CommandLineWord word = ClassifyWord(words[i]);
        info.ParseParam(word.text, word.isSwitch, i + 1 == words.size());
    }
}

bool IsHelpWord(std::string_view arg)
{
    return arg == "/?" || arg == "-h" || arg == "--help";
}

}  // namespace qln
