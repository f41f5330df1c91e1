#pragma once

// The edge where our errors stop. Qt's widget code is built without
// exception support: an exception unwinding through its frames skips their
// clean-up and leaves the widgets in a state nobody knows. So every slot,
// lambda and event override of ours runs its work through Guarded, which
// shows a failure in the error box (ShowErrorMessage, the default error
// handler) and returns to Qt normally, and the program carries on.
//
// The innermost guard stops an error: code that emitted a signal whose
// guarded slot failed goes on after the emit. Whatever must happen before
// the box shows (stopping a repeat, say) happens inside the failing slot.
//
//   Guarded([&] { PageEntered(page); });                 // an event override
//   return GuardedOr(true, [&] { return KeyDown(key); }); // an event filter
//   GuardedConnect(button, &QPushButton::clicked, this, &TArea::ButtonClick);
//   GuardedConnect(box, &QComboBox::activated, this, [this](int i) { Pick(i); });
//   QTimer::singleShot(0, this, GuardedSlot(this, &TArea::Later));
//
// What is caught: TVorlError (its message), std::bad_alloc ("Out of
// memory") and any other std::exception (its what()). Nothing else is ever
// thrown here; should it be, the noexcept ends the program at once rather
// than letting it unwind through Qt.

#include <concepts>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

#include <QObject>

// Shows the exception being handled in the error box. Call only from inside
// a catch block of a std::exception.
void ShowCaughtError();

// Runs `action`; true when it completed, false when it raised an error,
// which has then been shown.
template <typename Action>
bool Guarded(Action &&action) noexcept
{
    try {
        std::invoke(std::forward<Action>(action));
        return true;
    } catch (const std::exception &) {
        ShowCaughtError();
        return false;
    }
}

// As Guarded, for a step with a result (an event filter's "consumed"): the
// step's result, or `failed` when it raised an error.
template <typename Result, typename Action>
Result GuardedOr(Result failed, Action &&action) noexcept
{
    Guarded([&] { failed = std::invoke(std::forward<Action>(action)); });
    return failed;
}

// `slot` as a callable for connect() or a timer that runs it under Guarded.
// It takes the leading signal arguments that `slot` takes, as connect()
// does for a plain slot, so a handler may ignore what it does not need.
template <typename Slot>
auto GuardedSlot(Slot slot)
{
    return [slot = std::move(slot)](auto &&...args)
        requires std::invocable<const Slot &, decltype(args)...>
    {
        Guarded([&] { std::invoke(slot, std::forward<decltype(args)>(args)...); });
    };
}

// A member function of `object` as a guarded slot.
template <typename Object, typename Method>
    requires std::is_member_function_pointer_v<Method>
auto GuardedSlot(Object *object, Method method)
{
    return [object, method](auto &&...args)
        requires std::invocable<Method, Object *, decltype(args)...>
    {
        Guarded([&] { std::invoke(method, object, std::forward<decltype(args)>(args)...); });
    };
}

// connect() with the slot (a member function of `context`, or a callable
// that `context` scopes) run under Guarded.
template <typename Sender, typename Signal, typename Context, typename Slot>
QMetaObject::Connection GuardedConnect(Sender *sender, Signal signal, Context *context, Slot slot,
                                       Qt::ConnectionType type = Qt::AutoConnection)
{
    if constexpr (std::is_member_function_pointer_v<Slot>)
        return QObject::connect(sender, signal, context, GuardedSlot(context, slot), type);
    else
        return QObject::connect(sender, signal, context, GuardedSlot(std::move(slot)), type);
}
