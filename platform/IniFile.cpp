#include "platform/IniFile.h"

IniFile::IniFile(QString fileName, Mode mode) : m_fileName(std::move(fileName)), m_mode(mode)
{
}

QString IniFile::ReadString(const QString &, const QString &, const QString &defaultValue) const
{
    return defaultValue;
}

int IniFile::ReadInteger(const QString &, const QString &, int defaultValue) const
{
    return defaultValue;
}

bool IniFile::ReadBool(const QString &, const QString &, bool defaultValue) const
{
    return defaultValue;
}

QStringList IniFile::ReadSections() const { return {}; }
QStringList IniFile::ReadSection(const QString &) const { return {}; }
bool IniFile::SectionExists(const QString &) const { return false; }
bool IniFile::ValueExists(const QString &, const QString &) const { return false; }
void IniFile::WriteString(const QString &, const QString &, const QString &) {}
void IniFile::WriteInteger(const QString &, const QString &, int) {}
void IniFile::WriteBool(const QString &, const QString &, bool) {}
void IniFile::UpdateFile() {}
