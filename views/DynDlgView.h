#pragma once
// A read-only preview of one dialog as real widgets: each control at its
// rectangle in dialog units, mapped to pixels through the base units of the
// preview's template font, showing its text in the chosen language.

#include "project/DialogFonts.h"
#include "project/DialogPreview.h"

#include <QFont>
#include <QWidget>

class QLabel;

namespace qln {

class CDynDlgView : public QWidget {
    Q_OBJECT
public:
    explicit CDynDlgView(const DialogPreview& dialog, QWidget* parent = nullptr);

    // The dialog's client area; the controls are its children, in script order.
    QWidget* client() const { return client_; }
    QLabel* captionLabel() const { return caption_; }
    const BaseUnits& baseUnits() const { return units_; }
    const DialogPreview& dialog() const { return dialog_; }
    // Pixel rectangle of a rectangle in dialog units.
    QRect toPixels(const DialogUnitRect& rect) const;

    // The template font (8-point "MS Sans Serif" through the font table) and
    // its base units, loaded once.
    struct TemplateFont {
        QFont font;
        BaseUnits units;
    };
    static const TemplateFont& templateFont();

private:
    QWidget* makeControl(const PreviewControl& control);

    DialogPreview dialog_;
    BaseUnits units_;
    QLabel* caption_ = nullptr;
    QWidget* client_ = nullptr;
};

}  // namespace qln
