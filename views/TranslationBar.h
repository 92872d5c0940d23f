#pragma once
// CTranslationBar: the docked bar where a translator types. It shows the
// source text of the text table's current item and an edit for its
// translation into the current language, in display form (quotes as the
// user reads them), and stores what was typed through the table.

#include "views/TextListView.h"

#include <QDockWidget>
#include <QPointer>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSettings;

namespace qln {

class CTranslationEdit;

class CTranslationBar : public QDockWidget {
    Q_OBJECT
public:
    explicit CTranslationBar(QWidget* parent = nullptr);

    // The table whose current item the bar edits; null clears and disables it.
    void attachView(CTextListView* view);
    CTextListView* view() const { return view_; }
    // Loads an item; the fonts are those of its source and its language.
    void setItem(const TextItem& item, const QFont& sourceFont, const QFont& translationFont);
    void clear();

    // The buttons' actions.
    bool store();
    void okNext();
    void cancelNext();
    void copySource();
    void insertSpecialCharacter();
    void showSourceText();
    void editBlockHeader();
    // Shows the bar and puts the focus into the translation.
    void startTranslating();

    bool isActive() const { return active_; }
    bool isEdited() const { return edited_; }
    const TextItem& item() const { return item_; }

    // Size and docking side: keys CX, CY and DockStyle of a section.
    static constexpr const char* kSettingsSection = "General-Bar5";
    void saveSettings(QSettings& settings, Qt::DockWidgetArea area, const QString& section = kSettingsSection) const;
    // Gives the stored size (CX, CY above 40) and the docking side to use.
    static Qt::DockWidgetArea restoreSettings(QSettings& settings, QSize& size,
                                              const QString& section = kSettingsSection);

    QPlainTextEdit* sourceEdit() const;
    QPlainTextEdit* translationEdit() const;
    QLineEdit* blockHeaderEdit() const { return headerEdit_; }
    QPushButton* button(const QString& text) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadFromView();
    void updateControls();
    void setTranslationText(const QString& text);
    void caretToEnd();

    QPointer<CTextListView> view_;
    QPlainTextEdit* sourceEdit_;
    CTranslationEdit* translationEdit_;
    QLineEdit* headerEdit_;
    QPushButton *okNext_, *ok_, *cancelNext_, *copy_, *srcText_, *char_;
    TextItem item_;
    bool active_ = false;
    bool edited_ = false;
    bool settingText_ = false;
};

}  // namespace qln
