#include <QTest>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>

#include "app/Main.h"
#include "controls/CalcArea.h"
#include "controls/PageControl.h"
#include "ipsubnet/IPSubnetArea.h"
#include "latency/LatencyArea.h"
#include "radix/RadixelArea.h"
#include "tests/common/TestEnvironment.h"

namespace {

// Controls a user operates: anything that takes focus or is a button.
// Parts that a composite control draws for itself (scroll bars, the tab
// bar, headers, the editor inside a combo box) are named by their owner.
bool IsControl(QWidget *w)
{
    if (qobject_cast<QScrollBar *>(w) || qobject_cast<QTabBar *>(w) || qobject_cast<QHeaderView *>(w))
        return false;
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<QComboBox *>(p) || qobject_cast<QAbstractSpinBox *>(p) || qobject_cast<QTabBar *>(p)
            || qobject_cast<QHeaderView *>(p))
            return false;
    if (auto *view = qobject_cast<QAbstractItemView *>(w->parentWidget()); view && w == view->viewport())
        return false;
    return w->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton *>(w);
}

QString AccessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name).trimmed() : QString();
}

QString Describe(QWidget *w)
{
    QStringList path;
    for (QWidget *p = w; p; p = p->parentWidget())
        path.prepend(p->objectName().isEmpty() ? QString::fromLatin1(p->metaObject()->className()) : p->objectName());
    return path.join(u'/');
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT
private slots:
    void everyControlOfEveryPageHasAName();
    void everyPageIsReachableFromTheKeyboard();
};

void tst_Accessibility::everyControlOfEveryPageHasAName()
{
    TTestEnvironment env;
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QStringList unnamed;
    const auto check = [&] {
        for (QWidget *w : form.findChildren<QWidget *>())
            if (w->isVisible() && IsControl(w) && AccessibleName(w).isEmpty() && !unnamed.contains(Describe(w)))
                unnamed << Describe(w);
    };
    for (auto show : {&TMainForm::RadixelCalculatorMenuItemClick, &TMainForm::IPSubnetCalculatorMenuItemClick,
                      &TMainForm::LatencyCalculatorMenuItemClick}) {
        (form.*show)();
        for (TCalcArea *area : form.findChildren<TCalcArea *>()) {
            if (!area->isVisible())
                continue;
            for (int i = 0; i < area->PageControl()->count(); ++i) {
                area->PageControl()->setCurrentIndex(i);
                check();
            }
        }
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(QStringLiteral("Without an accessible name:\n") + unnamed.join(u'\n')));
}

void tst_Accessibility::everyPageIsReachableFromTheKeyboard()
{
    TTestEnvironment env;
    TMainForm form;
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        QSKIP("The platform does not activate windows");

    const struct
    {
        Qt::Key Key;
        TCalcArea *Area;
    } calculators[] = {{Qt::Key_H, form.RadixelCalcPanel()}, {Qt::Key_I, form.IPSubnetCalcPanel},
                       {Qt::Key_L, form.LatencyCalcPanel()}};
    for (const auto &calculator : calculators) {
        QTest::keyClick(&form, calculator.Key, Qt::ControlModifier);
        QVERIFY(calculator.Area->isVisible());
        TPageControl *pages = calculator.Area->PageControl();
        pages->setFocus();
        QTRY_VERIFY(pages->hasFocus() || pages->isAncestorOf(QApplication::focusWidget()));
        for (int i = 1; i <= pages->count(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
            QCOMPARE(pages->currentIndex(), i % pages->count());
        }
    }
}

TARVELO_TEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
