// Ini files: any bytes are read (every section, key and value, as text, integer
// and flag), a key is written and read back, and the file written from them reads
// back exactly as the memory held it.
#include "platform/IniFile.h"
#include "platform/VarnokelError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

// One scratch file for the whole run, removed at exit (a plain buffer, so that it
// outlives the static objects that exit destroys first).
char g_path[4096];

QString TempPath()
{
    if (!g_path[0]) {
        const QByteArray name = QDir::tempPath().toLocal8Bit() + "/fuzz_inifile_XXXXXX";
        qstrncpy(g_path, name.constData(), sizeof g_path);
        const int fd = mkstemp(g_path);
        if (fd >= 0)
            close(fd);
        std::atexit([] { unlink(g_path); });
    }
    return QString::fromLocal8Bit(g_path);
}

// Everything the file holds, as text: the sections, their keys and values in order.
QStringList Snapshot(const IniFile &ini)
{
    QStringList all;
    for (const QString &section : ini.ReadSections()) {
        all << QLatin1Char('[') + section;
        for (const QString &key : ini.ReadSection(section)) {
            all << key + QLatin1Char('=') + ini.ReadString(section, key, QStringLiteral("?"));
            ini.ReadInteger(section, key, 0);
            ini.ReadBool(section, key, true);
        }
    }
    return all;
}

void Check(bool condition)
{
    if (!condition)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = TempPath();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();

    IniFile ini(path, IniFile::Mode::Buffered);
    Snapshot(ini);
    const QString section = QStringLiteral("Fuzz");
    const QString key = QStringLiteral("Key");
    const QString value = QString::fromUtf8(reinterpret_cast<const char *>(data),
                                            qsizetype(qMin<size_t>(size, 64)));
    ini.WriteString(section, key, value);
    QString expected = value;
    expected.replace(QLatin1Char('\r'), QLatin1Char(' '));
    expected.replace(QLatin1Char('\n'), QLatin1Char(' '));
    Check(ini.ReadString(section, key, QString()) == expected);
    ini.WriteInteger(section, QStringLiteral("Number"), int(size) - 100);
    Check(ini.ReadInteger(section, QStringLiteral("Number"), 0) == int(size) - 100);

    const QStringList before = Snapshot(ini);
    try {
        ini.UpdateFile();
    } catch (const VarnokelError &) {
        return 0;
    }
    Check(Snapshot(IniFile(path)) == before);
    return 0;
}
