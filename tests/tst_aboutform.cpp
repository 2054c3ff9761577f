// The about box: product, version line and company, translated when it is
// created and again at every showing, and the program's icon.
#include "dialogs/AboutForm.h"
#include "program/Globals.h"
#include "settings/Preferences.h"

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestAboutForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void texts_data();
    void texts();
    void translatedAgainAtEveryShowing();
    void showsTheOwnersIcon();
    void escapeCloses();

private:
    void WriteLanguage(const QByteArray &section);
    QStringList Texts(const TfrmAbout &form) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TPreferences> m_prefs;
};

void TestAboutForm::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    AppDir = m_dir->path() + "/";
    m_prefs = std::make_unique<TPreferences>();
    Prefs = m_prefs.get();
}

void TestAboutForm::cleanup()
{
    Prefs = nullptr;
    AppDir.clear();
}

void TestAboutForm::WriteLanguage(const QByteArray &section)
{
    QDir(m_dir->path()).mkdir("languages");
    QFile file(m_dir->filePath("languages/it.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[frmAbout]\r\n" + section);
    Prefs->Rec().LanguageFile = "it.ini";
}

// The caption, then product, version line, company and button.
QStringList TestAboutForm::Texts(const TfrmAbout &form) const
{
    return {form.windowTitle(), form.lblProductName->text(), form.lblVersion->text(),
            form.lblCompanyName->text(), form.btnOk->text()};
}

void TestAboutForm::texts_data()
{
    QTest::addColumn<QByteArray>("section"); // none: no language file
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("built-in") << QByteArray()
                              << QStringList{"About", "Varnokel PRO", "Version: 2.0",
                                             "Quorvane", "OK"};
    QTest::newRow("language file")
        << QByteArray("Caption=Informazioni\r\nlblVersion=Versione\r\n"
                      "lblCompanyName=Quorvane S.r.l.\r\n")
        << QStringList{"Informazioni", "Varnokel PRO", "Versione 2.0", "Quorvane S.r.l.", "OK"};
    // A language file answers for itself: a key it lacks keeps the designed texts.
    QTest::newRow("language file without the keys")
        << QByteArray("btnOk=Chiudi\r\n")
        << QStringList{"About", "Varnokel PRO", "Version: 2.0", "Quorvane", "Chiudi"};
}

void TestAboutForm::texts()
{
    QFETCH(QByteArray, section);
    QFETCH(QStringList, texts);
    if (!section.isNull())
        WriteLanguage(section);
    TfrmAbout form(nullptr);
    QCOMPARE(Texts(form), texts);
}

void TestAboutForm::translatedAgainAtEveryShowing()
{
    TfrmAbout form(nullptr);
    QCOMPARE(form.lblVersion->text(), QString("Version: 2.0"));
    WriteLanguage("lblVersion=Versione\r\nlblProductName=Varnokel PRO (it)\r\n");
    form.show();
    QCOMPARE(form.lblVersion->text(), QString("Versione 2.0"));
    QCOMPARE(form.lblProductName->text(), QString("Varnokel PRO (it)"));
    form.hide();
    Prefs->Rec().LanguageFile.clear();
    form.show();
    QCOMPARE(form.lblVersion->text(), QString("Version: 2.0"));
}

void TestAboutForm::showsTheOwnersIcon()
{
    QPixmap red(32, 32);
    red.fill(Qt::red);
    QWidget owner;
    owner.setWindowIcon(QIcon(red));
    WriteLanguage("imgIcon=text\r\n");
    TfrmAbout form(&owner);
    form.show();
    const QPixmap shown = form.imgIcon->pixmap();
    QVERIFY(!shown.isNull());
    QCOMPARE(shown.toImage().pixelColor(shown.width() / 2, shown.height() / 2), QColor(Qt::red));
}

void TestAboutForm::escapeCloses()
{
    QPointer<TfrmAbout> form = new TfrmAbout(nullptr);
    frmAbout = form;
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QTest::keyClick(form, Qt::Key_Escape);
    QTRY_VERIFY(form.isNull());
    QCOMPARE(frmAbout, nullptr);
}

QTEST_MAIN(TestAboutForm)
#include "tst_aboutform.moc"
