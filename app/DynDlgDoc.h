#pragma once
// CDynDlgDoc: one open dialog preview of a project. It is a child object of
// the project document (CTesselDoc), so the project lists its open previews
// (OpenPreviews) and they go with it; its frame is an MDI sub-window of the
// main window that belongs to the project's frame, and its view is the
// CDynDlgView that shows the dialog.

#include "views/DynDlgView.h"

#include <QObject>
#include <QPointer>

#include <vector>

class QMdiSubWindow;

namespace qln {

class CTesselDoc;

class CDynDlgDoc : public QObject {
    Q_OBJECT
public:
    CDynDlgDoc(CTesselDoc& project, std::int32_t dialogLine);
    ~CDynDlgDoc() override;

    std::int32_t dialogLine() const { return dialogLine_; }
    CTesselDoc& project() const { return project_; }
    // The frame and view, once attached; null after the frame closed.
    QMdiSubWindow* frame() const { return frame_; }
    CDynDlgView* view() const { return view_; }
    void attach(QMdiSubWindow* frame, CDynDlgView* view);
    // "Dialog: %1  (%2)" with the dialog name and the project's title.
    virtual QString title() const;

private:
    CTesselDoc& project_;
    std::int32_t dialogLine_;
    QPointer<QMdiSubWindow> frame_;
    QPointer<CDynDlgView> view_;
};

// The project's open previews, in the order they were opened.
std::vector<CDynDlgDoc*> OpenPreviews(CTesselDoc& project);
CDynDlgDoc* FindPreview(CTesselDoc& project, std::int32_t dialogLine);

}  // namespace qln
