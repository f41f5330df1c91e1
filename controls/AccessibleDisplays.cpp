#include "controls/AccessibleDisplays.h"

#include <QAccessibleWidget>
#include <QString>
#include <QWidget>

#include "controls/Image.h"
#include "controls/VorlPanels.h"

namespace {

class TPanelAccessible final : public QAccessibleWidget
{
public:
    explicit TPanelAccessible(TVorlCustomPanel *panel)
        : QAccessibleWidget(panel, panel->AccessibleRole())
    {
    }

    // Read at every call: the owner may choose the role after building the panel.
    QAccessible::Role role() const override { return Panel()->AccessibleRole(); }

    QString text(QAccessible::Text t) const override
    {
        // Static text is what the panel shows, never its label's text: the
        // label is reported as the relation.
        if (t == QAccessible::Name && role() == QAccessible::StaticText && widget()->accessibleName().isEmpty())
            return Panel()->Caption();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (role() == QAccessible::StaticText)
            state.readOnly = true;
        return state;
    }

private:
    TVorlCustomPanel *Panel() const { return static_cast<TVorlCustomPanel *>(widget()); }
};

QAccessibleInterface *DisplayAccessibleFactory(const QString &className, QObject *object)
{
    Q_UNUSED(className);
    if (auto *panel = qobject_cast<TVorlCustomPanel *>(object))
        return new TPanelAccessible(panel);
    if (auto *image = qobject_cast<TImage *>(object))
        return new QAccessibleWidget(image, QAccessible::Graphic);
    return nullptr;
}

} // namespace

void InstallDisplayAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(DisplayAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void SetAccessibleDescriptionText(QWidget *widget, const QString &text)
{
    // QWidget announces every write, also of the text it already has.
    if (widget->accessibleDescription() != text)
        widget->setAccessibleDescription(text);
}
