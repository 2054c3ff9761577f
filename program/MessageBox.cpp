#include "program/MessageBox.h"

#include <QApplication>

namespace {

MessageBoxAnswerer &Answerer()
{
    static MessageBoxAnswerer answerer;
    return answerer;
}

} // namespace

QMessageBox::StandardButton ShowMessageBox(QWidget *owner, const MessageBoxRequest &request)
{
    if (Answerer())
        return Answerer()(request);
    QMessageBox box(request.Icon, request.Caption, request.Text, request.Buttons, owner);
    return QMessageBox::StandardButton(box.exec());
}

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer)
{
    Answerer() = std::move(answerer);
}

void ShowErrorBox(const QString &message)
{
    QString text = message;
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        text += QLatin1Char('.');
    ShowMessageBox(QApplication::activeWindow(),
                   {text, QApplication::applicationName(), QMessageBox::Ok,
                    QMessageBox::Critical});
}
