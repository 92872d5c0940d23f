// What the project document does after its dialog commands changed the project.
#include "app/TesselDoc.h"

#include "projectdb/ProjectDatabase.h"

namespace qln {

void CTesselDoc::MarkIncludeListChanged()
{
    if (!db_)
        return;
    try {
        change_.IncludeListChanged(*db_);
    } catch (const sql::Error& e) {
        showFailure(DatabaseErrorMessage(e));
    }
    readStatus();
    emit titleChanged();
}

void CTesselDoc::TranslationsChanged(bool textsChanged)
{
    if (!db_)
        return;
    RecomputeStatus();
    emit translationsChanged();
    if (textsChanged)
        emit reloaded();
}

}  // namespace qln
