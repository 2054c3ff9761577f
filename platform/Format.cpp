#include "platform/Format.h"
#include "platform/VarnokelError.h"

#include <QLocale>

#include <cmath>
#include <optional>

namespace {

// The decimal point and the thousands separator of the numbers written.
struct Separators
{
    QString point = QStringLiteral(".");
    QString group = QStringLiteral(",");
};

struct Spec
{
    bool leftAlign = false;
    int width = 0;
    int precision = -1; // none given
    QChar type;
};

[[noreturn]] void RaiseFormatError(const QString &format)
{
    throw VarnokelError(
        QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format));
}

// A run of decimal digits at pos, or -1 when there is none; pos moves past it.
int ReadNumber(const QString &format, qsizetype &pos)
{
    qsizetype start = pos;
    qint64 value = 0;
    while (pos < format.size() && format[pos] >= u'0' && format[pos] <= u'9') {
        value = value * 10 + (format[pos].unicode() - '0');
        if (value > 9999) // a width beyond this is no real format
            RaiseFormatError(format);
        ++pos;
    }
    return pos == start ? -1 : int(value);
}

QString PadDigits(QString digits, int precision)
{
    const bool negative = digits.startsWith(u'-');
    if (negative)
        digits.remove(0, 1);
    if (digits.size() < precision)
        digits.prepend(QString(precision - digits.size(), u'0'));
    return negative ? u'-' + digits : digits;
}

QString FormatFloat(double value, const Spec &spec)
{
    const char type = char(spec.type.toLower().unicode());
    if (type == 'f')
        return QString::number(value, 'f', spec.precision < 0 ? 2 : spec.precision);
    if (type == 'n') {
        QLocale c(QLocale::C);
        c.setNumberOptions(QLocale::DefaultNumberOptions);
        return c.toString(value, 'f', spec.precision < 0 ? 2 : spec.precision);
    }
    const int digits = spec.precision < 0 || spec.precision > 18 ? 15 : qMax(spec.precision, 1);
    if (type == 'g')
        return QString::number(value, 'g', digits).toUpper();
    // e: d.dddE+ddd, with as many digits as the precision and three in the exponent.
    QString text = QString::number(value, 'e', digits - 1).toUpper();
    const qsizetype e = text.indexOf(u'E');
    if (e >= 0 && std::isfinite(value)) {
        QString exponent = text.mid(e + 2);
        text = text.left(e + 2) + QString(qMax<qsizetype>(0, 3 - exponent.size()), u'0')
            + exponent;
    }
    return text;
}

QString WithSeparators(const QString &number, const Separators &separators)
{
    if (separators.point == u"." && separators.group == u",")
        return number;
    QString text;
    for (QChar c : number)
        text += c == u'.' ? separators.point : c == u',' ? separators.group : QString(c);
    return text;
}

// The text of one argument under spec, or nothing when they do not match.
std::optional<QString> Convert(const FormatArg &arg, const Spec &spec,
                               const Separators &separators)
{
    const char type = char(spec.type.toLower().unicode());
    const auto &value = arg.Value();
    if (type == 'd' || type == 'u' || type == 'x') {
        const qint64 *number = std::get_if<qint64>(&value);
        if (!number)
            return std::nullopt;
        if (type == 'd')
            return PadDigits(QString::number(*number), spec.precision);
        const quint64 bits = *number < 0 ? quint64(quint32(*number)) : quint64(*number);
        return PadDigits(QString::number(bits, type == 'x' ? 16 : 10).toUpper(),
                         spec.precision);
    }
    if (type == 'e' || type == 'f' || type == 'g' || type == 'n') {
        const double *number = std::get_if<double>(&value);
        if (!number)
            return std::nullopt;
        return WithSeparators(FormatFloat(*number, spec), separators);
    }
    if (type == 's') {
        const QString *text = std::get_if<QString>(&value);
        if (!text)
            return std::nullopt;
        return spec.precision < 0 ? *text : text->left(spec.precision);
    }
    return std::nullopt;
}

// Reads "[index:][-][width][.precision]type" after the "%" at pos.
Spec ReadSpec(const QString &format, qsizetype &pos, qsizetype &argIndex)
{
    Spec spec;
    int number = ReadNumber(format, pos);
    if (number >= 0 && pos < format.size() && format[pos] == u':') {
        argIndex = number;
        ++pos;
        number = -1;
    }
    if (number < 0 && pos < format.size() && format[pos] == u'-') {
        spec.leftAlign = true;
        ++pos;
    }
    spec.width = number >= 0 ? number : qMax(0, ReadNumber(format, pos));
    if (pos < format.size() && format[pos] == u'.') {
        ++pos;
        spec.precision = ReadNumber(format, pos);
        if (spec.precision < 0)
            RaiseFormatError(format);
    }
    if (pos >= format.size())
        RaiseFormatError(format);
    spec.type = format[pos++];
    return spec;
}

QString FormatArgs(const QString &format, const FormatArg *args, qsizetype count,
                   const Separators &separators = {})
{
    QString result;
    qsizetype argIndex = 0;
    qsizetype pos = 0;
    while (pos < format.size()) {
        const QChar c = format[pos++];
        if (c != u'%') {
            result += c;
            continue;
        }
        if (pos < format.size() && format[pos] == u'%') {
            result += u'%';
            ++pos;
            continue;
        }
        const Spec spec = ReadSpec(format, pos, argIndex);
        if (argIndex >= count)
            RaiseFormatError(format);
        const std::optional<QString> text = Convert(args[argIndex++], spec, separators);
        if (!text)
            RaiseFormatError(format);
        const QString padding(qMax<qsizetype>(0, spec.width - text->size()), u' ');
        result += spec.leftAlign ? *text + padding : padding + *text;
    }
    return result;
}

} // namespace

QString Format(const QString &format, std::initializer_list<FormatArg> args)
{
    return FormatArgs(format, args.begin(), qsizetype(args.size()));
}

QString Format(const QString &format, const std::vector<FormatArg> &args)
{
    return FormatArgs(format, args.data(), qsizetype(args.size()));
}

QString Format(const QString &format, std::initializer_list<FormatArg> args,
               const QLocale &locale)
{
    return FormatArgs(format, args.begin(), qsizetype(args.size()),
                      {locale.decimalPoint(), locale.groupSeparator()});
}
