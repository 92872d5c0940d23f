#include "app/DynDlgDoc.h"

#include "app/TesselDoc.h"
#include "rcscript/Messages.h"

#include <QMdiSubWindow>

namespace qln {

CDynDlgDoc::CDynDlgDoc(CTesselDoc& project, std::int32_t dialogLine)
    : QObject(&project), project_(project), dialogLine_(dialogLine)
{
    // The database of an updated or closed project is another or none:
    // the preview closes rather than read a database that is gone.
    const auto close = [this] {
        if (view_)
            view_->detachProject();
        if (frame_)
            frame_->close();
    };
    connect(&project, &CTesselDoc::databaseChanged, this, close);
    connect(&project, &CTesselDoc::reloaded, this, close);
}

CDynDlgDoc::~CDynDlgDoc()
{
    if (frame_)
        frame_->close();
}

void CDynDlgDoc::attach(QMdiSubWindow* frame, CDynDlgView* view)
{
    frame_ = frame;
    view_ = view;
    // Closing the frame ends the document and takes it off the project's list.
    connect(frame, &QObject::destroyed, this, [this] {
        setParent(nullptr);
        deleteLater();
    });
}

QString CDynDlgDoc::title() const
{
    const std::string name = view_ ? view_->dialogName() : std::string();
    return QString::fromUtf8(msg::Format(msg::PreviewTitle, {name, project_.title().toStdString()}));
}

std::vector<CDynDlgDoc*> OpenPreviews(CTesselDoc& project)
{
    std::vector<CDynDlgDoc*> previews;
    for (QObject* child : project.children())
        if (auto* doc = qobject_cast<CDynDlgDoc*>(child); doc && doc->frame())
            previews.push_back(doc);
    return previews;
}

CDynDlgDoc* FindPreview(CTesselDoc& project, std::int32_t dialogLine)
{
    for (CDynDlgDoc* doc : OpenPreviews(project))
        if (doc->dialogLine() == dialogLine)
            return doc;
    return nullptr;
}

}  // namespace qln
