#pragma once

// The main window: a frame that shows one calculator area at a time in the
// same place, with the menu bar, the calculator logo (a click cycles the
// calculators) and the maker's logo. The calculators are the rows of one
// table (Main.cpp: menu item, logo, stored number, when the area is built,
// place in the logo's cycle), and the frame knows their areas only as
// TCalcArea: it routes the Edit menu's Copy command to the copy button of
// the page shown (`FCopyButton`), tells every area of each page switch, and
// saves every built calculator's settings and its own placement when it
// closes.

#include <memory>
#include <vector>

#include <QAbstractButton>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include "controls/CalcArea.h"

class QAction;
class QFrame;
class QMenu;
class QSvgRenderer;
class TAboutCalc;
class THelpWindow;
class TImage;
class TPageControl;
struct TCalculator;

extern const char *const MakerWebSite;
extern const char *const ApplicationTitle;

class TMainForm final : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // Settings of the root key: placement and the calculator shown.
    bool LoadMainSettings();
    void SaveMainSettings();

    // The About window is created after the main window and handed over.
    void SetAboutWindow(TAboutCalc *about);

    // Handlers.
    void CalcImageClick();
    void RadixelCalculatorMenuItemClick();
    void IPSubnetCalculatorMenuItemClick();
    void LatencyCalculatorMenuItemClick();
    void PrefixCalculatorMenuItemClick();
    void CalcPageControlChanging(TPageControl *sender, QWidget *leaving);
    void CalcPageControlChange(TPageControl *sender);
    void CopyMenuItemClick();
    void ExitMenuItemClick();
    void HelpTopicsMenuItemClick();
    void AboutMenuItemClick();
    void VorlGroupImageClick();
    void VisitWebSiteClick();

    QAbstractButton *CopyButton() const { return FCopyButton; }

    // The area of one calculator (TRadixelArea, TIPSubnetArea, ...), built
    // now if it was not yet, as a first showing would build it. Areas built
    // with the window are there from the start; the others are built when
    // first shown or asked for, or else right after the window's first
    // frame, so that frame does not wait for them.
    template <typename Area>
    Area *CalcArea()
    {
        return static_cast<Area *>(BuiltArea(Area::staticMetaObject));
    }

    QFrame *MainMenuBevel = nullptr;
    QFrame *CalcLogoPanel = nullptr;
    TImage *CalcImage = nullptr;
    QFrame *VorlGroupLogoPanel = nullptr;
    TImage *VorlGroupImage = nullptr;

    QMenu *FileMenuItem = nullptr;
    QAction *ExitMenuItem = nullptr;
    QMenu *EditMenuItem = nullptr;
    QAction *CopyMenuItem = nullptr;
    QMenu *CalculatorMenuItem = nullptr;
    QAction *RadixelCalculatorMenuItem = nullptr;
    QAction *IPSubnetCalculatorMenuItem = nullptr;
    QAction *LatencyCalculatorMenuItem = nullptr;
    QAction *PrefixCalculatorMenuItem = nullptr;
    QMenu *OptionsMenuItem = nullptr;
    QMenu *HelpMenuItem = nullptr;
    QAction *HelpTopicsMenuItem = nullptr;
    QAction *SeparatorMenuItem1 = nullptr;
    QAction *WebMenuItem = nullptr;
    QAction *SeparatorMenuItem2 = nullptr;
    QAction *AboutMenuItem = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One row of the calculator table and what the window made of it.
    struct TCalculatorSlot
    {
        const TCalculator *Row = nullptr;
        QAction *MenuItem = nullptr;
        TCalcArea *Area = nullptr;           // none until built
        std::unique_ptr<QSvgRenderer> Logo;  // read when first shown
    };

    void FormCreate();
    void FormDestroy();
    void CreateMenus();
    void CreateControls();
    // The first calculator that `match` accepts, or none.
    template <typename Match>
    TCalculatorSlot *Find(Match match);
    void BuildArea(TCalculatorSlot &calculator);
    TCalcArea *BuiltArea(TCalculatorSlot &calculator);
    TCalcArea *BuiltArea(const QMetaObject &areaType);
    void BuildDeferredAreas();
    QList<TCalcArea *> Areas() const;
    void ShowCalculator(TCalculatorSlot &calculator);
    void ShowCalculator(QAction *menuItem);
    // The picture of an artwork file, read on first use.
    static QSvgRenderer *Picture(std::unique_ptr<QSvgRenderer> &picture, const char *fileName);

    QWidget *FClient = nullptr;
    std::vector<TCalculatorSlot> FCalculators;  // in the Calculator menu's order
    bool FDeferredAreasQueued = false;
    QPointer<QAbstractButton> FCopyButton;
    std::unique_ptr<QSvgRenderer> FVorlGroupPicture;
    QPointer<QWidget> FAboutCalc;
    THelpWindow *FHelpWindow = nullptr;
    bool FSettingsSaved = false;
};
