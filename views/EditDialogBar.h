#pragma once
// CEditDialogBar: the "Pos. & Size" bar of the layout editor. It shows the
// source rectangle (small) and the current rectangle (bold) of the single
// selected control, or (0, 0, cx, cy) of the dialog when nothing is
// selected; a current value that differs from its source value is drawn in
// white on a dark field.

#include "project/DialogPreview.h"

#include <QWidget>

#include <array>
#include <optional>

class QLabel;

namespace qln {

class CEditDialogBar : public QWidget {
    Q_OBJECT
public:
    explicit CEditDialogBar(QWidget* parent = nullptr);

    // Either rectangle may be absent (several controls selected: both; the
    // source shown: the current one). All-zero rectangles show empty fields.
    void showValues(const std::optional<DialogUnitRect>& source, const std::optional<DialogUnitRect>& current);
    void clear() { showValues(std::nullopt, std::nullopt); }

    // What the fields show (x, y, cx, cy), for the tests and the screen reader.
    QString sourceField(int column) const;
    QString currentField(int column) const;
    bool currentFieldChanged(int column) const;

private:
    std::array<QLabel*, 4> source_{};
    std::array<QLabel*, 4> current_{};
    std::array<bool, 4> changed_{};
};

}  // namespace qln
