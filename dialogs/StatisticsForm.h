#pragma once
// The statistics dialog: the size of the catalogue's file on disk and the numbers
// of folders and bookmarks in the catalogue in memory, measured as it opens.
// It frees itself when closed and then clears frmStatistics.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class TfrmStatistics : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmStatistics(QWidget *owner);
    ~TfrmStatistics() override;

    QFrame *Bevel1 = nullptr;
    QLabel *lblFileSize = nullptr;
    QLabel *lblFileSizeVal = nullptr; // its design caption is the size format
    QLabel *lblFolders = nullptr;
    QLabel *lblFoldersVal = nullptr;
    QLabel *lblBookmarks = nullptr;
    QLabel *lblBookmarksVal = nullptr;
    QPushButton *btnOk = nullptr;

private:
    void BuildLayout();
    void FormCreate();
};
