#pragma once
// What the folder and the bookmark dialogs share: Enter in an editor clicking
// OK, the trimming of their texts, the making of their named components, and
// OK's change of the catalogue.

#include "program/MainWindowLink.h"

#include <QLatin1String>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QObject>
#include <QWidget>

#include <functional>
#include <initializer_list>

class QAbstractButton;
class QDialog;
class QFrame;
class QHBoxLayout;

// Enter in any of the editors clicks the OK button, with any modifiers held and
// only while the button is enabled. The editors never see the key, so a
// description memo does not insert a line.
class TEnterConfirms : public QObject
{
public:
    TEnterConfirms(QAbstractButton *okButton, std::initializer_list<QWidget *> editors);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *m_okButton;
};

// The text without what the catalogue file cannot hold (XmlCharsOnly: a control
// character pasted in, U+FFFF) and without the characters of code 32 or less at
// either end (blanks, tabs, line breaks): what the dialogs store, and empty for a
// blank entry.
QString TrimmedText(const QString &text);

// The item's title and description as the editors hold them, trimmed.
template <typename Item>
void StoreTitleAndDescription(Item &item, const QLineEdit *title,
                              const QPlainTextEdit *description)
{
    item.SetTitle(TrimmedText(title->text()));
    item.SetDescription(TrimmedText(description->toPlainText()));
}

// OK's change, made along the main window's change path with its refresh;
// `show` then puts the changed item before the user.
void ChangeFromForm(IMainWindow::TRefresh refresh, const std::function<void()> &change,
                    const std::function<void(IMainWindow &)> &show);

// The widget, named and placed on the form.
template <typename T>
T *Component(QWidget *form, const char *name, T *widget)
{
    widget->setObjectName(QLatin1String(name));
    widget->setParent(form);
    return widget;
}

// A description memo: vertical scroll bar, Tab moves on.
QPlainTextEdit *NewMemo(QWidget *form);
// The horizontal line above the buttons.
QFrame *NewBevel(QWidget *form);
// The two buttons at the right end of a row.
QHBoxLayout *ButtonRow(QWidget *ok, QWidget *cancel);

// OK runs okClick (a failure reaches the error box) and then closes the dialog
// with the result OK; Cancel closes it with nothing done.
void ConnectButtons(QDialog *form, QAbstractButton *ok, QAbstractButton *cancel,
                    std::function<void()> okClick);
