#pragma once
// A font chosen for showing texts: a sample in that font and a button that
// opens the font chooser. Used by the new-translation dialog and the font
// pages of the settings sheet.

#include "project/OptionRules.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace qln::ui {

class Prompts;

class FontField : public QWidget {
    Q_OBJECT
public:
    FontField(Prompts& prompts, QWidget* parent = nullptr);

    void setFont(const FontChoice& font);
    const FontChoice& font() const { return font_; }
    QPushButton* button() const { return button_; }
    QLabel* sample() const { return sample_; }

private:
    void choose();
    void showSample();

    Prompts& prompts_;
    FontChoice font_;
    QLabel* sample_;
    QPushButton* button_;
};

}  // namespace qln::ui
