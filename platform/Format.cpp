#include "platform/Format.h"

QString Format(const QString &format, std::initializer_list<FormatArg>)
{
    return format;
}
