// The window in and out of the tray: starting minimised, hiding on minimise,
// a second start's request to show, the tray icon and its menu; and the
// auto-save timer.
#include "MainWindowFixture.h"
#include "settings/Preferences.h"

#include <QDialog>
#include <QtTest>

namespace {

QString State(const QWidget &w)
{
    return !w.isVisible() ? "hidden" : w.isMinimized() ? "minimised" : "shown";
}

// Another window of the program, freed on closing as the program's dialogs are.
QDialog *ActivateDialog(QWidget *owner)
{
    auto *dialog = new QDialog(owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    QApplication::setActiveWindow(dialog);
    return QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
}

} // namespace

class TestMainTray : public QObject
{
    Q_OBJECT
    MainWindowFixture m;

private slots:
    void initTestCase()
    {
        QIcon::setThemeSearchPaths({}); // no desktop theme: the program draws its own icon
        TfrmMain::SetSystemTrayAvailable(true); // the offscreen platform has none
    }
    void cleanup()
    {
        m.Close();
        TfrmMain::SetSystemTrayAvailable(true);
    }

    void trayFlags_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("tray"); // the desktop has one
        QTest::addColumn<QString>("started");
        QTest::addColumn<QString>("minimised"); // by the user, after a second start showed it
        const QByteArray on = "[Start/Exit]\r\nStartMinimized=1\r\n[General]\r\n";
        QTest::newRow("as usual") << QByteArray() << true << "shown, icon" << "hidden";
        QTest::newRow("into the tray") << on << true << "hidden, icon" << "hidden";
        QTest::newRow("no icon") << on + "ShowIconInTray=0" << true << "minimised" << "minimised";
        QTest::newRow("no hiding") << on + "HideToTrayOnMinimizing=0" << true << "minimised, icon"
                                   << "minimised";
        // Without a tray on the desktop nothing could bring a hidden window back.
        QTest::newRow("no tray") << on << false << "minimised, icon" << "minimised";
    }
    // The start tick decides once the window is the active form, then stops.
    void trayFlags()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, tray);
        TfrmMain::SetSystemTrayAvailable(tray);
        m.Write("preferences.ini", ini);
        QDialog *other = ActivateDialog(nullptr);
        m.Form = std::make_unique<TfrmMain>();
        m.Form->MinimizeTimerTimer(); // not yet the active form: nothing
        QVERIFY(m.Form->MinimizeTimer->isActive());
        other->close();
        QVERIFY(m.Activate());
        m.Form->MinimizeTimerTimer();
        QVERIFY(!m.Form->MinimizeTimer->isActive());
        QTEST(State(*m.Form) + (m.Form->TrayIcon->isVisible() ? ", icon" : ""), "started");
        m.Form->WMUser();
        QCOMPARE(State(*m.Form), QString("shown"));
        m.Form->showMinimized();
        QTRY_VERIFY(m.Form->isMinimized());
        for (int i = 0; i < 3; ++i) // the hiding comes once the minimising is done
            QCoreApplication::processEvents();
        QTEST(State(*m.Form), "minimised");
    }

    void trayIconActivation_data()
    {
        QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
        QTest::addColumn<QString>("before"); // "shown", "hidden", "a dialog active"
        QTest::addColumn<QString>("after");
        const auto click = QSystemTrayIcon::Trigger;
        QTest::newRow("click hides") << click << "shown" << "hidden";
        QTest::newRow("click shows") << click << "hidden" << "shown";
        QTest::newRow("click while a dialog is active") << click << "a dialog active" << "shown";
        QTest::newRow("double click") << QSystemTrayIcon::DoubleClick << "shown" << "shown";
        QTest::newRow("middle click") << QSystemTrayIcon::MiddleClick << "hidden" << "hidden";
        QTest::newRow("context menu") << QSystemTrayIcon::Context << "shown" << "shown";
    }
    void trayIconActivation()
    {
        QFETCH(QSystemTrayIcon::ActivationReason, reason);
        QFETCH(QString, before);
        QVERIFY(m.Open());
        if (before == "hidden")
            m.Form->showMinimized();
        if (before == "a dialog active")
            QVERIFY(ActivateDialog(m.Form.get()));
        QTRY_COMPARE(m.Form->isVisible(), before != "hidden");
        emit m.Form->TrayIcon->activated(reason);
        QTEST(State(*m.Form), "after");
    }

    void trayMenuFollowsTheActiveForm()
    {
        QVERIFY(m.Open());
        QMenu *menu = m.Form->TrayIcon->contextMenu();
        QDialog *dialog = ActivateDialog(m.Form.get());
        menu->popup(QPoint()); // the states are computed as the menu opens
        MainWindowFixture::ClosePopup();
        QCOMPARE(m.Disabled().section(' ', -3), QString("ToolsPreferences HelpAbout TrayShowMainWindow"));
        dialog->close();
        QVERIFY(m.Activate());
        m.Form->showMinimized();
        QTRY_VERIFY(!m.Form->isVisible());
        menu->popup(QPoint());
        MainWindowFixture::ClosePopup();
        for (int i = 0; i < 2; ++i) { // Show Main Window, then again while shown: nothing
            menu->actions().constFirst()->trigger();
            QCOMPARE(State(*m.Form), QString("shown"));
        }
    }

    // A bookmark ribbon in blue with a dark outline, on a transparent ground.
    void drawnIconWithoutATheme()
    {
        QVERIFY(m.Open());
        QCOMPARE(m.Form->TrayIcon->icon().cacheKey(), m.Form->windowIcon().cacheKey());
        const QImage image = m.Form->windowIcon().pixmap(64, 64).toImage();
        QCOMPARE(image.pixelColor(2, 2).alpha(), 0);
        QCOMPARE(image.pixelColor(32, 20), QColor(0x2f, 0x6f, 0xd6));
        QCOMPARE(image.pixelColor(14, 30), QColor(0x1a, 0x3f, 0x7a));
        QCOMPARE(image.pixelColor(32, 56).alpha(), 0); // the ribbon's notch
    }

    void autoSaveTimer_data()
    {
        QTest::addColumn<bool>("every");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("interval"); // in ms; 0: the timer stands still
        QTest::newRow("off") << false << 15 << 0;
        QTest::newRow("every 15 minutes") << true << 15 << 15 * 60000;
        QTest::newRow("0 never ticks") << true << 0 << 0;
        QTest::newRow("huge stays in range") << true << 99999999 << INT_MAX;
    }
    // At start from the settings file, and again as the preferences dialog applies them.
    void autoSaveTimer()
    {
        QFETCH(bool, every);
        QFETCH(int, minutes);
        m.Write("preferences.ini", QString("[General]\r\nAutoSaveEvery=%1\r\nAutoSaveInterval=%2")
                                       .arg(int(every)).arg(minutes).toLatin1());
        QVERIFY(m.Open());
        const QTimer *timer = m.Form->AutoSaveTimer;
        QTEST(timer->isActive() ? timer->interval() : 0, "interval");
        for (bool on : {!every, every}) {
            Prefs->Rec().AutoSaveEvery = on;
            m.Form->ApplyAutoSaveTimer();
            QCOMPARE(timer->isActive(), on && minutes > 0);
        }
        QTEST(timer->isActive() ? timer->interval() : 0, "interval");
    }

    void autoSaveOnlyWhenModified()
    {
        QVERIFY(m.Open());
        m.Show("A:1", "A");
        m.Form->AutoSaveTimerTimer();
        QVERIFY(!QFile::exists(m.Path("bookmarks.xml")));
        m.ClickNode("A");
        m.Type(QKeySequence::Copy);
        m.Type(QKeySequence::Paste);
        m.Form->AutoSaveTimerTimer();
        QVERIFY(m.Read("bookmarks.xml").contains("a0") && !Modified);
        QVERIFY(m.Disabled().startsWith("FileSave EditUndo"));
    }
};

QTEST_MAIN(TestMainTray)
#include "tst_maintray.moc"
