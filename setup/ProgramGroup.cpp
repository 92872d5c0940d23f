#include "setup/ProgramGroup.h"

#include "setup/DesktopEntry.h"
#include "setup/SetupMessages.h"

#include "rcscript/AsciiText.h"
#include "rcscript/Messages.h"

#include <fstream>
#include <system_error>

namespace qln::setup {

namespace fs = std::filesystem;

namespace {

void SkipBlanks(std::string_view text, std::size_t& i)
{
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
}

// One argument up to ',' or ')': either "quoted" ("" inside is one quote) or plain, trimmed.
std::optional<std::string> ParseArgument(std::string_view text, std::size_t& i)
{
    SkipBlanks(text, i);
    std::string value;
    if (i < text.size() && text[i] == '"') {
        for (++i;; ++i) {
            if (i >= text.size())
                return std::nullopt;
            if (text[i] == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    value += '"';
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            value += text[i];
        }
        SkipBlanks(text, i);
        return value;
    }
    while (i < text.size() && text[i] != ',' && text[i] != ')')
        value += text[i++];
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.pop_back();
    return value;
}

// "[Name(arg, arg)]" starting at text[i].
std::optional<GroupCommand> ParseCommand(std::string_view text, std::size_t& i)
{
    if (text[i] != '[')
        return std::nullopt;
    GroupCommand command;
    for (++i; i < text.size() && text[i] != '(' && text[i] != ']'; ++i)
        command.name += text[i];
    if (i < text.size() && text[i] == '(') {
        ++i;
        for (;;) {
            auto argument = ParseArgument(text, i);
            if (!argument || i >= text.size())
                return std::nullopt;
            command.arguments.push_back(std::move(*argument));
            if (text[i] == ')')
                break;
            if (text[i] != ',')
                return std::nullopt;
            ++i;
        }
        ++i;
    }
    if (i >= text.size() || text[i] != ']' || command.name.empty())
        return std::nullopt;
    ++i;
    return command;
}

std::optional<std::string> WriteTextFile(const fs::path& file, const std::string& text)
{
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    const fs::path temporary = file.parent_path() / ("." + file.filename().string() + ".tmp");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            fs::remove(temporary, ec);
            return qln::msg::Format(msg::GroupFileFailed, {file.string(), "write error"});
        }
    }
    fs::rename(temporary, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return qln::msg::Format(msg::GroupFileFailed, {file.string(), ec.message()});
    }
    return std::nullopt;
}

std::optional<std::string> RemoveFile(const fs::path& file)
{
    std::error_code ec;
    fs::remove(file, ec);
    if (ec)
        return qln::msg::Format(msg::GroupFileFailed, {file.string(), ec.message()});
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<GroupCommand>> ParseGroupCommands(std::string_view commands)
{
    std::vector<GroupCommand> parsed;
    std::size_t i = 0;
    for (SkipBlanks(commands, i); i < commands.size(); SkipBlanks(commands, i)) {
        auto command = ParseCommand(commands, i);
        if (!command)
            return std::nullopt;
        parsed.push_back(std::move(*command));
    }
    return parsed;
}

std::string GroupArgument(std::string_view value)
{
    const bool plain = value.find_first_of(",()\"[]") == std::string_view::npos &&
                       (value.empty() || (value.front() != ' ' && value.back() != ' '));
    if (plain)
        return std::string(value);
    std::string quoted = "\"";
    for (char c : value)
        quoted += (c == '"') ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

ProgramGroupShell::ProgramGroupShell(XdgDirs dirs) : dirs_(std::move(dirs)) {}

fs::path ProgramGroupShell::DirectoryFile(std::string_view group) const
{
    return dirs_.dataHome / "desktop-directories" / ("qln40-" + MenuSlug(group) + ".directory");
}

fs::path ProgramGroupShell::MenuFile(std::string_view group) const
{
    return dirs_.configHome / "menus" / "applications-merged" / ("qln40-" + MenuSlug(group) + ".menu");
}

fs::path ProgramGroupShell::EntryFile(std::string_view group, std::string_view title) const
{
    return dirs_.dataHome / "applications" / ("qln40-" + MenuSlug(group) + "-" + MenuSlug(title) + ".desktop");
}

std::optional<std::string> ProgramGroupShell::Execute(std::string_view commands)
{
    const auto parsed = ParseGroupCommands(commands);
    if (!parsed)
        return qln::msg::Format(msg::GroupCommandMalformed, {commands});
    for (const GroupCommand& command : *parsed)
        if (auto failure = Run(command, commands))
            return failure;
    return std::nullopt;
}

std::optional<std::string> ProgramGroupShell::Run(const GroupCommand& command, std::string_view text)
{
    const std::size_t count = command.arguments.size();
    if (EqualsNoCase(command.name, "CreateGroup") && count >= 1)
        return CreateGroup(command.arguments[0]);
    if (EqualsNoCase(command.name, "AddItem") && (count == 2 || count == 3))
        return AddItem(command.arguments);
    if (EqualsNoCase(command.name, "DeleteItem") && count == 1)
        return DeleteItem(command.arguments[0]);
    if (EqualsNoCase(command.name, "DeleteGroup") && count >= 1)
        return DeleteGroup(command.arguments[0]);
    return qln::msg::Format(msg::GroupCommandUnknown, {text});
}

std::optional<std::string> ProgramGroupShell::CreateGroup(const std::string& name)
{
    const fs::path directory = DirectoryFile(name);
    if (auto failure = WriteTextFile(directory, DirectoryEntryText(name)))
        return failure;
    if (auto failure = WriteTextFile(MenuFile(name), MenuFileText(name, directory.filename().string())))
        return failure;
    activeGroup_ = name;
    return std::nullopt;
}

std::optional<std::string> ProgramGroupShell::AddItem(const std::vector<std::string>& arguments)
{
    if (activeGroup_.empty())
        return qln::msg::Format(msg::GroupNotActive, {arguments[1]});
    const std::string icon = arguments.size() == 3 ? arguments[2] : std::string();
    return WriteTextFile(EntryFile(activeGroup_, arguments[1]),
                         DesktopEntryText(activeGroup_, arguments[0], arguments[1], icon));
}

std::optional<std::string> ProgramGroupShell::DeleteItem(const std::string& title)
{
    if (activeGroup_.empty())
        return qln::msg::Format(msg::GroupNotActive, {title});
    return RemoveFile(EntryFile(activeGroup_, title));
}

std::optional<std::string> ProgramGroupShell::DeleteGroup(const std::string& name)
{
    const std::string prefix = "qln40-" + MenuSlug(name) + "-";
    std::error_code ec;
    for (fs::directory_iterator it(dirs_.dataHome / "applications", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string file = it->path().filename().string();
        if (file.starts_with(prefix) && file.ends_with(".desktop"))
            if (auto failure = RemoveFile(it->path()))
                return failure;
    }
    for (const fs::path& file : {DirectoryFile(name), MenuFile(name)})
        if (auto failure = RemoveFile(file))
            return failure;
    if (EqualsNoCase(activeGroup_, name))
        activeGroup_.clear();
    RemoveEmptyFolders();
    return std::nullopt;
}

// The folders a group's files live in, removed again when nothing is left in them.
void ProgramGroupShell::RemoveEmptyFolders() const
{
    const fs::path folders[] = {dirs_.dataHome / "applications", dirs_.dataHome / "desktop-directories",
                                dirs_.configHome / "menus" / "applications-merged", dirs_.configHome / "menus"};
    for (const fs::path& folder : folders) {
        std::error_code ec;
        if (fs::is_directory(folder, ec) && fs::is_empty(folder, ec))
            fs::remove(folder, ec);
    }
}

}  // namespace qln::setup
