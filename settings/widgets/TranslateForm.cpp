#include "settings/widgets/TranslateForm.h"

#include <QWidget>

void TranslateForm(QWidget *, const QString &)
{
}
