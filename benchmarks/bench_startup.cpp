// Start-up of the calculator: the program's own start (application, main
// window, About window), its first frame, then every calculator visited once.

#include "app/About.h"
#include "app/Main.h"
#include "app/Startup.h"
#include "benchmarks/StartupProbe.h"
#include "controls/Application.h"

int main(int argc, char *argv[])
{
    const qint64 launch = argc > 1 ? QByteArray(argv[1]).toLongLong() : TStartupProbe::NowMicros();
    const auto app = CreateApplication(argc, argv);
    const auto form = CreateMainWindow();
    TMainForm *window = form.get();
    TStartupProbe probe(window, launch, [window] {
        window->LatencyCalculatorMenuItemClick();
        QCoreApplication::processEvents();
        window->RadixelCalculatorMenuItemClick();
        QCoreApplication::processEvents();
        window->PrefixCalculatorMenuItemClick();
        QCoreApplication::processEvents();
        window->IPSubnetCalculatorMenuItemClick();
    });
    form->show();
    return app->exec();
}
