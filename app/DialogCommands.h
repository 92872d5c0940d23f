#pragma once
// The main window's commands that open dialogs: Translation > New..., Delete...,
// Settings (301 to 331), Export Text to Excel... and to Database..., Import
// Text ..., View > Toolbars..., Tools > Convert Database... and Compact
// Database.... Each runs its dialog command (app/dialogs) on the active
// project and lets the document and the frame follow what changed.

#include "app/dialogs/ExchangeDialogs.h"
#include "app/dialogs/Prompts.h"

#include <QObject>

#include <filesystem>

namespace qln {

class CMainFrame;
class CTesselApp;
class CTesselDoc;
class Prompter;

// The dialog commands' messages and questions through the workbench's prompter.
class PrompterPrompts final : public ui::Prompts {
public:
    explicit PrompterPrompts(Prompter& prompter) : prompter_(prompter) {}
    void Show(QWidget* parent, const std::string& text, ui::MessageIcon icon) override;
    bool Ask(QWidget* parent, const std::string& text, ui::MessageIcon icon) override;

private:
    Prompter& prompter_;
};

class CDialogCommands : public QObject {
    Q_OBJECT
public:
    // A child of the frame; connects the frame's commands.
    CDialogCommands(CTesselApp& app, CMainFrame& frame);

    // Tests answer in place of the user; nullptr returns to the real dialogs.
    void setPrompts(ui::Prompts* prompts) { prompts_ = prompts ? prompts : &defaultPrompts_; }
    const ui::ImportMemory& importMemory() const { return importMemory_; }

private:
    CTesselDoc* activeDocument() const;
    bool isOpen(const std::filesystem::path& file) const;
    void connectCommand(int id, void (CDialogCommands::*handler)());

    void OnTranslationNew();
    void OnTranslationDelete();
    void OnSettings(int id);
    void OnExportExcel();
    void OnExportDatabase();
    void OnImportText();
    void OnToolbars();
    void OnConvertDatabase();
    void OnCompactDatabase();

    CTesselApp& app_;
    CMainFrame& frame_;
    PrompterPrompts defaultPrompts_;
    ui::Prompts* prompts_;
    ui::ImportMemory importMemory_;
};

}  // namespace qln
