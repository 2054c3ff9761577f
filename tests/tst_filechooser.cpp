// The file chooser's own dialog, answered from a timer: where it starts, what it
// offers, and the path it gives back.
#include "program/FileChooser.h"

#include <QtTest>
#include <QtWidgets>

class TestFileChooser : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase()
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        QVERIFY(QDir(m_home.path()).mkpath("docs/sub"));
    }

    // Open rows offer every file as well; save rows add the extension "txt".
    void setUp_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("start"); // below the home folder
        QTest::addColumn<QString>("folder"); // where it opens, below the home folder
        QTest::addColumn<QString>("offered");
        QTest::addColumn<QString>("filters");
        const int open = int(TChooserKind::OpenFile), save = int(TChooserKind::SaveFile);
        const QString all = "Pages (*.html);;Text (*.txt);;All files (*)";
        QTest::newRow("open a file") << open << "docs/a.html" << "docs" << "a.html" << all;
        QTest::newRow("save a file") << save << "docs/b.txt" << "docs" << "b.txt"
                                     << "Pages (*.html);;Text (*.txt)";
        QTest::newRow("in a folder gone") << open << "gone/a.html" << "" << "a.html" << all;
        QTest::newRow("nothing to start from") << open << "" << "" << "" << all;
        QTest::newRow("a folder") << int(TChooserKind::Folder) << "docs/sub" << "docs/sub" << ""
                                  << "All Files (*)";
    }
    void setUp()
    {
        QFETCH(int, kind);
        QFETCH(QString, start);
        QFETCH(QString, folder);
        const QDir home(m_home.path());
        const bool save = kind == int(TChooserKind::SaveFile);
        const bool isFolder = kind == int(TChooserKind::Folder);
        const QString pick = isFolder ? "docs/sub" : "docs/chosen";
        QFileDialog *seen = nullptr;
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            const auto answer = qScopeGuard([&] {
                seen->selectFile(home.filePath(pick));
                static_cast<QDialog *>(seen)->accept(); // checks the name as a user's Save would
            });
            QCOMPARE(seen->directory().absolutePath(), home.filePath(folder));
            QTEST(seen->findChild<QLineEdit *>("fileNameEdit")->text(), "offered");
            QTEST(seen->nameFilters().join(";;"), "filters");
            QCOMPARE(seen->acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            QCOMPARE(seen->testOption(QFileDialog::DontConfirmOverwrite), !save && !isFolder);
            QCOMPARE(seen->fileMode(), isFolder ? QFileDialog::Directory : QFileDialog::AnyFile);
            QCOMPARE(seen->testOption(QFileDialog::ReadOnly), isFolder); // no renaming there
            QCOMPARE(seen->defaultSuffix(), QString(save ? "txt" : ""));
            QList<QUrl> places{QUrl("file:"), QUrl::fromLocalFile(home.path())};
            if (!folder.isEmpty())
                places << QUrl::fromLocalFile(home.filePath(folder));
            QCOMPARE(seen->sidebarUrls(), places);
        });
        const QString chosen = ShowFileChooser(
            nullptr, {TChooserKind(kind), start.isEmpty() ? "" : home.filePath(start),
                      "Pages (*.html);;Text (*.txt)", "Caption", !save, save ? "txt" : "", save});
        QVERIFY(seen);
        QCOMPARE(chosen, home.filePath(pick + (save ? ".txt" : "")));
    }

    void cancelledGivesNothing()
    {
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QCOMPARE(ShowFileChooser(nullptr, {TChooserKind::OpenFile, "", "", "", true, "", false}),
                 QString());
    }
};

QTEST_MAIN(TestFileChooser)
#include "tst_filechooser.moc"
