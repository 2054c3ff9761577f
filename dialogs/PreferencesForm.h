#pragma once
// The preferences dialog: the general, start/exit and language settings on three
// pages chosen from a category list. Every change goes into the live settings
// object at Apply or OK, which also put them into effect at once: the autostart
// entry, the tray icon, the auto-save timer and the language of the main window
// and of the dialog. Default resets the settings object without applying it.
// The dialog frees itself on closing and sets frmPreferences to none.

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTreeWidgetItem;
class TCategoryList;
class THeaderLabel;

class TfrmPreferences : public QDialog
{
    Q_OBJECT

public:
    // Builds the dialog and fills it from the settings (FormCreate).
    explicit TfrmPreferences(QWidget *parent = nullptr);
    ~TfrmPreferences() override;

    // Every way of closing ends here: frmPreferences becomes none.
    void done(int result) override;

    // Components, named as the dialog's parts.
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnApply = nullptr;
    QPushButton *btnDefault = nullptr;
    QFrame *Bevel6 = nullptr;
    // Categories are the top-level items; their items choose the pages.
    TCategoryList *CategoryButtons = nullptr;
    QStackedWidget *pgPreferences = nullptr;
    THeaderLabel *hlSection = nullptr;
    QWidget *tabGeneral = nullptr;
    QWidget *tabStartExit = nullptr;
    QWidget *tabLanguage = nullptr;
    QCheckBox *chkLoadOnWinStartup = nullptr;
    QCheckBox *chkShowIconInTray = nullptr;
    QCheckBox *chkHideToTray = nullptr;
    QFrame *Bevel1 = nullptr;
    QCheckBox *chkConfirmDeleting = nullptr;
    QCheckBox *chkAutoSaveEvery = nullptr;
    QSpinBox *seAutoSaveInt = nullptr;
    QLabel *lblAutoSaveMins = nullptr;
    QGroupBox *grbStart = nullptr;
    QCheckBox *chkMinimized = nullptr;
    QGroupBox *grbExit = nullptr;
    QCheckBox *chkAutoSave = nullptr;
    QListWidget *lbLanguages = nullptr;
    QLabel *lblLanguages = nullptr;
    QLabel *lblAuthor = nullptr;
    QLabel *lblContact = nullptr;
    QLabel *lblInformation = nullptr;

private:
    // Building (PreferencesPages.cpp).
    void BuildLayout();
    void BuildCategoryButtons();
    QWidget *BuildGeneralPage();
    QWidget *BuildStartExitPage();
    QWidget *BuildLanguagePage();
    QLayout *BuildButtons();
    void ConnectHandlers();

    // Handlers (PreferencesForm.cpp).

    void FormCreate();
    // Row 0 "English (Default)", then every "*.ini" of the languages folder.
    void FillLanguageList();
    void ApplyLanguage();
    // Settings to controls.
    void LoadControls();
    void ApplyPreferences();

    void CategoryButtonsSelectedItemChange(QTreeWidgetItem *item);
    void lbLanguagesClick();
    void chkLoadOnWinStartupClick();
    void seAutoSaveIntChange();
    void btnOkClick();
    void btnApplyClick();
    void btnDefaultClick();

    // The language file of each row of lbLanguages; empty for row 0.
    QStringList FLanguageFiles;
};
