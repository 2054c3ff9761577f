#include "platform/VarnokelError.h"

VarnokelError::VarnokelError(QString message)
    : m_message(std::move(message)), m_utf8(m_message.toUtf8())
{
}

void RaiseListIndexError(qsizetype index)
{
    throw VarnokelError(QStringLiteral("List index out of bounds (%1)").arg(index));
}
