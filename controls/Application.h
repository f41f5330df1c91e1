#pragma once

// The application object and its default error handler: an exception that
// escapes an event handler is shown in an error message box, and the program
// carries on with the state it had.

#include <functional>

#include <QApplication>
#include <QStringList>

class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);

    // The last resort: an error that escaped a handler is shown here, after
    // it has unwound through Qt's frames. Our handlers stop their errors
    // themselves (Guarded), so this should never count anything.
    bool notify(QObject *receiver, QEvent *event) override;

    // How many errors have reached notify() since the last call; resets.
    static int TakeEscapedErrorCount();
};

// Shows `message` as an error message box over the active window. Also used
// for errors caught outside event handlers (start-up, settings). A spin
// button held down is released first, so its repeat stops before the box.
void ShowErrorMessage(const QString &message);

// Tests: replaces the message box by `handler` (an empty function restores it).
void SetErrorMessageHandler(std::function<void(const QString &)> handler);
