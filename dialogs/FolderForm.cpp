#include "dialogs/FolderForm.h"
#include "catalogue/CatalogEdits.h"
#include "dialogs/ItemFormParts.h"
#include "program/Globals.h"
#include "program/MainWindowLink.h"
#include "settings/widgets/TranslateForm.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

TfrmFolder::TfrmFolder(QWidget *owner, TFolder *folder) : QDialog(owner), FFolder(folder)
{
    setObjectName(QStringLiteral("frmFolder"));
    setWindowTitle(QStringLiteral("Add/Edit Folder"));
    setAttribute(Qt::WA_DeleteOnClose);
    CreateComponents();
    LayOut();
    FormCreate();
}

TfrmFolder::~TfrmFolder()
{
    FormClose();
}

void TfrmFolder::CreateComponents()
{
    lblTitle = Component(this, "lblTitle", new QLabel(QStringLiteral("Title:")));
    edTitle = Component(this, "edTitle", new QLineEdit);
    lblDescription = Component(this, "lblDescription", new QLabel(QStringLiteral("Description:")));
    memDescription = NewMemo(this);
    Bevel1 = NewBevel(this);
    btnOK = Component(this, "btnOK", new QPushButton(QStringLiteral("OK")));
    btnOK->setEnabled(false);
    btnCancel = Component(this, "btnCancel", new QPushButton(QStringLiteral("Cancel")));
    lblTitle->setBuddy(edTitle);
    lblDescription->setBuddy(memDescription);

    connect(edTitle, &QLineEdit::textChanged, this, [this] { edTitleChange(); });
    ConnectButtons(this, btnOK, btnCancel, [this] { btnOKClick(); });
    new TEnterConfirms(btnOK, {edTitle, memDescription});
}

void TfrmFolder::LayOut()
{
    auto *grid = new QGridLayout(this);
    grid->addWidget(lblTitle, 0, 0);
    grid->addWidget(edTitle, 0, 1);
    grid->addWidget(lblDescription, 1, 0, 1, 2);
    grid->addWidget(memDescription, 2, 0, 1, 2);
    grid->addWidget(Bevel1, 3, 0, 1, 2);
    grid->addLayout(ButtonRow(btnOK, btnCancel), 4, 0, 1, 2);
    grid->setRowStretch(2, 1);
    setMinimumSize(297, 174);
    setTabOrder(edTitle, memDescription);
    setTabOrder(memDescription, btnOK);
    setTabOrder(btnOK, btnCancel);
    edTitle->setFocus(); // the first of the tab order, whatever was made first
}

void TfrmFolder::FormCreate()
{
    TranslateForm(this, LanguageFile());
    if (FFolder) {
        edTitle->setText(FFolder->Title());
        memDescription->setPlainText(FFolder->Description());
    }
}

void TfrmFolder::edTitleChange()
{
    btnOK->setEnabled(!TrimmedText(edTitle->text()).isEmpty());
}

// A new folder goes last among the current folder's siblings, never below it.
void TfrmFolder::btnOKClick()
{
    ChangeFromForm(IMainWindow::TRefresh::Tree, [this] {
        if (!FFolder)
            FFolder = SiblingList(*Catalog, CurrentFolder).Add(std::make_unique<TFolder>());
        StoreTitleAndDescription(*FFolder, edTitle, memDescription);
    }, [this](IMainWindow &main) { main.SelectFolderNode(FFolder); });
}

// Cancel, Esc and the close box end here as well as OK.
void TfrmFolder::done(int result)
{
    QDialog::done(result);
    FormClose();
}

void TfrmFolder::FormClose()
{
    if (frmFolder == this)
        frmFolder = nullptr;
}
