#include "dialogs/FindForm.h"
#include "catalogue/Bookmarks.h"
#include "dialogs/NoDefaultButton.h"
#include "program/CommandGuard.h"
#include "program/DesignedSize.h"
#include "program/Globals.h"
#include "program/MainWindowLink.h"
#include "settings/Preferences.h"
#include "settings/widgets/TranslateForm.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <vector>

namespace {

// Puts text first. An entry among 0 to 8 with the same title (a-z folded) is
// dropped and the entries before it move down one place; when none is, all move
// down and the oldest falls off. Entry 9 is never compared: with history
// a..j and text J, the old j goes and J comes first.
void PutFirst(std::array<QString, 10> &history, const QString &text)
{
    std::vector<QString> kept{text};
    for (size_t i = 0; i + 1 < history.size(); ++i) {
        if (!SameTitle(history[i], text))
            kept.push_back(history[i]);
        history[i].clear();
    }
    std::copy(kept.begin(), kept.end(), history.begin());
}

} // namespace

TfrmFind::TfrmFind(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find"));
    setAttribute(Qt::WA_DeleteOnClose);
    BuildLayout();
    connect(cmbTextToFind, &QComboBox::editTextChanged, this, [this] { cmbTextToFindChange(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { Guarded([this] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    // Keys reach the combo box first; it passes them on to its edit part.
    cmbTextToFind->installEventFilter(this);
    FormCreate();
    SetDesignedClientSize(this, {294, 100});
}

TfrmFind::~TfrmFind()
{
    if (frmFind == this)
        frmFind = nullptr;
}

void TfrmFind::BuildLayout()
{
    lblTextToFind = new QLabel(QStringLiteral("Text to Find:"), this);
    lblTextToFind->setObjectName(QStringLiteral("lblTextToFind"));
    cmbTextToFind = new QComboBox(this);
    cmbTextToFind->setObjectName(QStringLiteral("cmbTextToFind"));
    cmbTextToFind->setEditable(true);
    // The text is searched for as typed: no completion from the history, and
    // Enter adds nothing to the list (OK updates the history).
    cmbTextToFind->setCompleter(nullptr);
    cmbTextToFind->setInsertPolicy(QComboBox::NoInsert);
    cmbTextToFind->setMinimumWidth(278);
    lblTextToFind->setBuddy(cmbTextToFind);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setMinimumSize(70, 25);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setMinimumSize(75, 25);
    // Enter in the text runs OK only through cmbTextToFindKeyDown, and only
    // while OK is enabled.
    SetNoDefaultButton({btnOK, btnCancel});

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(lblTextToFind);
    layout->addWidget(cmbTextToFind);
    layout->addWidget(Bevel1);
    layout->addLayout(buttons);
}

void TfrmFind::FormCreate()
{
    const std::array<QString, 10> &history = Prefs->Rec().LastString;
    for (size_t i = 1; i < history.size(); ++i)
        if (!history[i].isEmpty())
            cmbTextToFind->addItem(history[i]);
    // Adding items shows the first of them; the edit part holds entry 0 alone.
    cmbTextToFind->setCurrentIndex(-1);
    cmbTextToFind->setEditText(history[0]);
    cmbTextToFind->lineEdit()->selectAll(); // typing replaces it
    cmbTextToFindChange();
    TranslateForm(this, LanguageFile());
}

void TfrmFind::cmbTextToFindChange()
{
    btnOK->setEnabled(!cmbTextToFind->currentText().isEmpty()); // blanks count
}

bool TfrmFind::cmbTextToFindKeyDown(const QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (btnOK->isEnabled())
        btnOK->click();
    return true;
}

bool TfrmFind::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched == cmbTextToFind)
        return cmbTextToFindKeyDown(static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

void TfrmFind::btnOKClick()
{
    const QString text = cmbTextToFind->currentText();
    PutFirst(Prefs->Rec().LastString, text);
    if (!text.isEmpty()) {
        // Bookmark and Field stay as the last search or re-anchoring left them.
        SearchRec.Text = text;
        SearchRec.Folder = CurrentFolder;
        SearchRec.FoundPos = 1;
        SearchRec.NextPos = 1;
        if (IMainWindow *window = MainWindow())
            window->ShowNextMatch(); // while this dialog is still open
    }
    accept();
}

void TfrmFind::btnCancelClick()
{
    reject();
}
