// The application object: a failure that ends the handling of an event reaches
// the error box, captioned with the program's name, and the program goes on.
#include "platform/VarnokelError.h"
#include "program/Application.h"
#include "program/MessageBox.h"

#include <QtTest>

#include <stdexcept>

class TestApplication : public QObject
{
    Q_OBJECT

    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        QFETCH(int, thrown);
        if (thrown == 0)
            throw VarnokelError(QStringLiteral("Unable to write to /x"));
        if (thrown == 1)
            throw std::bad_alloc();
        throw std::runtime_error("runtime error");
    }

private slots:
    void failureReachesTheErrorBox_data()
    {
        QTest::addColumn<int>("thrown");
        QTest::addColumn<QString>("shown");
        QTest::newRow("the program's own") << 0 << "Unable to write to /x.";
        QTest::newRow("out of memory") << 1 << "Out of memory.";
        QTest::newRow("any other") << 2 << "runtime error.";
    }
    void failureReachesTheErrorBox()
    {
        QStringList boxes;
        SetMessageBoxAnswerer([&boxes](const MessageBoxRequest &request) {
            boxes << request.Caption + ": " + request.Text;
            return QMessageBox::Ok;
        });
        QEvent event(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(this, &event));
        SetMessageBoxAnswerer({});
        QFETCH(QString, shown);
        QCOMPARE(boxes, QStringList("Varnokel PRO: " + shown));
        QCOMPARE(QCoreApplication::organizationName(), QString("Quorvane")); // where settings live
    }
};

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
