#include "tests/common/TestEnvironment.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeData>

#include "app/SettingsStore.h"
#include "controls/Beep.h"
#include "controls/CalcArea.h"
#include "controls/DesignFont.h"
#include "controls/Guarded.h"
#include "controls/PageControl.h"

TTestEnvironment::TTestEnvironment()
    : FOldConfigHome(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("XDG_CONFIG_HOME", FDir.path().toLocal8Bit());
    TSettingsStore::ResetInstance();
    QLocale::setDefault(QLocale::c());
    ResetBeepCount();
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::setFont(DesignFont());
}

TTestEnvironment::~TTestEnvironment()
{
    TSettingsStore::ResetInstance();
    qputenv("XDG_CONFIG_HOME", FOldConfigHome);
}

QString TTestEnvironment::SettingsFileName() const
{
    return TSettingsStore::DefaultFileName();
}

void TTestEnvironment::ClearSettings()
{
    QFile::remove(SettingsFileName());
    TSettingsStore::ResetInstance();
}

void TTestEnvironment::WriteSettingsFile(const QByteArray &text)
{
    const QString name = SettingsFileName();
    QDir().mkpath(QFileInfo(name).absolutePath());
    QFile file(name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
    file.close();
    TSettingsStore::ResetInstance();
}

QByteArray TTestEnvironment::ReadSettingsFile() const
{
    QFile file(SettingsFileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {
QStringList GErrorMessages;
}

void InstallErrorRecorder()
{
    SetErrorMessageHandler([](const QString &message) { GErrorMessages << message; });
}

QStringList TakeErrorMessages()
{
    return std::exchange(GErrorMessages, QStringList());
}

int FailOnEscapedErrors(int result)
{
    const int escaped = TApplication::TakeEscapedErrorCount();
    if (escaped == 0)
        return result;
    qCritical("%d error(s) unwound through Qt to TApplication::notify", escaped);
    return result != 0 ? result : 1;
}

void ConnectPageSwitches(TCalcArea *area, std::function<void()> afterChange)
{
    GuardedConnect(area->PageControl(), &TPageControl::Changing, area,
                   [area](TPageControl *, QWidget *leaving) { area->PageLeaving(leaving); });
    GuardedConnect(area->PageControl(), &TPageControl::Change, area,
                   [area, afterChange = std::move(afterChange)](TPageControl *sender) {
                       area->PageEntered(sender->ActivePage());
                       if (afterChange)
                           afterChange();
                   });
}

void TCopyCommand::Connect(TCalcArea *area, QWidget *window)
{
    Target = nullptr;
    Enabled = false;
    QObject::connect(area, &TCalcArea::CopyTargetChanged, window, [this](QAbstractButton *button) {
        Target = button;
        Enabled = button != nullptr;
    });
    QObject::connect(area, &TCalcArea::CopyEnabledChanged, window,
                     [this](bool enabled) { Enabled = enabled && Target; });
    auto *copy = new QAction(window);
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    window->addAction(copy);
    QObject::connect(copy, &QAction::triggered, window, [this] {
        if (Enabled && Target)
            Target->click();
    });
}

QString ClipboardText()
{
    return QGuiApplication::clipboard()->text();
}

QImage ClipboardImage()
{
    return QGuiApplication::clipboard()->image();
}

void ClearClipboard()
{
    QGuiApplication::clipboard()->clear();
}
