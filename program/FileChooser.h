#pragma once
// The choosers of files and folders: Qt's file dialog, with the home folder and
// the starting place in its sidebar. Tests install an answerer that returns the
// chosen path instead of letting a modal dialog open.

#include <QString>

#include <functional>

class QWidget;

enum class TChooserKind { OpenFile, SaveFile, Folder };

struct FileChooserRequest
{
    TChooserKind Kind;
    // The file (or folder) to start from: its folder is shown and, for a file,
    // its name offered. Empty: start in the home folder with nothing offered.
    QString Start;
    // Name filters as Qt writes them, ";;" between two, e.g. "Opera Hotlist
    // (*.adr)"; "All files (*)" is added after them unless AllFiles is off.
    QString Filter;
    QString Caption;
    bool AllFiles = true;
    // A save dialog's extension for a name typed without one, and whether it asks
    // before an existing file is replaced.
    QString DefaultSuffix;
    bool ConfirmOverwrite = false;
};

// The path chosen, or an empty text when the user cancelled. Unless the request
// says otherwise, the file dialogs neither check that a file exists nor ask
// before one is overwritten, and add no extension: the name typed is the name used.
using FileChooserAnswerer = std::function<QString(const FileChooserRequest &)>;

QString ShowFileChooser(QWidget *owner, const FileChooserRequest &request);

// Replaces the dialog (tests); an empty answerer restores it.
void SetFileChooserAnswerer(FileChooserAnswerer answerer);
