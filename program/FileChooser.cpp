#include "program/FileChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

namespace {

FileChooserAnswerer &Answerer()
{
    static FileChooserAnswerer answerer;
    return answerer;
}

// The folder the dialog opens in: the start folder itself, or a file's folder;
// the home folder when that does not exist.
QString StartFolder(const FileChooserRequest &request)
{
    if (request.Start.isEmpty())
        return QDir::homePath();
    const QFileInfo start(request.Start);
    const QString folder =
        request.Kind == TChooserKind::Folder ? start.absoluteFilePath() : start.absolutePath();
    return QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void SetUpDialog(QFileDialog &dialog, const FileChooserRequest &request)
{
    const QString folder = StartFolder(request);
    dialog.setDirectory(folder);
    if (request.Kind == TChooserKind::Folder) {
        dialog.setFileMode(QFileDialog::Directory);
        // Only choosing: no new folders, no renaming or deleting in the browser.
        dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly);
    } else {
        dialog.setAcceptMode(request.Kind == TChooserKind::SaveFile ? QFileDialog::AcceptSave
                                                                    : QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
        dialog.setDefaultSuffix(request.DefaultSuffix);
        QStringList filters = request.Filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
        if (request.AllFiles)
            filters << QStringLiteral("All files (*)");
        dialog.setNameFilters(filters);
        if (!request.Start.isEmpty())
            dialog.selectFile(QFileInfo(request.Start).fileName());
    }
    // The computer (every drive and mount), home, and where the choice starts.
    QList<QUrl> places = {QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath())};
    if (folder != QDir::homePath())
        places << QUrl::fromLocalFile(folder);
    dialog.setSidebarUrls(places);
}

} // namespace

QString ShowFileChooser(QWidget *owner, const FileChooserRequest &request)
{
    if (Answerer())
        return Answerer()(request);
    QFileDialog dialog(owner, request.Caption);
    SetUpDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void SetFileChooserAnswerer(FileChooserAnswerer answerer)
{
    Answerer() = std::move(answerer);
}
