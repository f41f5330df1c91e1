#pragma once

// The one properties dialog of the latency calculator's elements: topology,
// bandwidth and propagation delay of a network, or processing time and
// packet size of Node A or Node B. Modeless and on top; values reach the
// element only through OK or Apply, each of which raises OnApply.

#include <optional>

#include <QDialog>
#include <QPointer>

#include "latency/NetworkKinds.h"

class QAbstractButton;
class QComboBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class TBetterSpinEdit;
class TNetworkButton;

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

    // The single instance; created first (owned by `owner`) when there is
    // none and `create` is set.
    static TNetworkButtonForm *GetNetworkButtonForm(bool create, QWidget *owner = nullptr);

    // Loads the element and shows the dialog.
    void EditNetworkButton(TNetworkButton *element);
    // Configures panels, bandwidth choices and propagation delay for a kind;
    // nothing happens when already configured for it.
    void SetKind(TNetworkButtonKind kind);
    void FillBandwidthList(TNetworkButtonKind kind);
    void DoApply();

    // The kind the dialog is configured for; none until the first SetKind.
    std::optional<TNetworkButtonKind> Kind() const { return FKind; }
    TNetworkButton *EditedButton() const { return FEditedButton; }
    // The topology item the user or the loading selected, -1 for none
    // (which is the case while a name is being typed).
    int SelectedTopologyIndex() const { return FTopologyItemIndex; }
    // Selects topology item `index` (-1: none) without the change handling.
    void SelectTopology(int index);

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

    QPointer<TNetworkButton> FEditedButton;
    std::optional<TNetworkButtonKind> FKind;
    int FTopologyItemIndex = -1;
    bool FCentred = false;
};
