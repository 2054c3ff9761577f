#pragma once
// The folder dialog: adds a folder (beside the current one) or changes the
// title and description of an existing one, with an undo step, then rebuilds
// the main window's tree and selects the folder. It never owns the folder.

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TFolder;

class TfrmFolder : public QDialog
{
    Q_OBJECT

public:
    // folder: the folder to edit, or none to add one. The dialog frees itself
    // when closed.
    TfrmFolder(QWidget *owner, TFolder *folder);
    ~TfrmFolder() override;

    QLabel *lblTitle = nullptr;
    QLineEdit *edTitle = nullptr;
    QLabel *lblDescription = nullptr;
    QPlainTextEdit *memDescription = nullptr;
    QFrame *Bevel1 = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

    void btnOKClick();

protected:
    void done(int result) override;

private:
    void CreateComponents();
    void LayOut();
    void FormCreate();
    void FormClose();
    void edTitleChange();

    TFolder *FFolder;
};
