#include "app/HelpWindow.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QHBoxLayout>

#include "controls/Guarded.h"

THelpWindow::THelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Tarvelo Calculator Help"));
    resize(520, 560);

    FBrowser = new QTextBrowser(this);
    FBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    FBrowser->setOpenExternalLinks(true);
    FBrowser->setSearchPaths({QStringLiteral(":/help")});

    auto *contents = new QPushButton(QStringLiteral("&Contents"), this);
    contents->setObjectName(QStringLiteral("HelpContentsButton"));
    auto *back = new QPushButton(QStringLiteral("&Back"), this);
    back->setObjectName(QStringLiteral("HelpBackButton"));
    auto *closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("HelpCloseButton"));
    GuardedConnect(contents, &QPushButton::clicked, this,
                   [this] { FBrowser->setSource(QUrl(QStringLiteral("qrc:/help/index.html"))); });
    connect(back, &QPushButton::clicked, FBrowser, &QTextBrowser::backward);
    connect(FBrowser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    back->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(FBrowser);
}

void THelpWindow::ShowContents()
{
    FBrowser->setSource(QUrl(QStringLiteral("qrc:/help/index.html")));
    show();
    raise();
}
