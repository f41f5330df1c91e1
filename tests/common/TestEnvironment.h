#pragma once

#include "controls/Application.h"

// Shared by every test: a private settings location, the C locale, the beep
// counter and the clipboard.

#include <functional>

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TTestEnvironment
{
public:
    // Points XDG_CONFIG_HOME at a fresh temporary folder, forgets any loaded
    // settings store, pins QLocale to C, resets the beep count and, in
    // widget tests, sets the design font as the application font.
    TTestEnvironment();
    ~TTestEnvironment();

    QString SettingsFileName() const;
    // Deletes the settings file and forgets the loaded store.
    void ClearSettings();
    // Replaces the settings file by `text` and forgets the loaded store, so
    // the next use reads it.
    void WriteSettingsFile(const QByteArray &text);
    QByteArray ReadSettingsFile() const;

private:
    QTemporaryDir FDir;
    QByteArray FOldConfigHome;
};

// The error messages shown since the last TakeErrorMessages(); under
// TARVELO_TEST_MAIN they are recorded instead of opening a message box.
QStringList TakeErrorMessages();

class TCalcArea;

// Wires an area's page control as the main window does: the page being left
// gets PageLeaving, the page shown PageEntered, then `afterChange` runs (the
// main window refreshes the IP subnet display there).
void ConnectPageSwitches(TCalcArea *area, std::function<void()> afterChange = {});

class QAbstractButton;
class QWidget;

// The main window's Copy command in miniature: the area's copy target and
// whether it is enabled, followed as the area reports them, and a Ctrl+C
// shortcut of `window` that clicks the target while it is enabled.
struct TCopyCommand
{
    QAbstractButton *Target = nullptr;
    bool Enabled = false;

    void Connect(TCalcArea *area, QWidget *window);
};

QString ClipboardText();
QImage ClipboardImage();
void ClearClipboard();

void InstallErrorRecorder();

// The test run's exit code, failed when an error reached the application
// object's last resort that no test took (TApplication::TakeEscapedErrorCount):
// a handler let it unwind through Qt.
int FailOnEscapedErrors(int result);

// Like QTEST_MAIN, with the program's application object, so that the error
// box is recorded (see TakeErrorMessages()) and an error that escapes a
// handler fails the run.
#define TARVELO_TEST_MAIN(TestObject)                     \
    int main(int argc, char *argv[])                      \
    {                                                     \
        TApplication app(argc, argv);                     \
        app.setAttribute(Qt::AA_Use96Dpi, true);          \
        InstallErrorRecorder();                           \
        TestObject tc;                                    \
        QTEST_SET_MAIN_SOURCE_PATH                        \
        const int result = QTest::qExec(&tc, argc, argv); \
        return FailOnEscapedErrors(result);               \
    }
