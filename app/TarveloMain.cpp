#include "app/About.h"
#include "app/Main.h"
#include "app/Startup.h"
#include "controls/Application.h"

int main(int argc, char *argv[])
{
    const auto app = CreateApplication(argc, argv);
    const auto form = CreateMainWindow();
    form->show();
    return app->exec();
}
