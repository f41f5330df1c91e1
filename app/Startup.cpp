#include "app/Startup.h"

#include "app/About.h"
#include "app/Main.h"
#include "controls/Application.h"
#include "controls/Artwork.h"
#include "controls/DesignFont.h"

std::unique_ptr<TApplication> CreateApplication(int &argc, char **argv)
{
    auto app = std::make_unique<TApplication>(argc, argv);
    TApplication::setApplicationName(QLatin1String(ApplicationTitle));
    TApplication::setOrganizationName(QStringLiteral("Vorl Group"));
    TApplication::setApplicationVersion(QStringLiteral("2.20"));
    TApplication::setDesktopFileName(QStringLiteral("com.vorlgroup.TarveloCalculator"));
    TApplication::setWindowIcon(ArtworkIcon(QStringLiteral("tarvelo-calculator.svg")));
    // The layouts are drawn in pixels for this font.
    TApplication::setFont(DesignFont());
    return app;
}

std::unique_ptr<TMainForm> CreateMainWindow()
{
    auto form = std::make_unique<TMainForm>();
    form->SetAboutWindow(new TAboutCalc(form.get()));
    return form;
}
