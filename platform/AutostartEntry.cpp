#include "platform/AutostartEntry.h"
#include "platform/AtomicFile.h"
#include "platform/VarnokelError.h"

#include <QDir>
#include <QFile>

namespace {

// The quoting rules of the Exec key: these characters take a backslash inside
// a quoted argument.
bool EscapedInQuotes(QChar c)
{
    return c == u'"' || c == u'`' || c == u'$' || c == u'\\';
}

// The escapes of a string value in a desktop entry file.
QString EscapeStringValue(const QString &value)
{
    QString result;
    result.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\': result += QStringLiteral("\\\\"); break;
        case u'\n': result += QStringLiteral("\\n"); break;
        case u'\t': result += QStringLiteral("\\t"); break;
        case u'\r': result += QStringLiteral("\\r"); break;
        default: result += c;
        }
    }
    return result;
}

} // namespace

QString AutostartFolder()
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory
    // specification says.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString base =
        QDir::isAbsolutePath(config) ? config : QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/autostart"));
}

QString AutostartEntryPath()
{
    return AutostartFolder() + QStringLiteral("/varnokel.desktop");
}

QString AutostartExecValue(const QString &programPath)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : programPath) {
        if (EscapedInQuotes(c))
            quoted += u'\\';
        quoted += c;
        if (c == u'%')
            quoted += u'%';
    }
    quoted += u'"';
    return EscapeStringValue(quoted);
}

void WriteAutostartEntry(const QString &programPath)
{
    const QString folder = AutostartFolder();
    if (const int error = MakeFolders(folder, 0777))
        throw VarnokelError(
            QStringLiteral("Failed to create key %1: %2").arg(folder, qt_error_string(error)));
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Varnokel PRO\n"
                                         "Exec=%1\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(AutostartExecValue(programPath));
    const QString file = AutostartEntryPath();
    const QString reason = TryWriteFileAtomically(file, entry.toUtf8());
    if (!reason.isEmpty())
        throw VarnokelError(QStringLiteral("Failed to set data for '%1': %2").arg(file, reason));
}

void RemoveAutostartEntry()
{
    QFile::remove(AutostartEntryPath());
}
