#pragma once
// The markup of one line of a Netscape bookmark file, read as browsers read it:
// which entry the line holds, and the title and address of its element. A line
// holds one entry at most; TCommentFilter cuts comments out of the lines first.
// An entry whose text runs on over several lines (TNetscapeScanner) comes here as
// its trimmed lines joined by "\n".

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

enum class NetscapeKind { Other, Heading, Folder, EndOfList, Description, Bookmark };

struct NetscapeLine
{
    NetscapeKind kind = NetscapeKind::Other;
    // Where the text after the tag's name begins: its attributes, or the text of
    // a description. The markup before it is ASCII, so this is the same position
    // in the bytes and in the decoded line.
    qsizetype rest = 0;
    // The text runs on over lines joined by "\n" (TNetscapeScanner).
    bool joined = false;
};

// The kind of a trimmed line, any case: "<H3" (folder) or "<A " (bookmark), each
// after an optional "<DT>"; "</DL>" (end of list), "<DD>" (description) and "<H1"
// (heading).
NetscapeLine ClassifyLine(QByteArrayView line);

// True when a trimmed line begins list markup, where no text runs on: "<DT", "<DL",
// "<HR", "</DT" or "</DD" (any case).
bool IsListMarkup(QByteArrayView line);

// True when the closing tag ("</A>", any case) stands in line from at.
bool HoldsClosingTag(QStringView line, qsizetype at, QStringView closing);

struct NetscapeElement
{
    QString title;    // entities decoded
    QString address;  // the value of HREF, entities decoded
    bool hasAddress = false; // the start tag has an HREF attribute
};

// The element of a folder, bookmark or heading line. Its start tag ends at the
// first ">" outside quoted attribute values; the title runs from there to the
// closing tag (closing: "</H3>", "</A>" or "</H1>", any case) or the line's end.
// When a quote never closes, the first ">" ends the tag (and a HREF value so cut
// short is empty). Over several lines, each line break reads as a blank in the
// start tag and in the title, except at the title's ends; an address drops it.
NetscapeElement ReadElement(QStringView line, const NetscapeLine &at, QStringView closing);

// The text of a description line, references decoded. Over several lines it keeps
// its line breaks, except those at its ends.
QString ReadDescription(QStringView line, const NetscapeLine &at);

// Cuts comments ("<!--" to "-->", across lines too) out of successive lines.
class TCommentFilter
{
public:
    // The line without its comments; valid until the next call.
    QByteArrayView Filter(QByteArrayView line);

private:
    bool m_inComment = false;
    QByteArray m_kept;
};
