#include <QIcon>

#include "app/About.h"
#include "app/Main.h"
#include "controls/Application.h"
#include "controls/DesignFont.h"

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QLatin1String(ApplicationTitle));
    TApplication::setOrganizationName(QStringLiteral("Vorl Group"));
    TApplication::setApplicationVersion(QStringLiteral("2.20"));
    TApplication::setDesktopFileName(QStringLiteral("com.vorlgroup.TarveloCalculator"));
    TApplication::setWindowIcon(QIcon(QStringLiteral(":/artwork/tarvelo-calculator.svg")));
    // The layouts are drawn in pixels for this font.
    TApplication::setFont(DesignFont());

    TMainForm form;
    auto *about = new TAboutCalc(&form);
    form.SetAboutWindow(about);
    form.show();
    return app.exec();
}
