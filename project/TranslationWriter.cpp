// Composing a translated script from the project database and writing it.

#include "project/TranslationWriter.h"

#include "project/IncludeCodePages.h"
#include "project/Progress.h"
#include "project/ProjectFiles.h"
#include "project/ScriptFileOutput.h"
#include "project/VersionBlocks.h"
#include "projectdb/FileChecks.h"
#include "projectdb/Languages.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Schema.h"
#include "projectdb/Translations.h"
#include "rcscript/CodePages.h"
#include "rcscript/Messages.h"
#include "rcscript/RcParser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <unordered_map>

namespace qln {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// What the writer puts before a line of a kind: blanks, or an empty line.
constexpr int kEmptyLineBefore = -1;
int IndentOf(int k)
{
    switch (k) {
    case kind::Control:
    case kind::MenuItem:
    case kind::AcceleratorEntry:
    case kind::StringTableEntry:
    case kind::Value:
        return 2;
    case kind::Popup:
        return 3;
    case kind::StringTable:
    case kind::Menu:
    case kind::Dialog:
    case kind::Accelerators:
    case kind::RcData:
    case kind::UserResource:
    case kind::TextInclude:
    case kind::VersionInfo:
        return kEmptyLineBefore;
    default:
        return IsDialogControlKind(k) ? 2 : 0;
    }
}

bool IsDialogKind(int k) { return k == kind::Dialog || k == kind::DialogEx; }

// A layout of one dialog (cx, cy) or control (x, y, cx, cy) in the language.
struct Layout {
    int values[4] = {};
};
using LayoutMap = std::unordered_map<std::int32_t, Layout>;

LayoutMap LoadLayouts(CProjectDatabase& project, std::int32_t langId)
{
    LayoutMap layouts;
    if (langId == 0)
        return layouts;  // Lang_Id 0 is the source layout itself
    auto read = [&](std::string_view sqlText, int count) {
        sql::Statement st = project.db().prepare(sqlText);
        st.bind(":Lang_Id", langId);
        while (st.step()) {
            Layout layout;
            bool complete = true;
            for (int i = 0; i < count; ++i) {
                complete = complete && !st.isNull(i + 1);
                layout.values[i] = st.columnInt(i + 1);
            }
            if (complete)
                layouts[static_cast<std::int32_t>(st.columnInt64(0))] = layout;
        }
    };
    read("SELECT LineIndex, x, y, cx, cy FROM DialogControl WHERE Lang_Id = :Lang_Id", 4);
    read("SELECT LineIndex, cx, cy FROM Dialogs WHERE Lang_Id = :Lang_Id", 2);
    return layouts;
}

// Puts a layout into a control line (x, y, cx, cy) or a dialog header (cx, cy).
// The line is parsed again, as a control in a dialog body or as a header at top
// level, for the positions of its coordinates; a line that does not parse back
// to itself is left alone.
std::string ApplyLayout(const std::string& line, int k, const Layout& layout)
{
    const bool dialog = IsDialogKind(k);
    CRcParser parser(dialog ? line + "\n" : "1 DIALOG 0, 0, 0, 0\nBEGIN\n" + line + "\nEND\n");
    CRcStatement st;
    if (!dialog) {
        parser.ParseStatement(st);  // the dialog header and BEGIN that open a body
        parser.ParseStatement(st);
    }
    parser.ParseStatement(st);
    if (st.error != 0 || st.kind != k || st.text != line)
        return line;
    const int first = dialog ? 2 : 0;
    for (int i = first; i < 4; ++i)
        if (st.coordLen[i] <= 0)
            return line;
    // From the last coordinate back, so that earlier positions stay valid.
    std::string out = line;
    for (int i = 3; i >= first; --i) {
        const int value = layout.values[dialog ? i - 2 : i];
        out.replace(static_cast<std::size_t>(st.coordPos[i]), static_cast<std::size_t>(st.coordLen[i]),
                    std::to_string(value));
    }
    return out;
}

std::string LanguageNumbers(int primary, int sub)
{
    char numbers[48];
    std::snprintf(numbers, sizeof numbers, "LANGUAGE  0x%02X, 0x%02X", primary & 0x3ff, sub & 0x3f);
    return numbers;
}

// Whether a stored LANGUAGE statement names its language by symbols. One
// written with numbers is written with numbers again: a script that names no
// language symbols may not include the headers that define them.
bool UsesLanguageSymbols(std::string_view stored)
{
    const std::size_t start = stored.find_first_not_of(' ', stored.find(' '));
    return start == std::string_view::npos || !std::isdigit(static_cast<unsigned char>(stored[start]));
}

std::string PragmaLine(int codePage) { return "#pragma code_page(" + std::to_string(codePage) + ")"; }

// The source path as the header names it; characters the code page cannot hold
// become '?' (the header is a comment, the path must not stop the write).
std::string HeaderPath(const std::filesystem::path& source, int codePage)
{
    std::string path = source.string();
    if (EncodeFromUtf8(path, codePage))
        return path;
    std::string plain;
    for (char c : path)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            plain += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return plain;
}

void AppendLine(std::string& out, std::string_view line)
{
    out += line;
    out += kCrLf;
}

// Where a text was put in the composed script, to name it when it cannot be encoded.
struct TextSpan {
    std::size_t begin, end;
};

struct ComposedScript {
    std::string text;  // UTF-8
    std::vector<TextSpan> texts;
};

WriteResult Failure(WriteStatus status, std::string message, const std::filesystem::path& path)
{
    WriteResult result;
    result.status = status;
    result.message = std::move(message);
    result.path = path;
    return result;
}

// What composing the lines of one language needs besides the rows.
struct ComposeContext {
    WrittenLanguage language;
    const LayoutMap& layouts;
    const VersionBlocks& blocks;
    IncludeCodePages& includes;
    bool pragmaAtTop;  // the script has no code page line: the header sets it
};

// Included files keep their own code page only in 8-bit scripts: a UTF-16
// script names no code page a pragma could set back.
bool SetsIncludeCodePages(int codePage) { return codePage != 1200 && codePage != 1201 && codePage != 0; }

// The script's lines in order, each with its text put in and its layout applied.
void ComposeBody(CProjectDatabase& project, const ComposeContext& context, const WriteOptions& options,
                 ComposedScript& out)
{
    const int codePage = context.language.codePage;
    const std::string languageLine = LanguageStatement(context.language.primary, context.language.sub);
    const std::string pragmaLine = PragmaLine(codePage);
    sql::Statement count = project.db().prepare("SELECT count(*) FROM ResFileLine");
    const int total = count.step() ? count.columnInt(0) : 0;

    sql::Statement rows = project.db().prepare(
        "SELECT ResFileLine.LineIndex, ResFileLine.LineIdentSym, ResFileLine.BeforeStr, ResFileLine.BehindStr, "
        "ResourceText.LineIndex IS NOT NULL, ResourceText.Exclude, ResourceText.SourceText, ResourceText." +
        sql::QuoteIdentifier(context.language.column) +
        " FROM ResFileLine LEFT JOIN ResourceText ON ResourceText.LineIndex = ResFileLine.LineIndex "
        "ORDER BY ResFileLine.Line");
    // The code pages in effect at a line: the written script's, once it set
    // one, and the source's.
    std::optional<int> writtenCodePage;
    if (context.pragmaAtTop)
        writtenCodePage = codePage;
    std::optional<int> sourceCodePage;
    std::int32_t versionResource = 0;
    std::string line;
    int row = 0;
    while (rows.step()) {
        ++row;
        if (options.progress && row % 5 == 0)
            options.progress->Report(static_cast<std::uint64_t>(row), static_cast<std::uint64_t>(total));
        const auto lineIndex = static_cast<std::int32_t>(rows.columnInt64(0));
        const int k = rows.columnInt(1);
        std::size_t textBegin = 0, textEnd = 0;
        std::optional<int> includeCodePage;
        if (k == kind::Language) {
            line = UsesLanguageSymbols(rows.columnText(2)) ? languageLine
                                                            : LanguageNumbers(context.language.primary,
                                                                              context.language.sub);
        } else if (k == kind::CodePage) {
            line = pragmaLine;
            writtenCodePage = codePage;
            sourceCodePage = PragmaCodePage(rows.columnText(2));
        } else {
            line = rows.columnText(2);
            const std::string behind = rows.columnText(3);
            if (k == kind::VersionInfo)
                versionResource = lineIndex;
            if (rows.columnInt(4) != 0) {  // the line carries a text
                const bool include = k == kind::Include || k == kind::RcInclude;
                if (include && behind.empty() && (line.empty() || line.back() != ' '))
                    line += ' ';  // a bare include name needs its blank
                std::string text = rows.columnInt(5) != 0 ? std::string() : rows.columnText(7);
                if (text.empty())
                    text = rows.columnText(6);
                if (k == kind::Block) {
                    if (auto block = context.blocks.written.find(lineIndex); block != context.blocks.written.end())
                        text = block->second;
                } else if (include && writtenCodePage && SetsIncludeCodePages(codePage)) {
                    includeCodePage = context.includes.CodePageToSet(text, *writtenCodePage, sourceCodePage);
                }
                textBegin = line.size();
                line += text;
                textEnd = line.size();
            } else if (k == kind::Value) {
                if (auto blocks = context.blocks.byResource.find(versionResource);
                    blocks != context.blocks.byResource.end())
                    line = RewriteTranslationValue(line, blocks->second);
            }
            line += behind;
            if (!context.layouts.empty() && (IsDialogControlKind(k) || IsDialogKind(k))) {
                auto layout = context.layouts.find(lineIndex);
                // The coordinates follow the text: its span stays where it was.
                if (layout != context.layouts.end())
                    line = ApplyLayout(line, k, layout->second);
            }
        }
        const int indent = IndentOf(k);
        if (indent == kEmptyLineBefore)
            out.text += kCrLf;
        else
            out.text.append(static_cast<std::size_t>(indent), ' ');
        // An include line read in its file's own code page, the script's set again behind it.
        if (includeCodePage)
            AppendLine(out.text, PragmaLine(*includeCodePage));
        if (textEnd > textBegin)
            out.texts.push_back({out.text.size() + textBegin, out.text.size() + textEnd});
        AppendLine(out.text, line);
        if (includeCodePage)
            AppendLine(out.text, pragmaLine);
    }
}

bool HasCodePageLine(CProjectDatabase& project)
{
    sql::Statement st = project.db().prepare("SELECT 1 FROM ResFileLine WHERE LineIdentSym = :Kind LIMIT 1");
    st.bind(":Kind", kind::CodePage);
    return st.step();
}

std::string CodePageName(int codePage) { return std::to_string(codePage); }

// Which code pages a translation could be written in: UTF-8 always, and of
// the Windows code pages of Europe and the Middle East and the language's own
// those that hold the whole script.
std::string CodePagesHolding(std::string_view script, int primary, int sub)
{
    const int own = CodePageNumber(primary, sub);
    std::vector<std::string> others;
    for (const CodePageListEntry& entry : CodePageList())
        if (((entry.number >= 1250 && entry.number <= 1256) || entry.number == own) &&
            EncodeFromUtf8(script, entry.number))
            others.push_back(CodePageName(entry.number));
    if (others.empty())
        return std::string(msg::WriteUtf8HoldsAll);
    return msg::Format(msg::WriteOthersHoldAll, {msg::JoinLines(others, ", ")});
}

}  // namespace

std::string LanguageStatement(int primary, int sub)
{
    const LanguageSymbolSet symbols = LanguageSymbols(FindLanguageRow(primary, sub));
    if (!symbols.primarySymbol.empty() && !symbols.subSymbol.empty())
        return "LANGUAGE  " + std::string(symbols.primarySymbol) + ", " + std::string(symbols.subSymbol);
    return LanguageNumbers(primary, sub);
}

int TranslationCodePage(CProjectDatabase& project, int primary, int sub)
{
    // Databases that kept the code page in a 16-bit field hold 65001 as -535.
    if (auto stored = GetCodePage(project, primary, sub))
        return *stored < 0 ? *stored + 65536 : *stored;
    return CodePageNumber(primary, sub);
}

WriteResult WriteTranslatedScript(const std::filesystem::path& output, const std::filesystem::path& source,
                                  CProjectDatabase& project, int primary, int sub, const WriteOptions& options)
{
    const auto displayName = LanguageDisplayName(primary, sub);
    const std::string language = displayName ? std::string(*displayName) : LanguageIdentString(primary, sub);
    try {
        const auto version = project.GetFileVersion();
        if (!version || !displayName || !HasLanguageColumn(project, primary, sub))
            return Failure(WriteStatus::NotWritable, msg::Format(msg::WriteNoTranslation, {language}), output);
        if (std::string refusal = TranslationFileRefusal(project, source, output); !refusal.empty())
            return Failure(WriteStatus::ProjectFile, std::move(refusal), output);
        const bool newFormat = *version > 7;
        const int codePage = TranslationCodePage(project, primary, sub);
        if (!IsSupportedCodePage(codePage))
            return Failure(WriteStatus::Unrepresentable,
                           msg::Format(msg::WriteUnknownCodePage, {language, CodePageName(codePage)}), output);

        const LayoutMap layouts = newFormat ? LoadLayouts(project, LangIdOf(primary, sub)) : LayoutMap{};
        const WrittenLanguage writtenLanguage{*displayName, primary, sub, codePage};
        const VersionBlocks blocks = LoadVersionBlocks(project, writtenLanguage);
        IncludeCodePages includes(source.parent_path());
        const bool pragmaAtTop = !HasCodePageLine(project) && codePage != 1200 && codePage != 0;
        ComposedScript body;
        ComposeBody(project, {writtenLanguage, layouts, blocks, includes, pragmaAtTop}, options, body);

        // Header, the body, the footer. A script without a code page statement
        // gets one first thing, so that a compiler reads it as it was written
        // (a UTF-16 file says so by its byte-order mark).
        std::string script;
        script.reserve(body.text.size() + 1024);
        AppendLine(script, msg::WriteHeaderRule);
        AppendLine(script, msg::WriteHeaderProgram);
        AppendLine(script, msg::WriteHeaderTranslated);
        AppendLine(script, msg::Format(msg::WriteHeaderSource, {HeaderPath(source, codePage)}));
        AppendLine(script, msg::WriteHeaderRule);
        AppendLine(script, "");
        if (pragmaAtTop)
            AppendLine(script, PragmaLine(codePage));
        const std::size_t bodyStart = script.size();
        script += body.text;
        script += kCrLf;
        AppendLine(script, "");
        AppendLine(script, msg::WriteHeaderRule);
        AppendLine(script, msg::WriteFooterEnd);
        AppendLine(script, msg::WriteHeaderRule);

        EncodeResult encoded = EncodeFromUtf8(script, codePage);
        if (!encoded) {
            const auto lineNo = std::count(script.begin(), script.begin() + static_cast<std::ptrdiff_t>(encoded.offset),
                                           '\n') + 1;
            // Name the text that holds the character, else the whole line.
            std::string_view shown;
            for (const TextSpan& span : body.texts)
                if (encoded.offset >= bodyStart + span.begin && encoded.offset < bodyStart + span.end)
                    shown = std::string_view(script).substr(bodyStart + span.begin, span.end - span.begin);
            if (shown.empty()) {
                const std::size_t start = script.rfind('\n', encoded.offset);
                const std::size_t from = start == std::string::npos ? 0 : start + 1;
                shown = std::string_view(script).substr(from, script.find('\r', from) - from);
            }
            return Failure(WriteStatus::Unrepresentable,
                           msg::Format(msg::WriteUnrepresentable,
                                       {language, std::to_string(lineNo), shown, CodePageName(codePage),
                                        CodePagesHolding(script, primary, sub)}),
                           output);
        }
        std::string bytes(ByteOrderMark(codePage));
        bytes += encoded.bytes;

        const FileWriteOutcome written = WriteFileReplacing(output, bytes);
        if (written.badPath)
            return Failure(WriteStatus::BadPath, msg::Format(msg::WriteBadPath, {language, output.string()}), output);
        if (written.cause != filecause::None) {
            WriteResult result =
                Failure(WriteStatus::FileError, WithCause(FileErrorText(written.cause), output, written.errnoValue),
                        output);
            result.fileCause = written.cause;
            return result;
        }
        WriteResult result;
        result.status = WriteStatus::Written;
        result.path = output;
        result.lines = static_cast<int>(std::count(script.begin(), script.end(), '\n'));
        return result;
    } catch (const sql::Error& e) {
        return Failure(WriteStatus::DatabaseError, DatabaseErrorMessage(e), output);
    }
}

}  // namespace qln
