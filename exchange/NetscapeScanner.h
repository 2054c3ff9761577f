#pragma once
// The entries of a Netscape bookmark file, one line of a recognised kind each
// (NetscapeLine.h), with the lines their text runs on. Browsers wrote titles over
// several lines ("<A HREF=...>Drawing" and "Lesson</A>" below it) and notes of
// several lines after "<DD>": a bookmark or folder line without its closing tag
// takes the following lines up to the one that holds it, a description the lines
// up to the next entry. Either stops at a line of a recognised kind or of list
// markup, which is then read as usual, and takes no more than 1 MiB; the lines it
// takes are read once, so the time stays linear in the file's size.

#include "exchange/NetscapeLine.h"

#include <QByteArrayView>
#include <QString>

class TLineReader;

// The most a title or description takes from the lines after its own, counting
// each line break.
constexpr qsizetype kLongestContinuation = 1024 * 1024;

struct NetscapeEntry
{
    NetscapeLine at;
    QString text; // the trimmed line, decoded, and the lines it runs on after a "\n" each
};

class TNetscapeScanner
{
public:
    explicit TNetscapeScanner(TLineReader &lines) : m_lines(lines) {}

    // The next entry; false at the end of the file.
    bool Next(NetscapeEntry &entry);

private:
    bool ReadLine();
    bool EndsText() const;
    void TakeLines(NetscapeEntry &entry, QStringView closing);

    TLineReader &m_lines;
    TCommentFilter m_comments;
    QByteArrayView m_trimmed; // the line read last, trimmed
    QByteArrayView m_line;    // the same without the separators before its entry
    bool m_held = false;      // m_line stopped a text and is still to be read
};
