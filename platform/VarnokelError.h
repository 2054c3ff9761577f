#pragma once
// The one exception of the program: a failure that ends the command that met it.
// The message is the exact text the user sees in the error box.

#include <QString>
#include <QByteArray>
#include <exception>

class VarnokelError : public std::exception
{
public:
    explicit VarnokelError(QString message);

    const QString &Message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// "List index out of bounds (%d)", the owning lists' error for a bad index.
[[noreturn]] void RaiseListIndexError(qsizetype index);
