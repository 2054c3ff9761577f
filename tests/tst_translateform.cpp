// Form translation: which components a language renames, the built-in texts, child
// windows, and captions kept when the language changes while the window is open.
#include "settings/Language.h"
#include "settings/widgets/TranslateForm.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

namespace {

const char *CaptionProperty(QObject *widget)
{
    return qobject_cast<QGroupBox *>(widget) ? "title" : "text";
}

template <typename T>
T *Make(QWidget *parent, const char *name)
{
    auto *widget = new T(parent);
    widget->setObjectName(name);
    widget->setProperty(CaptionProperty(widget), "designed");
    return widget;
}

// The find dialog as designed, every caption "designed", with a child window.
std::unique_ptr<QDialog> MakeFindForm()
{
    auto form = std::make_unique<QDialog>();
    form->setObjectName("frmFind");
    form->setWindowTitle("designed");
    Make<QLabel>(form.get(), "lblTextToFind");
    auto *group = Make<QGroupBox>(form.get(), "grbOptions");
    Make<QCheckBox>(Make<QWidget>(group, "pnlInner"), "chkCase"); // two levels down
    Make<QRadioButton>(group, "rbUp");
    Make<QPushButton>(form.get(), "btnOk");
    Make<QPushButton>(form.get(), "btnCancel");
    Make<QLabel>(form.get(), "qt_msgbox_label"); // a part Qt names itself
    Make<QToolButton>(form.get(), "tbHelp");
    Make<QLabel>(Make<QDialog>(form.get(), "frmOther"), "lblTextToFind");
    return form;
}

// The captions that differ from the designed ones, as "name=caption".
QStringList Renamed(const QWidget &form)
{
    QStringList renamed;
    for (QWidget *widget : form.findChildren<QWidget *>()) {
        const QString caption = widget->property(CaptionProperty(widget)).toString();
        if (caption != "designed")
            renamed << widget->objectName() + '=' + caption;
    }
    return renamed;
}

} // namespace

class TestTranslateForm : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appDir;
    const QString m_file = LanguageFilePath(m_appDir.path(), "de.ini");

private slots:
    // Only the form's own section renames, and only components of the kinds with a
    // caption, by their names; Qt's own parts and child windows are left alone.
    void renamesOnlyWhatTheLanguageNames()
    {
        auto form = MakeFindForm();
        WriteFileBytes(m_file, "[FRMFIND]\r\nlblTextToFind=L\r\ngrbOptions=G\r\nchkCase=C\r\n"
                               "rbUp=R\r\nBTNOK=B\r\ntbHelp=T\r\nqt_msgbox_label=Q\r\n"
                               "[frmOther]\r\nCaption=O\r\nbtnCancel=X\r\n");
        TranslateForm(form.get(), m_file);
        QCOMPARE(Renamed(*form), QStringList({"lblTextToFind=L", "grbOptions=G", "chkCase=C",
                                              "rbUp=R", "btnOk=B"}));
        QCOMPARE(form->windowTitle(), "designed");
        // The built-in texts; what they lack keeps the last language's caption.
        TranslateForm(form.get(), LanguageFilePath(m_appDir.path(), QString()));
        QCOMPARE(form->windowTitle(), "Find");
        QCOMPARE(Renamed(*form), QStringList({"lblTextToFind=Text to Find:", "grbOptions=G",
                                              "chkCase=C", "rbUp=R", "btnOk=OK",
                                              "btnCancel=Cancel"}));
        WriteFileBytes(m_file, "[frmFind]\nbtnCancel=\n");
        TranslateForm(form.get(), m_file);
        QCOMPARE(Renamed(*form).last(), "btnCancel=");
    }
};

QTEST_MAIN(TestTranslateForm)
#include "tst_translateform.moc"
