#include "latency/NetworkButtonForm.h"

#include <limits>

#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "controls/BetterSpinEdit.h"
#include "controls/Guarded.h"

namespace {

constexpr int PanelLeft = 48;
// 4 pixels wider than drawn, so that "Propagation Delay (msec)" is not cut
// off at the design font; the panels have no border, so nothing else shows.
constexpr int PanelWidth = 133;
constexpr int FieldWidth = 121;
constexpr int FieldHeight = 21;
constexpr int LabelHeight = 16;
constexpr int NetworkButtonTop = 136;
constexpr int NodeButtonTop = 104;

// The value a spin edit shows, committed first: a value typed but not yet
// confirmed (OK by its access key leaves the focus where it is) still counts.
qint32 CommittedValue(TBetterSpinEdit *edit)
{
    edit->SetValue(edit->ReadTextValue());
    return edit->Value();
}

// The width at which an editable box shows `text` whole: the drawn 121
// pixels, more where the style's frame and arrow leave too little room. A
// line edit keeps 2 pixels each side and 1 for the cursor.
int FittingComboWidth(const QComboBox *box, const QString &text)
{
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = true;
    option.frame = true;
    option.rect = QRect(0, 0, FieldWidth, FieldHeight);
    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
    const int needed = box->fontMetrics().horizontalAdvance(text) + 5;
    return FieldWidth + qMax(0, needed - field.width());
}

} // namespace

TNetworkButtonForm::TNetworkButtonForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("NetworkButtonForm"));
    setModal(false);

    const auto label = [](QWidget *parent, const char *name, const QString &caption, int top) {
        auto *l = new QLabel(caption, parent);
        l->setObjectName(QLatin1String(name));
        // Labels size to their text, as wide as the panel allows.
        l->setGeometry(4, top, qMax(FieldWidth, l->sizeHint().width()), LabelHeight);
        return l;
    };
    const auto spinEdit = [](QWidget *parent, const char *name, int top, qint32 value) {
        auto *e = new TBetterSpinEdit(parent);
        e->setObjectName(QLatin1String(name));
        e->setGeometry(4, top, FieldWidth, FieldHeight);
        e->SetMinValue(0);
        e->SetMaxValue(std::numeric_limits<qint32>::max());
        e->SetValue(value);
        return e;
    };
    const auto comboBox = [this](QWidget *parent, const char *name, int top) {
        auto *c = new QComboBox(parent);
        c->setObjectName(QLatin1String(name));
        c->setEditable(true);
        // Typed names are added by the exit handling only, and never completed.
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setCompleter(nullptr);
        c->setGeometry(4, top, FieldWidth, FieldHeight);
        c->installEventFilter(this);
        return c;
    };

    NetworkPanel = new QWidget(this);
    NetworkPanel->setObjectName(QStringLiteral("NetworkPanel"));
    NetworkPanel->setGeometry(PanelLeft, 0, PanelWidth, 129);
    Label1 = label(NetworkPanel, "Label1", QStringLiteral("&Topology"), 4);
    TopologyComboBox = comboBox(NetworkPanel, "TopologyComboBox", 20);
    for (const TTopology &topology : TopologyTable())
        TopologyComboBox->addItem(topology.Text);
    Label2 = label(NetworkPanel, "Label2", QStringLiteral("&Bandwidth (Mbps)"), 44);
    BandwidthComboBox = comboBox(NetworkPanel, "BandwidthComboBox", 60);
    PropDelayLabel = label(NetworkPanel, "PropDelayLabel", QStringLiteral("Propagation &Delay (msec)"), 84);
    PropDelaySpinEdit = spinEdit(NetworkPanel, "PropDelaySpinEdit", 100, 0);
    // The initial "<Unknown Topology>" is the longest text the boxes offer.
    const int boxWidth = FittingComboWidth(TopologyComboBox, UnknownTopologyName);
    for (QComboBox *box : {TopologyComboBox, BandwidthComboBox})
        box->resize(boxWidth, FieldHeight);
    NetworkPanel->resize(qMax(PanelWidth, 4 + boxWidth + 4), NetworkPanel->height());
    Label1->setBuddy(TopologyComboBox);
    Label2->setBuddy(BandwidthComboBox);
    PropDelayLabel->setBuddy(PropDelaySpinEdit);

    StationPanel = new QWidget(this);
    StationPanel->setObjectName(QStringLiteral("StationPanel"));
    StationPanel->setGeometry(PanelLeft, 0, PanelWidth, 97);
    ProcessTimeLabel = label(StationPanel, "ProcessTimeLabel", QStringLiteral("Process &Time (msec)"), 4);
    ProcessTimeSpinEdit = spinEdit(StationPanel, "ProcessTimeSpinEdit", 20, 0);
    PacketSizeLabel = label(StationPanel, "PacketSizeLabel", QStringLiteral("Packet &Size (bytes)"), 52);
    PacketSizeSpinEdit = spinEdit(StationPanel, "PacketSizeSpinEdit", 68, 512);
    ProcessTimeLabel->setBuddy(ProcessTimeSpinEdit);
    PacketSizeLabel->setBuddy(PacketSizeSpinEdit);

    const auto button = [this](const char *name, const QString &caption, int left) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(left, NetworkButtonTop, 65, 25);
        GuardedConnect(b, &QPushButton::clicked, this, [this, b] { ButtonClick(b); });
        return b;
    };
    OKButton = button("OKButton", QStringLiteral("&OK"), 8);
    CancelButton = button("CancelButton", QStringLiteral("&Cancel"), 80);
    ApplyButton = button("ApplyButton", QStringLiteral("&Apply"), 152);
    OKButton->setDefault(true);

    GuardedConnect(TopologyComboBox, &QComboBox::activated, this, [this](int index) {
        FTopologyItemIndex = index;
        TopologyComboBoxChange();
    });
    GuardedConnect(TopologyComboBox->lineEdit(), &QLineEdit::textEdited, this, [this] {
        FTopologyItemIndex = -1;
        TopologyComboBoxChange();
    });

    FormCreate();
}

TNetworkButtonForm::~TNetworkButtonForm() = default;

void TNetworkButtonForm::FormCreate()
{
    setFixedSize(ClientWidth, NetworkClientHeight);
    StationPanel->move(PanelLeft, 0);
    TopologyComboBox->setCurrentIndex(-1);
    TopologyComboBox->setEditText(UnknownTopologyName);
    BandwidthComboBox->setEditText(QStringLiteral("0"));
    StationPanel->hide();
}

void TNetworkButtonForm::EditNetworkButton(TNetworkElement *element)
{
    if (!element)
        return;
    FEditedElement = element;
    SetKind(element->NetworkButtonKind());

    const QString bandwidth = FormatBandwidth(element->Bandwidth);
    int choice = BandwidthComboBox->findText(bandwidth, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (choice < 0) {
        BandwidthComboBox->addItem(bandwidth);
        choice = BandwidthComboBox->count() - 1;
    }
    BandwidthComboBox->setCurrentIndex(choice);

    setWindowTitle(element->NetworkName + QStringLiteral(" Properties"));
    PacketSizeSpinEdit->SetValue(element->PacketSize);
    ProcessTimeSpinEdit->SetValue(element->ProcessTime);
    PropDelaySpinEdit->SetValue(element->PropDelay);
    SelectTopology(element->TopologyIndex);
    show();
    raise();
}

void TNetworkButtonForm::ReleaseElement(const TNetworkElement *element)
{
    if (element && element == FEditedElement)
        FEditedElement = nullptr;
}

int TNetworkButtonForm::OfferTopology(const QString &name)
{
    int index = TopologyComboBox->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0 && !name.isEmpty() && name != UnknownTopologyName) {
        const QSignalBlocker blocker(TopologyComboBox);
        TopologyComboBox->addItem(name);
        index = TopologyComboBox->count() - 1;
    }
    return index;
}

void TNetworkButtonForm::OfferBandwidth(const QString &text)
{
    if (text != QLatin1String("0")
        && BandwidthComboBox->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        const QSignalBlocker blocker(BandwidthComboBox);
        BandwidthComboBox->addItem(text);
    }
}

void TNetworkButtonForm::SelectTopology(int index)
{
    const QSignalBlocker blocker(TopologyComboBox);
    if (index >= 0 && index < TopologyComboBox->count()) {
        TopologyComboBox->setCurrentIndex(index);
        FTopologyItemIndex = index;
    } else {
        TopologyComboBox->setCurrentIndex(-1);
        TopologyComboBox->setEditText(UnknownTopologyName);
        FTopologyItemIndex = -1;
    }
}

void TNetworkButtonForm::SetKind(TNetworkButtonKind kind)
{
    if (FKind == kind)
        return;
    FillBandwidthList(kind);
    if (IsNodeKind(kind)) {
        setFixedSize(ClientWidth, NodeClientHeight);
        PlaceButtons(NodeButtonTop);
        PropDelaySpinEdit->SetValue(0);
        StationPanel->show();
        NetworkPanel->hide();
    } else {
        setFixedSize(ClientWidth, NetworkClientHeight);
        PlaceButtons(NetworkButtonTop);
        NetworkPanel->show();
        StationPanel->hide();
        const bool enabled = PropDelayEnabled(kind);
        PropDelayLabel->setEnabled(enabled);
        PropDelaySpinEdit->setEnabled(enabled);
        if (const std::optional<qint32> delay = DefaultPropDelay(kind))
            PropDelaySpinEdit->SetValue(*delay);
    }
    FKind = kind;
}

void TNetworkButtonForm::FillBandwidthList(TNetworkButtonKind kind)
{
    BandwidthComboBox->clear();
    BandwidthComboBox->addItems(BandwidthChoices(kind));
    // No choice is selected until the caller selects one.
    BandwidthComboBox->setCurrentIndex(-1);
}

void TNetworkButtonForm::DoApply()
{
    emit OnApply(this);
}

void TNetworkButtonForm::TopologyComboBoxChange()
{
    const int i = FTopologyItemIndex;
    const QList<TTopology> &table = TopologyTable();
    if (i >= 0 && i < table.size()) {
        SetKind(table[i].Kind);
        BandwidthComboBox->setCurrentIndex(
            BandwidthComboBox->findText(table[i].DefaultBandwidth, Qt::MatchExactly | Qt::MatchCaseSensitive));
    } else {
        SetKind(TNetworkButtonKind::nbOther);
        BandwidthComboBox->setCurrentIndex(-1);
        BandwidthComboBox->setEditText(QStringLiteral("0"));
    }
    if (FKind && !IsNodeKind(*FKind))
        setWindowTitle(TopologyComboBox->currentText() + QStringLiteral(" Properties"));
}

void TNetworkButtonForm::TopologyComboBoxExit()
{
    const QString text = TopologyComboBox->currentText();
    const int index = TopologyComboBox->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        SelectTopology(index);
    } else if (text.isEmpty()) {
        const QSignalBlocker blocker(TopologyComboBox);
        TopologyComboBox->setEditText(UnknownTopologyName);
    } else if (text != UnknownTopologyName) {
        const QSignalBlocker blocker(TopologyComboBox);
        TopologyComboBox->addItem(text);
        SelectTopology(TopologyComboBox->count() - 1);
    }
}

void TNetworkButtonForm::BandwidthComboBoxExit()
{
    const QString text = BandwidthComboBox->currentText();
    if (text.isEmpty()) {
        BandwidthComboBox->setEditText(QStringLiteral("0"));
    } else if (text != QLatin1String("0")
               && BandwidthComboBox->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        BandwidthComboBox->addItem(text);
        // Adding to an empty list would select the item; the text stays as typed.
        BandwidthComboBox->setEditText(text);
    }
}

bool TNetworkButtonForm::BandwidthComboBoxKeyPress(QComboBox *sender, QKeyEvent *event)
{
    const QString text = event->text();
    if (!text.isEmpty()) {
        const QChar c = text.front();
        // DEL is the text of the Delete key on X11: an editing key, like Backspace.
        const bool control = c.unicode() < 32 || c.unicode() == 0x7f;
        const bool passes = control || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
        if (!passes)
            return true;
    }
    return ComboBoxKeyPress(sender, event);
}

bool TNetworkButtonForm::ComboBoxKeyPress(QComboBox *sender, QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (sender == TopologyComboBox)
        TopologyComboBoxExit();
    else if (sender == BandwidthComboBox)
        BandwidthComboBoxExit();
    return true;
}

void TNetworkButtonForm::ButtonClick(QAbstractButton *sender)
{
    if (sender == OKButton || sender == ApplyButton) {
        TNetworkElement *element = FEditedElement;
        if (element && element->IsNode()) {
            element->PacketSize = CommittedValue(PacketSizeSpinEdit);
            element->RebuildDisplayName();
            element->ProcessTime = CommittedValue(ProcessTimeSpinEdit);
        } else if (element && FKind) {
            // A command by access key leaves the focus in a box whose exit
            // handling has not run yet.
            TopologyComboBoxExit();
            BandwidthComboBoxExit();
            // The box shows the rate to 6 significant digits: a text that
            // still reads as the stored rate keeps it exactly.
            const QString text = BandwidthComboBox->currentText();
            const double bandwidth
                = text == FormatBandwidth(element->Bandwidth) ? element->Bandwidth : ReadBandwidthText(text);
            element->Bandwidth = bandwidth;
            element->SetNetworkButtonKind(*FKind);
            element->NetworkName = TopologyComboBox->currentText();
            element->TopologyIndex = static_cast<qint16>(FTopologyItemIndex);
            element->RebuildDisplayName();
            element->PropDelay = CommittedValue(PropDelaySpinEdit);
        }
        DoApply();
    }
    if (sender == OKButton || sender == CancelButton)
        hide();
}

void TNetworkButtonForm::reject()
{
    Guarded([this] { ButtonClick(CancelButton); });
}

bool TNetworkButtonForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QComboBox *>(watched);
    if (box && (box == TopologyComboBox || box == BandwidthComboBox)) {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            return GuardedOr(true, [&] {
                return box == BandwidthComboBox ? BandwidthComboBoxKeyPress(box, key) : ComboBoxKeyPress(box, key);
            });
        }
        // Only leaving the box for another control of the dialog is an exit:
        // the box's own list, or another window taking the activation,
        // takes the focus only for a while.
        const Qt::FocusReason reason
            = event->type() == QEvent::FocusOut ? static_cast<QFocusEvent *>(event)->reason() : Qt::NoFocusReason;
        if (event->type() == QEvent::FocusOut && reason != Qt::PopupFocusReason
            && reason != Qt::ActiveWindowFocusReason) {
            if (box == TopologyComboBox)
                Guarded([this] { TopologyComboBoxExit(); });
            else
                Guarded([this] { BandwidthComboBoxExit(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TNetworkButtonForm::showEvent(QShowEvent *event)
{
    if (!FCentred) {
        FCentred = true;
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->geometry().center());
            move(frame.topLeft());
        }
    }
    QDialog::showEvent(event);
}

void TNetworkButtonForm::PlaceButtons(int top)
{
    for (QPushButton *button : {OKButton, CancelButton, ApplyButton})
        button->move(button->x(), top);
}
