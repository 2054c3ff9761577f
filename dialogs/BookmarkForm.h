#pragma once
// The bookmark dialog: adds a bookmark to the current folder or changes the
// title, address and description of an existing one, with an undo step, then
// refills the main window's list and selects the bookmark. It never owns the
// bookmark: a new one is handed to the folder's list at once.

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TBookmark;

class TfrmBookmark : public QDialog
{
    Q_OBJECT

public:
    // bookmark: the bookmark to edit, or none to add one. The dialog frees
    // itself when closed.
    TfrmBookmark(QWidget *owner, TBookmark *bookmark);
    ~TfrmBookmark() override;

    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblAddress = nullptr;
    QLineEdit *edAddress = nullptr;
    QLineEdit *edTitle = nullptr;
    QLabel *lblDescription = nullptr;
    QPlainTextEdit *memDescription = nullptr;
    QFrame *Bevel1 = nullptr;

    void btnOKClick();

protected:
    void done(int result) override;

private:
    void CreateComponents();
    void LayOut();
    void FormCreate();
    void FormClose();
    void edTitleChange(); // also the address's change handler

    TBookmark *FBookmark;
};
