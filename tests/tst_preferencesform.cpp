// The preferences dialog over a real main window: the language list, what Apply,
// OK, Cancel and Default put into effect (autostart entry, tray icon, timer,
// language), the page it reopens on, and the autostart failure the user sees.
#include "dialogs/CategoryList.h"
#include "dialogs/HeaderLabel.h"
#include "dialogs/PreferencesForm.h"
#include "mainwindow/MainForm.h"
#include "platform/AutostartEntry.h"
#include "program/Globals.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sys/stat.h>

namespace {

const char kGerman[] = "[Info]\r\nLanguageName=Deutsch\r\nAuthor=Hans\r\n"
                       "ContactAuthor=hans@example.org\r\nInfo=Deutsche Texte\r\n"
                       "[frmPreferences]\r\nCaption=Einstellungen\r\nlblAuthor=Autor:\r\n"
                       "chkConfirmDeleting=L\xc3\xb6schen best\xc3\xa4tigen\r\n"
                       "GeneralSection=Allgemein\r\n"
                       "[frmMain]\r\nFileSave=&Speichern\r\n";

} // namespace

class TestPreferencesForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void languageList_data();
    void languageList();
    void highlightingChangesOnlyTheDetails();
    void okWithNothingChangedAppliesEverything_data();
    void okWithNothingChangedAppliesEverything();
    void cancelAfterApplyKeepsWhatWasApplied();
    void defaultResetsEverythingButTheFindHistory();
    void reopensOnTheLastAppliedPage_data();
    void reopensOnTheLastAppliedPage();
    void unwritableAutostartFolderShowsTheError();
    void categoryListStepsOverCategories();
    void toolsPreferencesOpensOneDialog();

private:
    TfrmPreferences *Open();
    void Write(const QString &name, const QByteArray &contents);
    QString Path(const QString &name) const { return m_dir->filePath(name); }
    TPreferencesRec &Rec() { return Prefs->Rec(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TfrmMain> m_main;
    QPointer<TfrmPreferences> m_dialog;
    QList<MessageBoxRequest> m_boxes;
};

void TestPreferencesForm::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    SetMessageBoxAnswerer([this](const MessageBoxRequest &request) {
        m_boxes.append(request);
        return QMessageBox::Ok;
    });
}

void TestPreferencesForm::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(Path("app")) && QDir().mkpath(Path("home")));
    qputenv("HOME", QFile::encodeName(Path("home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Path("config")));
    SetProgramFolder(Path("app"));
    m_main = std::make_unique<TfrmMain>();
    m_boxes.clear();
}

void TestPreferencesForm::cleanup()
{
    delete m_dialog;
    m_main.reset();
    QVERIFY(!frmPreferences);
}

TfrmPreferences *TestPreferencesForm::Open()
{
    delete m_dialog;
    m_dialog = new TfrmPreferences(m_main.get());
    frmPreferences = m_dialog;
    m_dialog->show();
    return m_dialog;
}

void TestPreferencesForm::Write(const QString &name, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(Path(name)).absolutePath());
    QFile file(Path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

void TestPreferencesForm::languageList_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("highlighted");
    const QStringList all = {"English (Default)", " (a.ini)", "Beta (b.ini)", "Gamma (c.INI)",
                             " (dir.ini)"};
    QTest::newRow("no languages folder") << false << "" << QStringList{"English (Default)"} << 0;
    QTest::newRow("stored name in another case") << true << "B.Ini" << all << 2;
    QTest::newRow("stored file gone") << true << "gone.ini" << all << 0;
    QTest::newRow("English stored") << true << "" << all << 0;
}

void TestPreferencesForm::languageList()
{
    QFETCH(bool, folder);
    QFETCH(QString, stored);
    QFETCH(QStringList, rows);
    QFETCH(int, highlighted);
    if (folder) {
        Write("app/languages/b.ini", "[Info]\r\nLanguageName=Beta\r\n");
        Write("app/languages/a.ini", "[Info]\r\nAuthor=Nobody\r\n");
        Write("app/languages/c.INI", "[Info]\r\nLanguageName=Gamma\r\n");
        Write("app/languages/notes.txt", "[Info]\r\nLanguageName=Notes\r\n");
        QVERIFY(QDir().mkpath(Path("app/languages/dir.ini")));
        // A pipe would block the dialog when read: it is not listed.
        QCOMPARE(mkfifo(QFile::encodeName(Path("app/languages/fifo.ini")).constData(), 0600), 0);
    }
    Rec().LanguageFile = stored;
    TfrmPreferences *dialog = Open();
    QStringList shown;
    for (int i = 0; i < dialog->lbLanguages->count(); ++i)
        shown << dialog->lbLanguages->item(i)->text();
    QCOMPARE(shown, rows);
    QCOMPARE(dialog->lbLanguages->currentRow(), highlighted);
    QVERIFY(!dialog->btnApply->isEnabled());
}

void TestPreferencesForm::highlightingChangesOnlyTheDetails()
{
    Write("app/languages/de.ini", kGerman);
    TfrmPreferences *dialog = Open();
    QCOMPARE(dialog->lblAuthor->text(), QString("Author: Quorvane"));
    QVERIFY(dialog->lblContact->text().startsWith("Contact: http"));
    QCOMPARE(dialog->lblInformation->text(), QString("Information:"));

    dialog->lbLanguages->setCurrentRow(1);
    QCOMPARE(dialog->lblAuthor->text(), QString("Author: Hans"));
    QCOMPARE(dialog->lblContact->text(), QString("Contact: hans@example.org"));
    QCOMPARE(dialog->lblInformation->text(), QString("Information: Deutsche Texte"));
    QVERIFY(dialog->btnApply->isEnabled());
    QCOMPARE(dialog->chkConfirmDeleting->text(), QString("Confirm deleting items"));
    QCOMPARE(m_main->Action(ActionId::FileSave)->text(), QString("&Save"));

    dialog->btnApply->click();
    QCOMPARE(dialog->windowTitle(), QString("Einstellungen"));
    QCOMPARE(dialog->chkConfirmDeleting->text(), QString("L\u00f6schen best\u00e4tigen"));
    QCOMPARE(dialog->CategoryButtons->topLevelItem(0)->child(0)->text(0), QString("Allgemein"));
    QCOMPARE(dialog->lblAuthor->text(), QString("Autor: Hans"));
    // Keys the file lacks keep their English defaults.
    QCOMPARE(dialog->lblContact->text(), QString("Contact: hans@example.org"));
    // The header changes only when an item is selected.
    QCOMPARE(dialog->hlSection->Caption(), QString("General"));
    QCOMPARE(m_main->Action(ActionId::FileSave)->text(), QString("&Speichern"));
    QVERIFY(!dialog->btnApply->isEnabled());
}

void TestPreferencesForm::okWithNothingChangedAppliesEverything_data()
{
    QTest::addColumn<bool>("startup");
    QTest::newRow("start with the session") << true;
    QTest::newRow("no start with the session") << false;
}

void TestPreferencesForm::okWithNothingChangedAppliesEverything()
{
    QFETCH(bool, startup);
    Rec().LoadOnWindowsStartup = startup;
    Rec().ShowIconInTray = true;
    Rec().AutoSaveEvery = true;
    Rec().AutoSaveInterval = 2;
    WriteAutostartEntry("/opt/elsewhere/varnokel"); // an entry left from before
    m_main->TrayIcon->setVisible(false);
    m_main->AutoSaveTimer->stop();

    TfrmPreferences *dialog = Open();
    QVERIFY(!dialog->btnApply->isEnabled());
    dialog->btnOk->click();
    QCOMPARE(frmPreferences, nullptr);
    QTRY_VERIFY(!m_dialog);

    QFile entry(AutostartEntryPath());
    QCOMPARE(entry.exists(), startup);
    if (startup) {
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString exec = AutostartExecValue(QCoreApplication::applicationFilePath());
        QVERIFY(QString::fromUtf8(entry.readAll()).contains("\nExec=" + exec + "\n"));
    }
    QVERIFY(m_main->TrayIcon->isVisible());
    QVERIFY(m_main->AutoSaveTimer->isActive());
    QCOMPARE(m_main->AutoSaveTimer->interval(), 2 * 60 * 1000);
    QVERIFY(m_boxes.isEmpty());
}

void TestPreferencesForm::cancelAfterApplyKeepsWhatWasApplied()
{
    TfrmPreferences *dialog = Open();
    dialog->chkShowIconInTray->setChecked(false);
    dialog->chkLoadOnWinStartup->setChecked(true);
    QVERIFY(dialog->btnApply->isEnabled());
    dialog->btnApply->click();
    dialog->chkConfirmDeleting->setChecked(false); // not applied
    dialog->btnCancel->click();
    QCOMPARE(frmPreferences, nullptr);
    QVERIFY(!Rec().ShowIconInTray);
    QVERIFY(!m_main->TrayIcon->isVisible());
    QVERIFY(QFile::exists(AutostartEntryPath()));
    QVERIFY(Rec().ConfirmDeletingItems);
}

void TestPreferencesForm::defaultResetsEverythingButTheFindHistory()
{
    Write("app/languages/de.ini", kGerman);
    Rec().Width = 900;
    Rec().BackgroundColor = 0x123456;
    Rec().LastString[0] = "kept";
    Rec().ShowIconInTray = false;
    Rec().LanguageFile = "de.ini";
    Rec().GroupIndex = 1;
    m_main->ApplyTrayIcon();

    TfrmPreferences *dialog = Open();
    QCOMPARE(dialog->pgPreferences->currentWidget(), dialog->tabLanguage);
    dialog->btnDefault->click();
    QCOMPARE(Rec().Width, 679);
    QCOMPARE(Rec().BackgroundColor, 0xC0DCC0);
    QCOMPARE(Rec().LastString[0], QString("kept"));
    QVERIFY(Rec().ShowIconInTray);
    QCOMPARE(Rec().LanguageFile, QString());
    QVERIFY(dialog->chkShowIconInTray->isChecked());
    QCOMPARE(dialog->lbLanguages->currentRow(), 0);
    QVERIFY(dialog->btnApply->isEnabled());
    // Nothing is put into effect, and the page stays.
    QCOMPARE(dialog->pgPreferences->currentWidget(), dialog->tabLanguage);
    QVERIFY(!m_main->TrayIcon->isVisible());
    QCOMPARE(dialog->windowTitle(), QString("Einstellungen"));

    dialog->btnCancel->click();
    dialog = Open();
    QCOMPARE(dialog->pgPreferences->currentWidget(), dialog->tabGeneral);
}

void TestPreferencesForm::reopensOnTheLastAppliedPage_data()
{
    QTest::addColumn<int>("storedGroup");
    QTest::addColumn<int>("storedButton");
    QTest::addColumn<int>("chosenGroup"); // -1: nothing chosen
    QTest::addColumn<int>("chosenButton");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("header");
    QTest::newRow("Start/Exit applied") << 0 << 0 << 0 << 1 << "tabStartExit" << "Start/Exit";
    QTest::newRow("stored Language") << 1 << 0 << -1 << 0 << "tabLanguage" << "Language";
    QTest::newRow("no such category") << 5 << 0 << -1 << 0 << "tabGeneral" << "General";
    QTest::newRow("no such item") << 1 << 3 << -1 << 0 << "tabGeneral" << "General";
}

void TestPreferencesForm::reopensOnTheLastAppliedPage()
{
    QFETCH(int, storedGroup);
    QFETCH(int, storedButton);
    QFETCH(int, chosenGroup);
    QFETCH(int, chosenButton);
    QFETCH(QString, page);
    QFETCH(QString, header);
    Rec().GroupIndex = storedGroup;
    Rec().ButtonIndex = storedButton;
    TfrmPreferences *dialog = Open();
    if (chosenGroup >= 0) {
        QTreeWidget *list = dialog->CategoryButtons;
        list->setCurrentItem(list->topLevelItem(chosenGroup)->child(chosenButton));
        QCOMPARE(dialog->pgPreferences->currentWidget()->objectName(), page);
        // Choosing a page enables no Apply; OK applies all the same.
        QVERIFY(!dialog->btnApply->isEnabled());
        dialog->btnOk->click();
        dialog = Open();
    }
    QCOMPARE(dialog->pgPreferences->currentWidget()->objectName(), page);
    QCOMPARE(dialog->hlSection->Caption(), header);
    QCOMPARE(dialog->CategoryButtons->currentItem()->text(0), header);
}

void TestPreferencesForm::unwritableAutostartFolderShowsTheError()
{
    Write("config/autostart", "a file where the folder belongs");
    TfrmPreferences *dialog = Open();
    dialog->chkLoadOnWinStartup->setChecked(true);
    dialog->chkShowIconInTray->setChecked(false);
    dialog->btnApply->click();
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].Text, "Failed to create key " + AutostartFolder() + ".");
    QCOMPARE(m_boxes[0].Icon, QMessageBox::Critical);
    QVERIFY(dialog->btnApply->isEnabled());
    // The settings are stored, but the Apply ended before the tray icon.
    QVERIFY(Rec().LoadOnWindowsStartup);
    QVERIFY(!Rec().ShowIconInTray);
    QVERIFY(m_main->TrayIcon->isVisible());
    // OK shows the error again and closes all the same.
    dialog->btnOk->click();
    QCOMPARE(m_boxes.size(), 2);
    QCOMPARE(frmPreferences, nullptr);
}

void TestPreferencesForm::categoryListStepsOverCategories()
{
    TfrmPreferences *dialog = Open();
    TCategoryList *list = dialog->CategoryButtons;
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(0)->child(1));
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentItem(), list->topLevelItem(1)->child(0));
    QCOMPARE(dialog->pgPreferences->currentWidget(), dialog->tabLanguage);
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(list->currentItem(), list->topLevelItem(0)->child(1));
    // A click on a category folds it and leaves the page as it is.
    const QRect category = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, category.center());
    QVERIFY(!list->topLevelItem(1)->isExpanded());
    QCOMPARE(list->currentItem(), list->topLevelItem(0)->child(1));
    QCOMPARE(dialog->hlSection->Caption(), QString("Start/Exit"));
}

void TestPreferencesForm::toolsPreferencesOpensOneDialog()
{
    int dialogs = -1;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        m_main->ToolsPreferencesExecute(); // already open: nothing happens
        dialogs = int(m_main->findChildren<TfrmPreferences *>().size());
        modal = frmPreferences && frmPreferences->isModal();
        for (TfrmPreferences *dialog : m_main->findChildren<TfrmPreferences *>())
            dialog->btnCancel->click();
    });
    m_main->ToolsPreferencesExecute();
    QCOMPARE(dialogs, 1);
    QVERIFY(modal);
    QCOMPARE(frmPreferences, nullptr);
    QTRY_VERIFY(m_main->findChildren<TfrmPreferences *>().isEmpty());
}

QTEST_MAIN(TestPreferencesForm)
#include "tst_preferencesform.moc"
