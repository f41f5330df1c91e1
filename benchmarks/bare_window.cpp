// The yardstick for start-up: a bare Qt Widgets window of the calculator's
// size with a menu bar, a page control and a table.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableWidget>

#include "benchmarks/StartupProbe.h"

int main(int argc, char *argv[])
{
    const qint64 launch = argc > 1 ? QByteArray(argv[1]).toLongLong() : TStartupProbe::NowMicros();
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    for (const char *caption : {"&File", "&Edit", "Ca&lculator", "&Options", "&Help"})
        window.menuBar()->addMenu(QLatin1String(caption))->addAction(QStringLiteral("Item"));
    auto *client = new QWidget;
    auto *pages = new QTabWidget(client);
    pages->setGeometry(8, 88, 276, 313);
    auto *table = new QTableWidget(20, 4);
    pages->addTab(table, QStringLiteral("Table"));
    pages->addTab(new QWidget, QStringLiteral("Other"));
    window.setCentralWidget(client);
    window.resize(292, 409 + window.menuBar()->sizeHint().height());
    TStartupProbe probe(&window, launch, {});
    window.show();
    return app.exec();
}
