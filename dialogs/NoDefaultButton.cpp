#include "dialogs/NoDefaultButton.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace {

// Enter on the button it watches clicks it.
class TEnterPresses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        static_cast<QPushButton *>(watched)->click();
        return true;
    }
};

} // namespace

void SetNoDefaultButton(std::initializer_list<QPushButton *> buttons)
{
    for (QPushButton *button : buttons) {
        // A dialog makes its first button that may be the default the default
        // when it opens: none may.
        button->setAutoDefault(false);
        button->installEventFilter(new TEnterPresses(button));
    }
}
