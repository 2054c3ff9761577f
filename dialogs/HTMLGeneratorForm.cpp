#include "dialogs/HTMLGeneratorForm.h"
#include "program/FileChooser.h"
#include "exchange/HtmlPage.h"
#include "program/CommandGuard.h"
#include "program/Globals.h"
#include "program/MainWindowLink.h"
#include "settings/Preferences.h"
#include "settings/widgets/TranslateForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <iterator>

namespace {

const char kColorProperty[] = "tcolor";

// The platform's save dialog, with the page's filters; empty when cancelled.
// The stored file when it can be one here: a Windows path ("c:\bookmarks", the
// designed default) or a folder that is gone starts in the documents folder.
QString SaveDialogStart(const QString &stored)
{
    static const QRegularExpression windowsPath(QStringLiteral(R"(^[A-Za-z]:|\\)"));
    const QFileInfo info(stored);
    if (!stored.contains(windowsPath) && info.isAbsolute() && info.dir().exists())
        return stored;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return folder + QStringLiteral("/bookmarks.html");
}

int ToTColor(const QColor &color)
{
    return color.red() | color.green() << 8 | color.blue() << 16;
}

// The desktop's current value of a Windows system colour.
int PaletteColor(TSystemColorRole role)
{
    // In the order of TSystemColorRole.
    static constexpr QPalette::ColorRole kRoles[] = {
        QPalette::Base,        QPalette::Text,        QPalette::Window,
        QPalette::WindowText,  QPalette::Button,      QPalette::ButtonText,
        QPalette::Light,       QPalette::Midlight,    QPalette::Dark,
        QPalette::Shadow,      QPalette::Highlight,   QPalette::HighlightedText,
        QPalette::ToolTipBase, QPalette::ToolTipText, QPalette::Link};
    static_assert(std::size(kRoles) == size_t(TSystemColorRole::GrayText));
    const QPalette palette = QApplication::palette();
    if (role == TSystemColorRole::GrayText)
        return ToTColor(palette.color(QPalette::Disabled, QPalette::Text));
    return ToTColor(palette.color(kRoles[size_t(role)]));
}

QColor ToQColor(int color)
{
    color = ResolveColor(color, PaletteColor);
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

int SwatchColor(const QLabel *swatch)
{
    return swatch->property(kColorProperty).toInt();
}

void SetSwatchColor(QLabel *swatch, int color)
{
    swatch->setProperty(kColorProperty, color);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    swatch->setPalette(palette);
}

THtmlPageSettings PageSettings(const TPreferencesRec &rec)
{
    THtmlPageSettings page;
    page.TitleText = rec.TitleText;
    page.WelcomeHeader = rec.WelcomeHeader;
    page.WelcomeMessage = rec.WelcomeMessage;
    page.TextColor = rec.TextColor;
    page.BackgroundColor = rec.BackgroundColor;
    page.HeaderAreaColor = rec.HeaderAreaColor;
    page.WelcomeAreaColor = rec.WelcomeAreaColor;
    page.BookmarkArea1Color = rec.BookmarkArea1Color;
    page.BookmarkArea2Color = rec.BookmarkArea2Color;
    page.ResolveSystemColor = PaletteColor;
    return page;
}

} // namespace

TfrmHTMLGenerator::TfrmHTMLGenerator(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHTMLGenerator"));
    setWindowTitle(QStringLiteral("HTML Generator"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    BuildTextInfo();
    BuildColorScheme();
    chkGenFromSelectedFolder =
        new QCheckBox(QStringLiteral("Generate from selected folder only"), this);
    chkGenFromSelectedFolder->setObjectName(QStringLiteral("chkGenFromSelectedFolder"));
    layout->addWidget(grbTextInfo);
    layout->addWidget(grbColorScheme);
    layout->addWidget(chkGenFromSelectedFolder);
    layout->addLayout(BuildButtons());
    FormCreate();
}

TfrmHTMLGenerator::~TfrmHTMLGenerator()
{
    if (frmHTMLGenerator == this)
        frmHTMLGenerator = nullptr;
}

void TfrmHTMLGenerator::BuildTextInfo()
{
    grbTextInfo = new QGroupBox(QStringLiteral("Text Info"), this);
    grbTextInfo->setObjectName(QStringLiteral("grbTextInfo"));
    auto *column = new QVBoxLayout(grbTextInfo);
    const auto addEdit = [&](QLabel *&label, const char *labelName, const char *caption,
                             QLineEdit *&edit, const char *editName) {
        label = new QLabel(QString::fromLatin1(caption), grbTextInfo);
        label->setObjectName(QLatin1String(labelName));
        edit = new QLineEdit(grbTextInfo);
        edit->setObjectName(QLatin1String(editName));
        edit->setMinimumWidth(280);
        label->setBuddy(edit);
        column->addWidget(label);
        column->addWidget(edit);
        // Enter in any of the texts presses OK; the key goes on to the edit as well.
        connect(edit, &QLineEdit::returnPressed, this, [this] {
            if (btnOk->isEnabled())
                btnOk->click();
        });
    };
    addEdit(lblTitle, "lblTitle", "Title:", edTitle, "edTitle");
    addEdit(lblWelcomeHeader, "lblWelcomeHeader", "Welcome Header:", edHeaderMessage,
            "edHeaderMessage");
    addEdit(lblWelcomeMessage, "lblWelcomeMessage", "Welcome Message:", edWelcomeMessage,
            "edWelcomeMessage");
}

void TfrmHTMLGenerator::BuildColorScheme()
{
    grbColorScheme = new QGroupBox(QStringLiteral("Color Scheme"), this);
    grbColorScheme->setObjectName(QStringLiteral("grbColorScheme"));
    auto *grid = new QGridLayout(grbColorScheme);
    grid->setColumnStretch(2, 1);
    stText = AddSwatch(grid, 0, 0, "lblText", "Text:", "stText");
    stBackground = AddSwatch(grid, 1, 0, "lblBackground", "Background:", "stBackground");
    stHeaderArea = AddSwatch(grid, 2, 0, "lblHeaderArea", "Header Area:", "stHeaderArea");
    stWelcomeArea = AddSwatch(grid, 0, 3, "lblWelcomeArea", "Welcome Area:", "stWelcomeArea");
    stBookmarkArea1 =
        AddSwatch(grid, 1, 3, "lblBookmarkArea1", "Bookmark Area 1:", "stBookmarkArea1");
    stBookmarkArea2 =
        AddSwatch(grid, 2, 3, "lblBookmarkArea2", "Bookmark Area 2:", "stBookmarkArea2");
}

// A label and, to its right, a small framed box filled with the colour.
QLabel *TfrmHTMLGenerator::AddSwatch(QGridLayout *grid, int row, int column,
                                     const char *labelName, const char *caption,
                                     const char *swatchName)
{
    auto *label = new QLabel(QString::fromLatin1(caption), grbColorScheme);
    label->setObjectName(QLatin1String(labelName));
    auto *swatch = new QLabel(grbColorScheme);
    swatch->setObjectName(QLatin1String(swatchName));
    swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    swatch->setAutoFillBackground(true);
    swatch->setFixedSize(40, 20);
    swatch->setCursor(Qt::PointingHandCursor);
    swatch->installEventFilter(this);
    grid->addWidget(label, row, column);
    grid->addWidget(swatch, row, column + 1);
    return swatch;
}

QLayout *TfrmHTMLGenerator::BuildButtons()
{
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    // Enter outside the three texts presses nothing.
    btnOk->setAutoDefault(false);
    btnCancel->setAutoDefault(false);
    connect(btnOk, &QPushButton::clicked, this, [this] { Guarded([this] { btnOkClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(btnOk);
    row->addWidget(btnCancel);
    return row;
}

void TfrmHTMLGenerator::FormCreate()
{
    TranslateForm(this, LanguageFile());
    const TPreferencesRec &rec = Prefs->Rec();
    edTitle->setText(rec.TitleText);
    edHeaderMessage->setText(rec.WelcomeHeader);
    edWelcomeMessage->setText(rec.WelcomeMessage);
    SetSwatchColor(stText, rec.TextColor);
    SetSwatchColor(stBackground, rec.BackgroundColor);
    SetSwatchColor(stHeaderArea, rec.HeaderAreaColor);
    SetSwatchColor(stWelcomeArea, rec.WelcomeAreaColor);
    SetSwatchColor(stBookmarkArea1, rec.BookmarkArea1Color);
    SetSwatchColor(stBookmarkArea2, rec.BookmarkArea2Color);
    chkGenFromSelectedFolder->setChecked(rec.GenerateFromSelFolder);
}

void TfrmHTMLGenerator::StoreSettings() const
{
    TPreferencesRec &rec = Prefs->Rec();
    rec.TitleText = edTitle->text();
    rec.WelcomeHeader = edHeaderMessage->text();
    rec.WelcomeMessage = edWelcomeMessage->text();
    rec.TextColor = SwatchColor(stText);
    rec.BackgroundColor = SwatchColor(stBackground);
    rec.HeaderAreaColor = SwatchColor(stHeaderArea);
    rec.WelcomeAreaColor = SwatchColor(stWelcomeArea);
    rec.BookmarkArea1Color = SwatchColor(stBookmarkArea1);
    rec.BookmarkArea2Color = SwatchColor(stBookmarkArea2);
    rec.GenerateFromSelFolder = chkGenFromSelectedFolder->isChecked();
}

// The settings are kept first: a cancelled save dialog or a failed write leaves
// them stored and the dialog open; the file is remembered only once written.
void TfrmHTMLGenerator::btnOkClick()
{
    StoreSettings();
    TPreferencesRec &rec = Prefs->Rec();
    const QString start = SaveDialogStart(rec.HTMLFile);
    const QString fileName =
        ShowFileChooser(this, {TChooserKind::SaveFile, start,
                               QStringLiteral("HTML file (*.html);;HTM file (*.htm);;"
                                              "Any file (*)"),
                               QString(), false, QStringLiteral("html"), true});
    if (fileName.isEmpty())
        return;
    const TFolder *folder = nullptr;
    if (chkGenFromSelectedFolder->isChecked() && MainWindow())
        folder = MainWindow()->SelectedNodeFolder();
    GeneratePage(*Catalog, folder, PageSettings(rec), fileName);
    rec.HTMLFile = fileName;
    close();
}

void TfrmHTMLGenerator::btnCancelClick()
{
    close();
}

void TfrmHTMLGenerator::stTextClick(QLabel *swatch)
{
    const QColor chosen = QColorDialog::getColor(ToQColor(SwatchColor(swatch)), this);
    if (chosen.isValid())
        SetSwatchColor(swatch, ToTColor(chosen));
}

bool TfrmHTMLGenerator::eventFilter(QObject *watched, QEvent *event)
{
    auto *swatch = qobject_cast<QLabel *>(watched);
    if (swatch && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton
            && swatch->rect().contains(mouse->position().toPoint())) {
            stTextClick(swatch);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
