#include "tests/common/AccessibilityRecorder.h"

#include <algorithm>

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>

namespace {

TAccessibilityRecorder *Recorder = nullptr;

// The platform's switch; Qt's public API only reports it.
QPlatformAccessibility *PlatformAccessibility()
{
    QPlatformIntegration *integration = QGuiApplicationPrivate::platformIntegration();
    return integration ? integration->accessibility() : nullptr;
}

} // namespace

TAccessibilityRecorder::TAccessibilityRecorder()
{
    Q_ASSERT(!Recorder);
    Recorder = this;
    QAccessible::installUpdateHandler(&TAccessibilityRecorder::Record);
    if (QPlatformAccessibility *platform = PlatformAccessibility())
        platform->setActive(true);
}

TAccessibilityRecorder::~TAccessibilityRecorder()
{
    if (QPlatformAccessibility *platform = PlatformAccessibility())
        platform->setActive(false);
    QAccessible::installUpdateHandler(nullptr);
    Recorder = nullptr;
}

int TAccessibilityRecorder::Count(const QObject *object, QAccessible::Event type) const
{
    return int(std::count(FEvents.cbegin(), FEvents.cend(), std::pair(object, type)));
}

void TAccessibilityRecorder::Record(QAccessibleEvent *event)
{
    if (Recorder)
        Recorder->FEvents.append({event->object(), event->type()});
}
