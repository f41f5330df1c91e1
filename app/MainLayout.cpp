// The main window's designed furniture, as a form designer would hold it:
// the menu bar (captions, shortcuts, object names and the handler of each
// item; one radio item per row of the calculator table), the bevel under
// it and the two logo panels. The handlers are in Main.cpp.

#include "app/Main.h"

#include <span>

#include <QAction>
#include <QActionGroup>
#include <QFrame>
#include <QMenuBar>
#include <QSvgRenderer>

#include "app/Calculators.h"
#include "controls/Guarded.h"
#include "controls/Image.h"

namespace {

// The client area below the menu bar, in design pixels.
constexpr int ClientWidth = 292;
constexpr int ClientHeight = 409;

// A white, single-bordered panel filled by a picture with a hand cursor and
// a hint, which is also the picture's accessible name.
TImage *LogoImage(QWidget *parent, const char *panelName, const QRect &geometry, const char *name, const QString &hint)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(panelName));
    panel->setGeometry(geometry);
    panel->setFrameShape(QFrame::Box);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Dark));
    panel->setPalette(palette);
    auto *image = new TImage(panel);
    image->setObjectName(QLatin1String(name));
    image->setGeometry(panel->contentsRect());
    image->setCursor(Qt::PointingHandCursor);
    image->setToolTip(hint);
    image->setAccessibleName(hint);
    return image;
}

} // namespace

void TMainForm::CreateMenus()
{
    const auto menu = [this](const char *name, const char *caption) {
        QMenu *m = menuBar()->addMenu(QLatin1String(caption));
        m->setObjectName(QLatin1String(name));
        return m;
    };
    const auto item = [this](QMenu *menu, const char *name, const char *caption, const QKeySequence &shortcut,
                             void (TMainForm::*handler)()) {
        QAction *action = menu->addAction(QLatin1String(caption));
        action->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty())
            action->setShortcut(shortcut);
        if (handler)
            GuardedConnect(action, &QAction::triggered, this, handler);
        return action;
    };
    const auto separator = [](QMenu *menu, const char *name) {
        QAction *action = menu->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };

    FileMenuItem = menu("FileMenuItem", "&File");
    ExitMenuItem = item(FileMenuItem, "ExitMenuItem", "E&xit", Qt::CTRL | Qt::Key_X, &TMainForm::ExitMenuItemClick);
    EditMenuItem = menu("EditMenuItem", "&Edit");
    CopyMenuItem = item(EditMenuItem, "CopyMenuItem", "&Copy", Qt::CTRL | Qt::Key_C, &TMainForm::CopyMenuItemClick);
    CopyMenuItem->setEnabled(false);

    CalculatorMenuItem = menu("CalculatorMenuItem", "Ca&lculator");
    auto *group = new QActionGroup(this);
    const std::span<const TCalculator> rows = Calculators();
    FCalculators.resize(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QAction *action = item(CalculatorMenuItem, rows[i].MenuItemName, rows[i].Caption, rows[i].Shortcut, nullptr);
        action->setCheckable(true);
        action->setChecked(rows[i].Cycle == 0);
        group->addAction(action);
        GuardedConnect(action, &QAction::triggered, this, [this, i] { ShowCalculator(FCalculators[i]); });
        FCalculators[i].Row = &rows[i];
        FCalculators[i].MenuItem = action;
    }
    RadixelCalculatorMenuItem = findChild<QAction *>(QStringLiteral("RadixelCalculatorMenuItem"));
    IPSubnetCalculatorMenuItem = findChild<QAction *>(QStringLiteral("IPSubnetCalculatorMenuItem"));
    LatencyCalculatorMenuItem = findChild<QAction *>(QStringLiteral("LatencyCalculatorMenuItem"));
    PrefixCalculatorMenuItem = findChild<QAction *>(QStringLiteral("PrefixCalculatorMenuItem"));

    OptionsMenuItem = menu("OptionsMenuItem", "&Options");

    HelpMenuItem = menu("HelpMenuItem", "&Help");
    HelpTopicsMenuItem = item(HelpMenuItem, "HelpTopicsMenuItem", "&Help Topics", Qt::Key_F1,
                              &TMainForm::HelpTopicsMenuItemClick);
    SeparatorMenuItem1 = separator(HelpMenuItem, "SeparatorMenuItem1");
    WebMenuItem = item(HelpMenuItem, "WebMenuItem", "Visit Vorl Group's &Web Site", {}, &TMainForm::VisitWebSiteClick);
    SeparatorMenuItem2 = separator(HelpMenuItem, "SeparatorMenuItem2");
    AboutMenuItem = item(HelpMenuItem, "AboutMenuItem", "&About...", {}, &TMainForm::AboutMenuItemClick);
}

void TMainForm::CreateControls()
{
    auto *client = FClient = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setMinimumSize(ClientWidth, ClientHeight);
    setCentralWidget(client);

    MainMenuBevel = new QFrame(client);
    MainMenuBevel->setObjectName(QStringLiteral("MainMenuBevel"));
    MainMenuBevel->setFrameShape(QFrame::HLine);
    MainMenuBevel->setFrameShadow(QFrame::Sunken);
    MainMenuBevel->setGeometry(0, 0, ClientWidth, 2);

    CalcImage = LogoImage(client, "CalcLogoPanel", QRect(8, 8, 185, 73), "CalcImage",
                          QStringLiteral("Click to cycle calculators"));
    CalcLogoPanel = static_cast<QFrame *>(CalcImage->parentWidget());
    GuardedConnect(CalcImage, &TImage::Click, this, &TMainForm::CalcImageClick);

    VorlGroupImage = LogoImage(client, "VorlGroupLogoPanel", QRect(198, 8, 86, 73), "VorlGroupImage",
                               QStringLiteral("Click to go to Vorl Group's website"));
    VorlGroupLogoPanel = static_cast<QFrame *>(VorlGroupImage->parentWidget());
    GuardedConnect(VorlGroupImage, &TImage::Click, this, &TMainForm::VorlGroupImageClick);

    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
}
