// The Help menu: the user's guide beside the program, the maker's pages and mail,
// and the statistics and about dialogs opened from the main window.
#include "dialogs/AboutForm.h"
#include "dialogs/StatisticsForm.h"
#include "mainwindow/MainForm.h"
#include "program/Globals.h"
#include "program/MessageBox.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// Receives the addresses the program hands to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> Opened;

public slots:
    void Open(const QUrl &url) { Opened.append(url); }
};

class TestMainHelp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void helpPageAndMakersAddresses();
    void helpPageShowsEveryShortcut();
    void dialogsOpenModallyAndFreeThemselves_data();
    void dialogsOpenModallyAndFreeThemselves();

private:
    QUrl OpenedBy(ActionId id);

    UrlCatcher m_urls;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TfrmMain> m_form;
};

const char *const kSchemes[] = {"http", "https", "mailto", "file"};

void TestMainHelp::initTestCase()
{
    SetMessageBoxAnswerer([](const MessageBoxRequest &) { return QMessageBox::Ok; });
    for (const char *scheme : kSchemes)
        QDesktopServices::setUrlHandler(scheme, &m_urls, "Open");
}

void TestMainHelp::cleanupTestCase()
{
    for (const char *scheme : kSchemes)
        QDesktopServices::unsetUrlHandler(scheme);
    SetMessageBoxAnswerer({});
}

void TestMainHelp::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_dir->path());
    m_urls.Opened.clear();
    m_form = std::make_unique<TfrmMain>();
}

void TestMainHelp::cleanup()
{
    m_form.reset();
    Modified = false;
}

// The one address the action hands over.
QUrl TestMainHelp::OpenedBy(ActionId id)
{
    m_urls.Opened.clear();
    m_form->Action(id)->trigger();
    return m_urls.Opened.size() == 1 ? m_urls.Opened[0] : QUrl();
}

void TestMainHelp::helpPageAndMakersAddresses()
{
    // The guide is opened even when it is missing; the desktop says so, not we.
    const QUrl help = OpenedBy(ActionId::HelpHelp);
    QCOMPARE(help.toLocalFile(), m_dir->path() + "/Help.html");
    QCOMPARE(OpenedBy(ActionId::HelpFeedback).scheme(), QString("mailto"));
    QSet<QUrl> pages;
    for (ActionId id : {ActionId::HelpHomePage, ActionId::HelpFAQ,
                        ActionId::HelpCheckForUpdates}) {
        const QUrl page = OpenedBy(id);
        QCOMPARE(page.scheme(), QString("https"));
        QVERIFY2(page.host().endsWith(".example"), qPrintable(page.toString()));
        pages.insert(page);
    }
    QCOMPARE(pages.size(), 3);
    QVERIFY(!m_form->Action(ActionId::HelpCheckForUpdates)->isVisible());
}

// The guide the build puts beside the program names each command's shortcut.
void TestMainHelp::helpPageShowsEveryShortcut()
{
    QFile page(VK_BINARY_DIR "/Help.html");
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    for (QAction *action : m_form->Actions()) {
        if (action->shortcut().isEmpty())
            continue;
        const QString key = action->shortcut().toString(QKeySequence::PortableText);
        QVERIFY2(html.contains("<kbd>" + key + "</kbd>"),
                 qPrintable(action->objectName() + ": " + key));
    }
}

void TestMainHelp::dialogsOpenModallyAndFreeThemselves_data()
{
    QTest::addColumn<ActionId>("action");
    QTest::newRow("statistics") << ActionId::ToolsStatistics;
    QTest::newRow("about") << ActionId::HelpAbout;
}

// Each opening creates the dialog anew; Esc closes it, which frees it and
// clears its variable.
void TestMainHelp::dialogsOpenModallyAndFreeThemselves()
{
    QFETCH(ActionId, action);
    const auto dialog = [action]() -> QDialog * {
        if (action == ActionId::HelpAbout)
            return frmAbout;
        return frmStatistics;
    };
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    QTRY_VERIFY(m_form->Action(action)->isEnabled());
    for (int opening = 0; opening < 2; ++opening) {
        QPointer<QDialog> seen;
        bool opened = false, modal = false, closedByEsc = false;
        QTimer::singleShot(0, [&] {
            seen = dialog();
            opened = seen;
            if (!seen)
                return;
            modal = seen->isModal() && seen->isVisible() && seen->parent() == m_form.get();
            QTest::keyClick(seen, Qt::Key_Escape);
            closedByEsc = !seen->isVisible();
            if (!closedByEsc)
                seen->done(0); // never leave the test waiting on the dialog
        });
        m_form->Action(action)->trigger();
        QVERIFY(opened);
        QVERIFY(modal);
        QVERIFY(closedByEsc);
        QTRY_VERIFY(seen.isNull());
        QCOMPARE(dialog(), nullptr);
    }
}

QTEST_MAIN(TestMainHelp)
#include "tst_mainhelp.moc"
