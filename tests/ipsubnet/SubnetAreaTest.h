#pragma once

// The common ground of the IP subnet page tests: a fresh area wired to its
// page control as the main window wires it, and the steps a user takes on it.

#include <memory>

#include <QGroupBox>
#include <QLineEdit>
#include <QObject>
#include <QRadioButton>
#include <QTest>

#include "controls/BetterSpinEdit.h"
#include "controls/PageControl.h"
#include "controls/VorlPanels.h"
#include "ipsubnet/IPSubnetArea.h"
#include "tests/common/TestEnvironment.h"

class TSubnetAreaTest : public QObject
{
protected:
    static std::unique_ptr<TIPSubnetArea> CreateArea()
    {
        auto area = std::make_unique<TIPSubnetArea>();
        TIPSubnetArea *a = area.get();
        ConnectPageSwitches(a, [a] { a->UpdateSubnetDisplay(); });
        a->show();
        return area;
    }

    // For init(): a private settings location and a shown area.
    void SetUpArea()
    {
        FEnvironment = std::make_unique<TTestEnvironment>();
        FArea = CreateArea();
        QVERIFY(QTest::qWaitForWindowExposed(FArea.get()));
    }

    void TearDownArea()
    {
        FArea.reset();
        FEnvironment.reset();
    }

    // False where the platform does not activate windows; focus tests skip then.
    bool ActivateWindow()
    {
        FArea->activateWindow();
        return QTest::qWaitForWindowActive(FArea.get());
    }

    void ShowPage(QWidget *page)
    {
        FArea->DravokPageControl->SetActivePage(page);
        QCOMPARE(FArea->DravokPageControl->ActivePage(), page);
    }

    // Typed over the bits field and committed with Enter.
    void SetBits(int value)
    {
        FArea->BitsSpinEdit->selectAll();
        QTest::keyClicks(FArea->BitsSpinEdit, QString::number(value));
        QTest::keyClick(FArea->BitsSpinEdit, Qt::Key_Return);
    }

    // Typed over an octet field (an empty text deletes it) and applied with Enter.
    static void TypeOctet(QLineEdit *field, const QString &text)
    {
        field->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Delete);
        else
            QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    QString Caption(const char *panel) const
    {
        auto *found = FArea->findChild<TVorlCustomPanel *>(QLatin1String(panel));
        return found ? found->Caption() : QStringLiteral("<no %1>").arg(QLatin1String(panel));
    }

    QRadioButton *ClassItem(int index) const
    {
        return FArea->AddressTypeRadioGroup->findChild<QRadioButton *>(
            QStringLiteral("AddressTypeRadioGroupItem%1").arg(index));
    }

    // Clicked on its round mark, as a user does.
    void ClickClass(int index)
    {
        QRadioButton *item = ClassItem(index);
        QVERIFY(item);
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
        QVERIFY(item->isChecked());
    }

    // The index of the checked class item, or -1.
    int CheckedClass() const
    {
        for (int i = 0; i < 3; ++i)
            if (ClassItem(i)->isChecked())
                return i;
        return -1;
    }

    std::unique_ptr<TTestEnvironment> FEnvironment;
    std::unique_ptr<TIPSubnetArea> FArea;
};
