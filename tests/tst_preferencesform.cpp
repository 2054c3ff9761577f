// The preferences dialog over a real main window: the language list, what Apply,
// OK, Cancel and Default put into effect (autostart entry, tray icon, timer,
// language), the page it reopens on, and the autostart failure the user sees.
#include "FormCheck.h"
#include "MainWindowFixture.h"
#include "dialogs/CategoryList.h"
#include "dialogs/HeaderLabel.h"
#include "dialogs/PreferencesForm.h"
#include "platform/AutostartEntry.h"
#include "program/MakerPages.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QtTest>
#include <QtWidgets>

#include <sys/stat.h>

namespace {

const char kGerman[] = "[Info]\r\nLanguageName=Deutsch\r\nAuthor=Hans\r\n"
                       "ContactAuthor=hans@example.org\r\nInfo=Deutsche Texte\r\n"
                       "[frmPreferences]\r\nCaption=Einstellungen\r\nlblAuthor=Autor:\r\n"
                       "GeneralGroup=Allgemein\r\nInterfaceGroup=Bedienung\r\n"
                       "GeneralSection=Allgemeine Einstellungen des Programms\r\n"
                       "StartExitSection=Start/Ende\r\nLanguageSection=Sprache\r\n"
                       "[frmMain]\r\nFileSave=&Speichern\r\n";

} // namespace

class TestPreferencesForm : public QObject
{
    Q_OBJECT

    MainWindowFixture m_window;
    QPointer<TfrmPreferences> m_dialog;
    QList<MessageBoxRequest> m_boxes;

    TfrmPreferences *Open()
    {
        delete m_dialog;
        frmPreferences = m_dialog = new TfrmPreferences(m_window.Form.get());
        m_dialog->show();
        return m_dialog;
    }
    void Write(const QString &name, const QByteArray &contents)
    {
        QDir(m_window.Dir->path()).mkpath(QFileInfo(name).path());
        QFile file(m_window.Dir->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
    }
    TPreferencesRec &Rec() { return Prefs->Rec(); }

private slots:
    void initTestCase()
    {
        SetMessageBoxAnswerer([this](const MessageBoxRequest &request) {
            m_boxes.append(request);
            return QMessageBox::Ok;
        });
    }
    void init()
    {
        QVERIFY(m_window.Open());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_window.Dir->filePath("config")));
        m_boxes.clear();
    }
    void cleanup()
    {
        m_window.Close(); // takes an open dialog with it
        QVERIFY(!frmPreferences);
    }

    void languageList_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("highlighted");
        QTest::newRow("no languages folder") << false << "" << 0;
        QTest::newRow("the first name equal but for case") << true << "b.Ini" << 2;
        QTest::newRow("stored file gone") << true << "gone.ini" << 0;
    }
    // Listed: the "*.ini" entries, folders too, with their language names.
    void languageList()
    {
        QFETCH(bool, folder);
        QFETCH(QString, stored);
        QStringList rows{"English (Default)"};
        if (folder) {
            Write("languages/b.ini", "[Info]\r\nLanguageName=Beta\r\n");
            Write("languages/B.INI", "[Info]\r\nLanguageName=Gamma\r\n");
            Write("languages/a.ini", "[Info]\r\nAuthor=Nobody\r\n");
            Write("languages/.ini", "");
            Write("languages/notes.txt", "[Info]\r\nLanguageName=Notes\r\n");
            QVERIFY(QDir(m_window.Dir->path()).mkpath("languages/dir.ini"));
            // A pipe would block the dialog when read: it is not listed.
            const QString fifo = m_window.Dir->filePath("languages/f.ini");
            QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            rows << " (.ini)" << "Gamma (B.INI)" << " (a.ini)" << "Beta (b.ini)" << " (dir.ini)";
        }
        Rec().LanguageFile = stored;
        TfrmPreferences *dialog = Open();
        QStringList shown;
        for (int i = 0; i < dialog->lbLanguages->count(); ++i)
            shown << dialog->lbLanguages->item(i)->text();
        QCOMPARE(shown, rows);
        QTEST(dialog->lbLanguages->currentRow(), "highlighted");
        QVERIFY(!dialog->btnApply->isEnabled());
    }

    // The details of the highlighted file in the labels of the language in
    // effect; the interface language changes at Apply.
    void highlightingChangesOnlyTheDetails()
    {
        Write("languages/de.ini", kGerman);
        TfrmPreferences *dialog = Open();
        const auto details = [dialog] {
            return QStringList{dialog->lblAuthor->text(), dialog->lblContact->text(),
                               dialog->lblInformation->text()};
        };
        QCOMPARE(details(), QStringList({"Author: Quorvane", "Contact: " + QString(kHomePage),
                                         "Information:"}));
        dialog->lbLanguages->setCurrentRow(1);
        QCOMPARE(details(), QStringList({"Author: Hans", "Contact: hans@example.org",
                                         "Information: Deutsche Texte"}));
        QVERIFY(dialog->btnApply->isEnabled());
        QCOMPARE(dialog->windowTitle(), QString("Preferences"));
        QCOMPARE(m_window.Form->Action(ActionId::FileSave)->text(), QString("&Save"));
        dialog->btnApply->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QString("Einstellungen"));
        QStringList categories;
        for (QTreeWidgetItemIterator it(dialog->CategoryButtons); *it; ++it)
            categories << (*it)->text(0);
        QCOMPARE(categories, QStringList({"Allgemein", "Allgemeine Einstellungen des Programms",
                                          "Start/Ende", "Bedienung", "Sprache"}));
        const QTreeWidgetItem *general = dialog->CategoryButtons->currentItem();
        QVERIFY(dialog->CategoryButtons->visualItemRect(general).width()
                > QFontMetrics(general->font(0)).horizontalAdvance(general->text(0)));
        QCOMPARE(details().first(), QString("Autor: Hans"));
        QCOMPARE(dialog->hlSection->Caption(), QString("General")); // changes only on a selection
        QCOMPARE(m_window.Form->Action(ActionId::FileSave)->text(), QString("&Speichern"));
        QVERIFY(!dialog->btnApply->isEnabled());
    }

    // Every control enables Apply; Cancel keeps what was applied, drops the rest;
    // the dialog opens with the focus on OK and shows the settings.
    void cancelKeepsWhatWasApplied()
    {
        const int minutes = Rec().AutoSaveInterval;
        TfrmPreferences *dialog = Open();
        QCOMPARE(TabWalk(dialog, 1), QStringList("btnOk"));
        QList<bool> applied;
        for (QCheckBox *box : dialog->findChildren<QCheckBox *>()) {
            applied << !box->isChecked();
            QVERIFY(!dialog->btnApply->isEnabled());
            box->click();
            QVERIFY2(dialog->btnApply->isEnabled(), qPrintable(box->objectName()));
            dialog->btnApply->click();
        }
        QVERIFY(!Rec().ShowIconInTray && Rec().LoadOnWindowsStartup);
        QVERIFY(!m_window.Form->TrayIcon->isVisible());
        QVERIFY(QFile::exists(AutostartEntryPath()));
        dialog->seAutoSaveInt->stepUp();
        QVERIFY(dialog->btnApply->isEnabled());
        dialog->btnCancel->click();
        QCOMPARE(frmPreferences, nullptr);
        QCOMPARE(Rec().AutoSaveInterval, minutes);
        QList<bool> shown;
        for (QCheckBox *box : Open()->findChildren<QCheckBox *>())
            shown << box->isChecked();
        QCOMPARE(shown, applied);
    }

    void okWithNothingChangedAppliesEverything_data()
    {
        QTest::addColumn<bool>("startup");
        QTest::addColumn<int>("minutes");
        QTest::newRow("start with the session, 120 minutes") << true << 120;
        QTest::newRow("no start with the session; 0 minutes never fire") << false << 0;
    }
    // Opened by its command.
    void okWithNothingChangedAppliesEverything()
    {
        QFETCH(bool, startup);
        QFETCH(int, minutes);
        Rec().LoadOnWindowsStartup = startup;
        Rec().AutoSaveEvery = true;
        Rec().AutoSaveInterval = minutes;
        WriteAutostartEntry("/opt/elsewhere/varnokel"); // an entry left from before
        m_window.Form->TrayIcon->setVisible(false);
        m_window.Form->AutoSaveTimer->stop();
        QTimer::singleShot(0, [this] {
            m_window.Form->Action(ActionId::ToolsPreferences)->trigger(); // open: no second one
            QTest::mouseClick(frmPreferences->btnOk, Qt::LeftButton);
        });
        m_window.Form->Action(ActionId::ToolsPreferences)->trigger();
        QCOMPARE(frmPreferences, nullptr);
        QTRY_VERIFY(m_window.Form->findChildren<TfrmPreferences *>().isEmpty());
        QFile entry(AutostartEntryPath());
        QCOMPARE(entry.open(QIODevice::ReadOnly), startup);
        const QString exec = AutostartExecValue(QCoreApplication::applicationFilePath());
        QCOMPARE(entry.readAll().contains("\nExec=" + exec.toUtf8() + "\n"), startup);
        QVERIFY(m_window.Form->TrayIcon->isVisible());
        QCOMPARE(m_window.Form->AutoSaveTimer->isActive(), minutes > 0);
        QCOMPARE(m_window.Form->AutoSaveTimer->interval(), minutes * 60 * 1000);
        QVERIFY(m_boxes.isEmpty());
    }

    // Apply set the dialog's window flags again, which hid it and ended its modal
    // loop: the user saw it vanish.
    void applyKeepsTheDialogOpen()
    {
        Write("languages/de.ini", kGerman);
        QStringList seen;
        QTimer::singleShot(0, this, [this, &seen] {
            QPointer<TfrmPreferences> dialog = frmPreferences;
            dialog->lbLanguages->setCurrentRow(1); // a language that resizes the dialog
            QTest::mouseClick(dialog->btnApply, Qt::LeftButton);
            seen << QString("after Apply: %1").arg(dialog->isVisible() ? "shown" : "hidden");
            QTimer::singleShot(0, this, [dialog, &seen] { // still in its modal loop?
                if (!dialog)
                    return;
                seen << QString("then: %1").arg(dialog->isVisible() ? "shown" : "hidden");
                QTest::mouseClick(dialog->btnOk, Qt::LeftButton);
            });
        });
        m_window.Form->Action(ActionId::ToolsPreferences)->trigger();
        QCOMPARE(seen, QStringList({"after Apply: shown", "then: shown"}));
        QCOMPARE(Rec().LanguageFile, QString("de.ini"));
        QCOMPARE(frmPreferences, nullptr);
    }

    void longCaptionsShownWhole_data()
    {
        QTest::addColumn<bool>("applied"); // chosen while the dialog is open, else at opening
        QTest::addColumn<bool>("captions"); // long captions, else only long details
        QTest::newRow("opened in the language") << false << true;
        QTest::newRow("applied while open") << true << true;
        QTest::newRow("long author and contact") << false << false;
    }
    // Longer captions of a language were clipped on every page: the pages had a
    // fixed least size, so the dialog kept its designed size.
    void longCaptionsShownWhole()
    {
        QFETCH(bool, applied);
        QFETCH(bool, captions);
        QByteArray section = "[Info]\r\nLanguageName=Lang\r\nAuthor=Hans Meier aus Hamburg, "
                             "Sachsen, Bayern und Thüringen, mit Hilfe vieler anderer\r\n"
                             "ContactAuthor=hans.meier@beispiel.example.org oder über die "
                             "Seite des Projekts\r\n[frmPreferences]\r\n";
        for (const char *key : {"chkLoadOnWinStartup", "chkShowIconInTray", "chkHideToTray",
                                "chkConfirmDeleting", "chkAutoSaveEvery", "lblAutoSaveMins",
                                "grbStart", "chkMinimized", "grbExit", "chkAutoSave",
                                "lblLanguages", "lblAuthor", "lblContact", "lblInformation",
                                "btnDefault", "btnOK", "btnCancel", "btnApply", "GeneralGroup",
                                "InterfaceGroup", "GeneralSection", "StartExitSection",
                                "LanguageSection"})
            if (captions)
                section += key + QByteArray("=Eine lange Beschriftung für ") + key + "\r\n";
        Write("languages/long.ini", section);
        if (!applied)
            Rec().LanguageFile = "long.ini";
        TfrmPreferences *dialog = Open();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        if (applied) {
            QTest::mouseClick(dialog->lbLanguages->viewport(), Qt::LeftButton, {},
                              dialog->lbLanguages->visualItemRect(dialog->lbLanguages->item(1))
                                  .center());
            QTest::mouseClick(dialog->btnApply, Qt::LeftButton);
            QVERIFY(dialog->isVisible());
        }
        QCOMPARE(dialog->lblAuthor->text().contains("Thüringen"), true);
        QStringList clipped;
        TCategoryList *list = dialog->CategoryButtons;
        for (QTreeWidgetItemIterator it(list, QTreeWidgetItemIterator::NoChildren); *it; ++it) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(*it).center());
            QCOMPARE(list->currentItem(), *it);
            QTRY_VERIFY(dialog->pgPreferences->currentWidget()->isVisible());
            clipped << ClippedCaptions(dialog, dialog->pgPreferences->currentWidget());
        }
        for (QPushButton *button : dialog->findChildren<QPushButton *>())
            if (button->width() < button->sizeHint().width())
                clipped << button->objectName();
        QCOMPARE(clipped.join(" "), QString());
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize()); // still fixed
    }

    // No button is the default: Enter on a check box did OK's work and closed it.
    // Enter presses the button that has the focus.
    void enterPressesOnlyTheFocusedButton()
    {
        TfrmPreferences *dialog = Open();
        QApplication::setActiveWindow(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        dialog->chkConfirmDeleting->setFocus();
        QTest::keyClick(dialog->chkConfirmDeleting, Qt::Key_Return);
        QVERIFY(m_dialog && dialog->isVisible());
        for (const QPushButton *button : dialog->findChildren<QPushButton *>())
            QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
        dialog->chkConfirmDeleting->click();
        dialog->btnCancel->setFocus();
        QTest::keyClick(dialog->btnCancel, Qt::Key_Return);
        QTRY_VERIFY(!m_dialog);
        QVERIFY(Rec().ConfirmDeletingItems); // not applied
    }

    // Its designed size in any font, fixed: it opened at 484 x 403.
    void opensAtDesignedSize_data() { AddFontRows(); }
    void opensAtDesignedSize()
    {
        QFETCH(int, pixelSize);
        const AppFontScope font(pixelSize);
        CheckDesignedSize(Open(), {474, 346});
    }

    // Every setting but the find history, put into effect only at Apply or OK.
    void defaultResetsEverythingButTheFindHistory()
    {
        Write("languages/de.ini", kGerman);
        Rec().Width = 900;
        Rec().BackgroundColor = 0x123456;
        Rec().LastString[0] = "kept";
        Rec().ShowIconInTray = false;
        Rec().LanguageFile = "de.ini";
        Rec().GroupIndex = 1;
        m_window.Form->ApplyTrayIcon();
        TfrmPreferences *dialog = Open();
        dialog->btnDefault->click();
        QVERIFY(Rec().Width == 679 && Rec().BackgroundColor == 0xC0DCC0);
        QVERIFY(Rec().LastString[0] == "kept" && Rec().LanguageFile.isEmpty());
        QVERIFY(dialog->chkShowIconInTray->isChecked());
        QCOMPARE(dialog->lbLanguages->currentRow(), 0);
        QVERIFY(dialog->btnApply->isEnabled());
        QCOMPARE(dialog->pgPreferences->currentWidget(), dialog->tabLanguage);
        QVERIFY(!m_window.Form->TrayIcon->isVisible());
        QCOMPARE(dialog->windowTitle(), QString("Einstellungen"));
        dialog->btnCancel->click();
        dialog = Open();
        QCOMPARE(dialog->pgPreferences->currentWidget(), dialog->tabGeneral);
    }

    void pages_data()
    {
        QTest::addColumn<int>("group"); // the stored item
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("action"); // a click on an item, or a key, before OK
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("page");
        QTest::newRow("stored") << 1 << 0 << "" << "Language" << "tabLanguage";
        QTest::newRow("no such item") << 5 << 0 << "" << "General" << "tabGeneral";
        QTest::newRow("item clicked") << 1 << 0 << "click Start/Exit" << "Start/Exit"
                                      << "tabStartExit";
        QTest::newRow("category clicked: folded") << 0 << 1 << "click Interface" << "Start/Exit"
                                                  << "tabStartExit";
        QTest::newRow("Down over a category") << 0 << 1 << "Down" << "Language" << "tabLanguage";
        QTest::newRow("Up over a category") << 1 << 0 << "Up" << "Start/Exit" << "tabStartExit";
        QTest::newRow("Left stays") << 0 << 1 << "Left" << "Start/Exit" << "tabStartExit";
    }
    // The dialog reopens on the page of the item selected at the last OK.
    void pages()
    {
        QFETCH(int, group);
        QFETCH(int, button);
        QFETCH(QString, action);
        QFETCH(QString, header);
        Rec().GroupIndex = group;
        Rec().ButtonIndex = button;
        TCategoryList *list = Open()->CategoryButtons;
        if (action.startsWith("click ")) {
            const auto items = list->findItems(action.mid(6), Qt::MatchRecursive);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(items.constLast()).center());
        } else if (!action.isEmpty()) {
            QTest::keyClick(list, QKeySequence(action)[0].key());
        }
        QCOMPARE(list->topLevelItem(1)->isExpanded(), action != "click Interface");
        QVERIFY(!m_dialog->btnApply->isEnabled()); // a page is no setting
        m_dialog->btnOk->click();
        TfrmPreferences *dialog = Open();
        QTEST(dialog->pgPreferences->currentWidget()->objectName(), "page");
        CheckForm(dialog, "Preferences", {"btnOk", "btnCancel", "btnApply", "btnDefault", "Bevel6",
                  "CategoryButtons", "pgPreferences", "hlSection", "tabGeneral", "tabStartExit",
                  "tabLanguage", "chkLoadOnWinStartup", "chkShowIconInTray", "chkHideToTray",
                  "Bevel1", "chkConfirmDeleting", "chkAutoSaveEvery", "seAutoSaveInt",
                  "lblAutoSaveMins", "grbStart", "chkMinimized", "grbExit", "chkAutoSave",
                  "lbLanguages", "lblLanguages", "lblAuthor", "lblContact", "lblInformation"},
                  {474, 346});
        QCOMPARE(dialog->hlSection->Caption(), header);
        QCOMPARE(dialog->CategoryButtons->currentItem()->text(0), header);
    }

    // The settings are stored, but the Apply ends before the tray icon; OK shows
    // the error again and closes all the same.
    void unwritableAutostartFolderShowsTheError()
    {
        Write("config/autostart", "a file where the folder belongs");
        TfrmPreferences *dialog = Open();
        dialog->chkLoadOnWinStartup->setChecked(true);
        dialog->chkShowIconInTray->setChecked(false);
        dialog->btnApply->click();
        QCOMPARE(m_boxes.size(), 1);
        QCOMPARE(m_boxes[0].Text, "Failed to create key " + AutostartFolder() + ": Not a directory.");
        QVERIFY(dialog->btnApply->isEnabled());
        QVERIFY(Rec().LoadOnWindowsStartup && !Rec().ShowIconInTray);
        QVERIFY(m_window.Form->TrayIcon->isVisible());
        dialog->btnOk->click();
        QCOMPARE(m_boxes.size(), 2);
        QCOMPARE(frmPreferences, nullptr);
    }
};

QTEST_MAIN(TestPreferencesForm)
#include "tst_preferencesform.moc"
