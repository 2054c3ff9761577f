#include "settings/widgets/TranslateForm.h"
#include "settings/Language.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <vector>

namespace {

void TranslateComponent(QWidget *widget, const QString &langFile, const QString &section)
{
    const QString name = widget->objectName();
    // Unnamed widgets and Qt's own parts of compound widgets are no designed components.
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
        return;
    if (auto *button = qobject_cast<QPushButton *>(widget))
        button->setText(GetLanguageText(langFile, section, name, button->text()));
    if (auto *box = qobject_cast<QGroupBox *>(widget))
        box->setTitle(GetLanguageText(langFile, section, name, box->title()));
    if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(GetLanguageText(langFile, section, name, label->text()));
    if (auto *check = qobject_cast<QCheckBox *>(widget))
        check->setText(GetLanguageText(langFile, section, name, check->text()));
    if (auto *radio = qobject_cast<QRadioButton *>(widget))
        radio->setText(GetLanguageText(langFile, section, name, radio->text()));
}

} // namespace

void TranslateForm(QWidget *form, const QString &langFile)
{
    const QString section = form->objectName();
    form->setWindowTitle(GetLanguageText(langFile, section, QStringLiteral("Caption"),
                                         form->windowTitle()));
    // Pre-order walk with an explicit stack: each container, then its children in
    // the order they were created.
    std::vector<QObject *> stack;
    const QObjectList &top = form->children();
    stack.assign(top.rbegin(), top.rend());
    while (!stack.empty()) {
        QObject *object = stack.back();
        stack.pop_back();
        auto *widget = qobject_cast<QWidget *>(object);
        if (!widget || widget->isWindow())
            continue;
        TranslateComponent(widget, langFile, section);
        const QObjectList &children = widget->children();
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
}
