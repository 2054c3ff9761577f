#pragma once
// Text inside Netscape bookmark files. Reading decodes character references
// ("&#233;", "&#xE9;"; "&#128;" to "&#159;" as the Windows-1252 characters of those
// bytes) and the named entities of HTML 4 ("&amp;", "&eacute;");
// a reference that names nothing stays as written. Writing turns & < > " and every
// control character into references, so that no text can change the markup or
// break the line it stands in.

#include <QString>
#include <QStringView>

class TLineWriter;

QString DecodeHtmlEntities(QStringView text);

// Appends text escaped. With protectTrailingBlanks the blanks at its end are written
// as references too: they end a line, and a reader trims line ends.
void AppendHtmlEscaped(TLineWriter &out, QStringView text, bool protectTrailingBlanks = false);
