#pragma once

// The one properties dialog of the latency calculator's elements: topology,
// bandwidth and propagation delay of a network, or processing time and
// packet size of Node A or Node B. Modeless and on top; values reach the
// element only through OK or Apply, each of which raises OnApply. The
// latency area owns it and tells it which element to edit and when that
// element leaves the chain.

#include <optional>

#include <QDialog>

#include "latency/NetworkKinds.h"

class QAbstractButton;
class QComboBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class TBetterSpinEdit;

class TNetworkButtonForm final : public QDialog
{
    Q_OBJECT
public:
    // Client heights: the window's outer heights (196 and 164 pixels) less
    // its caption and borders.
    static constexpr int ClientWidth = 225;
    static constexpr int NetworkClientHeight = 169;
    static constexpr int NodeClientHeight = 137;

    explicit TNetworkButtonForm(QWidget *parent = nullptr);
    ~TNetworkButtonForm() override;
    Q_DISABLE_COPY_MOVE(TNetworkButtonForm)

    // Loads the element and shows the dialog; OK and Apply store into it.
    void EditNetworkButton(TNetworkElement *element);
    // The element has left the chain: if it is the one being edited, OK and
    // Apply no longer store anywhere (until another element is loaded).
    void ReleaseElement(const TNetworkElement *element);
    // Configures panels, bandwidth choices and propagation delay for a kind;
    // nothing happens when already configured for it.
    void SetKind(TNetworkButtonKind kind);
    void FillBandwidthList(TNetworkButtonKind kind);
    void DoApply();

    // The kind the dialog is configured for; none until the first SetKind.
    std::optional<TNetworkButtonKind> Kind() const { return FKind; }
    TNetworkElement *EditedElement() const { return FEditedElement; }
    // The topology item the user or the loading selected, -1 for none
    // (which is the case while a name is being typed).
    int SelectedTopologyIndex() const { return FTopologyItemIndex; }
    // Selects topology item `index` (-1: none) without the change handling.
    void SelectTopology(int index);

    // A stored network's topology name and bandwidth offered again, as the
    // user typed them in an earlier run. OfferTopology gives the name's
    // topology item, appending a name that is not there (-1 for an empty
    // name and "<Unknown Topology>", which are no topology); OfferBandwidth
    // appends a rate other than "0" that the choices lack.
    int OfferTopology(const QString &name);
    void OfferBandwidth(const QString &text);

    // Handlers.
    void TopologyComboBoxChange();
    void TopologyComboBoxExit();
    void BandwidthComboBoxExit();
    // Key filters; true when the key was consumed.
    bool BandwidthComboBoxKeyPress(QComboBox *sender, QKeyEvent *event);
    bool ComboBoxKeyPress(QComboBox *sender, QKeyEvent *event);
    // OK, Cancel and Apply. OK and Apply throw TVorlError for a bandwidth
    // that is not a number, before anything is stored.
    void ButtonClick(QAbstractButton *sender);

    QWidget *NetworkPanel = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *TopologyComboBox = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *BandwidthComboBox = nullptr;
    QLabel *PropDelayLabel = nullptr;
    TBetterSpinEdit *PropDelaySpinEdit = nullptr;

    QWidget *StationPanel = nullptr;
    QLabel *ProcessTimeLabel = nullptr;
    TBetterSpinEdit *ProcessTimeSpinEdit = nullptr;
    QLabel *PacketSizeLabel = nullptr;
    TBetterSpinEdit *PacketSizeSpinEdit = nullptr;

    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *ApplyButton = nullptr;

signals:
    void OnApply(TNetworkButtonForm *sender);

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void PlaceButtons(int top);

    TNetworkElement *FEditedElement = nullptr;
    std::optional<TNetworkButtonKind> FKind;
    int FTopologyItemIndex = -1;
    bool FCentred = false;
};
