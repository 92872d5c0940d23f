#include "project/ImportAlignment.h"

#include "projectdb/ProjectDatabase.h"
#include "rcscript/RcStatement.h"

#include <algorithm>
#include <map>
#include <utility>

namespace qln {

namespace {

// The lines of the project a key stands for, in script order.
std::vector<std::int32_t> FindLines(CProjectDatabase& project, const TextKey& key)
{
    sql::Statement* st = nullptr;
    switch (key.lookup) {
    case Lookup::Caption:
        st = &project.Query("Dialog_Caption");
        st->bind(":DlgIdent", key.resource);
        break;
    case Lookup::Control:
        st = &project.Query("Dialog_Control");
        st->bind(":DlgIdent", key.resource).bind(":ItemIdent", key.item).bind(":ItemIdentSym", key.lineKind);
        break;
    case Lookup::Popup:
        st = &project.Query("PopupItem_By_MenuIdent");
        st->bind(":MenuIdent", key.resource).bind(":ItemIdentSym", kind::Popup);
        break;
    case Lookup::MenuItem:
        st = &project.Query("MenuItem_Line");
        st->bind(":MenuIdent", key.resource).bind(":ItemIdent", key.item);
        break;
    case Lookup::String:
        st = &project.Query("StringtableString_By_Ident");
        st->bind(":Name_ID", key.item);
        break;
    case Lookup::Bitmap:
        st = &project.Query("BitmapString_By_Ident");
        st->bind(":Name_ID", key.item);
        break;
    case Lookup::VersionValue:
        st = &project.Query("VersionValue_By_ResIdent_ValueIdent");
        st->bind(":VersIdent", key.resource).bind(":ValueIdent", key.item);
        break;
    }
    std::vector<std::int32_t> lines;
    const int column = st->columnIndex("LineIndex");
    while (st->step())
        lines.push_back(static_cast<std::int32_t>(st->columnInt64(column)));
    st->reset();
    return lines;
}

// ResFileLine.Line of a project line: its place in the script.
std::int64_t LineNumber(CProjectDatabase& project, std::int32_t lineIndex)
{
    sql::Statement& st = project.Query("ResLineValues_By_LineIndex");
    st.bind(":LineIndex", lineIndex);
    std::int64_t line = 0;
    if (st.step())
        line = st.columnInt64(st.columnIndex("Line"));
    st.reset();
    return line;
}

// The statements of one key in the script and its lines in the project.
struct KeyGroup {
    std::vector<std::size_t> statements;
    std::vector<std::int32_t> lines;

    bool even() const { return statements.size() == lines.size(); }
};

using Groups = std::map<TextKey, KeyGroup>;

// Keys whose statements lie among each other: those of one dialog, one menu
// or one version resource, all strings, all bitmaps.
using Scope = std::pair<int, std::string>;

Scope ScopeOf(const TextKey& key)
{
    switch (key.lookup) {
    case Lookup::Caption:
    case Lookup::Control:
        return {0, key.resource};
    case Lookup::Popup:
    case Lookup::MenuItem:
        return {1, key.resource};
    case Lookup::VersionValue:
        return {2, key.resource};
    case Lookup::String:
        return {3, {}};
    case Lookup::Bitmap:
        break;
    }
    return {4, {}};
}

void PairInOrder(const std::vector<std::size_t>& statements, const std::vector<std::int32_t>& lines, Alignment& out)
{
    for (std::size_t i = 0; i < statements.size(); ++i)
        out.pairs.push_back({statements[i], lines[i]});
}

// A statement and a project line that pair beyond doubt: their key occurs
// once in the script and once in the project.
struct Landmark {
    std::size_t statement;
    std::int64_t line;  // ResFileLine.Line
};

// The longest series of landmarks that lie in the same order in the script
// and in the project, in that order. A landmark out of order (a control the
// translator moved) still pairs, but cannot bound a stretch.
std::vector<Landmark> OrderedLandmarks(std::vector<Landmark> marks)
{
    std::sort(marks.begin(), marks.end(),
              [](const Landmark& a, const Landmark& b) { return a.statement < b.statement; });
    std::vector<std::size_t> tails;  // tails[k]: mark ending the best series of length k + 1
    std::vector<std::size_t> previous(marks.size());
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const auto at = std::lower_bound(tails.begin(), tails.end(), marks[i].line,
                                         [&](std::size_t t, std::int64_t line) { return marks[t].line < line; });
        previous[i] = at == tails.begin() ? i : *(at - 1);
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
    }
    std::vector<Landmark> series;
    if (tails.empty())
        return series;
    for (std::size_t i = tails.back();; i = previous[i]) {
        series.push_back(marks[i]);
        if (previous[i] == i)
            break;
    }
    std::reverse(series.begin(), series.end());
    return series;
}

// Pairs the statements of a key whose counts differ stretch by stretch: a
// stretch runs from one landmark to the next, and where the script and the
// project have as many lines of the key in a stretch, they pair in order.
class StretchAligner {
public:
    StretchAligner(CProjectDatabase& project, std::vector<Landmark> landmarks)
        : project_(project), landmarks_(std::move(landmarks))
    {
    }

    void Align(const KeyGroup& group, Alignment& out)
    {
        std::map<std::size_t, KeyGroup> stretches;
        for (const std::size_t s : group.statements)
            stretches[StretchOfStatement(s)].statements.push_back(s);
        for (const std::int32_t line : group.lines)
            stretches[StretchOfLine(line)].lines.push_back(line);
        for (const auto& [stretch, part] : stretches) {
            if (part.even())
                PairInOrder(part.statements, part.lines, out);
            else
                out.unaligned.insert(out.unaligned.end(), part.statements.begin(), part.statements.end());
        }
    }

private:
    // Stretch k lies between landmarks k - 1 and k.
    std::size_t StretchOfStatement(std::size_t statement) const
    {
        return CountBefore([&](const Landmark& m) { return m.statement < statement; });
    }
    std::size_t StretchOfLine(std::int32_t lineIndex)
    {
        const std::int64_t line = LineNumber(project_, lineIndex);
        return CountBefore([&](const Landmark& m) { return m.line < line; });
    }
    template <typename Before>
    std::size_t CountBefore(Before before) const
    {
        const auto end = std::partition_point(landmarks_.begin(), landmarks_.end(), before);
        return static_cast<std::size_t>(end - landmarks_.begin());
    }

    CProjectDatabase& project_;
    std::vector<Landmark> landmarks_;
};

void AlignUnevenScope(CProjectDatabase& project, const std::vector<const KeyGroup*>& scope, Alignment& out)
{
    std::vector<Landmark> marks;
    for (const KeyGroup* group : scope)
        if (group->statements.size() == 1 && group->lines.size() == 1)
            marks.push_back({group->statements.front(), LineNumber(project, group->lines.front())});
    StretchAligner aligner(project, OrderedLandmarks(std::move(marks)));
    for (const KeyGroup* group : scope)
        if (!group->even())
            aligner.Align(*group, out);
}

}  // namespace

Alignment AlignStatements(CProjectDatabase& project, const std::vector<ScriptStatement>& statements)
{
    Groups groups;
    for (std::size_t i = 0; i < statements.size(); ++i)
        groups[statements[i].key].statements.push_back(i);
    Alignment out;
    std::map<Scope, std::vector<const KeyGroup*>> scopes;
    std::vector<Scope> uneven;
    for (auto& [key, group] : groups) {
        group.lines = FindLines(project, key);
        if (group.lines.empty())
            continue;  // not in the project
        const Scope scope = ScopeOf(key);
        scopes[scope].push_back(&group);
        if (group.even())
            PairInOrder(group.statements, group.lines, out);
        else
            uneven.push_back(scope);
    }
    std::sort(uneven.begin(), uneven.end());
    uneven.erase(std::unique(uneven.begin(), uneven.end()), uneven.end());
    for (const Scope& scope : uneven)
        AlignUnevenScope(project, scopes[scope], out);
    std::sort(out.unaligned.begin(), out.unaligned.end());
    return out;
}

}  // namespace qln
