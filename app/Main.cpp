#include "app/Main.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMenu>
#include <QSvgRenderer>
#include <QTimer>
#include <QUrl>

#include "app/About.h"
#include "app/Calculators.h"
#include "app/FormPlacement.h"
#include "app/HelpWindow.h"
#include "app/SettingsStore.h"
#include "app/VorlGlobal.h"
#include "controls/Application.h"
#include "controls/Guarded.h"
#include "controls/Image.h"
#include "controls/PageControl.h"

const char *const MakerWebSite = "https://www.vorlgroup.example/";
const char *const ApplicationTitle = "Tarvelo Calculator";

namespace {

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

// Loads a calculator's settings. What it shows then is this instance's
// starting point: saved unchanged at exit, it writes nothing over what
// another running instance saved meanwhile (a failure to note it only
// means the values are written).
void LoadAreaSettings(TCalcArea *area)
{
    RunStep([area] { area->LoadSettings(); });
    TStoreBackend &store = TStoreBackend::User();
    store.SetNotingShown(true);
    try {
        area->SaveSettings();
    } catch (const std::exception &) {
    }
    store.SetNotingShown(false);
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
    // Line edits claim Ctrl+C and Ctrl+X for themselves; the menu's Exit and
    // (while it has a target) Copy must win over them in this window.
    qApp->installEventFilter(this);
    CreateControls();
    for (TCalculatorSlot &calculator : FCalculators)
        if (calculator.Row->Built == TBuilt::btWithWindow)
            BuildArea(calculator);
    setWindowTitle(QLatin1String(ApplicationTitle));

    // The logos of the other calculators are read when first shown:
    // parsing pictures nobody sees would only delay the first frame.
    TCalculatorSlot &start = *Find([](const TCalculatorSlot &c) { return c.Row->Cycle == 0; });
    CalcImage->SetPicture(Picture(start.Logo, start.Row->LogoFile));
    VorlGroupImage->SetPicture(Picture(FVorlGroupPicture, "vorlgrouplogo.svg"));

    ShowStoreProblem();

    for (TCalcArea *area : Areas())
        LoadAreaSettings(area);

    bool shown = false;
    RunStep([this, &shown] {
        LoadMainSettings();
        const QList<TCalcArea *> areas = Areas();
        shown = std::any_of(areas.begin(), areas.end(), [this](TCalcArea *area) { return area->isVisibleTo(this); });
    });
    if (!shown)
        ShowCalculator(start);
}

template <typename Match>
TMainForm::TCalculatorSlot *TMainForm::Find(Match match)
{
    const auto found = std::find_if(FCalculators.begin(), FCalculators.end(), match);
    return found == FCalculators.end() ? nullptr : &*found;
}

// The area in the calculators' place, hidden, wired to the frame; its
// settings are not loaded yet.
void TMainForm::BuildArea(TCalculatorSlot &calculator)
{
    TCalcArea *area = calculator.Area = calculator.Row->CreateArea(FClient);
    area->setGeometry(8, 88, 276, 313);
    area->hide();
    OptionsMenuItem->addActions(area->OptionsActions());
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

// Builds a calculator not built with the window on first use, and loads its
// settings (those built with the window load in FormCreate).
TCalcArea *TMainForm::BuiltArea(TCalculatorSlot &calculator)
{
    if (!calculator.Area) {
        // Loading selects controls of the hidden area; the keyboard focus
        // stays where the user has it (or gets it when the window activates).
        const QPointer<QWidget> focus = focusWidget();
        BuildArea(calculator);
        LoadAreaSettings(calculator.Area);
        if (focusWidget() != focus) {
            if (focus)
                focus->setFocus(Qt::OtherFocusReason);
            else if (QWidget *taken = focusWidget())
                taken->clearFocus();
        }
    }
    return calculator.Area;
}

TCalcArea *TMainForm::BuiltArea(const QMetaObject &areaType)
{
    TCalculatorSlot *calculator = Find([&areaType](const TCalculatorSlot &c) { return c.Row->AreaType == &areaType; });
    return calculator ? BuiltArea(*calculator) : nullptr;
}

void TMainForm::BuildDeferredAreas()
{
    // One calculator per turn of the event loop, so input is not held up.
    const auto unbuilt = [](const TCalculatorSlot &c) { return !c.Area; };
    if (TCalculatorSlot *next = Find(unbuilt))
        BuiltArea(*next);
    if (Find(unbuilt))
        QTimer::singleShot(0, this, GuardedSlot(this, &TMainForm::BuildDeferredAreas));
}

QList<TCalcArea *> TMainForm::Areas() const
{
    QList<TCalcArea *> areas;
    for (const TCalculatorSlot &calculator : FCalculators)
        if (calculator.Area)
            areas << calculator.Area;
    return areas;
}

void TMainForm::ShowCalculator(TCalculatorSlot &calculator)
{
    TCalcArea *area = BuiltArea(calculator);
    calculator.MenuItem->setChecked(true);
    CalcImage->SetPicture(Picture(calculator.Logo, calculator.Row->LogoFile));
    for (TCalcArea *other : Areas())
        if (other != area)
            other->hide();
    area->show();
    CopyMenuItem->setEnabled(false);
    CalcPageControlChange(area->PageControl());
}

void TMainForm::ShowCalculator(QAction *menuItem)
{
    ShowCalculator(*Find([menuItem](const TCalculatorSlot &c) { return c.MenuItem == menuItem; }));
}

QSvgRenderer *TMainForm::Picture(std::unique_ptr<QSvgRenderer> &picture, const char *fileName)
{
    if (!picture)
        picture = std::make_unique<QSvgRenderer>(QStringLiteral(":/artwork/") + QLatin1String(fileName));
    return picture.get();
}

void TMainForm::RadixelCalculatorMenuItemClick() { ShowCalculator(RadixelCalculatorMenuItem); }
void TMainForm::IPSubnetCalculatorMenuItemClick() { ShowCalculator(IPSubnetCalculatorMenuItem); }
void TMainForm::LatencyCalculatorMenuItemClick() { ShowCalculator(LatencyCalculatorMenuItem); }
void TMainForm::PrefixCalculatorMenuItemClick() { ShowCalculator(PrefixCalculatorMenuItem); }

void TMainForm::CalcImageClick()
{
    // From the calculator checked to the next of the cycle; from none, to the first.
    const TCalculatorSlot *checked = Find([](const TCalculatorSlot &c) { return c.MenuItem->isChecked(); });
    const int next = checked ? (checked->Row->Cycle + 1) % int(FCalculators.size()) : 0;
    ShowCalculator(*Find([next](const TCalculatorSlot &c) { return c.Row->Cycle == next; }));
}

// Both shared by every calculator's page control.
void TMainForm::CalcPageControlChanging(TPageControl *sender, QWidget *leaving)
{
    for (TCalcArea *area : Areas())
        if (area->PageControl() == sender)
            area->PageLeaving(leaving);
}

void TMainForm::CalcPageControlChange(TPageControl *sender)
{
    for (TCalcArea *area : Areas())
        if (area->PageControl() == sender)
            area->PageEntered(sender->ActivePage());
    for (TCalcArea *area : Areas())
        area->AnyPageSwitched();
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
    if (!FAboutCalc)
        FAboutCalc = new TAboutCalc(this);
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
    // Another number shows nothing here; FormCreate then shows the first.
    const qint32 stored = key.ReadInteger(QStringLiteral("Calculator"));
    if (TCalculatorSlot *calculator = Find([stored](const TCalculatorSlot &c) { return c.Row->Stored == stored; }))
        ShowCalculator(*calculator);
    return true;
}

void TMainForm::SaveMainSettings()
{
    TRegKey key;
    if (!key.OpenKey(MainSettingsKey, true))
        return;
    WriteFormPlacement(this, MainSettingsKey, QStringLiteral("Position"));
    const TCalculatorSlot *shown = Find([this](const TCalculatorSlot &c) { return c.Area && c.Area->isVisibleTo(this); });
    key.WriteInteger(QStringLiteral("Calculator"), (shown ? *shown->Row : CalculatorWhenNoneShown()).Stored);
    key.CloseKey();
}

void TMainForm::FormDestroy()
{
    if (std::exchange(FSettingsSaved, true))
        return;
    // A calculator never built has its stored settings still unchanged.
    for (TCalcArea *area : Areas())
        RunStep([area] { area->SaveSettings(); });
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
