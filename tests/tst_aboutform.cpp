// The about box: product, version line and company, translated when it is
// created and again at every showing, and the program's icon.
#include "FormCheck.h"
#include "dialogs/AboutForm.h"
#include "program/Globals.h"
#include "settings/Preferences.h"

#include <QtTest>
#include <QtWidgets>

class TestAboutForm : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    TPreferences m_prefs;

    void WriteLanguage(const QByteArray &section)
    {
        QDir(m_dir.path()).mkdir("languages");
        QFile file(m_dir.filePath("languages/it.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[frmAbout]\r\n" + section) > 0);
        m_prefs.Rec().LanguageFile = "it.ini";
    }

private slots:
    void initTestCase()
    {
        AppDir = m_dir.path() + "/";
        Prefs = &m_prefs;
    }
    void cleanup() { m_prefs.Rec().LanguageFile.clear(); }

    void texts_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QStringList>("texts");  // caption, product, version, company, button
        QTest::newRow("language file") << QByteArray("Caption=Informazioni\r\nlblVersion=Versione"
                                                     "\r\nlblCompanyName=Quorvane S.r.l.\r\n")
                                       << QStringList{"Informazioni", "Varnokel PRO",
                                                      "Versione 2.0", "Quorvane S.r.l.", "OK"};
        // A key the file lacks keeps the designed text.
        QTest::newRow("language file without the keys")
            << QByteArray("btnOk=Chiudi\r\n")
            << QStringList{"About", "Varnokel PRO", "Version: 2.0", "Quorvane", "Chiudi"};
    }
    void texts()
    {
        QFETCH(QByteArray, section);
        WriteLanguage(section);
        TfrmAbout form(nullptr);
        QTEST(QStringList({form.windowTitle(), form.lblProductName->text(),
                           form.lblVersion->text(), form.lblCompanyName->text(),
                           form.btnOk->text()}),
              "texts");
    }

    // The icon is the owner's, also when a language file gives its label a text.
    void translatedAgainAtEveryShowing()
    {
        QPixmap red(32, 32);
        red.fill(Qt::red);
        QWidget owner;
        owner.setWindowIcon(QIcon(red));
        TfrmAbout form(&owner);
        WriteLanguage("lblVersion=Versione\r\nlblProductName=Varnokel PRO (it)\r\nimgIcon=x\r\n");
        form.show();
        QCOMPARE(form.lblVersion->text(), QString("Versione 2.0"));
        QCOMPARE(form.lblProductName->text(), QString("Varnokel PRO (it)"));
        const QImage icon = form.imgIcon->pixmap().toImage();
        QCOMPARE(icon.pixelColor(icon.width() / 2, icon.height() / 2), QColor(Qt::red));
        form.hide();
        m_prefs.Rec().LanguageFile.clear();
        form.show();
        QCOMPARE(form.lblVersion->text(), QString("Version: 2.0"));
    }

    // Its designed size in any font, fixed: it could be resized.
    void opensAtDesignedSize_data() { AddFontRows(); }
    void opensAtDesignedSize()
    {
        QFETCH(int, pixelSize);
        const AppFontScope font(pixelSize);
        TfrmAbout form(nullptr);
        form.show();
        CheckDesignedSize(&form, {300, 197});
        CheckForm(&form, "About", {"imgIcon", "lblProductName", "lblVersion", "lblCompanyName",
                  "Bevel1", "btnOk"}, {300, 197});
    }

    // OK, the default button, and Esc close it.
    void okAndEscClose()
    {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            QPointer<TfrmAbout> form = frmAbout = new TfrmAbout(nullptr);
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form));
            CheckForm(form, "About", {"imgIcon", "lblProductName", "lblVersion", "lblCompanyName",
                      "Bevel1", "btnOk"}, {300, 197});
            QTest::keyClick(form, key);
            QTRY_VERIFY(form.isNull());
            QCOMPARE(frmAbout, nullptr);
        }
    }
};

QTEST_MAIN(TestAboutForm)
#include "tst_aboutform.moc"
