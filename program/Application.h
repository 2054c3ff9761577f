#pragma once
// The application object: every exception that ends a command reaches the user
// in the error box here, and the program goes on.

#include <QApplication>

class TApplication : public QApplication
{
    Q_OBJECT

public:
    TApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
