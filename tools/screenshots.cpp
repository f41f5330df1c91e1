// Renders every page of the calculator, the About window and the help
// window to PNG files, offscreen, for the documentation:
//   screenshots <folder> [--scale <factor>]
// At a scale factor the whole program runs scaled (as on a high-density
// screen) and the files are named <name>@<factor>x.png.

#include <QAbstractButton>
#include <QDir>
#include <QTabWidget>
#include <QTextBrowser>

#include "app/About.h"
#include "app/HelpWindow.h"
#include "app/Main.h"
#include "app/Startup.h"
#include "controls/Application.h"
#include "controls/CalcArea.h"
#include "controls/PageControl.h"
#include "ipsubnet/IPSubnetArea.h"
#include "latency/LatencyArea.h"
#include "radix/RadixelArea.h"

namespace {

QString FileName(QString text)
{
    text.remove(u'&');
    text = text.toLower();
    for (QChar &c : text)
        if (!c.isLetterOrNumber())
            c = u'-';
    return text;
}

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QByteArray scale;
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "--scale") == 0)
            scale = argv[i + 1];
    // Read when the application starts.
    if (!scale.isEmpty())
        qputenv("QT_SCALE_FACTOR", scale);
    const auto app = CreateApplication(argc, argv);
    const QString folder = argc > 1 && argv[1][0] != '-' ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    const QString suffix = scale.isEmpty() ? QString() : QStringLiteral("@%1x").arg(QString::fromLatin1(scale));
    QDir().mkpath(folder);

    const auto form = CreateMainWindow();
    form->show();
    Settle();

    struct TShot
    {
        const char *Name;
        void (TMainForm::*Show)();
        TCalcArea *Area;
    };
    const TShot shots[] = {
        {"radixel", &TMainForm::RadixelCalculatorMenuItemClick, form->CalcArea<TRadixelArea>()},
        {"ipsubnet", &TMainForm::IPSubnetCalculatorMenuItemClick, form->CalcArea<TIPSubnetArea>()},
        {"latency", &TMainForm::LatencyCalculatorMenuItemClick, form->CalcArea<TLatencyArea>()},
    };
    int count = 0;
    for (const TShot &shot : shots) {
        (form.get()->*shot.Show)();
        TPageControl *pages = shot.Area->PageControl();
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            Settle();
            const QString name = QStringLiteral("%1/%2-%3-%4%5.png")
                                     .arg(folder, QLatin1String(shot.Name))
                                     .arg(i + 1)
                                     .arg(FileName(pages->tabText(i)), suffix);
            form->grab().save(name);
            ++count;
        }
        pages->setCurrentIndex(0);
    }

    form->AboutMenuItemClick();
    Settle();
    if (auto *about = form->findChild<TAboutCalc *>()) {
        about->grab().save(folder + QStringLiteral("/about%1.png").arg(suffix));
        ++count;
    }
    form->HelpTopicsMenuItemClick();
    Settle();
    if (auto *help = form->findChild<THelpWindow *>()) {
        help->grab().save(folder + QStringLiteral("/help%1.png").arg(suffix));
        ++count;
    }
    std::printf("%d pictures in %s\n", count, qPrintable(folder));
    return 0;
}
