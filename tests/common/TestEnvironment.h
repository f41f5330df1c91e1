#pragma once

// Shared by every test: a private settings location, the C locale, the beep
// counter and the clipboard.

#include <QByteArray>
#include <QImage>
#include <QString>
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

QString ClipboardText();
QImage ClipboardImage();
void ClearClipboard();
