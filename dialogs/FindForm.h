#pragma once
// The Find dialog: asks for a text, offering the last ten texts searched for; OK
// puts the text first in that history, starts the search at the current folder
// and shows its first match in the main window while the dialog is still open.

#include <QDialog>

class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;

// Frees itself when closed and then clears frmFind.
class TfrmFind : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmFind(QWidget *owner = nullptr);
    ~TfrmFind() override;

    void btnOKClick();
    void btnCancelClick();

    QLabel *lblTextToFind = nullptr;
    QComboBox *cmbTextToFind = nullptr; // the text; older texts in its drop-down
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    QFrame *Bevel1 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildLayout();
    void FormCreate();
    void cmbTextToFindChange();
    // True when the key was Enter and has been handled.
    bool cmbTextToFindKeyDown(const QKeyEvent *event);
};
