#pragma once

#include <QTabWidget>

// A tab widget that announces a page switch in two steps: Changing with the
// page being left (still the current page for its handlers' purposes), then
// Change once the new page is current. Qt only reports the second step.
class TPageControl : public QTabWidget
{
    Q_OBJECT
public:
    explicit TPageControl(QWidget *parent = nullptr);

    QWidget *ActivePage() const { return currentWidget(); }
    // Switches pages like a click on a tab: Changing, then Change.
    void SetActivePage(QWidget *page);

signals:
    void Changing(TPageControl *sender, QWidget *leaving);
    void Change(TPageControl *sender);

private:
    void CurrentChanged(int index);

    QWidget *FActivePage = nullptr;
};
