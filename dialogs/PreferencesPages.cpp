// Building the preferences dialog: the category list, the three pages, the header
// and the buttons, each component named as a part of the dialog.
#include "dialogs/CategoryList.h"
#include "dialogs/HeaderLabel.h"
#include "dialogs/NoDefaultButton.h"
#include "dialogs/PreferencesForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <climits>

namespace {

QCheckBox *NewCheckBox(const char *name, const char *caption)
{
    auto *box = new QCheckBox(QString::fromLatin1(caption));
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QLabel *NewLabel(const char *name, const char *caption)
{
    auto *label = new QLabel(QString::fromLatin1(caption));
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QFrame *NewBevel(const char *name)
{
    auto *bevel = new QFrame;
    bevel->setObjectName(QString::fromLatin1(name));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    return bevel;
}

QWidget *NewPage(const char *name)
{
    auto *page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    return page;
}

} // namespace

void TfrmPreferences::BuildLayout()
{
    BuildCategoryButtons();
    hlSection = new THeaderLabel;
    hlSection->setObjectName(QStringLiteral("hlSection"));
    hlSection->SetCaption(QStringLiteral("hlSection"));
    hlSection->setMinimumWidth(330);
    hlSection->setFixedHeight(hlSection->sizeHint().height());
    QPalette headerPalette = hlSection->palette();
    headerPalette.setColor(QPalette::WindowText, Qt::black);
    hlSection->setPalette(headerPalette);

    pgPreferences = new QStackedWidget;
    pgPreferences->setObjectName(QStringLiteral("pgPreferences"));
    pgPreferences->addWidget(BuildGeneralPage());
    pgPreferences->addWidget(BuildStartExitPage());
    pgPreferences->addWidget(BuildLanguagePage());

    auto *right = new QVBoxLayout;
    right->addWidget(hlSection);
    right->addWidget(pgPreferences, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(CategoryButtons);
    top->addLayout(right, 1);
    Bevel6 = NewBevel("Bevel6");
    auto *form = new QVBoxLayout(this);
    form->addLayout(top, 1);
    form->addWidget(Bevel6);
    form->addLayout(BuildButtons());
}

void TfrmPreferences::BuildCategoryButtons()
{
    CategoryButtons = new TCategoryList;
    CategoryButtons->setObjectName(QStringLiteral("CategoryButtons"));
    CategoryButtons->setMinimumHeight(291);
    CategoryButtons->AddCategory(QStringLiteral("General"),
                                 {QStringLiteral("General"), QStringLiteral("Start/Exit")});
    CategoryButtons->AddCategory(QStringLiteral("Interface"), {QStringLiteral("Language")});
}

QWidget *TfrmPreferences::BuildGeneralPage()
{
    tabGeneral = NewPage("tabGeneral");
    chkLoadOnWinStartup = NewCheckBox("chkLoadOnWinStartup", "Load program on Windows startup");
    chkShowIconInTray = NewCheckBox("chkShowIconInTray", "Show icon in System Tray");
    chkHideToTray = NewCheckBox("chkHideToTray", "Hide To System Tray on minimizing");
    Bevel1 = NewBevel("Bevel1");
    chkConfirmDeleting = NewCheckBox("chkConfirmDeleting", "Confirm deleting items");
    chkAutoSaveEvery = NewCheckBox("chkAutoSaveEvery", "Auto save every");
    seAutoSaveInt = new QSpinBox;
    seAutoSaveInt->setObjectName(QStringLiteral("seAutoSaveInt"));
    seAutoSaveInt->setRange(0, INT_MAX); // whole minutes, no negative intervals
    seAutoSaveInt->setFixedWidth(80);
    lblAutoSaveMins = NewLabel("lblAutoSaveMins", "mins.");

    auto *hide = new QHBoxLayout;
    hide->addSpacing(16); // under the box it depends on
    hide->addWidget(chkHideToTray);
    auto *autoSave = new QHBoxLayout;
    autoSave->addWidget(chkAutoSaveEvery);
    autoSave->addWidget(seAutoSaveInt);
    autoSave->addWidget(lblAutoSaveMins);
    autoSave->addStretch(1);
    auto *page = new QVBoxLayout(tabGeneral);
    page->addWidget(chkLoadOnWinStartup);
    page->addWidget(chkShowIconInTray);
    page->addLayout(hide);
    page->addWidget(Bevel1);
    page->addWidget(chkConfirmDeleting);
    page->addLayout(autoSave);
    page->addStretch(1);
    return tabGeneral;
}

QWidget *TfrmPreferences::BuildStartExitPage()
{
    tabStartExit = NewPage("tabStartExit");
    grbStart = new QGroupBox(QStringLiteral("Start"));
    grbStart->setObjectName(QStringLiteral("grbStart"));
    chkMinimized = NewCheckBox("chkMinimized", "Minimized");
    (new QVBoxLayout(grbStart))->addWidget(chkMinimized);
    grbExit = new QGroupBox(QStringLiteral("Exit"));
    grbExit->setObjectName(QStringLiteral("grbExit"));
    chkAutoSave = NewCheckBox("chkAutoSave", "Auto Save");
    (new QVBoxLayout(grbExit))->addWidget(chkAutoSave);

    auto *page = new QVBoxLayout(tabStartExit);
    page->addWidget(grbStart);
    page->addWidget(grbExit);
    page->addStretch(1);
    return tabStartExit;
}

QWidget *TfrmPreferences::BuildLanguagePage()
{
    tabLanguage = NewPage("tabLanguage");
    lblLanguages = NewLabel("lblLanguages", "Languages:");
    lbLanguages = new QListWidget;
    lbLanguages->setObjectName(QStringLiteral("lbLanguages"));
    lbLanguages->setMinimumSize(317, 144);
    lblLanguages->setBuddy(lbLanguages);
    lblAuthor = NewLabel("lblAuthor", "Author:");
    lblContact = NewLabel("lblContact", "Contact:");
    lblInformation = NewLabel("lblInformation", "Information:");
    lblInformation->setMinimumHeight(41);
    lblInformation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Texts from language files, of any length: they wrap rather than being cut,
    // since the dialog is not sized anew for each highlighted language.
    for (QLabel *label : {lblAuthor, lblContact, lblInformation}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }

    auto *page = new QVBoxLayout(tabLanguage);
    page->addWidget(lblLanguages);
    page->addWidget(lbLanguages, 1);
    page->addWidget(lblAuthor);
    page->addWidget(lblContact);
    page->addWidget(lblInformation);
    return tabLanguage;
}

QLayout *TfrmPreferences::BuildButtons()
{
    const auto button = [this](const char *name, const char *caption) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    btnDefault = button("btnDefault", "Default");
    btnOk = button("btnOk", "OK");
    btnCancel = button("btnCancel", "Cancel");
    btnApply = button("btnApply", "Apply");
    btnApply->setEnabled(false);
    SetNoDefaultButton({btnDefault, btnOk, btnCancel, btnApply}); // Esc is Cancel
    auto *row = new QHBoxLayout;
    row->addWidget(btnDefault);
    row->addStretch(1);
    row->addWidget(btnOk);
    row->addWidget(btnCancel);
    row->addWidget(btnApply);
    return row;
}

