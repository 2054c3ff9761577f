#pragma once
// For dialogs in which no button is the default: Enter on a control presses no
// button, yet a button that has the focus is pressed by Enter as by Space.

#include <initializer_list>

class QPushButton;

// None of the buttons is the default, nor becomes it when the dialog opens.
void SetNoDefaultButton(std::initializer_list<QPushButton *> buttons);
