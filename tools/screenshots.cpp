// Renders every page of the calculator, the About window and the help
// window to PNG files, offscreen, for the documentation:
//   screenshots <folder> [--scale <factor>]
// At a scale factor the whole program runs scaled (as on a high-density
// screen) and the files are named <name>@<factor>x.png.

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
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
#include "prefix/PrefixArea.h"
#include "prefix/PrefixTextPages.h"
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

// The Prefix calculator with an entry and a plan and a list to summarize,
// as a user would have typed them.
void FillPrefix(TPrefixArea *area, const QString &entry)
{
    area->PrefixEdit->setText(entry);
    area->PrefixEditChange(entry);
    const QString plan = QStringLiteral("Sales 120\nLab 50\nLinks 2\n");
    area->PlanTabSheet->TextMemo->setPlainText(plan);
    area->PlanMemoChange(plan);
    const QString summary = QStringLiteral("10.0.0.0/24\n10.0.1.0/24\n10.0.2.0 - 10.0.3.255\n192.168.1.7\n"
                                           "2001:db8::/33\n2001:db8:8000::/33  # the other half\n");
    area->SummarizeTabSheet->TextMemo->setPlainText(summary);
    area->SummaryMemoChange(summary);
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
        {"prefix", &TMainForm::PrefixCalculatorMenuItemClick, form->CalcArea<TPrefixArea>()},
    };
    FillPrefix(form->CalcArea<TPrefixArea>(), QStringLiteral("192.168.10.0/24"));
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

    // The Prefix page once more for an IPv6 prefix.
    form->PrefixCalculatorMenuItemClick();
    FillPrefix(form->CalcArea<TPrefixArea>(), QStringLiteral("2001:db8:abcd:12::1/56"));
    for (int i = 0; i < 2; ++i) {
        form->CalcArea<TPrefixArea>()->PrefixPageControl->setCurrentIndex(i);
        Settle();
        form->grab().save(QStringLiteral("%1/prefix-%2-ipv6%3.png").arg(folder).arg(i + 1).arg(suffix));
        ++count;
    }
    form->IPSubnetCalculatorMenuItemClick();

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
