#include "platform/ProgramKey.h"
#include "platform/ProductName.h"
#include "platform/VarnokelError.h"

#include <QSettings>

void WriteProgramKeyValue(const QString &name, const QString &value)
{
    QSettings key(QSettings::NativeFormat, QSettings::UserScope,
                  QStringLiteral("Quorvane"), QString(kProductName));
    key.setValue(name, value);
    key.sync();
    if (key.status() != QSettings::NoError)
        throw VarnokelError(QStringLiteral("Failed to set data for '%1'").arg(name));
}
