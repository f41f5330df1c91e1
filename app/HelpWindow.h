#pragma once

#include <QWidget>

class QTextBrowser;

// The help viewer: a contents page and one topic per calculator, from the
// HTML pages compiled into the program.
class THelpWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit THelpWindow(QWidget *parent = nullptr);

    // Shows the window at its contents page.
    void ShowContents();
    QTextBrowser *Browser() const { return FBrowser; }

private:
    QTextBrowser *FBrowser = nullptr;
};
