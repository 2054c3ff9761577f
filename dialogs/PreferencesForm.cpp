#include "dialogs/PreferencesForm.h"
#include "dialogs/CategoryList.h"
#include "dialogs/HeaderLabel.h"
#include "platform/AsciiCase.h"
#include "platform/AutostartEntry.h"
#include "platform/Directory.h"
#include "platform/IniFile.h"
#include "platform/VarnokelError.h"
#include "program/CommandGuard.h"
#include "program/DesignedSize.h"
#include "program/Globals.h"
#include "program/MakerPages.h"
#include "program/MainWindowLink.h"
#include "settings/Language.h"
#include "settings/Preferences.h"
#include "settings/widgets/TranslateForm.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>

namespace {

const QString kSection = QStringLiteral("frmPreferences");
const QString kMaker = QStringLiteral("Quorvane");
// The maker's home page, as the Help menu opens it.

QString Text(const QString &langFile, const char *key, const char *defaultText)
{
    return GetLanguageText(langFile, kSection, QString::fromLatin1(key),
                           QString::fromLatin1(defaultText));
}

// The pattern of the language list, "*.ini", with the extension's case ignored.
bool IsLanguageFileName(const QString &name)
{
    return name.size() >= 4 && SameTextAscii(QStringView(name).right(4), u".ini");
}

} // namespace

TfrmPreferences::TfrmPreferences(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    setAttribute(Qt::WA_DeleteOnClose);

    BuildLayout();
    ConnectHandlers();
    FormCreate();
    btnOk->setFocus();
}

TfrmPreferences::~TfrmPreferences()
{
    if (frmPreferences == this)
        frmPreferences = nullptr;
}

void TfrmPreferences::done(int result)
{
    if (frmPreferences == this)
        frmPreferences = nullptr;
    QDialog::done(result);
}

void TfrmPreferences::ConnectHandlers()
{
    connect(CategoryButtons, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *item) {
                Guarded([this, item] { CategoryButtonsSelectedItemChange(item); });
            });
    for (QCheckBox *box : {chkLoadOnWinStartup, chkShowIconInTray, chkHideToTray,
                           chkConfirmDeleting, chkAutoSaveEvery, chkMinimized, chkAutoSave})
        connect(box, &QCheckBox::toggled, this, [this] { chkLoadOnWinStartupClick(); });
    connect(seAutoSaveInt, &QSpinBox::valueChanged, this, [this] { seAutoSaveIntChange(); });
    // A click on the highlighted row counts as well as a change of row.
    connect(lbLanguages, &QListWidget::currentRowChanged, this,
            [this] { Guarded([this] { lbLanguagesClick(); }); });
    connect(lbLanguages, &QListWidget::clicked, this,
            [this] { Guarded([this] { lbLanguagesClick(); }); });
    connect(btnOk, &QPushButton::clicked, this, [this] { btnOkClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnApply, &QPushButton::clicked, this,
            [this] { Guarded([this] { btnApplyClick(); }); });
    connect(btnDefault, &QPushButton::clicked, this,
            [this] { Guarded([this] { btnDefaultClick(); }); });
}

void TfrmPreferences::FormCreate()
{
    const TPreferencesRec &rec = Prefs->Rec();
    // Stored indexes that name no item (a hand-edited file) select the first one.
    QTreeWidgetItem *category = CategoryButtons->topLevelItem(rec.GroupIndex);
    QTreeWidgetItem *item = category ? category->child(rec.ButtonIndex) : nullptr;
    CategoryButtons->setCurrentItem(item ? item : CategoryButtons->topLevelItem(0)->child(0));
    FillLanguageList();
    ApplyLanguage();
    LoadControls();
    btnApply->setEnabled(false);
}

void TfrmPreferences::CategoryButtonsSelectedItemChange(QTreeWidgetItem *item)
{
    if (!item || !item->parent())
        return;
    const int group = CategoryButtons->indexOfTopLevelItem(item->parent());
    const int button = item->parent()->indexOfChild(item);
    if (group == 0 && button == 0)
        pgPreferences->setCurrentWidget(tabGeneral);
    else if (group == 0 && button == 1)
        pgPreferences->setCurrentWidget(tabStartExit);
    else if (group == 1 && button == 0)
        pgPreferences->setCurrentWidget(tabLanguage);
    hlSection->SetCaption(item->text(0));
}

void TfrmPreferences::FillLanguageList()
{
    FLanguageFiles = {QString()};
    lbLanguages->addItem(QStringLiteral("English (Default)"));
    const QString folder = AppDir + QStringLiteral("languages/");
    std::vector<DirectoryEntry> entries;
    try {
        entries = ListDirectory(folder);
    } catch (const VarnokelError &) {
        return; // no languages folder: English alone
    }
    for (const DirectoryEntry &entry : entries) {
        if (!IsLanguageFileName(entry.name))
            continue;
        // Regular files that can be read, and folders (they list with an empty
        // name); never a pipe or a device, which could block the dialog.
        const QFileInfo info(folder + entry.name);
        if (!info.isDir() && !(info.isFile() && info.isReadable()))
            continue;
        const IniFile ini(folder + entry.name);
        FLanguageFiles.append(entry.name);
        const QString name =
            ini.ReadString(QStringLiteral("Info"), QStringLiteral("LanguageName"), QString());
        lbLanguages->addItem(name + QStringLiteral(" (") + entry.name + u')');
    }
}

void TfrmPreferences::ApplyLanguage()
{
    const QString lang = LanguageFile();
    TranslateForm(this, lang);
    QTreeWidgetItem *general = CategoryButtons->topLevelItem(0);
    QTreeWidgetItem *interfaceGroup = CategoryButtons->topLevelItem(1);
    general->setText(0, Text(lang, "GeneralGroup", "General"));
    interfaceGroup->setText(0, Text(lang, "InterfaceGroup", "Interface"));
    general->child(0)->setText(0, Text(lang, "GeneralSection", "General"));
    general->child(1)->setText(0, Text(lang, "StartExitSection", "Start/Exit"));
    interfaceGroup->child(0)->setText(0, Text(lang, "LanguageSection", "Language"));
    CategoryButtons->FitToCaptions(121); // never narrower than designed
    SetDesignedClientSize(this, {474, 346}); // larger only for longer texts
}

void TfrmPreferences::LoadControls()
{
    const TPreferencesRec &rec = Prefs->Rec();
    chkLoadOnWinStartup->setChecked(rec.LoadOnWindowsStartup);
    chkShowIconInTray->setChecked(rec.ShowIconInTray);
    chkHideToTray->setChecked(rec.HideToTrayOnMinimizing);
    chkConfirmDeleting->setChecked(rec.ConfirmDeletingItems);
    chkAutoSaveEvery->setChecked(rec.AutoSaveEvery);
    seAutoSaveInt->setValue(rec.AutoSaveInterval);
    chkMinimized->setChecked(rec.StartMinimized);
    chkAutoSave->setChecked(rec.AotoSaveOnExit);

    int row = 0;
    for (qsizetype i = 0; i < FLanguageFiles.size(); ++i) {
        if (SameTextAscii(FLanguageFiles[i], rec.LanguageFile)) {
            row = int(i);
            break;
        }
    }
    {
        const QSignalBlocker quiet(lbLanguages);
        lbLanguages->setCurrentRow(row);
    }
    lbLanguagesClick();
}

void TfrmPreferences::lbLanguagesClick()
{
    // The labels in the language in effect, the details from the highlighted file.
    const QString lang = LanguageFile();
    QString author = Text(lang, "lblAuthor", "Author:");
    QString contact = Text(lang, "lblContact", "Contact:");
    QString information = Text(lang, "lblInformation", "Information:");
    const int row = lbLanguages->currentRow();
    if (row <= 0 || row >= FLanguageFiles.size()) {
        author += u' ' + kMaker;
        contact += u' ' + QLatin1String(kHomePage);
    } else {
        const IniFile ini(AppDir + QStringLiteral("languages/") + FLanguageFiles[row]);
        const QString info = QStringLiteral("Info");
        author += u' ' + ini.ReadString(info, QStringLiteral("Author"), QString());
        contact += u' ' + ini.ReadString(info, QStringLiteral("ContactAuthor"), QString());
        information += u' ' + ini.ReadString(info, QStringLiteral("Info"), QString());
    }
    lblAuthor->setText(author);
    lblContact->setText(contact);
    lblInformation->setText(information);
    btnApply->setEnabled(true);
}

void TfrmPreferences::chkLoadOnWinStartupClick()
{
    btnApply->setEnabled(true);
}

void TfrmPreferences::seAutoSaveIntChange()
{
    btnApply->setEnabled(true);
}

void TfrmPreferences::btnOkClick()
{
    // A failed Apply has shown its error; the dialog closes all the same.
    Guarded([this] { btnApplyClick(); });
    accept();
}

void TfrmPreferences::btnApplyClick()
{
    TPreferencesRec &rec = Prefs->Rec();
    QTreeWidgetItem *item = CategoryButtons->currentItem();
    if (item && item->parent()) {
        rec.GroupIndex = CategoryButtons->indexOfTopLevelItem(item->parent());
        rec.ButtonIndex = item->parent()->indexOfChild(item);
    }
    rec.LoadOnWindowsStartup = chkLoadOnWinStartup->isChecked();
    rec.ShowIconInTray = chkShowIconInTray->isChecked();
    rec.HideToTrayOnMinimizing = chkHideToTray->isChecked();
    rec.ConfirmDeletingItems = chkConfirmDeleting->isChecked();
    rec.AutoSaveEvery = chkAutoSaveEvery->isChecked();
    rec.AutoSaveInterval = seAutoSaveInt->value();
    rec.StartMinimized = chkMinimized->isChecked();
    rec.AotoSaveOnExit = chkAutoSave->isChecked();
    rec.LanguageFile = FLanguageFiles.value(qMax(0, lbLanguages->currentRow()));
    ApplyPreferences();
    btnApply->setEnabled(false);
}

void TfrmPreferences::ApplyPreferences()
{
    // Every time, whether the box changed or not; a failure ends the Apply here.
    if (chkLoadOnWinStartup->isChecked())
        WriteAutostartEntry(QCoreApplication::applicationFilePath());
    else
        RemoveAutostartEntry();
    if (IMainWindow *main = MainWindow()) {
        main->ApplyTrayIcon();
        main->ApplyAutoSaveTimer();
        main->ApplyLanguage();
    }
    ApplyLanguage();
    lbLanguagesClick();
}

void TfrmPreferences::btnDefaultClick()
{
    // Only the settings object: nothing takes effect before Apply or OK.
    Prefs->SetDefaults();
    LoadControls();
    btnApply->setEnabled(true);
}
