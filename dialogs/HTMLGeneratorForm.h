#pragma once
// The HTML generator dialog: gathers the page's texts, its colour scheme and the
// choice of the selected folder only, keeps them in the settings, asks for the
// file and has the page written (exchange/HtmlPage.h writes it).

#include <QDialog>


class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

class TfrmHTMLGenerator : public QDialog
{
    Q_OBJECT

public:
    // Translated and filled from the settings; frees itself when it closes.
    explicit TfrmHTMLGenerator(QWidget *parent = nullptr);
    ~TfrmHTMLGenerator() override;

    // Asks for the page's file, starting at `start`; the chosen file, or an empty
    // text when the user cancels. Tests replace it so that no modal dialog opens.

    void btnOkClick();
    void btnCancelClick();
    // The colour dialog at the swatch's colour; a confirmed colour replaces it.
    void stTextClick(QLabel *swatch);

    QGroupBox *grbTextInfo = nullptr;
    QLabel *lblTitle = nullptr;
    QLineEdit *edTitle = nullptr;
    QLabel *lblWelcomeHeader = nullptr;
    QLineEdit *edHeaderMessage = nullptr;
    QLabel *lblWelcomeMessage = nullptr;
    QLineEdit *edWelcomeMessage = nullptr;
    QGroupBox *grbColorScheme = nullptr;
    QLabel *stText = nullptr;
    QLabel *stBackground = nullptr;
    QLabel *stHeaderArea = nullptr;
    QLabel *stWelcomeArea = nullptr;
    QLabel *stBookmarkArea1 = nullptr;
    QLabel *stBookmarkArea2 = nullptr;
    QCheckBox *chkGenFromSelectedFolder = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildTextInfo();
    void BuildColorScheme();
    QLabel *AddSwatch(QGridLayout *grid, int row, int column, const char *labelName,
                      const char *caption, const char *swatchName);
    QLayout *BuildButtons();
    void FormCreate();
    void StoreSettings() const;
};
