#pragma once
// CEditDynDlgDoc: a dialog preview document whose view is the layout editor.
// It adds the edit mode's part of the document: the title shows " *" while
// the layout has unsaved changes, and closing the frame with unsaved changes
// asks whether to save them (Cancel keeps the preview open).

#include "app/DynDlgDoc.h"
#include "views/EditDynDlgView.h"

namespace qln {

class CEditDynDlgDoc : public CDynDlgDoc {
    Q_OBJECT
public:
    using CDynDlgDoc::CDynDlgDoc;

    CEditDynDlgView* editView() const { return qobject_cast<CEditDynDlgView*>(view()); }
    bool editMode() const { return editView() && editView()->editMode(); }
    QString title() const override;
    // Watches the frame's close for the save question; after attach().
    void guardClose();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QObject> projectFrame_;
};

}  // namespace qln
