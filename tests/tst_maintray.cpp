// The window in and out of the tray: starting minimised, hiding on minimise,
// the tray icon and its menu, a second start's request to show; and the
// auto-save timer.
#include "MainWindowFixture.h"
#include "settings/Preferences.h"

#include <QDialog>
#include <QtTest>

class TestMainTray : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void startMinimized_data();
    void startMinimized();
    void minimiseHidesIntoTray_data();
    void minimiseHidesIntoTray();
    void trayIconActivation_data();
    void trayIconActivation();
    void trayMenuFollowsTheActiveForm();
    void secondStartShowsTheWindow();
    void drawnIconWithoutATheme();
    void autoSaveTimer_data();
    void autoSaveTimer();
    void autoSaveOnlyWhenModified();

private:
    // Makes another window of the program the active one.
    void ActivateOther(QWidget &other);

    MainWindowFixture m;
};

void TestMainTray::initTestCase()
{
    QIcon::setThemeSearchPaths({}); // no desktop theme: the program draws its own icon
    QIcon::setThemeName(QString());
    TfrmMain::SetSystemTrayAvailable(true); // the offscreen platform has none
}

void TestMainTray::cleanup()
{
    m.Close();
    TfrmMain::SetSystemTrayAvailable(true);
}

void TestMainTray::ActivateOther(QWidget &other)
{
    other.show();
    QApplication::setActiveWindow(&other);
    QTRY_COMPARE(QApplication::activeWindow(), &other);
}

void TestMainTray::startMinimized_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("tray"); // the desktop has one
    QTest::addColumn<QString>("shown");
    const QByteArray on = "[Start/Exit]\r\nStartMinimized=1\r\n[General]\r\n";
    QTest::newRow("off") << QByteArray() << true << "normal, icon";
    QTest::newRow("into the tray") << on << true << "hidden, icon";
    QTest::newRow("no icon") << on + "ShowIconInTray=0" << true << "minimised";
    QTest::newRow("no hiding") << on + "HideToTrayOnMinimizing=0" << true << "minimised, icon";
    QTest::newRow("no tray") << on << false << "minimised, icon";
}

// The first tick at which the window is the active form decides, then the timer stops.
void TestMainTray::startMinimized()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, tray);
    QFETCH(QString, shown);
    TfrmMain::SetSystemTrayAvailable(tray);
    m.Write("preferences.ini", ini);
    QDialog other;
    ActivateOther(other);
    m.Path(QString());
    m.Form = std::make_unique<TfrmMain>();
    m.Form->MinimizeTimerTimer(); // not yet the active form: nothing
    QVERIFY(m.Form->MinimizeTimer->isActive());
    other.close();
    QVERIFY(m.Activate());
    m.Form->MinimizeTimerTimer();
    QVERIFY(!m.Form->MinimizeTimer->isActive());
    const QString state = !m.Form->isVisible() ? "hidden" : m.Form->isMinimized() ? "minimised"
                                                                                   : "normal";
    QCOMPARE(state + (m.Form->TrayIcon->isVisible() ? ", icon" : ""), shown);
}

void TestMainTray::minimiseHidesIntoTray_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("tray");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("both tray flags") << QByteArray() << true << true;
    QTest::newRow("no tray icon") << QByteArray("ShowIconInTray=0\r\n") << true << false;
    QTest::newRow("no hiding") << QByteArray("HideToTrayOnMinimizing=0\r\n") << true << false;
    // Without a tray on the desktop nothing could bring the window back.
    QTest::newRow("desktop without a tray") << QByteArray() << false << false;
}

void TestMainTray::minimiseHidesIntoTray()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, tray);
    QFETCH(bool, hidden);
    TfrmMain::SetSystemTrayAvailable(tray);
    m.Write("preferences.ini", "[General]\r\n" + ini);
    QVERIFY(m.Open());
    m.Form->showMinimized();
    QTRY_COMPARE(m.Form->isVisible(), !hidden);
    for (int i = 0; i < 3; ++i) // a late hide would come here
        QCoreApplication::processEvents();
    QCOMPARE(m.Form->isVisible(), !hidden);
    QVERIFY(m.Form->isMinimized());
}

void TestMainTray::trayIconActivation_data()
{
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
    QTest::addColumn<QString>("before"); // "shown", "in the tray", "a dialog active"
    QTest::addColumn<QString>("after");
    const auto click = QSystemTrayIcon::Trigger;
    QTest::newRow("click hides") << click << "shown" << "hidden";
    QTest::newRow("click shows") << click << "in the tray" << "shown";
    QTest::newRow("click while a dialog is active") << click << "a dialog active" << "shown";
    QTest::newRow("double click") << QSystemTrayIcon::DoubleClick << "shown" << "shown";
    QTest::newRow("middle click") << QSystemTrayIcon::MiddleClick << "in the tray" << "hidden";
    QTest::newRow("context menu") << QSystemTrayIcon::Context << "shown" << "shown";
}

void TestMainTray::trayIconActivation()
{
    QFETCH(QSystemTrayIcon::ActivationReason, reason);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QVERIFY(m.Open());
    QDialog dialog(m.Form.get());
    if (before == "in the tray")
        m.Form->showMinimized();
    if (before == "a dialog active")
        ActivateOther(dialog);
    QTRY_COMPARE(m.Form->isVisible(), before != "in the tray");
    emit m.Form->TrayIcon->activated(reason);
    QCOMPARE(!m.Form->isVisible() ? "hidden" : m.Form->isMinimized() ? "minimised" : "shown",
             after);

}

void TestMainTray::trayMenuFollowsTheActiveForm()
{
    QVERIFY(m.Open());
    QMenu *menu = m.Form->TrayIcon->contextMenu();
    auto *dialog = new QDialog(m.Form.get()); // as the program's dialogs, freed on closing
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    ActivateOther(*dialog);
    menu->popup(QPoint()); // the states are computed as the menu opens
    MainWindowFixture::ClosePopup();
    QCOMPARE(m.Disabled().split(' ').filter(QRegularExpression("Tray|Preferences|About|Exit")),
             QStringList({"ToolsPreferences", "HelpAbout", "TrayShowMainWindow"}));
    dialog->close();
    QVERIFY(m.Activate());
    m.Form->showMinimized();
    QTRY_VERIFY(!m.Form->isVisible());
    menu->popup(QPoint());
    MainWindowFixture::ClosePopup();
    menu->actions().constFirst()->trigger(); // Show Main Window
    QVERIFY(m.Form->isVisible() && !m.Form->isMinimized());
    menu->actions().constFirst()->trigger(); // shown already: nothing
    QVERIFY(m.Form->isVisible());
}

void TestMainTray::secondStartShowsTheWindow()
{
    QVERIFY(m.Open());
    m.Form->showMinimized();
    QTRY_VERIFY(!m.Form->isVisible());
    m.Form->WMUser();
    QVERIFY(m.Form->isVisible() && !m.Form->isMinimized());
    TfrmMain::SetSystemTrayAvailable(false); // minimised to the task bar
    m.Form->showMinimized();
    QTRY_VERIFY(m.Form->isMinimized());
    m.Form->WMUser();
    QVERIFY(m.Form->isVisible() && !m.Form->isMinimized());
}

// A bookmark ribbon in blue with a dark outline, on a transparent ground.
void TestMainTray::drawnIconWithoutATheme()
{
    QVERIFY(m.Open());
    QCOMPARE(m.Form->TrayIcon->icon().cacheKey(), m.Form->windowIcon().cacheKey());
    const QImage image = m.Form->windowIcon().pixmap(64, 64).toImage();
    QCOMPARE(image.pixelColor(2, 2).alpha(), 0);
    QCOMPARE(image.pixelColor(32, 20), QColor(0x2f, 0x6f, 0xd6));
    QCOMPARE(image.pixelColor(14, 30), QColor(0x1a, 0x3f, 0x7a));
    QCOMPARE(image.pixelColor(32, 56).alpha(), 0); // the ribbon's notch
}

void TestMainTray::autoSaveTimer_data()
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
void TestMainTray::autoSaveTimer()
{
    QFETCH(bool, every);
    QFETCH(int, minutes);
    QFETCH(int, interval);
    const QByteArray ini = QString("[General]\r\nAutoSaveEvery=%1\r\nAutoSaveInterval=%2\r\n")
                               .arg(int(every)).arg(minutes).toLatin1();
    m.Write("preferences.ini", ini);
    QVERIFY(m.Open());
    const QTimer *timer = m.Form->AutoSaveTimer;
    QCOMPARE(timer->isActive() ? timer->interval() : 0, interval);
    Prefs->Rec().AutoSaveEvery = !every;
    m.Form->ApplyAutoSaveTimer();
    QCOMPARE(timer->isActive(), !every && minutes > 0);
    Prefs->Rec().AutoSaveEvery = every;
    m.Form->ApplyAutoSaveTimer();
    QCOMPARE(timer->isActive() ? timer->interval() : 0, interval);
}

void TestMainTray::autoSaveOnlyWhenModified()
{
    QVERIFY(m.Open());
    m.Show("A:1", "A");
    m.Form->AutoSaveTimerTimer();
    QVERIFY(!QFile::exists(m.Path("bookmarks.xml")));
    m.ClickNode("A");
    m.Type(QKeySequence::Copy);
    m.Type(QKeySequence::Paste);
    QVERIFY(m.Form->Action(ActionId::FileSave)->isEnabled());
    m.Form->AutoSaveTimerTimer();
    QVERIFY(m.Read("bookmarks.xml").contains("a0"));
    QVERIFY(!Modified);
    QVERIFY(!m.Form->Action(ActionId::FileSave)->isEnabled());
}

QTEST_MAIN(TestMainTray)
#include "tst_maintray.moc"
