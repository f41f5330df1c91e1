#pragma once

// Records the accessibility events that Qt delivers, for tests of what a
// screen reader is told. Qt delivers them only while the platform's
// accessibility is active (a screen reader is listening); offscreen nothing
// switches it on, so the recorder does while it lives.

#include <utility>

#include <QAccessible>
#include <QList>

class QObject;

class TAccessibilityRecorder
{
public:
    TAccessibilityRecorder();
    ~TAccessibilityRecorder();
    Q_DISABLE_COPY_MOVE(TAccessibilityRecorder)

    // Events of `type` for `object` since the start or the last Clear().
    int Count(const QObject *object, QAccessible::Event type) const;
    void Clear() { FEvents.clear(); }

private:
    static void Record(QAccessibleEvent *event);

    QList<std::pair<const QObject *, QAccessible::Event>> FEvents;
};
