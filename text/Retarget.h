#pragma once

#include <QObject>
#include <QPointer>

// Points a model at another object it follows: stops listening to the one before and keeps a guarded
// pointer to the new one. False when it already followed that object; the caller then changes nothing.
template <typename T>
bool retarget(QPointer<T> &followed, T *object, const QObject *listener)
{
    if (followed == object)
        return false;
    if (followed)
        QObject::disconnect(followed, nullptr, listener, nullptr);
    followed = object;
    return true;
}
