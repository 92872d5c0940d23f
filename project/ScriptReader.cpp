#include "project/ScriptReader.h"

#include "project/Progress.h"
#include "projectdb/FileStamp.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/AsciiText.h"
#include "rcscript/RcParser.h"
#include "rcscript/ScriptDecoder.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace qln {

namespace fs = std::filesystem;

namespace {

fs::path Canonical(const fs::path& path)
{
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(path, ec);
    return ec ? path.lexically_normal() : canonical;
}

// Pops the file off the stack of open files however its reading ends.
class OpenFileGuard {
public:
    OpenFileGuard(std::vector<fs::path>& files, fs::path file) : files_(files) { files_.push_back(std::move(file)); }
    ~OpenFileGuard() { files_.pop_back(); }
    OpenFileGuard(const OpenFileGuard&) = delete;
    OpenFileGuard& operator=(const OpenFileGuard&) = delete;

private:
    std::vector<fs::path>& files_;
};

}  // namespace

std::string CollapseBackslashes(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        out += name[i];
        if (name[i] == '\\' && i + 1 < name.size() && name[i + 1] == '\\')
            ++i;
    }
    return out;
}

// Where the progress report of one file stands: the byte offset of a physical
// line, moved forward as statements are read.
struct ScriptReader::FileCursor {
    const std::string& text;
    std::size_t offset = 0;
    int line = 1;
};

ScriptReader::ScriptReader(CProjectDatabase& db, LineIndexSet& used, LineStore& store, ReadMode mode,
                           Progress& progress)
    : db_(db), used_(used), store_(store), mode_(mode), progress_(progress)
{
}

void ScriptReader::SetIncludeExtensions(const std::vector<std::string>& extensions)
{
    extensions_.clear();
    for (const std::string& entry : extensions)
        if (!entry.empty())  // an empty entry would match every name
            extensions_.push_back(ToUpperAscii(entry));
}

std::uint32_t ScriptReader::NewLineIndex()
{
    const std::uint32_t index = used_.allocate(candidate_);
    used_.insert(index);
    candidate_ = index + 1;
    return index;
}

int ScriptReader::ReadFile(const fs::path& script)
{
    DecodedScript decoded;
    std::string error;
    if (!LoadScriptFile(script, decoded, error)) {
        openError_ = error;
        return rcerr::CantOpen;
    }
    return ReadDecoded(script, decoded);
}

int ScriptReader::ReadDecoded(const fs::path& script, const DecodedScript& decoded)
{
    total_ += decoded.text.size();
    db_.currentStatementLine = CProjectDatabase::NoLine;
    db_.currentBlockLine = CProjectDatabase::NoLine;
    OpenFileGuard open(openFiles_, Canonical(script));
    currentFile_ = script.string();
    const int code = ReadScriptFile(decoded.text, script.parent_path(), 0);
    if (!cancelled_)
        progress_.Report(position_, total_);
    return code;
}

fs::path ScriptReader::currentFile() const
{
    return openFiles_.empty() ? fs::path() : openFiles_.back();
}

void ScriptReader::Advance(FileCursor& cursor, int sourceLine)
{
    const std::size_t before = cursor.offset;
    while (cursor.line < sourceLine && cursor.offset < cursor.text.size()) {
        const void* nl = std::memchr(cursor.text.data() + cursor.offset, '\n', cursor.text.size() - cursor.offset);
        if (!nl) {
            cursor.offset = cursor.text.size();
            break;
        }
        cursor.offset = static_cast<std::size_t>(static_cast<const char*>(nl) - cursor.text.data()) + 1;
        ++cursor.line;
    }
    position_ += cursor.offset - before;
    progress_.Report(position_, total_);
    if (progress_.Cancelled())
        cancelled_ = true;
}

int ScriptReader::ReadScriptFile(const std::string& text, const fs::path& directory, std::int32_t startCounter)
{
    counter_ = startCounter;
    candidate_ = 10;
    firstIndex_ = 0;
    CRcParser parser(text);
    FileCursor cursor{text};
    // A few hundred reports per file.
    const std::int64_t budgetSize = std::max<std::int64_t>(static_cast<std::int64_t>(text.size() / 256), 4096);
    std::int64_t budget = budgetSize;

    int code = 0;
    CRcStatement statement;
    while (code == 0) {
        try {
            parser.ParseStatement(statement);
        } catch (const std::bad_alloc&) {
            code = rcerr::NoMemory;
            break;
        }
        // An unknown character at the start of a statement is a parser error
        // like any other: reading stops and the build says where, instead of
        // dropping the rest of the script without a word.
        if (statement.error != 0) {
            code = statement.error;
            stopLine_ = statement.sourceLine;
            break;
        }
        ++counter_;
        if (statement.unrecognised)
            unrecognised_.push_back({currentFile_, statement.sourceLine});

        budget -= static_cast<std::int64_t>(statement.text.size()) + 1;
        if (budget <= 0) {
            budget = budgetSize;
            Advance(cursor, statement.sourceLine);
        }

        if (!(WantsInclude(statement) && FollowInclude(statement, directory))) {
            const std::uint32_t index = store_.StoreLine(statement, parser, counter_, *this);
            if (firstIndex_ == 0)
                firstIndex_ = index;
        }
        if (cancelled_)
            code = kReadCancelled;
        else if (statement.kind == kind::EndOfInput)
            break;
    }
    position_ += text.size() - cursor.offset;
    return code;
}

bool ScriptReader::WantsInclude(const CRcStatement& statement) const
{
    if (extensions_.empty() || (statement.kind != kind::Include && statement.kind != kind::RcInclude) ||
        !statement.HasText())
        return false;
    const std::string_view name = statement.SourceText();
    if (name.empty() || name.size() > kMaxIncludeName)
        return false;
    const std::string upper = ToUpperAscii(name);
    return std::any_of(extensions_.begin(), extensions_.end(),
                       [&](const std::string& entry) { return upper.find(entry) != std::string::npos; });
}

bool ScriptReader::FollowInclude(const CRcStatement& statement, const fs::path& directory)
{
    const std::string written(statement.SourceText());
    const std::string name = CollapseBackslashes(written);
    std::string slashed = name;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const fs::path named(slashed);
    const fs::path shown = (named.is_absolute() ? named : directory / named).lexically_normal();
    auto missing = [&] {
        missing_.push_back(shown.string());
        return false;
    };

    std::error_code ec;
    const std::optional<fs::path> file = ResolveScriptReference(directory, name);
    if (!file || !fs::is_regular_file(*file, ec) || static_cast<int>(openFiles_.size()) > kMaxIncludeDepth)
        return missing();
    const fs::path canonical = Canonical(*file);
    if (std::find(openFiles_.begin(), openFiles_.end(), canonical) != openFiles_.end())
        return missing();  // a file that includes itself
    const std::optional<FileStamp> stamp = ReadFileStamp(*file);
    DecodedScript decoded;
    std::string error;
    if (!LoadScriptFile(*file, decoded, error))
        return missing();
    total_ += decoded.text.size();

    // A file that fails half way is taken back whole: its rows, line
    // indexes and numbers, and what it changed of the enclosing resource.
    const std::int32_t savedCounter = counter_;
    const std::uint32_t savedCandidate = candidate_;
    const std::uint32_t savedFirst = firstIndex_;
    const int savedStopLine = stopLine_;
    const std::size_t savedUnrecognised = unrecognised_.size();
    const std::string savedFile = std::exchange(currentFile_, file->string());
    const LineIndexSet savedUsed = used_;
    const std::int32_t savedStatementLine = db_.currentStatementLine;
    const std::int32_t savedBlockLine = db_.currentBlockLine;
    db_.db().exec("SAVEPOINT include_file");
    store_.IncludeStarted();
    int code;
    {
        OpenFileGuard open(openFiles_, canonical);
        // The include's first statement takes the number of the include line.
        code = ReadScriptFile(decoded.text, file->parent_path(), std::max(counter_ - 1, 0));
    }
    const std::uint32_t first = firstIndex_;
    candidate_ = savedCandidate;
    firstIndex_ = savedFirst;
    currentFile_ = savedFile;

    if (code != 0 && code != kReadCancelled) {
        db_.db().exec("ROLLBACK TO include_file; RELEASE include_file");
        counter_ = savedCounter;
        stopLine_ = savedStopLine;
        unrecognised_.resize(savedUnrecognised);
        used_ = savedUsed;
        db_.currentStatementLine = savedStatementLine;
        db_.currentBlockLine = savedBlockLine;
        store_.IncludeAbandoned();
        return missing();
    }
    db_.db().exec("RELEASE include_file");
    store_.IncludeFinished();
    if (code == 0 && stamp && first != 0)
        db_.AppendIncludeFile(static_cast<std::int32_t>(first), written, *stamp);
    if (firstIndex_ == 0)
        firstIndex_ = first;
    return true;
}

}  // namespace qln
