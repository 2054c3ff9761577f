// The error box: its text, caption, icon and button.
#include "program/MessageBox.h"

#include <QtTest>
#include <QtWidgets>

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("Varnokel PRO"); }

    // "." is added after a last character whose code is greater than that of ".".
    void errorBox_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a letter") << "Unable to write to /x" << "Unable to write to /x.";
        QTest::newRow("a slash, just above the dot") << "in /" << "in /.";
        QTest::newRow("a dot") << "Out of memory." << "Out of memory.";
        QTest::newRow("a hyphen, just below the dot") << "a -" << "a -";
        QTest::newRow("empty") << "" << "";
    }
    void errorBox()
    {
        QFETCH(QString, message);
        QList<MessageBoxRequest> boxes;
        SetMessageBoxAnswerer([&boxes](const MessageBoxRequest &request) {
            boxes << request;
            return QMessageBox::Ok;
        });
        ShowErrorBox(message);
        SetMessageBoxAnswerer({});
        QCOMPARE(boxes.size(), 1);
        QTEST(boxes[0].Text, "shown");
        QCOMPARE(boxes[0].Caption, QString("Varnokel PRO"));
        QVERIFY(boxes[0].Icon == QMessageBox::Critical && boxes[0].Buttons == QMessageBox::Ok);
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
