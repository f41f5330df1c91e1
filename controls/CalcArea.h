#pragma once

#include <QWidget>

class QAbstractButton;
class QAction;
class TPageControl;

// What the main window needs from a calculator area: its page control, the
// page-switch hooks, the copy target, its Options menu items and the
// settings load/save. The area owns its models and handlers; the window
// only routes, and knows no area by more than this.
class TCalcArea : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual TPageControl *PageControl() const = 0;

    // Page bookkeeping of the area's own page control; `page` is the page
    // being left, or the page now shown.
    virtual void PageLeaving(QWidget *page) { Q_UNUSED(page); }
    virtual void PageEntered(QWidget *page) { Q_UNUSED(page); }
    // After any page switch of any calculator (shown or hidden), once the
    // entered page's own bookkeeping is done.
    virtual void AnyPageSwitched() {}

    // The items this calculator puts in the window's Options menu, in
    // order; they join the menu when the area is built and stay there
    // whichever calculator is shown.
    virtual QList<QAction *> OptionsActions() const { return {}; }

    // Settings of the area's subkey; errors are raised as TVorlError.
    virtual void LoadSettings() {}
    virtual void SaveSettings() {}

signals:
    // The Copy command now performs `button` (none disables the command).
    void CopyTargetChanged(QAbstractButton *button);
    // The Copy command is enabled or disabled; the target stays.
    void CopyEnabledChanged(bool enabled);
};
