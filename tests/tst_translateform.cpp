// Form translation: which components a language renames, the built-in texts, child
// windows, and captions kept when the language changes while the window is open.
#include "settings/Language.h"
#include "settings/widgets/TranslateForm.h"
#include "tests/TestSupport.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

template <typename T>
T *Make(QWidget *parent, const char *name)
{
    auto *widget = new T(parent);
    widget->setObjectName(name);
    if (widget->metaObject()->indexOfProperty("text") >= 0)
        widget->setProperty("text", "designed");
    return widget;
}

// The find dialog as designed, every caption "designed", with a child window.
std::unique_ptr<QDialog> MakeFindForm()
{
    auto form = std::make_unique<QDialog>();
    form->setObjectName("frmFind");
    form->setWindowTitle("designed");
    Make<QLabel>(form.get(), "lblTextToFind");
    Make<QLineEdit>(form.get(), "edText");
    auto *group = Make<QGroupBox>(form.get(), "grbOptions");
    group->setTitle("designed");
    Make<QCheckBox>(Make<QWidget>(group, "pnlInner"), "chkCase"); // two levels down
    Make<QRadioButton>(group, "rbUp");
    Make<QPushButton>(form.get(), "btnOk");
    Make<QPushButton>(form.get(), "btnCancel");
    Make<QPushButton>(form.get(), "");
    Make<QLabel>(form.get(), "qt_msgbox_label"); // a part Qt names itself
    Make<QToolButton>(form.get(), "tbHelp");
    Make<QLabel>(Make<QDialog>(form.get(), "frmOther"), "lblTextToFind");
    return form;
}

// The caption of a component of a translated kind, an edit's text; empty for others.
QString Caption(QObject *widget)
{
    return widget->property(qobject_cast<QGroupBox *>(widget) ? "title" : "text").toString();
}

} // namespace

class TestTranslateForm : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appDir;

    QString File(const char *name, const QByteArray &contents)
    {
        const QString path = LanguageFilePath(m_appDir.path(), name);
        WriteFileBytes(path, contents);
        return path;
    }

private slots:
    // Only the form's own section renames, and only components of the kinds with
    // a caption, by their names; Qt's own parts and child windows are left alone.
    void renamesOnlyWhatTheFileNames()
    {
        auto form = MakeFindForm();
        TranslateForm(form.get(), File("de.ini", "[FRMFIND]\r\nlblTextToFind=L\r\ngrbOptions=G\r\n"
                                                 "chkCase=C\r\nrbUp=R\r\nBTNOK=B\r\nedText=E\r\n"
                                                 "tbHelp=T\r\nqt_msgbox_label=Q\r\n"
                                                 "[frmOther]\r\nCaption=O\r\nbtnCancel=X\r\n"));
        QStringList renamed;
        for (QWidget *widget : form->findChildren<QWidget *>())
            if (const QString text = Caption(widget); !text.isEmpty() && text != "designed")
                renamed << widget->objectName() + '=' + text;
        QCOMPARE(renamed, QStringList({"lblTextToFind=L", "grbOptions=G", "chkCase=C", "rbUp=R",
                                       "btnOk=B"}));
        QCOMPARE(form->windowTitle(), "designed");
    }

    // A language lacking a key keeps the caption the last language gave.
    void builtInTextsThenAnotherLanguage()
    {
        auto form = MakeFindForm();
        const auto caption = [&](const char *name) {
            return Caption(form->findChild<QWidget *>(name));
        };
        TranslateForm(form.get(), LanguageFilePath(m_appDir.path(), QString()));
        QCOMPARE(form->windowTitle(), "Find");
        QCOMPARE(caption("lblTextToFind"), "Text to Find:");
        QCOMPARE(caption("grbOptions"), "designed"); // the table lacks it
        TranslateForm(form.get(), File("part.ini", "[frmFind]\nCaption=Suchen\nbtnCancel=\n"));
        QCOMPARE(form->windowTitle(), "Suchen");
        QCOMPARE(caption("lblTextToFind"), "Text to Find:");
        QCOMPARE(caption("btnCancel"), "");
    }
};

QTEST_MAIN(TestTranslateForm)
#include "tst_translateform.moc"
