#include "prefix/PrefixArea.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

#include "controls/Application.h"
#include "controls/Artwork.h"
#include "controls/Beep.h"
#include "controls/Guarded.h"
#include "controls/PageControl.h"
#include "prefix/PrefixInfoPage.h"
#include "prefix/PrefixSettings.h"
#include "prefix/PrefixSplitPage.h"
#include "prefix/PrefixTextPages.h"
#include "prefix/PrefixWidgets.h"

namespace {

// The message line under the entry ends where the copy button begins.
constexpr int MessageWidth = 225;

// How many characters an edit put into `before` to make `after`: what is
// left between the start and the end the two texts share.
qsizetype InsertedLength(QStringView before, QStringView after)
{
    qsizetype start = 0;
    while (start < before.size() && start < after.size() && before[start] == after[start])
        ++start;
    qsizetype end = 0;
    while (end < before.size() - start && end < after.size() - start
           && before[before.size() - 1 - end] == after[after.size() - 1 - end])
        ++end;
    return after.size() - start - end;
}

} // namespace

TPrefixArea::TPrefixArea(QWidget *parent)
    : TCalcArea(parent)
{
    setObjectName(QStringLiteral("PrefixCalcPanel"));
    resize(276, 313);
    CreateEntry();
    CreatePages();
    ApplySettings(TPrefixSettings());
}

TPrefixArea::~TPrefixArea()
{
    // Children still raise events while QWidget tears them down (focus
    // leaving a field, a spin edit committing); none may reach this area,
    // whose model is gone by then. The pages go first, while it is here.
    for (QObject *child : findChildren<QObject *>())
        QObject::disconnect(child, nullptr, this, nullptr);
    delete PrefixPageControl;
}

void TPrefixArea::CreateEntry()
{
    PrefixEdit = new QLineEdit(this);
    PrefixEdit->setObjectName(QStringLiteral("PrefixEdit"));
    PrefixEdit->setGeometry(0, 16, 276, 21);
    PrefixEdit->setMaxLength(TPrefixSettings::MaxEntryLength);
    PrefixEdit->setPlaceholderText(QStringLiteral("10.1.2.3/19, 10.1.2.3 255.255.224.0, 2001:db8::/48"));
    PrefixLabel = CreatePrefixLabel(this, QStringLiteral("Address or &prefix"), 0, 0, PrefixEdit);
    PrefixLabel->setObjectName(QStringLiteral("PrefixLabel"));
    PrefixMessageLabel = CreateMessageLabel(this, "PrefixMessageLabel");
    PrefixMessageLabel->move(0, 42);
    GuardedConnect(PrefixEdit, &QLineEdit::textEdited, this, &TPrefixArea::PrefixEditChange);
    GuardedConnect(PrefixEdit, &QLineEdit::returnPressed, this, &TPrefixArea::PrefixEditReturn);

    CopyPrefixButton = CreateCopyButton(this, "CopyPrefixButton", QStringLiteral("Copy prefix results to clipboard"),
                                        QRect(232, 54, 25, 25));
    GuardedConnect(CopyPrefixButton, &QToolButton::clicked, this, &TPrefixArea::CopyPrefixButtonClick);
}

void TPrefixArea::CreatePages()
{
    PrefixPageControl = new TPageControl(this);
    PrefixPageControl->setAccessibleName(QStringLiteral("Prefix Calculator"));
    PrefixPageControl->setObjectName(QStringLiteral("PrefixPageControl"));
    PrefixPageControl->setGeometry(0, 88, 276, 225);

    PrefixTabSheet = new TPrefixInfoPage(FCalc.Info());
    PrefixPageControl->addTab(PrefixTabSheet, QStringLiteral("Prefix"));

    SplitTabSheet = new TPrefixSplitPage(FCalc.Split(), FCalc.GoToText(), FCalc.GoToMessage());
    PrefixPageControl->addTab(SplitTabSheet, QStringLiteral("Split"));
    GuardedConnect(SplitTabSheet, &TPrefixSplitPage::NewLengthEntered, this, &TPrefixArea::NewLengthSpinEditChange);
    GuardedConnect(SplitTabSheet, &TPrefixSplitPage::GoToTextEdited, this, &TPrefixArea::GoToEditChange);
    GuardedConnect(SplitTabSheet, &TPrefixSplitPage::GoToEntered, this, &TPrefixArea::GoToEditReturn);

    PlanTabSheet = new TPrefixPlanPage(FCalc.Plan(), FCalc.PlanText());
    PrefixPageControl->addTab(PlanTabSheet, QStringLiteral("Plan"));
    GuardedConnect(PlanTabSheet, &TPrefixTextPage::TextEdited, this, &TPrefixArea::PlanMemoChange);

    SummarizeTabSheet = new TPrefixSummaryPage(FCalc.Summary(), FCalc.SummaryText());
    PrefixPageControl->addTab(SummarizeTabSheet, QStringLiteral("Summarize"));
    GuardedConnect(SummarizeTabSheet, &TPrefixTextPage::TextEdited, this, &TPrefixArea::SummaryMemoChange);

    setTabOrder(PrefixEdit, PrefixPageControl);
}

// --- Page bookkeeping ---

void TPrefixArea::PageLeaving(QWidget *page)
{
    Q_UNUSED(page);
}

void TPrefixArea::PageEntered(QWidget *page)
{
    const auto hint = [page, this]() -> QString {
        if (page == SplitTabSheet)
            return QStringLiteral("Copy selected subnets to clipboard");
        if (page == PlanTabSheet)
            return QStringLiteral("Copy plan to clipboard");
        if (page == SummarizeTabSheet)
            return QStringLiteral("Copy summary to clipboard");
        return QStringLiteral("Copy prefix results to clipboard");
    }();
    CopyPrefixButton->setToolTip(hint);
    CopyPrefixButton->setAccessibleName(hint);
    UpdatePrefixDisplay();
    emit CopyTargetChanged(CopyPrefixButton);
    emit CopyEnabledChanged(FCopyEnabled);
}

// --- Handlers ---

void TPrefixArea::PrefixEditChange(const QString &text)
{
    // Results follow the typing; a text on its way to an address reads as
    // nothing yet, so only a text put in whole (pasted, dropped) that cannot
    // be read beeps at once. Enter beeps for a typed one.
    const bool whole = InsertedLength(FCalc.Info().EntryText(), text) > 1;
    if (!FCalc.SetEntryText(text) && whole)
        Beep();
    UpdatePrefixDisplay();
}

void TPrefixArea::PrefixEditReturn()
{
    if (!FCalc.Info().Message().isEmpty())
        Beep();
}

void TPrefixArea::NewLengthSpinEditChange(int length)
{
    FCalc.SetSplitLength(length);
    UpdatePrefixDisplay();
}

void TPrefixArea::GoToEditChange(const QString &text)
{
    FCalc.SetGoToText(text);
    UpdatePrefixDisplay();
}

void TPrefixArea::GoToEditReturn(const QString &text)
{
    const TReadResult<int> row = FCalc.GoTo(text);
    if (!row.Ok)
        Beep();
    UpdatePrefixDisplay();
    if (row.Ok)
        SplitTabSheet->ShowSubnet(row.Value);
}

void TPrefixArea::PlanMemoChange(const QString &text)
{
    FCalc.SetPlanText(text);
    UpdatePrefixDisplay();
}

void TPrefixArea::SummaryMemoChange(const QString &text)
{
    FCalc.SetSummaryText(text);
    UpdatePrefixDisplay();
}

void TPrefixArea::CopyPrefixButtonClick()
{
    QWidget *page = PrefixPageControl->currentWidget();
    QString text;
    if (page == SplitTabSheet) {
        const TGridRowSelection rows = SplitTabSheet->SelectedRows();
        if (rows.IsEmpty())
            return;
        const TReadResult<QString> copy = FCalc.Split().CopyText(rows.FirstRow, rows.LastRow);
        if (!copy.Ok) {
            // The clipboard keeps what it had.
            ShowErrorMessage(copy.Message);
            return;
        }
        text = copy.Value;
    } else if (page == PlanTabSheet) {
        text = FCalc.Plan().TableText();
    } else if (page == SummarizeTabSheet) {
        text = FCalc.Summary().PrefixListText();
    } else {
        text = FCalc.Info().RowsText();
    }
    QGuiApplication::clipboard()->setText(text);
}

// --- Display ---

void TPrefixArea::UpdatePrefixDisplay()
{
    if (PrefixEdit->text() != FCalc.Info().EntryText()) {
        const QSignalBlocker blocker(PrefixEdit);
        PrefixEdit->setText(FCalc.Info().EntryText());
    }
    ShowMessage(PrefixMessageLabel, FCalc.Info().Message(), MessageWidth);
    QWidget *page = PrefixPageControl->currentWidget();
    if (page == PrefixTabSheet)
        PrefixTabSheet->UpdateDisplay();
    else if (page == SplitTabSheet)
        SplitTabSheet->UpdateDisplay();
    else if (page == PlanTabSheet)
        PlanTabSheet->UpdateDisplay();
    else if (page == SummarizeTabSheet)
        SummarizeTabSheet->UpdateDisplay();
    UpdateCopyButton();
}

bool TPrefixArea::CanCopy() const
{
    QWidget *page = PrefixPageControl->currentWidget();
    if (page == SplitTabSheet)
        return FCalc.Split().CanSplit();
    if (page == PlanTabSheet)
        return true;
    if (page == SummarizeTabSheet)
        return FCalc.Summary().PrefixCount() > 0;
    return FCalc.Info().HasPrefix();
}

void TPrefixArea::UpdateCopyButton()
{
    const bool enabled = CanCopy();
    CopyPrefixButton->setEnabled(enabled);
    if (enabled == FCopyEnabled)
        return;
    FCopyEnabled = enabled;
    emit CopyEnabledChanged(enabled);
}

// --- Settings ---

void TPrefixArea::ApplySettings(const TPrefixSettings &settings)
{
    FCalc.SetEntryText(settings.Entry);
    FCalc.SetChosenSplitLength(settings.SplitLength);
    FCalc.SetPlanText(settings.Plan);
    FCalc.SetSummaryText(settings.Summary);
    TReadResult<int> row;
    if (!settings.GoTo.isEmpty())
        row = FCalc.GoTo(settings.GoTo);
    PrefixPageControl->setCurrentIndex(qBound(0, int(settings.Page), PrefixPageControl->count() - 1));
    UpdatePrefixDisplay();
    if (row.Ok)
        SplitTabSheet->ShowSubnet(row.Value);
}

void TPrefixArea::LoadSettings()
{
    LoadPrefixSettings();
}

bool TPrefixArea::LoadPrefixSettings()
{
    const std::optional<TPrefixSettings> settings = ReadPrefixSettings();
    if (!settings)
        return false;
    ApplySettings(*settings);
    if (!settings->Problems.isEmpty())
        ShowErrorMessage(settings->Problems.join(u'\n'));
    return true;
}

void TPrefixArea::SavePrefixSettings()
{
    TPrefixSettings settings;
    // An entry that cannot be read is kept as the prefix it left shown, so
    // the next start shows what the results are for.
    const TPrefixInfo &info = FCalc.Info();
    settings.Entry = info.Message().isEmpty() || !info.HasPrefix()
                         ? info.EntryText()
                         : info.Prefix().Address().Text() + u'/' + QString::number(info.Prefix().Length());
    settings.SplitLength = FCalc.Split().ChosenLength();
    settings.GoTo = FCalc.GoToText();
    settings.Plan = FCalc.PlanText();
    settings.Summary = FCalc.SummaryText();
    settings.Page = PrefixPageControl->currentIndex();
    WritePrefixSettings(settings);
}
