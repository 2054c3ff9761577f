#pragma once
// An ini file (sections in brackets, "key=value" lines) read and written with the
// private-profile rules: section and key names match with ASCII-only case folding,
// a read drops the blanks around a value, removes one pair of enclosing quotes and
// returns at most 2047 characters; integers are decimal or hexadecimal after "$",
// "0x" or "0X"; booleans are integers, written "1" / "0". A write updates the key in
// place or appends it to its section (a missing section goes to the end of the file)
// and keeps every other line as it was; the file is written in UTF-8 with CR LF.
// A file that is not valid UTF-8 is read as Windows-1252; a byte order mark is kept.
// Values that would not read back as written (outer blanks, enclosing quotes) are
// written inside one more pair of quotes; line breaks in them become blanks.
//
// In WriteThrough mode every write replaces the file at once; in Buffered mode the
// writes collect in memory and UpdateFile writes them all in one atomic replace.
// A write that fails raises "Unable to write to %s" with the file name and reason.

#include "platform/RegularFile.h"

#include <QString>
#include <QStringList>

#include <vector>

class IniFile
{
public:
    enum class Mode { WriteThrough, Buffered };

    // The largest file read unless the caller gives another bound (language files,
    // Firefox's "profiles.ini").
    static constexpr qint64 kLargestFile = 4 * 1024 * 1024;

    // Reads the file when it is a regular file of at most largestFile bytes, never
    // waiting on it. Any other file reads as empty: a missing one, a folder, a FIFO,
    // a device, a larger file, one that cannot be read. One that exists but was not
    // read is never replaced: UpdateFile raises instead.
    explicit IniFile(QString fileName, Mode mode = Mode::WriteThrough,
                     qint64 largestFile = kLargestFile);
    // The file as the caller read it (ReadRegularFileAt by the bytes of a name that
    // QString cannot hold); fileName is the name that messages and writes use.
    IniFile(QString fileName, RegularFileContents file, Mode mode = Mode::WriteThrough);

    const QString &FileName() const { return m_fileName; }
    // True when the file is a regular file within the bound, whether or not it could
    // be read; a missing file, one of another kind or a larger one read as absent.
    bool IsPresent() const { return m_present; }

    // The value of key in section, or defaultValue when the key is missing.
    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    // defaultValue also when the value is not an integer.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    // An integer read with 0/1 as default; any non-zero number is true.
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;

    // The section names, in file order.
    QStringList ReadSections() const;
    // The key names of section, in file order (empty when the section is missing).
    QStringList ReadSection(const QString &section) const;
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);

    // Writes the whole file atomically (Buffered mode: all writes since the last one).
    void UpdateFile();

private:
    enum class Kind { Other, Section, Key };
    struct Line
    {
        QString text;   // the line as it stands in the file, without its line break
        Kind kind = Kind::Other;
        QString name;   // section or key name as written
        QString folded; // name with ASCII letters upper-cased, for matching
        QString value;  // key line: the text after "=", blanks dropped
    };

    void Load(RegularFileContents file);
    static Line ParseLine(const QString &text);
    int FindSection(const QString &section) const;
    int FindKey(const QString &section, const QString &key) const;
    int SectionEnd(int sectionLine) const;
    void Changed();

    QString m_fileName;
    Mode m_mode;
    std::vector<Line> m_lines;
    bool m_byteOrderMark = false; // kept when the file had one
    bool m_present = false;
    QString m_readError; // the file exists but was not read: never overwrite it
};
