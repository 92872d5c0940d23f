#include "projectdb/Schema.h"

#include "projectdb/Sql.h"
#include "rcscript/AsciiText.h"

#include <algorithm>
#include <cctype>

namespace qln {

FieldType FieldTypeOfDecl(std::string_view declaredType)
{
    const std::string upper = ToUpperAscii(declaredType);
    if (upper == DeclLong)
        return FieldType::Long;
    if (upper == DeclInteger)
        return FieldType::Integer;
    if (upper == DeclByte)
        return FieldType::Byte;
    if (upper == DeclText)
        return FieldType::Text;
    if (upper == DeclMemo)
        return FieldType::Memo;
    if (upper == "INTEGER")
        return FieldType::Counter;
    return FieldType::Other;
}

std::optional<FieldType> FieldTypeOf(sql::Database& db, std::string_view table, std::string_view field)
{
    auto& st = db.cached("SELECT type FROM pragma_table_info(?1) WHERE name = ?2 COLLATE NOCASE");
    st.bind(1, table).bind(2, field);
    std::optional<FieldType> type;
    if (st.step())
        type = FieldTypeOfDecl(st.columnText(0));
    st.reset();
    return type;
}

bool HasField(sql::Database& db, std::string_view table, std::string_view field)
{
    return FieldTypeOf(db, table, field).has_value();
}

void ApplyVersion7Layout(sql::Database& db)
{
    db.resetCached();
    db.exec(R"(
DROP INDEX Translations_Lang;
ALTER TABLE Translations RENAME COLUMN Lang_Id TO Language;
ALTER TABLE Translations ADD COLUMN SubLanguage LONG INTEGER;
CREATE INDEX Translations_Language ON Translations (Language, SubLanguage);
ALTER TABLE "Source File Language" RENAME COLUMN Lang_Id TO Language;
ALTER TABLE "Source File Language" ADD COLUMN SubLanguage LONG INTEGER;
ALTER TABLE Bookmark RENAME COLUMN Lang_Id TO Language;
ALTER TABLE Bookmark ADD COLUMN SubLanguage LONG INTEGER;
DROP INDEX Dialogs_LineIndex_Lang;
DROP INDEX Dialogs_Lang;
ALTER TABLE Dialogs DROP COLUMN Lang_Id;
CREATE UNIQUE INDEX Dialogs_LineIndex ON Dialogs (LineIndex);
DROP INDEX DialogControl_LineIndex_Lang;
DROP INDEX DialogControl_Lang;
ALTER TABLE DialogControl DROP COLUMN Lang_Id;
CREATE UNIQUE INDEX DialogControl_LineIndex ON DialogControl (LineIndex);
UPDATE Project SET FileVersion = 7;
)");
}

}  // namespace qln
