#pragma once
// The about box: the program's icon, the product's name, its version line and
// the company's name, translated when it is created and again each time it
// shows. It frees itself when closed and then clears frmAbout.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget *owner);
    ~TfrmAbout() override;

    QLabel *imgIcon = nullptr;
    QLabel *lblProductName = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblCompanyName = nullptr;
    QFrame *Bevel1 = nullptr;
    QPushButton *btnOk = nullptr;

protected:
    void showEvent(QShowEvent *event) override; // FormShow

private:
    void BuildLayout();
    // Translates the box and sets the version line.
    void ShowTexts();
};
