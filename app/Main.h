#pragma once

// The main window: a frame that shows one of the three calculator areas at
// a time in the same place, with the menu bar, the calculator logo (a click
// cycles the calculators) and the maker's logo. It routes the Edit menu's
// Copy command to the copy button of the page shown (`FCopyButton`), does
// the page-switch bookkeeping common to all page controls, and saves every
// calculator's settings and its own placement when it closes.

#include <memory>

#include <QMainWindow>
#include <QList>
#include <QPointer>

#include <QAbstractButton>
class QAction;
class QFrame;
class QMenu;
class QSvgRenderer;
class TAboutCalc;
class TCalcArea;
class THelpWindow;
class TImage;
class TIPSubnetArea;
class TLatencyArea;
class TPageControl;
class TRadixelArea;

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
    void CalcPageControlChanging(TPageControl *sender, QWidget *leaving);
    void CalcPageControlChange(TPageControl *sender);
    void CopyMenuItemClick();
    void ExitMenuItemClick();
    void HelpTopicsMenuItemClick();
    void AboutMenuItemClick();
    void VorlGroupImageClick();
    void VisitWebSiteClick();

    QAbstractButton *CopyButton() const { return FCopyButton; }

    // The calculator areas. The IP subnet calculator is built with the
    // window; the other two when first needed (shown or asked for) or else
    // right after the window's first frame, so that frame does not wait.
    TRadixelArea *RadixelCalcPanel();
    TIPSubnetArea *IPSubnetCalcPanel = nullptr;
    TLatencyArea *LatencyCalcPanel();

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
    void FormCreate();
    void FormDestroy();
    void CreateMenus();
    void CreateControls();
    template <typename Area>
    Area *BuiltArea(Area *&area);
    void BuildDeferredAreas();
    QList<TCalcArea *> Areas() const;
    void PlaceArea(TCalcArea *area);
    void ShowCalculator(QAction *item, QSvgRenderer *picture, TCalcArea *area);
    TCalcArea *AreaOf(TPageControl *pageControl) const;
    // The picture of an artwork file, read on first use.
    static QSvgRenderer *Picture(std::unique_ptr<QSvgRenderer> &picture, const char *fileName);

    QWidget *FClient = nullptr;
    TRadixelArea *FRadixelCalcPanel = nullptr;
    TLatencyArea *FLatencyCalcPanel = nullptr;
    bool FDeferredAreasQueued = false;
    QPointer<QAbstractButton> FCopyButton;
    std::unique_ptr<QSvgRenderer> FRadixelPicture;
    std::unique_ptr<QSvgRenderer> FIPSubnetPicture;
    std::unique_ptr<QSvgRenderer> FLatencyPicture;
    std::unique_ptr<QSvgRenderer> FVorlGroupPicture;
    QPointer<QWidget> FAboutCalc;
    THelpWindow *FHelpWindow = nullptr;
    bool FSettingsSaved = false;
};
