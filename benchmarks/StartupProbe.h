#pragma once

// Measures a program's start: the launcher passes its wall-clock launch time
// (microseconds since the epoch) as the first argument; once the window's
// first frame has been painted, the probe optionally runs a visit step, then
// prints "startup_ms=<ms> rss_kb=<resident set>" and quits.

#include <functional>

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

class TStartupProbe : public QObject
{
public:
    TStartupProbe(QWidget *window, qint64 launchMicros, std::function<void()> visit)
        : FWindow(window), FLaunchMicros(launchMicros), FVisit(std::move(visit))
    {
        window->installEventFilter(this);
    }

    static qint64 NowMicros()
    {
        using namespace std::chrono;
        return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    }

    static long ResidentKb()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').first().toLong();
        return -1;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The first paint of the window: its first frame goes to the screen
        // when this event returns, so the time is taken right after it.
        if (watched == FWindow && event->type() == QEvent::Paint && !FDone) {
            FDone = true;
            QTimer::singleShot(0, this, [this] {
                const double ms = (NowMicros() - FLaunchMicros) / 1000.0;
                if (FVisit)
                    FVisit();
                QCoreApplication::processEvents();
                std::printf("startup_ms=%.1f rss_kb=%ld\n", ms, ResidentKb());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    QWidget *FWindow;
    qint64 FLaunchMicros;
    std::function<void()> FVisit;
    bool FDone = false;
};
