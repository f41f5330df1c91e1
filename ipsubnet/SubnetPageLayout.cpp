#include "ipsubnet/SubnetPageLayout.h"

#include <QLabel>

#include "controls/VorlPanels.h"

QLabel *CreateLabel(QWidget *page, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, page);
    label->move(left, top);
    label->adjustSize();
    return label;
}

TVorlCustomPanel *CreateValuePanel(QLabel *caption, const char *name, int left, int top, int width)
{
    auto *panel = new TVorlCustomPanel(caption->parentWidget());
    panel->setObjectName(QLatin1String(name));
    // No caption has an access key: the buddy only names the value.
    caption->setBuddy(panel);
    panel->SetBevelOuter(TBevelCut::bvLowered);
    panel->SetAlignment(Qt::AlignRight);
    panel->setGeometry(left, top, width, 21);
    return panel;
}
