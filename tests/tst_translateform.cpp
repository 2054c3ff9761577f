// Form translation: which widgets get texts, the defaults, child windows and the
// behaviour when the language changes while windows stay open.
#include "settings/Language.h"
#include "settings/widgets/TranslateForm.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

template <typename T>
T *Make(QWidget *parent, const char *name, const QString &text)
{
    auto *widget = new T(text, parent);
    widget->setObjectName(QLatin1String(name));
    parent->layout()->addWidget(widget);
    return widget;
}

// The find dialog as designed: its captions before any translation.
std::unique_ptr<QDialog> MakeFindForm()
{
    auto form = std::make_unique<QDialog>();
    form->setObjectName(QStringLiteral("frmFind"));
    form->setWindowTitle(QStringLiteral("Find (designed)"));
    new QVBoxLayout(form.get());
    Make<QLabel>(form.get(), "lblTextToFind", QStringLiteral("Text to Find (designed):"));
    auto *edit = new QLineEdit(QStringLiteral("typed"), form.get());
    edit->setObjectName(QStringLiteral("edText"));
    auto *group = Make<QGroupBox>(form.get(), "grbOptions", QStringLiteral("Options"));
    new QVBoxLayout(group);
    Make<QCheckBox>(group, "chkCase", QStringLiteral("Match case"));
    Make<QRadioButton>(group, "rbUp", QStringLiteral("Up"));
    Make<QPushButton>(form.get(), "btnOk", QStringLiteral("OK (designed)"));
    Make<QPushButton>(form.get(), "btnCancel", QStringLiteral("Cancel (designed)"));
    auto *tool = new QToolButton(form.get());
    tool->setObjectName(QStringLiteral("tbHelp"));
    Make<QPushButton>(form.get(), "", QStringLiteral("unnamed"));
    return form;
}

QString Text(QWidget *form, const char *name)
{
    QWidget *w = form->findChild<QWidget *>(QLatin1String(name));
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->title();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    return QStringLiteral("<none>");
}

} // namespace

class TestTranslateForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void builtInTexts();
    void fileWithOnlyTheCaption();
    void everyKindOfComponent_data();
    void everyKindOfComponent();
    void emptyValueGivesEmptyCaption();
    void childWindowsAreLeftAlone();
    void mainWindowChangesOnlyItsCaption();
    void switchingLanguages();

private:
    QString LanguageFile(const char *name, const QByteArray &contents);

    QTemporaryDir m_appDir;
};

void TestTranslateForm::initTestCase()
{
    QVERIFY(m_appDir.isValid());
    QVERIFY(QDir(m_appDir.path()).mkpath(QStringLiteral("languages")));
}

QString TestTranslateForm::LanguageFile(const char *name, const QByteArray &contents)
{
    const QString path = LanguageFilePath(m_appDir.path(), QLatin1String(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write the language file");
    return path;
}

void TestTranslateForm::builtInTexts()
{
    auto form = MakeFindForm();
    TranslateForm(form.get(), LanguageFilePath(m_appDir.path(), QString()));
    QCOMPARE(form->windowTitle(), "Find");
    QCOMPARE(Text(form.get(), "lblTextToFind"), "Text to Find:");
    QCOMPARE(Text(form.get(), "btnOk"), "OK");
    QCOMPARE(Text(form.get(), "btnCancel"), "Cancel");
    QCOMPARE(Text(form.get(), "grbOptions"), "Options"); // the table lacks it
    QCOMPARE(Text(form.get(), "chkCase"), "Match case");
}

void TestTranslateForm::fileWithOnlyTheCaption()
{
    auto form = MakeFindForm();
    TranslateForm(form.get(), LanguageFile("caption.ini", "[frmFind]\r\nCaption=Suchen\r\n"));
    QCOMPARE(form->windowTitle(), "Suchen");
    // No fallback to the table: the designed captions stay.
    QCOMPARE(Text(form.get(), "lblTextToFind"), "Text to Find (designed):");
    QCOMPARE(Text(form.get(), "btnOk"), "OK (designed)");
    QCOMPARE(Text(form.get(), "btnCancel"), "Cancel (designed)");
}

void TestTranslateForm::everyKindOfComponent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("label") << "lblTextToFind" << "Suchtext:";
    QTest::newRow("group box") << "grbOptions" << "Optionen";
    QTest::newRow("check box in group") << "chkCase" << "Gro\u00DF/klein";
    QTest::newRow("radio button in group") << "rbUp" << "Hoch";
    QTest::newRow("push button, key case") << "btnOk" << "Gut";
    QTest::newRow("edit is not translated") << "edText" << "typed";
    QTest::newRow("tool button is not translated") << "tbHelp" << "";
}

void TestTranslateForm::everyKindOfComponent()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const QString path = LanguageFile("de.ini", "[FRMFIND]\r\n"
                                                "lblTextToFind=Suchtext:\r\n"
                                                "grbOptions=Optionen\r\n"
                                                "chkCase=Gro\xC3\x9F/klein\r\n"
                                                "rbUp=Hoch\r\n"
                                                "BTNOK=Gut\r\n"
                                                "edText=Edit\r\n"
                                                "tbHelp=Hilfe\r\n"
                                                "=Leer\r\n");
    auto form = MakeFindForm();
    TranslateForm(form.get(), path);
    QCOMPARE(Text(form.get(), name.toLatin1().constData()), expected);
    QCOMPARE(form->windowTitle(), "Find (designed)");
    QPushButton *unnamed = nullptr;
    for (QPushButton *button : form->findChildren<QPushButton *>())
        if (button->objectName().isEmpty())
            unnamed = button;
    QVERIFY(unnamed);
    QCOMPARE(unnamed->text(), "unnamed");
}

void TestTranslateForm::emptyValueGivesEmptyCaption()
{
    auto form = MakeFindForm();
    TranslateForm(form.get(), LanguageFile("empty.ini", "[frmFind]\nbtnCancel=\n"));
    QCOMPARE(Text(form.get(), "btnCancel"), "");
}

void TestTranslateForm::childWindowsAreLeftAlone()
{
    auto form = MakeFindForm();
    auto *child = new QDialog(form.get());
    child->setObjectName(QStringLiteral("frmOther"));
    new QVBoxLayout(child);
    Make<QLabel>(child, "lblTextToFind", QStringLiteral("child label"));
    TranslateForm(form.get(), LanguageFilePath(m_appDir.path(), QString()));
    QCOMPARE(child->findChild<QLabel *>()->text(), "child label");
    QCOMPARE(Text(form.get(), "lblTextToFind"), "Text to Find:");
}

void TestTranslateForm::mainWindowChangesOnlyItsCaption()
{
    QMainWindow window;
    window.setObjectName(QStringLiteral("frmMain"));
    window.setWindowTitle(QStringLiteral("Varnokel PRO"));
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction *save = file->addAction(QStringLiteral("&Save"));
    save->setObjectName(QStringLiteral("FileSave"));
    window.addToolBar(QStringLiteral("tools"))->addAction(save);
    window.statusBar()->showMessage(QStringLiteral("ready"));
    const QString path = LanguageFile("main.ini", "[frmMain]\nCaption=Lesezeichen\n"
                                                  "FileSave=&Speichern\nmnuFile=&Datei\n");
    TranslateForm(&window, path);
    QCOMPARE(window.windowTitle(), "Lesezeichen");
    QCOMPARE(save->text(), "&Save");
    QCOMPARE(file->title(), "&File");
}

// Windows that stay open keep the last language's text for keys the new language
// lacks; a dialog made after the switch starts from its designed captions.
void TestTranslateForm::switchingLanguages()
{
    const QString german = LanguageFile("full.ini", "[frmFind]\nCaption=Suchen\n"
                                                    "lblTextToFind=Suchtext:\n"
                                                    "grbOptions=Optionen\nbtnOk=Gut\n");
    const QString french = LanguageFile("part.ini", "[frmFind]\nCaption=Chercher\n");
    const QString english = LanguageFilePath(m_appDir.path(), QString());
    auto open = MakeFindForm();
    TranslateForm(open.get(), german);
    TranslateForm(open.get(), french);
    QCOMPARE(open->windowTitle(), "Chercher");
    QCOMPARE(Text(open.get(), "lblTextToFind"), "Suchtext:");
    QCOMPARE(Text(open.get(), "grbOptions"), "Optionen");
    TranslateForm(open.get(), english);
    QCOMPARE(open->windowTitle(), "Find");
    QCOMPARE(Text(open.get(), "lblTextToFind"), "Text to Find:");
    QCOMPARE(Text(open.get(), "btnOk"), "OK");
    QCOMPARE(Text(open.get(), "grbOptions"), "Optionen"); // the table lacks it

    auto fresh = MakeFindForm();
    TranslateForm(fresh.get(), french);
    QCOMPARE(fresh->windowTitle(), "Chercher");
    QCOMPARE(Text(fresh.get(), "lblTextToFind"), "Text to Find (designed):");
}

QTEST_MAIN(TestTranslateForm)
#include "tst_translateform.moc"
