#pragma once
// A checked stand-in for printf-style formatting of texts that come from language
// files ("Delete %d selected items?", "%2.1f KB"): it never hands the format to
// printf. Specifiers: %[index:][-][width][.precision] with d, u, x (integers),
// e, f, g, n (numbers), s (text), and %% for a percent sign. A specifier that
// does not match its argument, or an argument that is missing, raises
// "Format '%s' invalid or incompatible with argument" with the format.

#include <QString>

class QLocale;

#include <initializer_list>
#include <variant>
#include <vector>

class FormatArg
{
public:
    FormatArg(int value) : m_value(qint64(value)) {}
    FormatArg(qint64 value) : m_value(value) {}
    FormatArg(double value) : m_value(value) {}
    FormatArg(const QString &value) : m_value(value) {}
    FormatArg(const char *value) : m_value(QString::fromUtf8(value)) {}

    const std::variant<qint64, double, QString> &Value() const { return m_value; }

private:
    std::variant<qint64, double, QString> m_value;
};

QString Format(const QString &format, std::initializer_list<FormatArg> args);
// The same, for argument lists built at run time.
QString Format(const QString &format, const std::vector<FormatArg> &args);
// The same, with the separators of `locale` (the user's) in the numbers of e, f, g
// and n instead of "." and ",". The digits stay ASCII.
QString Format(const QString &format, std::initializer_list<FormatArg> args,
               const QLocale &locale);
