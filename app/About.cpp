#include "app/About.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>

#include "app/Main.h"
#include "controls/Guarded.h"
#include "controls/Image.h"

namespace {

QPlainTextEdit *Memo(QWidget *parent, const char *name, const QRect &geometry, const QStringList &lines)
{
    auto *memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setGeometry(geometry);
    memo->setReadOnly(true);
    memo->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    memo->viewport()->setCursor(Qt::ArrowCursor);
    memo->setFocusPolicy(Qt::ClickFocus);
    memo->setPlainText(lines.join(u'\n'));
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    memo->setPalette(palette);
    return memo;
}

} // namespace

TAboutCalc::TAboutCalc(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                          | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("AboutCalc"));
    setModal(false);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 8, 113, 113);
    Panel1->setFrameShape(QFrame::Box);
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);

    AboutImage = new TImage(Panel1);
    AboutImage->setObjectName(QStringLiteral("AboutImage"));
    AboutImage->setGeometry(2, 2, 109, 109);
    AboutImage->setAccessibleName(QStringLiteral("Tarvelo Calculator"));
    GuardedConnect(AboutImage, &TImage::DblClick, this, &TAboutCalc::AboutImageDblClick);

    CreditMemo = new QLabel(Panel1);
    CreditMemo->setObjectName(QStringLiteral("CreditMemo"));
    CreditMemo->setGeometry(2, 40, 105, 41);
    CreditMemo->setAlignment(Qt::AlignCenter);
    CreditMemo->setWordWrap(true);
    CreditMemo->setText(QStringLiteral("Made for network\nengineers everywhere"));
    CreditMemo->setCursor(Qt::ArrowCursor);
    QFont creditFont = CreditMemo->font();
    creditFont.setPointSize(10);
    creditFont.setPixelSize(13);
    CreditMemo->setFont(creditFont);
    QPalette teal = white;
    teal.setColor(QPalette::WindowText, QColor(0, 128, 128));
    CreditMemo->setPalette(teal);
    CreditMemo->hide();
    CreditMemo->installEventFilter(this);

    InfoMemo = Memo(this, "InfoMemo", QRect(128, 8, 177, 113),
                    {QStringLiteral("Calculator"), QStringLiteral("Release"), QStringLiteral("Four network calculators"),
                     QString(), QStringLiteral("For network engineers."), QStringLiteral("Copyright Vorl Group"),
                     QStringLiteral("All rights reserved."), QStringLiteral("www.vorlgroup.example")});
    InfoMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    InfoMemo->document()->setDocumentMargin(2);
    NoticeMemo = Memo(this, "NoticeMemo", QRect(8, 130, 297, 113),
                      {QStringLiteral("This program is provided as is, without warranty"),
                       QStringLiteral("of any kind. Check every result that matters"),
                       QStringLiteral("before you configure a network with it."), QString(),
                       QStringLiteral("IP Subnet follows the classful rules; its"),
                       QStringLiteral("\"Allow 1 Subnet Bit\" option follows RFC 1878."), QString(),
                       QStringLiteral("Settings are kept per user and restored at the"),
                       QStringLiteral("next start.")});
    NoticeMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    NoticeMemo->hide();

    OKButton = new QPushButton(QStringLiteral("&OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(120, 249, 75, 25);
    OKButton->setDefault(true);
    OKButton->setAutoDefault(true);
    GuardedConnect(OKButton, &QPushButton::clicked, this, &TAboutCalc::OKButtonClick);

    FormCreate();
}

TAboutCalc::~TAboutCalc() = default;

void TAboutCalc::FormCreate()
{
    NoticeMemo->move(NoticeMemo->x(), 128);
    setFixedSize(313, OKButton->y() + OKButton->height() + 8);
    setWindowTitle(QStringLiteral("About the ") + QLatin1String(ApplicationTitle));

    QStringList info = InfoMemo->toPlainText().split(u'\n');
    info[0] = QLatin1String(ApplicationTitle);
    info[1] = QStringLiteral("Release 2.20");
    InfoMemo->setPlainText(info.join(u'\n'));
    NoticeMemo->show();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TAboutCalc::showEvent(QShowEvent *event)
{
    // The picture is read when the window is first shown, not at start-up.
    Guarded([this] {
        if (!FPicture) {
            FPicture = std::make_unique<QSvgRenderer>(QStringLiteral(":/artwork/aboutbox.svg"));
            AboutImage->SetPicture(FPicture.get());
        }
    });
    QDialog::showEvent(event);
}

void TAboutCalc::OKButtonClick()
{
    close();
}

void TAboutCalc::AboutImageDblClick()
{
    AboutImage->hide();
    CreditMemo->show();
}

void TAboutCalc::CreditMemoClick()
{
    CreditMemo->hide();
    AboutImage->show();
}

bool TAboutCalc::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == CreditMemo && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        Guarded([this] { CreditMemoClick(); });
    return QDialog::eventFilter(watched, event);
}
