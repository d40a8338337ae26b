// The application-wide input filter: keeps the table of keys and buttons
// that the frame polls, from every key and mouse event of the program, and
// hands Escape to the main window's key handling. Keys reach the embedded GL
// view only once it has the focus, so the table cannot be kept by one window.
#pragma once

#include <QObject>

class InputFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The polled key that a Qt key code stands for, or -1 for any other key.
int platformKeyOfQtKey(int qtKey);
