#pragma once

// The "Latency Graphs" page: the shares of the statistics as three
// proportional bars (A to B, B to A, round trip) beside a colour legend.
// Chain element k has legend row k and stripe k of every bar, Node A on
// top; the page can be copied as a picture.

#include <array>
#include <utility>

#include <QWidget>

class QFrame;
class QLabel;
class QToolButton;
class TCanvasPanel;
class TNetworkChain;
class TRainbowBar;

class TLatencyGraphsPage final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int LegendRows = 16;

    // Fills its parent, the 268 x 285 tab sheet. Shows `chain`, which
    // outlives the page, read-only.
    explicit TLatencyGraphsPage(const TNetworkChain &chain, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TLatencyGraphsPage)

    // Legend and bars for the chain's stored shares (3 ... 16 elements):
    // the rows of the elements shown with their display names, the others
    // hidden; one stripe per element in each bar. Each bar's accessible
    // description lists its stripes' elements and shares; each swatch's
    // names the element of its colour.
    void ShowResults();

    // The page as shown, without the copy button, onto the clipboard as a bitmap.
    void CopyLatencyGraphsButtonClick();

    TCanvasPanel *LatencyGraphsCanvasPanel = nullptr;
    QFrame *Bevel1 = nullptr;
    QLabel *Label42 = nullptr;
    QLabel *Label43 = nullptr;
    QLabel *Label44 = nullptr;
    TRainbowBar *RainbowBarA = nullptr;
    TRainbowBar *RainbowBarB = nullptr;
    TRainbowBar *RainbowBarAB = nullptr;
    QToolButton *CopyLatencyGraphsButton = nullptr;

    // Legend row k: its label and its colour swatch.
    std::array<std::pair<QLabel *, TCanvasPanel *>, LegendRows> FLegendList{};

private:
    const TNetworkChain &FChain;
};
