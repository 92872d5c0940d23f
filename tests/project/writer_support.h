#pragma once
// Test support for writing translated scripts: a project database filled line
// by line through the record layer, and reading a written script back.

#include "projectdb/ProjectDatabase.h"
#include "projectdb/Sql.h"
#include "rcscript/RcParser.h"
#include "rcscript/ScriptDecoder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qln::test {

// One stored line: kind, text before, the text (nullptr: no text row), text behind.
struct StoredLine {
    int kind;
    const char* before;
    const char* text;
    const char* behind;
};

// Appends the lines in order with line indexes 10, 11, ...; texts are excluded
// as the build excludes them (include and bitmap names, empty texts).
inline void StoreLines(CProjectDatabase& project, const std::vector<StoredLine>& lines)
{
    sql::Transaction transaction(project.db());
    std::int32_t line = 0;
    for (const StoredLine& l : lines) {
        const std::int32_t index = 10 + line;
        project.AppendLine(index, ++line, 0, l.kind, l.before, l.behind);
        if (l.text)
            project.AppendText(index, l.text, l.kind == 9 || l.kind == 10 || l.kind == 16 || *l.text == '\0');
    }
    transaction.commit();
}

// A text of the database: its source text and whether it is excluded.
struct StoredText {
    std::string source;
    bool excluded = false;
};

// The database's texts in script order.
inline std::vector<StoredText> StoredTexts(CProjectDatabase& project)
{
    std::vector<StoredText> texts;
    sql::Statement st = project.db().prepare(
        "SELECT ResourceText.SourceText, ResourceText.Exclude FROM ResFileLine JOIN ResourceText ON "
        "ResourceText.LineIndex = ResFileLine.LineIndex ORDER BY ResFileLine.Line");
    while (st.step())
        texts.push_back({st.columnText(0), st.columnInt(1) != 0});
    return texts;
}

// Their source texts alone.
inline std::vector<std::string> SourceTexts(CProjectDatabase& project)
{
    std::vector<std::string> sources;
    for (StoredText& text : StoredTexts(project))
        sources.push_back(std::move(text.source));
    return sources;
}

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A script parsed back: its statements (kind 73 and parser errors end it).
struct ParsedScript {
    std::vector<CRcStatement> statements;
    int error = 0;
    int encoding = 0;  // code page the decoder read it in

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const CRcStatement& st : statements)
            if (st.HasText())
                texts.emplace_back(st.SourceText());
        return texts;
    }
};

inline ParsedScript ParseScriptBytes(const std::string& bytes)
{
    ParsedScript parsed;
    DecodedScript decoded = DecodeScript(bytes);
    parsed.encoding = decoded.codePage;
    CRcParser parser(std::move(decoded.text));
    for (;;) {
        CRcStatement st;
        parser.ParseStatement(st);
        if (st.error != 0) {
            parsed.error = st.error;
            break;
        }
        if (st.kind == 0 || st.kind == 73)
            break;
        parsed.statements.push_back(std::move(st));
    }
    return parsed;
}

}  // namespace qln::test
