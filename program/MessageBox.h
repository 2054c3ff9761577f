#pragma once
// The program's message boxes in one place: the questions it asks and the error
// box. Tests install an answerer instead of letting a modal box open.

#include <QMessageBox>
#include <QString>

#include <functional>

struct MessageBoxRequest
{
    QString Text;
    QString Caption;
    QMessageBox::StandardButtons Buttons;
    QMessageBox::Icon Icon;
};

using MessageBoxAnswerer = std::function<QMessageBox::StandardButton(const MessageBoxRequest &)>;

// Shows a modal message box owned by `owner` and returns the button chosen.
QMessageBox::StandardButton ShowMessageBox(QWidget *owner, const MessageBoxRequest &request);

// Replaces the modal box (tests); an empty answerer restores it.
void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);

// The error box for a failure that ended a command: the message, with "." added
// when its last character sorts after ".", the application title, a stop icon, OK.
void ShowErrorBox(const QString &message);
