#pragma once
// Every text the setup program shows to a user, in one place. %1 and %2 are
// placeholders filled with qln::msg::Format().

#include <string_view>

namespace qln::setup::msg {

// --- Names -----------------------------------------------------------------------
inline constexpr std::string_view DialogTitle = "Quillon 4.0 Setup";
// Caption of the setup program's questions.
inline constexpr std::string_view QuestionCaption = "QLN 4.0";
inline constexpr std::string_view GroupName = "Dezuvive Zadozirodi";
inline constexpr std::string_view ProgramItemTitle = "QLN 4.0";
inline constexpr std::string_view HelpItemTitle = "Quillon Help";
inline constexpr std::string_view ReadMeItemTitle = "Read Me";
// Comment line of the menu entries: %1 the item's title.
inline constexpr std::string_view MenuEntryComment = "%1 (Dezuvive Zadozirodi Quillon)";

// --- The setup dialog --------------------------------------------------------------
inline constexpr std::string_view DestinationLabel = "Des&tination directory:";
inline constexpr std::string_view ChooseButton = "...";
inline constexpr std::string_view ChooseButtonTip = "Choose the destination directory";
inline constexpr std::string_view WhatToInstall = "What to install";
inline constexpr std::string_view ProgramFilesBox = "&Program files";
inline constexpr std::string_view DemoFilesBox = "D&emonstration files";
inline constexpr std::string_view InstallButton = "&Install";
inline constexpr std::string_view DeinstallButton = "&Deinstall";
inline constexpr std::string_view CancelButton = "Cancel";
inline constexpr std::string_view DirectorySelect = "Directory Select";
inline constexpr std::string_view StatusReady = "Ready";

// --- The installation medium dialog ------------------------------------------------
inline constexpr std::string_view MediumTitle = "Installation medium";
// %1 the number of the medium.
inline constexpr std::string_view InsertMedium = "Please insert installation medium #%1 and press OK.";
// %1 the file's name on the medium.
inline constexpr std::string_view MediumFile = "(File: %1)";
// %1 the number of the file, %2 the number of files.
inline constexpr std::string_view MediumFileCount = "%1 of %2";
inline constexpr std::string_view MediumFolderLabel = "&Folder:";
inline constexpr std::string_view MediumBrowse = "&Browse...";
// %1 the file's name on the medium.
inline constexpr std::string_view MediumFileStillMissing = "Install File\nFile '%1' not found.";

// --- Installing ----------------------------------------------------------------------
// %1 the destination directory.
inline constexpr std::string_view SameDirectory =
    "%1\nYou cannot install Quillon in the same directory like the installation files !";
// %1 the folder that holds the destination and cannot be entered.
inline constexpr std::string_view CannotChangeDrive =
    "Install at Disk Drive  '%1'\nCannot change to Disk Drive.\nInstallation stoped.";
// %1 the directory.
inline constexpr std::string_view CannotCreateDirectory = "Cannot ceate Directory !\n%1\nInstallation stoped.";
// %1 the file's name on the medium, %2 its destination path.
inline constexpr std::string_view StatusCopy = "Copy \"%1\" to \"%2\"";
// The question about an existing copy of the program: %1 its path, %2 the reason.
inline constexpr std::string_view ExistingCopyQuestion = " %1 %2 Do you wish to continue ?";
inline constexpr std::string_view ExistingCopyInUse = "is currently in use:";
// The second reason comes from a system with fixed path buffers and never arises here.
inline constexpr std::string_view ExistingCopyBufferTooSmall = "Buffer size is to small to hold directory strings:";
// %1 the destination path of a file that is newer than the one on the medium.
inline constexpr std::string_view AskReplaceNewer =
    "The file\n%1\nis newer than the one on the installation medium.\nDo you want to replace it ?";
inline constexpr std::string_view OutOfDiskSpace = "Out of diskspace. Stop installation.";
// %1 the file on the medium.
inline constexpr std::string_view FileNotFound = "Error: File not found.\n%1";
// %1 the destination path, %2 the cause.
inline constexpr std::string_view CannotCopyFile = "Cannot copy the file\n%1\n%2";
// %1 the ini file.
inline constexpr std::string_view SettingsWriteFailed = "Cannot write the settings file\n%1";
inline constexpr std::string_view AskExitAfterCancel = "Quillon setup canceled.\nDo you want to exit the setup program ?";
inline constexpr std::string_view CopyIncomplete =
    "Error copy files.\nNot all files could be copied. Installation not compled.";
inline constexpr std::string_view InstallComplete = "The Dezuvive Zadozirodi Quillon  is complete installed.";
inline constexpr std::string_view GroupFailed = "Program Manager: Cannot create Groupe";
// The group failure followed by its cause.
inline constexpr std::string_view GroupFailedBecause = "%1\n%2";

// --- The program group's commands ----------------------------------------------------
// %1 the command string.
inline constexpr std::string_view GroupCommandMalformed = "Malformed program group command: %1";
inline constexpr std::string_view GroupCommandUnknown = "Unknown program group command: %1";
inline constexpr std::string_view GroupNotActive = "No program group is active for: %1";
// %1 the file, %2 the cause.
inline constexpr std::string_view GroupFileFailed = "Cannot write %1: %2";

// --- Deinstalling ----------------------------------------------------------------------
// %1 the file.
inline constexpr std::string_view StatusDeleteFile = "Delete File\n%1.";
// %1 the directory.
inline constexpr std::string_view StatusDeleteDirectory = "Delete Directory:  %1";
// %1 the file, %2 the cause.
inline constexpr std::string_view CannotDeleteFile = "Cannot delete the file\n%1\n%2";
inline constexpr std::string_view StatusRemoveGroup = "Remove Program Group.";
inline constexpr std::string_view StatusRemoveRegistry = "Remove Quillon from the Registery.";
inline constexpr std::string_view StatusDeinstalled = "Quillon is complete deinstalled.";
inline constexpr std::string_view DeinstalledBox = "Quillon is complete deinstalled. ";

// --- Building an installation medium ------------------------------------------------
inline constexpr std::string_view MediumUsage =
    "usage: qln40-medium --build DIR --source DIR --demo DIR OUTPUT\n"
    "Compresses the installation files into the folder OUTPUT.";
// %1 the file, %2 the cause.
inline constexpr std::string_view MediumReadFailed = "Cannot read %1: %2";
inline constexpr std::string_view MediumWriteFailed = "Cannot write %1: %2";
// %1 the number of files, %2 the folder.
inline constexpr std::string_view MediumWritten = "%1 files written to %2";

}  // namespace qln::setup::msg
