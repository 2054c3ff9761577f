#include "catalogue/CatalogFileRules.h"
#include "platform/VarnokelError.h"

#include <QLocale>

#include <cmath>

QByteArray DeclaredEncoding(const QByteArray &data)
{
    if (!data.startsWith("<?xml"))
        return {};
    const qsizetype end = data.indexOf("?>");
    const QByteArray decl = data.left(end < 0 ? 200 : end);
    qsizetype at = decl.indexOf("encoding");
    if (at < 0)
        return {};
    at = decl.indexOf('=', at);
    if (at < 0)
        return {};
    ++at;
    while (at < decl.size() && (decl[at] == ' ' || decl[at] == '\t'))
        ++at;
    if (at >= decl.size() || (decl[at] != '"' && decl[at] != '\''))
        return {};
    const qsizetype close = decl.indexOf(decl[at], at + 1);
    return close < 0 ? QByteArray() : decl.mid(at + 1, close - at - 1).trimmed();
}

// Qt's guess from the expected "<" alone took a file with a NUL in front
// ("\0<varnokel_file>") for UTF-16, and its error showed the line as nonsense: the
// character after the "<" must be ASCII in the guessed encoding too.
std::optional<QStringConverter::Encoding> MarkedEncoding(const QByteArray &start)
{
    if (auto marked = QStringConverter::encodingForData(start))
        return marked;
    const auto guess = QStringConverter::encodingForData(start, u'<');
    if (!guess)
        return std::nullopt;
    const bool wide = *guess == QStringConverter::Utf32BE || *guess == QStringConverter::Utf32LE;
    const qsizetype unit = wide ? 4 : 2;
    if (start.size() < 2 * unit)
        return std::nullopt;
    QStringDecoder decoder(*guess);
    const QString two = decoder.decode(start.first(2 * unit));
    if (two.size() != 2 || two[1].unicode() == 0 || two[1].unicode() >= 0x80)
        return std::nullopt;
    return guess;
}

// A byte-order mark wins over a declaration; no mark and no declaration: UTF-8.
qsizetype Utf8PrefixSize(const QByteArray &start)
{
    if (start.startsWith("\xEF\xBB\xBF"))
        return 3;
    if (auto found = MarkedEncoding(start); found && *found != QStringConverter::Utf8)
        return -1;
    const QByteArray name = DeclaredEncoding(start).toLower();
    return name.isEmpty() || name == "utf-8" || name == "utf8" || name == "us-ascii" ? 0 : -1;
}

// QString::fromUtf8 drops a leading U+FEFF as a byte-order mark.
QString FieldText(QByteArrayView utf8)
{
    if (utf8.size() < 3 || utf8[0] != '\xEF' || utf8[1] != '\xBB' || utf8[2] != '\xBF')
        return QString::fromUtf8(utf8);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless
                                                     | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

bool ReadFlag(const QString &text, bool &value)
{
    if (text == u"-1" || text == u"0") { // as the writer writes them
        value = text.size() == 2;
        return true;
    }
    bool ok = false;
    double number = text.toDouble(&ok); // C form: "-1", "0.5", "1e3", blanks around
    if (!ok)
        number = QLocale::system().toDouble(text.trimmed(), &ok);
    if (ok && std::isfinite(number)) {
        value = number != 0;
        return true;
    }
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        value = true;
    else if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        value = false;
    else
        return false;
    return true;
}

void RaiseFlagError()
{
    throw VarnokelError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                            .arg(QStringLiteral("OleStr"), QStringLiteral("Boolean")));
}
