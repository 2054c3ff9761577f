// The Help and Tools menus' pages and dialogs: the user's guide beside the
// program, the maker's pages and mail, and the dialogs opened from the window.
#include "MainWindowFixture.h"
#include "platform/AutostartEntry.h"
#include "platform/UserFolders.h"
#include "dialogs/AboutForm.h"
#include "dialogs/HTMLGeneratorForm.h"
#include "dialogs/PreferencesForm.h"
#include "dialogs/StatisticsForm.h"

#include <QDesktopServices>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

namespace {

// The user's guide that the build puts beside the program.
QString HelpPage()
{
    QFile page(VK_BINARY_DIR "/Help.html");
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

// A path below the home folder as the guide writes it, from "~".
QString FromHome(const QString &path)
{
    return "~" + path.mid(QDir::homePath().size());
}

} // namespace

class TestMainHelp : public QObject
{
    Q_OBJECT
    MainWindowFixture m;
    QList<QUrl> m_opened;
    const QList<const char *> m_schemes = {"http", "https", "mailto", "file"};

    QUrl OpenedBy(ActionId id) // the one address the command hands over
    {
        m_opened.clear();
        m.Form->Action(id)->trigger();
        return m_opened.size() == 1 ? m_opened[0] : QUrl();
    }

public slots:
    void Open(const QUrl &url) { m_opened << url; }

private slots:
    void initTestCase()
    {
        m.AnswerBoxes();
        for (const char *scheme : m_schemes)
            QDesktopServices::setUrlHandler(scheme, this, "Open");
    }
    void cleanupTestCase()
    {
        for (const char *scheme : m_schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }
    void init() { QVERIFY(m.Open()); }
    void cleanup() { m.Close(); }

    void helpPageAndMakersAddresses()
    {
        // The guide is opened even when it is missing; the desktop says so, not we.
        m_opened.clear();
        QTest::keyClick(m.Form.get(), Qt::Key_F1);
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(m.Path("Help.html"))});
        QCOMPARE(OpenedBy(ActionId::HelpFeedback).scheme(), QString("mailto"));
        QSet<QUrl> pages;
        for (ActionId id : {ActionId::HelpHomePage, ActionId::HelpFAQ, ActionId::HelpCheckForUpdates}) {
            const QUrl page = OpenedBy(id);
            QVERIFY2(page.scheme() == "https" && page.host().endsWith(".example"),
                     qPrintable(page.toString()));
            pages.insert(page);
        }
        QCOMPARE(pages.size(), 3);
    }

    // The guide the build puts beside the program names each command's shortcut.
    void helpPageShowsEveryShortcut()
    {
        const QString html = HelpPage();
        QVERIFY(!html.isEmpty());
        for (QAction *action : m.Form->Actions()) {
            const QString key = action->shortcut().toString(QKeySequence::PortableText);
            QVERIFY2(key.isEmpty() || html.contains("<kbd>" + key + "</kbd>"),
                     qPrintable(action->objectName() + ": " + key));
        }
    }

    // The guide tells the program as it is: it said the description pane could be
    // edited in place; and it names each file where the program keeps it.
    void helpPageTellsTheProgramAsItIs()
    {
        const QString html = HelpPage();
        QVERIFY(m.Form->memDescription->isReadOnly());
        QVERIFY(html.contains("It is read-only"));
        QVERIFY(!html.contains("edit it in place"));
        qunsetenv("XDG_CONFIG_HOME"); // each path as the desktop has it by default
        qunsetenv("XDG_STATE_HOME");
        QStandardPaths::setTestModeEnabled(false); // the paths a user's desktop has
        const QSettings key(QSettings::NativeFormat, QSettings::UserScope, "Quorvane",
                            "Varnokel PRO");
        for (const QString &path : {FromHome(AutostartEntryPath()), FromHome(StateFolder()),
                                    FromHome(key.fileName()), QString("bookmarks.xml"),
                                    QString("preferences.ini"), QString("Help.html")})
            QVERIFY2(html.contains("<code>" + path + "</code>"), qPrintable(path));
        QStandardPaths::setTestModeEnabled(true);
    }

    void dialogsOpenModallyAndFreeThemselves_data()
    {
        QTest::addColumn<ActionId>("action");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("statistics") << ActionId::ToolsStatistics << "frmStatistics";
        QTest::newRow("about") << ActionId::HelpAbout << "frmAbout";
        QTest::newRow("preferences") << ActionId::ToolsPreferences << "frmPreferences";
        QTest::newRow("HTML generator") << ActionId::FileHtmlGenerator << "frmHTMLGenerator";
    }
    // Each opening creates the dialog anew, owned by the window and held in its
    // variable; Esc closes it, which frees it and clears the variable.
    void dialogsOpenModallyAndFreeThemselves()
    {
        QFETCH(ActionId, action);
        const auto variables = [] {
            return QList<QDialog *>{frmStatistics, frmAbout, frmPreferences, frmHTMLGenerator};
        };
        m.Show("A:1", "A");
        for (int opening = 0; opening < 2; ++opening) {
            QPointer<QDialog> seen;
            QString shown;
            QTimer::singleShot(0, this, [&] {
                seen = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                if (!seen)
                    return;
                shown = seen->objectName() + (seen->parent() == m.Form.get() ? "" : " (no owner)")
                        + (variables().contains(seen.data()) ? "" : " (no variable)");
                QTest::keyClick(seen, Qt::Key_Escape);
                if (seen && seen->isVisible())
                    seen->done(0); // never leave the test waiting on the dialog
            });
            m.Form->Action(action)->trigger();
            QTEST(shown, "dialog");
            QTRY_VERIFY(seen.isNull());
            QCOMPARE(variables(), QList<QDialog *>({nullptr, nullptr, nullptr, nullptr}));
            if (action == ActionId::ToolsPreferences) // its settings may have changed the window
                QTRY_VERIFY(m.Form->isActiveWindow());
        }
    }
};

QTEST_MAIN(TestMainHelp)
#include "tst_mainhelp.moc"
