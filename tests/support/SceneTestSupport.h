#pragma once

// Looking into a scene under test: its items, the ones on screen by name or by what a screen reader calls
// them, their texts.
#include <QAccessible>
#include <QList>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <QTest>
#include <QWindow>

namespace TestSupport {

// Every item of the scene from the given one down (it included), drawn or not, by the item tree: a
// Repeater's delegates have no QObject parent.
inline QList<QQuickItem *> itemsBelow(QQuickItem *root)
{
    QList<QQuickItem *> items;
    if (!root)
        return items;
    items.append(root);
    const QList<QQuickItem *> children = root->childItems();
    for (QQuickItem *child : children)
        items += itemsBelow(child);
    return items;
}

// Waits until `find` gives an item of which `holds` is true, and gives that item; none if the wait ends
// first. It is looked up again at every try and given straight after the last: a list, a repeater or a loader
// may make its items anew while a test waits, and an item kept from before the wait may be gone.
template <typename Find, typename Holds>
QQuickItem *awaitItem(Find find, Holds holds)
{
    QQuickItem *item = nullptr;
    const bool found = TestSupport::waitFor([&] { return (item = find()) && holds(item); });
    return found ? item : nullptr;
}

// Where an item stands in its window.
inline QRectF sceneRect(const QQuickItem *item)
{
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

// The first object of that class made with an item of the scene: a view's own model, a popup. The pages of
// the stacks are items of the scene, not children of the window root.
inline QObject *modelOf(QQuickItem *root, const char *className)
{
    for (QQuickItem *item : itemsBelow(root)) {
        const QList<QObject *> made = item->children();
        for (QObject *object : made) {
            if (object->inherits(className))
                return object;
        }
    }
    return nullptr;
}

// The item of that name that is on screen (it and all above it visible), or none.
inline QQuickItem *shown(QQuickItem *root, const QString &name)
{
    for (QQuickItem *item : itemsBelow(root)) {
        if (item->objectName() == name && item->isVisible())
            return item;
    }
    return nullptr;
}

// The first button on screen at or below an item that shows this text, or none.
inline QQuickItem *buttonShown(QQuickItem *root, const QString &text)
{
    for (QQuickItem *item : itemsBelow(root)) {
        if (item->isVisible() && item->inherits("QQuickAbstractButton")
            && item->property("text").toString() == text)
            return item;
    }
    return nullptr;
}

// What a screen reader calls an item.
inline QString heardName(QQuickItem *item)
{
    QAccessibleInterface *heard = item ? QAccessible::queryAccessibleInterface(item) : nullptr;
    return heard ? heard->text(QAccessible::Name) : QString();
}

// Where the window's keyboard is, when that is not on an enabled control a screen reader names (the item's
// class and objectName, or "nothing"); empty when it is. A page's scroll view, heard by its page's name, is
// no place to leave it either.
inline QString keyboardUnheard(QQuickWindow *window)
{
    QQuickItem *focused = window->activeFocusItem();
    if (!focused)
        return QStringLiteral("nothing");
    if (focused->isEnabled() && focused->isVisible() && !focused->inherits("QQuickScrollView")
        && !heardName(focused).trimmed().isEmpty())
        return QString();
    return QString::fromLatin1(focused->metaObject()->className()) + " " + focused->objectName();
}

// A control as a test's table names it: an objectName, or "objectName>name", the first item on screen at or
// below an item of that objectName that a screen reader calls by that name.
inline QQuickItem *heardControl(QQuickItem *root, const QString &control)
{
    const qsizetype split = control.indexOf(QLatin1Char('>'));
    if (split < 0)
        return shown(root, control);
    const QString owner = control.left(split);
    const QString name = control.mid(split + 1);
    for (QQuickItem *item : itemsBelow(root)) {
        if (item->objectName() != owner || !item->isVisible())
            continue;
        for (QQuickItem *below : itemsBelow(item)) {
            if (below->isVisible() && heardName(below) == name)
                return below;
        }
    }
    return nullptr;
}

// The texts on screen below an item.
inline QStringList textsShown(QQuickItem *root)
{
    QStringList texts;
    for (QQuickItem *item : itemsBelow(root)) {
        if (item->isVisible() && item->inherits("QQuickText"))
            texts.append(item->property("text").toString());
    }
    return texts;
}

// Types the text, key by key, as a member would, into whatever of the window has the keyboard.
inline void typeKeys(QWindow *window, const QString &text)
{
    for (const QChar typed : text)
        QTest::keyClick(window, typed.toLatin1());
}

// Gives the item the keyboard and types the text into it, key by key, as a member would.
inline void typeInto(QQuickItem *item, const QString &text)
{
    item->forceActiveFocus();
    typeKeys(item->window(), text);
}

} // namespace TestSupport
