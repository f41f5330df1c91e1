#pragma once

#include <QWidget>

class QAbstractButton;
class TPageControl;

// What the main window needs from a calculator area: its page control, the
// page-switch hooks, the copy target and the settings load/save. The area
// owns its models and handlers; the window only routes.
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

    // Settings of the area's subkey; errors are raised as TVorlError.
    virtual void LoadSettings() {}
    virtual void SaveSettings() {}

signals:
    // The Copy command now performs `button` (none disables the command).
    void CopyTargetChanged(QAbstractButton *button);
    // The Copy command is enabled or disabled; the target stays.
    void CopyEnabledChanged(bool enabled);
};
