#include "dialogs/BookmarkForm.h"
#include "catalogue/Catalog.h"
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

TfrmBookmark::TfrmBookmark(QWidget *owner, TBookmark *bookmark)
    : QDialog(owner), FBookmark(bookmark)
{
    setObjectName(QStringLiteral("frmBookmark"));
    setWindowTitle(QStringLiteral("Add/Edit Bookmark"));
    setAttribute(Qt::WA_DeleteOnClose);
    CreateComponents();
    LayOut();
    FormCreate();
}

TfrmBookmark::~TfrmBookmark()
{
    FormClose();
}

void TfrmBookmark::CreateComponents()
{
    btnOK = Component(this, "btnOK", new QPushButton(QStringLiteral("OK")));
    btnOK->setEnabled(false);
    btnCancel = Component(this, "btnCancel", new QPushButton(QStringLiteral("Cancel")));
    lblTitle = Component(this, "lblTitle", new QLabel(QStringLiteral("Title:")));
    lblAddress = Component(this, "lblAddress", new QLabel(QStringLiteral("Address:")));
    edAddress = Component(this, "edAddress", new QLineEdit);
    edTitle = Component(this, "edTitle", new QLineEdit);
    lblDescription = Component(this, "lblDescription", new QLabel(QStringLiteral("Description:")));
    memDescription = NewMemo(this);
    Bevel1 = NewBevel(this);
    lblTitle->setBuddy(edTitle);
    lblAddress->setBuddy(edAddress);
    lblDescription->setBuddy(memDescription);

    connect(edTitle, &QLineEdit::textChanged, this, [this] { edTitleChange(); });
    connect(edAddress, &QLineEdit::textChanged, this, [this] { edTitleChange(); });
    ConnectButtons(this, btnOK, btnCancel, [this] { btnOKClick(); });
    new TEnterConfirms(btnOK, {edTitle, edAddress, memDescription});
}

void TfrmBookmark::LayOut()
{
    auto *grid = new QGridLayout(this);
    grid->addWidget(lblTitle, 0, 0);
    grid->addWidget(edTitle, 0, 1);
    grid->addWidget(lblAddress, 1, 0);
    grid->addWidget(edAddress, 1, 1);
    grid->addWidget(lblDescription, 2, 0, 1, 2);
    grid->addWidget(memDescription, 3, 0, 1, 2);
    grid->addWidget(Bevel1, 4, 0, 1, 2);
    grid->addLayout(ButtonRow(btnOK, btnCancel), 5, 0, 1, 2);
    grid->setRowStretch(3, 1);
    setMinimumSize(296, 203);
    setTabOrder(edTitle, edAddress);
    setTabOrder(edAddress, memDescription);
    setTabOrder(memDescription, btnOK);
    setTabOrder(btnOK, btnCancel);
    edTitle->setFocus(); // the first of the tab order, whatever was made first
}

void TfrmBookmark::FormCreate()
{
    TranslateForm(this, LanguageFile());
    if (FBookmark) {
        edTitle->setText(FBookmark->Title());
        edAddress->setText(FBookmark->Address());
        memDescription->setPlainText(FBookmark->Description());
    }
}

void TfrmBookmark::edTitleChange()
{
    btnOK->setEnabled(!TrimmedText(edTitle->text()).isEmpty()
                      && !TrimmedText(edAddress->text()).isEmpty());
}

void TfrmBookmark::btnOKClick()
{
    ChangeFromForm(IMainWindow::TRefresh::List, [this] {
        // Without a current folder a new bookmark has nowhere to go: it is
        // filled in as usual and then freed.
        std::unique_ptr<TBookmark> unkept;
        if (!FBookmark) {
            auto bookmark = std::make_unique<TBookmark>();
            if (CurrentFolder)
                FBookmark = CurrentFolder->Bookmarks().Add(std::move(bookmark));
            else
                FBookmark = (unkept = std::move(bookmark)).get();
        }
        StoreTitleAndDescription(*FBookmark, edTitle, memDescription);
        FBookmark->SetAddress(TrimmedText(edAddress->text()));
        if (unkept)
            FBookmark = nullptr;
    }, [this](IMainWindow &main) { main.SelectBookmarkRow(FBookmark); });
}

// Cancel, Esc and the close box end here as well as OK.
void TfrmBookmark::done(int result)
{
    QDialog::done(result);
    FormClose();
}

void TfrmBookmark::FormClose()
{
    if (frmBookmark == this)
        frmBookmark = nullptr;
}
