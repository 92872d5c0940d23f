#include "setup/DesktopEntry.h"

#include "setup/SetupMessages.h"

#include "rcscript/AsciiText.h"
#include "rcscript/Messages.h"

#include <filesystem>
#include <system_error>

namespace qln::setup {

namespace {

bool IsSlugChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// Characters that make an argument of an Exec line need double quotes.
bool NeedsQuotes(std::string_view argument)
{
    return argument.empty() || argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string_view::npos;
}

std::string QuotedArgument(std::string_view argument)
{
    std::string text;
    const bool quote = NeedsQuotes(argument);
    if (quote)
        text += '"';
    for (char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            text += '\\';
        text += c;
        if (c == '%')
            text += '%';  // a literal percent sign, not a field code
    }
    if (quote)
        text += '"';
    return text;
}

bool IsExecutableFile(std::string_view command)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path path(command);
    if (!fs::is_regular_file(path, ec))
        return false;
    const fs::perms perms = fs::status(path, ec).permissions();
    return !ec && (perms & fs::perms::owner_exec) != fs::perms::none;
}

}  // namespace

std::string MenuSlug(std::string_view name)
{
    std::string slug;
    for (char c : ToLowerAscii(name)) {
        if (IsSlugChar(c))
            slug += c;
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
    }
    while (!slug.empty() && slug.back() == '-')
        slug.pop_back();
    return slug.empty() ? "group" : slug;
}

std::string GroupCategory(std::string_view group) { return "X-Qln40-" + MenuSlug(group); }

std::string ExecValue(std::string_view command)
{
    if (IsExecutableFile(command))
        return QuotedArgument(command);
    return "xdg-open " + QuotedArgument(command);
}

std::string EscapedEntryValue(std::string_view value)
{
    std::string text;
    for (char c : value) {
        switch (c) {
        case '\\': text += "\\\\"; break;
        case '\n': text += "\\n"; break;
        case '\t': text += "\\t"; break;
        case '\r': text += "\\r"; break;
        default: text += c;
        }
    }
    return text;
}

std::string DesktopEntryText(std::string_view group, std::string_view command, std::string_view title,
                             std::string_view icon)
{
    std::string text = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
    text += "Name=" + EscapedEntryValue(title) + "\n";
    text += "Comment=" + EscapedEntryValue(qln::msg::Format(msg::MenuEntryComment, {title})) + "\n";
    text += "Exec=" + EscapedEntryValue(ExecValue(command)) + "\n";
    if (!icon.empty())
        text += "Icon=" + EscapedEntryValue(icon) + "\n";
    text += "Terminal=false\n";
    text += "Categories=" + GroupCategory(group) + ";\n";
    return text;
}

std::string DirectoryEntryText(std::string_view group)
{
    return "[Desktop Entry]\nType=Directory\nVersion=1.0\nName=" + EscapedEntryValue(group) +
           "\nIcon=folder\n";
}

std::string MenuFileText(std::string_view group, std::string_view directoryFileName)
{
    auto xml = [](std::string_view value) {
        std::string text;
        for (char c : value) {
            switch (c) {
            case '&': text += "&amp;"; break;
            case '<': text += "&lt;"; break;
            case '>': text += "&gt;"; break;
            default: text += c;
            }
        }
        return text;
    };
    // Menu readers need no document type line; the file is plain XML.
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<Menu>\n"
           "  <Name>Applications</Name>\n"
           "  <Menu>\n"
           "    <Name>" + xml(group) + "</Name>\n"
           "    <Directory>" + xml(directoryFileName) + "</Directory>\n"
           "    <Include>\n"
           "      <Category>" + xml(GroupCategory(group)) + "</Category>\n"
           "    </Include>\n"
           "  </Menu>\n"
           "</Menu>\n";
}

}  // namespace qln::setup
