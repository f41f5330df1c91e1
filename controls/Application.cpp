#include "controls/Application.h"

#include <exception>
#include <utility>

#include <QMessageBox>

#include "app/VorlGlobal.h"
#include "controls/Guarded.h"
#include "controls/Spin.h"

namespace {

int GEscapedErrors = 0;

std::function<void(const QString &)> &ErrorHandler()
{
    static std::function<void(const QString &)> handler;
    return handler;
}

} // namespace

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &) {
        ++GEscapedErrors;
        ShowCaughtError();
    }
    return true;
}

int TApplication::TakeEscapedErrorCount()
{
    return std::exchange(GEscapedErrors, 0);
}

void ShowCaughtError()
{
    try {
        throw;
    } catch (const TVorlError &error) {
        ShowErrorMessage(error.Message());
    } catch (const std::bad_alloc &) {
        ShowErrorMessage(QStringLiteral("Out of memory"));
    } catch (const std::exception &error) {
        ShowErrorMessage(QString::fromLocal8Bit(error.what()));
    }
}

void ShowErrorMessage(const QString &message)
{
    // A spin button held down would go on repeating under the box.
    TTimerSpeedButton::CancelHeldPress();
    if (ErrorHandler()) {
        ErrorHandler()(message);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void SetErrorMessageHandler(std::function<void(const QString &)> handler)
{
    ErrorHandler() = std::move(handler);
}
