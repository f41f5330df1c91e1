#include "app/Main.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFrame>
#include <QKeyEvent>
#include <QMenuBar>
#include <QSvgRenderer>
#include <QTimer>
#include <QUrl>

#include "app/About.h"
#include "app/FormPlacement.h"
#include "app/HelpWindow.h"
#include "app/SettingsStore.h"
#include "app/VorlGlobal.h"
#include "controls/Application.h"
#include "controls/Guarded.h"
#include "controls/Image.h"
#include "controls/PageControl.h"
#include "ipsubnet/IPSubnetArea.h"
#include "latency/LatencyArea.h"
#include "radix/RadixelArea.h"

const char *const MakerWebSite = "https://www.vorlgroup.example/";
const char *const ApplicationTitle = "Tarvelo Calculator";

namespace {

// The client area below the menu bar, in design pixels.
constexpr int ClientWidth = 292;
constexpr int ClientHeight = 409;

// Runs one step of start-up or shut-down; a failure is shown and the next
// step still runs, so one bad value never costs the others.
template <typename Step>
void RunStep(Step step)
{
    Guarded(step);
}

// A damaged settings file found at start, or by a save at exit, was kept
// aside (or saving stopped); the user hears of it once.
void ShowStoreProblem()
{
    const QString problem = TStoreBackend::User().TakeLoadProblem();
    if (!problem.isEmpty())
        ShowErrorMessage(problem);
}

QFrame *LogoPanel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(geometry);
    panel->setFrameShape(QFrame::Box);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Dark));
    panel->setPalette(palette);
    return panel;
}

} // namespace

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("MainForm"));
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate()
{
    CreateMenus();
    CreateControls();
    setWindowTitle(QLatin1String(ApplicationTitle));

    // The logos of the other two calculators are read when first shown:
    // parsing pictures nobody sees would only delay the first frame.
    CalcImage->SetPicture(Picture(FIPSubnetPicture, "dravoklogo.svg"));
    VorlGroupImage->SetPicture(Picture(FVorlGroupPicture, "vorlgrouplogo.svg"));

    ShowStoreProblem();

    RunStep([this] { IPSubnetCalcPanel->LoadSettings(); });

    bool shown = false;
    RunStep([this, &shown] {
        LoadMainSettings();
        const QList<TCalcArea *> areas = Areas();
        shown = std::any_of(areas.begin(), areas.end(), [this](TCalcArea *area) { return area->isVisibleTo(this); });
    });
    if (!shown)
        IPSubnetCalculatorMenuItemClick();
}

void TMainForm::CreateMenus()
{
    const auto action = [this](QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut) {
        auto *item = menu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty())
            item->setShortcut(shortcut);
        return item;
    };
    const auto menu = [this](const char *name, const QString &caption) {
        auto *m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };

    FileMenuItem = menu("FileMenuItem", QStringLiteral("&File"));
    ExitMenuItem = action(FileMenuItem, "ExitMenuItem", QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_X));
    GuardedConnect(ExitMenuItem, &QAction::triggered, this, &TMainForm::ExitMenuItemClick);

    EditMenuItem = menu("EditMenuItem", QStringLiteral("&Edit"));
    CopyMenuItem = action(EditMenuItem, "CopyMenuItem", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    CopyMenuItem->setEnabled(false);
    GuardedConnect(CopyMenuItem, &QAction::triggered, this, &TMainForm::CopyMenuItemClick);

    CalculatorMenuItem = menu("CalculatorMenuItem", QStringLiteral("Ca&lculator"));
    auto *calculators = new QActionGroup(this);
    RadixelCalculatorMenuItem = action(CalculatorMenuItem, "RadixelCalculatorMenuItem",
                                       QStringLiteral("&Radixel Calculator"), QKeySequence(Qt::CTRL | Qt::Key_H));
    IPSubnetCalculatorMenuItem = action(CalculatorMenuItem, "IPSubnetCalculatorMenuItem",
                                        QStringLiteral("&IP Subnet Calculator"), QKeySequence(Qt::CTRL | Qt::Key_I));
    LatencyCalculatorMenuItem = action(CalculatorMenuItem, "LatencyCalculatorMenuItem",
                                       QStringLiteral("&Latency Calculator"), QKeySequence(Qt::CTRL | Qt::Key_L));
    for (QAction *item : {RadixelCalculatorMenuItem, IPSubnetCalculatorMenuItem, LatencyCalculatorMenuItem}) {
        item->setCheckable(true);
        calculators->addAction(item);
    }
    IPSubnetCalculatorMenuItem->setChecked(true);
    GuardedConnect(RadixelCalculatorMenuItem, &QAction::triggered, this, &TMainForm::RadixelCalculatorMenuItemClick);
    GuardedConnect(IPSubnetCalculatorMenuItem, &QAction::triggered, this, &TMainForm::IPSubnetCalculatorMenuItemClick);
    GuardedConnect(LatencyCalculatorMenuItem, &QAction::triggered, this, &TMainForm::LatencyCalculatorMenuItemClick);

    OptionsMenuItem = menu("OptionsMenuItem", QStringLiteral("&Options"));

    HelpMenuItem = menu("HelpMenuItem", QStringLiteral("&Help"));
    HelpTopicsMenuItem = action(HelpMenuItem, "HelpTopicsMenuItem", QStringLiteral("&Help Topics"), QKeySequence(Qt::Key_F1));
    GuardedConnect(HelpTopicsMenuItem, &QAction::triggered, this, &TMainForm::HelpTopicsMenuItemClick);
    SeparatorMenuItem1 = HelpMenuItem->addSeparator();
    SeparatorMenuItem1->setObjectName(QStringLiteral("SeparatorMenuItem1"));
    WebMenuItem = action(HelpMenuItem, "WebMenuItem", QStringLiteral("Visit Vorl Group's &Web Site"), {});
    GuardedConnect(WebMenuItem, &QAction::triggered, this, &TMainForm::VisitWebSiteClick);
    SeparatorMenuItem2 = HelpMenuItem->addSeparator();
    SeparatorMenuItem2->setObjectName(QStringLiteral("SeparatorMenuItem2"));
    AboutMenuItem = action(HelpMenuItem, "AboutMenuItem", QStringLiteral("&About..."), {});
    GuardedConnect(AboutMenuItem, &QAction::triggered, this, &TMainForm::AboutMenuItemClick);

    // Line edits claim Ctrl+C and Ctrl+X for themselves; the menu's Exit and
    // (while it has a target) Copy must win over them in this window.
    qApp->installEventFilter(this);
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

    CalcLogoPanel = LogoPanel(client, "CalcLogoPanel", QRect(8, 8, 185, 73));
    CalcImage = new TImage(CalcLogoPanel);
    CalcImage->setObjectName(QStringLiteral("CalcImage"));
    CalcImage->setGeometry(CalcLogoPanel->contentsRect());
    CalcImage->setCursor(Qt::PointingHandCursor);
    CalcImage->setToolTip(QStringLiteral("Click to cycle calculators"));
    CalcImage->setAccessibleName(CalcImage->toolTip());
    GuardedConnect(CalcImage, &TImage::Click, this, &TMainForm::CalcImageClick);

    VorlGroupLogoPanel = LogoPanel(client, "VorlGroupLogoPanel", QRect(198, 8, 86, 73));
    VorlGroupImage = new TImage(VorlGroupLogoPanel);
    VorlGroupImage->setObjectName(QStringLiteral("VorlGroupImage"));
    VorlGroupImage->setGeometry(VorlGroupLogoPanel->contentsRect());
    VorlGroupImage->setCursor(Qt::PointingHandCursor);
    VorlGroupImage->setToolTip(QStringLiteral("Click to go to Vorl Group's website"));
    VorlGroupImage->setAccessibleName(VorlGroupImage->toolTip());
    GuardedConnect(VorlGroupImage, &TImage::Click, this, &TMainForm::VorlGroupImageClick);

    // The IP subnet calculator is always built: its Options menu is the
    // window's, and every page switch refreshes its display.
    IPSubnetCalcPanel = new TIPSubnetArea(client);
    PlaceArea(IPSubnetCalcPanel);
    OptionsMenuItem->addActions(IPSubnetCalcPanel->OptionsActions());

    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
}

// Builds `area` on first use, hidden in the calculators' place, and loads its
// settings (the IP subnet area, built by the window, loads in FormCreate).
template <typename Area>
Area *TMainForm::BuiltArea(Area *&area)
{
    if (!area) {
        // Loading selects controls of the hidden area; the keyboard focus
        // stays where the user has it (or gets it when the window activates).
        const QPointer<QWidget> focus = focusWidget();
        area = new Area(FClient);
        PlaceArea(area);
        RunStep([area] { area->LoadSettings(); });
        if (focusWidget() != focus) {
            if (focus)
                focus->setFocus(Qt::OtherFocusReason);
            else if (QWidget *taken = focusWidget())
                taken->clearFocus();
        }
    }
    return area;
}

TRadixelArea *TMainForm::RadixelCalcPanel()
{
    return BuiltArea(FRadixelCalcPanel);
}

TLatencyArea *TMainForm::LatencyCalcPanel()
{
    return BuiltArea(FLatencyCalcPanel);
}

void TMainForm::BuildDeferredAreas()
{
    // One calculator per turn of the event loop, so input is not held up.
    if (!FRadixelCalcPanel)
        RadixelCalcPanel();
    else if (!FLatencyCalcPanel)
        LatencyCalcPanel();
    if (!FRadixelCalcPanel || !FLatencyCalcPanel)
        QTimer::singleShot(0, this, GuardedSlot(this, &TMainForm::BuildDeferredAreas));
}

QList<TCalcArea *> TMainForm::Areas() const
{
    QList<TCalcArea *> areas;
    for (TCalcArea *area : {static_cast<TCalcArea *>(FRadixelCalcPanel), static_cast<TCalcArea *>(IPSubnetCalcPanel),
                            static_cast<TCalcArea *>(FLatencyCalcPanel)})
        if (area)
            areas << area;
    return areas;
}

void TMainForm::PlaceArea(TCalcArea *area)
{
    area->setGeometry(8, 88, 276, 313);
    area->hide();
    GuardedConnect(area->PageControl(), &TPageControl::Changing, this, &TMainForm::CalcPageControlChanging);
    GuardedConnect(area->PageControl(), &TPageControl::Change, this, &TMainForm::CalcPageControlChange);
    // Only the calculator shown sets the Copy command; a hidden one (being
    // built, or losing the focus as it is hidden) does not.
    GuardedConnect(area, &TCalcArea::CopyTargetChanged, this, [this, area](QAbstractButton *button) {
        if (!area->isVisibleTo(this))
            return;
        FCopyButton = button;
        CopyMenuItem->setEnabled(button != nullptr);
    });
    GuardedConnect(area, &TCalcArea::CopyEnabledChanged, this, [this, area](bool enabled) {
        if (area->isVisibleTo(this))
            CopyMenuItem->setEnabled(enabled && FCopyButton);
    });
}

TCalcArea *TMainForm::AreaOf(TPageControl *pageControl) const
{
    for (TCalcArea *area : Areas())
        if (area->PageControl() == pageControl)
            return area;
    return nullptr;
}

void TMainForm::ShowCalculator(QAction *item, QSvgRenderer *picture, TCalcArea *area)
{
    item->setChecked(true);
    CalcImage->SetPicture(picture);
    for (TCalcArea *other : Areas())
        if (other != area)
            other->hide();
    area->show();
    CopyMenuItem->setEnabled(false);
    CalcPageControlChange(area->PageControl());
}

QSvgRenderer *TMainForm::Picture(std::unique_ptr<QSvgRenderer> &picture, const char *fileName)
{
    if (!picture)
        picture = std::make_unique<QSvgRenderer>(QStringLiteral(":/artwork/") + QLatin1String(fileName));
    return picture.get();
}

void TMainForm::RadixelCalculatorMenuItemClick()
{
    ShowCalculator(RadixelCalculatorMenuItem, Picture(FRadixelPicture, "radixelcalclogo.svg"), RadixelCalcPanel());
}

void TMainForm::IPSubnetCalculatorMenuItemClick()
{
    ShowCalculator(IPSubnetCalculatorMenuItem, Picture(FIPSubnetPicture, "dravoklogo.svg"), IPSubnetCalcPanel);
}

void TMainForm::LatencyCalculatorMenuItemClick()
{
    ShowCalculator(LatencyCalculatorMenuItem, Picture(FLatencyPicture, "latencycalclogo.svg"), LatencyCalcPanel());
}

void TMainForm::CalcImageClick()
{
    if (IPSubnetCalculatorMenuItem->isChecked())
        LatencyCalculatorMenuItemClick();
    else if (LatencyCalculatorMenuItem->isChecked())
        RadixelCalculatorMenuItemClick();
    else
        IPSubnetCalculatorMenuItemClick();
}

void TMainForm::CalcPageControlChanging(TPageControl *sender, QWidget *leaving)
{
    if (TCalcArea *area = AreaOf(sender))
        area->PageLeaving(leaving);
}

void TMainForm::CalcPageControlChange(TPageControl *sender)
{
    if (TCalcArea *area = AreaOf(sender))
        area->PageEntered(sender->ActivePage());
    IPSubnetCalcPanel->UpdateSubnetDisplay();
}

void TMainForm::CopyMenuItemClick()
{
    if (CopyMenuItem->isEnabled() && FCopyButton)
        FCopyButton->click();
}

void TMainForm::ExitMenuItemClick()
{
    close();
}

void TMainForm::HelpTopicsMenuItemClick()
{
    if (!FHelpWindow)
        FHelpWindow = new THelpWindow(this);
    FHelpWindow->ShowContents();
}

void TMainForm::SetAboutWindow(TAboutCalc *about)
{
    FAboutCalc = about;
}

void TMainForm::AboutMenuItemClick()
{
    if (!FAboutCalc) {
        FAboutCalc = new TAboutCalc(this);
    }
    FAboutCalc->show();
    FAboutCalc->raise();
}

void TMainForm::VorlGroupImageClick()
{
    VisitWebSiteClick();
}

void TMainForm::VisitWebSiteClick()
{
    // Failures to open the browser are not the user's concern here.
    QDesktopServices::openUrl(QUrl(QLatin1String(MakerWebSite)));
}

bool TMainForm::LoadMainSettings()
{
    TRegKey key;
    if (!key.OpenKey(MainSettingsKey, false))
        return false;
    ReadFormPlacement(this, MainSettingsKey, QStringLiteral("Position"));
    switch (key.ReadInteger(QStringLiteral("Calculator"))) {
    case 0:
        RadixelCalculatorMenuItemClick();
        break;
    case 1:
        IPSubnetCalculatorMenuItemClick();
        break;
    case 2:
        LatencyCalculatorMenuItemClick();
        break;
    default:
        break;
    }
    return true;
}

void TMainForm::SaveMainSettings()
{
    TRegKey key;
    if (!key.OpenKey(MainSettingsKey, true))
        return;
    WriteFormPlacement(this, MainSettingsKey, QStringLiteral("Position"));
    const auto shown = [this](TCalcArea *area) { return area && area->isVisibleTo(this); };
    key.WriteInteger(QStringLiteral("Calculator"), shown(FRadixelCalcPanel)   ? 0
                                                   : shown(IPSubnetCalcPanel) ? 1
                                                                              : 2);
    key.CloseKey();
}

void TMainForm::FormDestroy()
{
    if (std::exchange(FSettingsSaved, true))
        return;
    // A calculator never built has its stored settings still unchanged.
    RunStep([this] { IPSubnetCalcPanel->SaveSettings(); });
    if (FLatencyCalcPanel)
        RunStep([this] { FLatencyCalcPanel->SaveSettings(); });
    RunStep([this] { SaveMainSettings(); });
    ShowStoreProblem();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    Guarded([this] { FormDestroy(); });
    if (FAboutCalc)
        FAboutCalc->hide();
    if (FHelpWindow)
        FHelpWindow->hide();
    event->accept();
}

void TMainForm::showEvent(QShowEvent *event)
{
    Guarded([this] { TrackFormPlacement(this); });
    QMainWindow::showEvent(event);
}

void TMainForm::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    // The first frame goes to the screen when painting returns; the
    // calculators not shown are built after it.
    if (!std::exchange(FDeferredAreasQueued, true))
        QTimer::singleShot(0, this, GuardedSlot(this, &TMainForm::BuildDeferredAreas));
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this) {
            const QKeyCombination combination = static_cast<QKeyEvent *>(event)->keyCombination();
            const bool exit = combination == QKeyCombination(Qt::ControlModifier, Qt::Key_X);
            const bool copy = combination == QKeyCombination(Qt::ControlModifier, Qt::Key_C) && CopyMenuItem->isEnabled();
            if (exit || copy) {
                // Not accepted: the shortcut map goes on to the menu command.
                event->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
