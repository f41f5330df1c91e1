#include "controls/Application.h"

#include <exception>

#include <QMessageBox>

#include "app/VorlGlobal.h"
#include "controls/Spin.h"

namespace {

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
    } catch (const TVorlError &error) {
        ShowErrorMessage(error.Message());
    } catch (const std::bad_alloc &) {
        ShowErrorMessage(QStringLiteral("Out of memory"));
    } catch (const std::exception &error) {
        ShowErrorMessage(QString::fromLocal8Bit(error.what()));
    }
    return true;
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
