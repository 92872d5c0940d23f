#pragma once
// The command line of qln40: a file to open, or one batch operation with its
// parameters and a log file. The framework's usual record (shell command and
// file to open) is CCommandLineInfo; CBatchCommandLineInfo adds the batch
// switches, read one word at a time by ParseParam.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

// Command ids of the batch switches.
namespace batchcmd {
inline constexpr int Translated = 1, UpToDate = 2, HasLanguage = 3, Export = 4, Import = 5, CreateDb = 6,
                     Update = 7, AddLang = 8, LogFile = 9, WriteRc = 10, ListLids = 11, Compact = 12;
}

// One entry of the switch table. The parser reads only `name` and `commandId`.
struct BatchSwitchEntry {
    char name[16];       // NUL-padded, at most 15 characters
    int minParams;       // parameters the command needs at least
    int projectCommand;  // 1 for the commands on a project, 0 for LOG, LIDS and COMP
    int reserved;        // always 0
    int commandId;
};

// The 24 switches, a short and a long spelling per command, in search order.
extern const BatchSwitchEntry BatchSwitch[24];

// The entry whose name equals `text` without regard to case, or nullptr. An
// empty text and texts of 16 or more characters never match.
const BatchSwitchEntry* FindBatchSwitch(std::string_view text);
// The short spelling of a command id ("C" for CreateDb); empty when unknown.
std::string_view ShortSwitchName(int commandId);

class CCommandLineInfo {
public:
    enum class ShellCommand { FileNew, FileOpen };

    virtual ~CCommandLineInfo() = default;

    // One word of the command line, without its leading '/' or '-' when it
    // is a switch. The base keeps the last plain word as the file to open.
    virtual void ParseParam(std::string_view text, bool isSwitch, bool isLast);

    ShellCommand shellCommand = ShellCommand::FileNew;
    std::string fileName;

protected:
    void ParsePlainWord(std::string_view text);
    void ParseLast(bool isLast);
};

class CBatchCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(std::string_view text, bool isSwitch, bool isLast) override;

    // Batch mode: a command switch or a log file was given.
    bool IsBatch() const { return !switches.empty() || !logFileName.empty(); }

    bool hasUnknownSwitch = false;      // a switch the table does not know was given (an empty one too)
    std::string unknownSwitch;          // the last such switch
    std::vector<std::string> switches;  // recognised switches except LOG, as typed, in order
    std::vector<std::string> params;    // plain words after the first command switch
    int currentCommand = 0;             // id of the switch read last; -1 once the log file name was taken
    std::string logFileName;
};

// How a command-line word is read on this system: '-' always starts a
// switch; '/' starts one only when the rest holds no further '/' and the word
// is not the name of an existing file (absolute paths start with '/' here).
// A lone '/' is an empty switch, never the root folder.
struct CommandLineWord {
    std::string text;  // without the switch character
    bool isSwitch = false;
};
CommandLineWord ClassifyWord(std::string_view arg);

// Feeds every word (argv without the program name) to info.ParseParam.
void ParseCommandLine(std::span<const std::string> words, CCommandLineInfo& info);

// "/?", "-h" and "--help" ask for the usage lines.
bool IsHelpWord(std::string_view arg);

}  // namespace qln
