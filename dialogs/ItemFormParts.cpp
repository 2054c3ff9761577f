#include "dialogs/ItemFormParts.h"
#include "catalogue/XmlChars.h"
#include "exchange/LineFile.h"
#include "program/CommandGuard.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>

TEnterConfirms::TEnterConfirms(QAbstractButton *okButton,
                               std::initializer_list<QWidget *> editors)
    : QObject(okButton), m_okButton(okButton)
{
    for (QWidget *editor : editors)
        editor->installEventFilter(this);
}

bool TEnterConfirms::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (m_okButton->isEnabled())
        m_okButton->click();
    return true;
}

QString TrimmedText(const QString &text)
{
    const QString clean = XmlCharsOnly(text);
    return TrimText(clean).toString();
}

QPlainTextEdit *NewMemo(QWidget *form)
{
    auto *memo = Component(form, "memDescription", new QPlainTextEdit);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setTabChangesFocus(true);
    return memo;
}

QFrame *NewBevel(QWidget *form)
{
    auto *bevel = Component(form, "Bevel1", new QFrame);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    return bevel;
}

QHBoxLayout *ButtonRow(QWidget *ok, QWidget *cancel)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

void ConnectButtons(QDialog *form, QAbstractButton *ok, QAbstractButton *cancel,
                    std::function<void()> okClick)
{
    QObject::connect(ok, &QAbstractButton::clicked, form, [form, okClick = std::move(okClick)] {
        Guarded(okClick);
        form->accept();
    });
    QObject::connect(cancel, &QAbstractButton::clicked, form, &QDialog::reject);
}

void ChangeFromForm(IMainWindow::TRefresh refresh, const std::function<void()> &change,
                    const std::function<void(IMainWindow &)> &show)
{
    if (IMainWindow *main = MainWindow()) {
        main->ChangeCatalog(refresh, change);
        show(*main);
    }
}
