#include "ItemAccessibility.h"

#include "FailureFocus.h"
#include "Strings.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTextDocument>
#include <QTimer>

#include <private/qaccessiblequickitem_p.h>
#include <private/qaccessiblequickview_p.h>
#include <private/qguiapplication_p.h>
#include <private/qquickaccessibleattached_p.h>
#include <private/qquickitem_p.h>
#include <private/qquicktext_p.h>
#include <private/qquicktextedit_p.h>

#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <algorithm>

namespace {

class SecretField : public QAccessibleObject
{
public:
    explicit SecretField(QQuickItem *item)
        : QAccessibleObject(item)
    {
    }

    QQuickItem *item() const { return static_cast<QQuickItem *>(object()); }
    QWindow *window() const override { return item()->window(); }

    QAccessibleInterface *parent() const override
    {
        for (QQuickItem *up = item()->parentItem(); up; up = up->parentItem()) {
            if (QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(up))
                return shown;
        }
        return item()->window() ? QAccessible::queryAccessibleInterface(item()->window()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override
    {
        const QQuickAccessibleAttached *attached = QQuickAccessibleAttached::attachedProperties(item());
        switch (kind) {
        case QAccessible::Name:
            return attached && !attached->name().isEmpty() ? attached->name()
                                                           : item()->property("placeholderText").toString();
        case QAccessible::Description:
            return attached ? attached->description() : QString();
        default:
            // The value, above all: nothing of what was typed.
            return {};
        }
    }
    QAccessible::Role role() const override { return QAccessible::EditableText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.passwordEdit = true;
        state.editable = true;
        state.focusable = true;
        state.focused = item()->hasActiveFocus();
        state.disabled = !item()->isEnabled();
        state.invisible = ItemAccessibility::offScreen(item());
        return state;
    }
    QRect rect() const override
    {
        if (!item()->window())
            return {};
        return QRectF(item()->mapToGlobal(QPointF()), item()->size()).toAlignedRect();
    }
};

// Roles a screen reader says by their name alone: the texts drawn inside them (a button's label) are that
// name, not more to read.
bool namesItsContent(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::PageTab:
    case QAccessible::MenuItem:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::Link:
    case QAccessible::ListItem:
    case QAccessible::StaticText:
    case QAccessible::Heading:
        return true;
    default:
        return false;
    }
}

// Controls named by what they show, before Qt has put them on the bus (it does once a screen reader listens):
// a button's label, a field's placeholder are theirs.
bool namesItsContent(const QQuickItem *item)
{
    for (const char *kind : {"QQuickAbstractButton", "QQuickTextInput", "QQuickTextEdit", "QQuickComboBox"}) {
        if (item->inherits(kind))
            return true;
    }
    return false;
}

// What a text item shows, without the markup of rich text.
QString shownText(const QString &raw, bool plain)
{
    if (!plain && Qt::mightBeRichText(raw))
        return QQuickAccessibleAttached::stripHtml(raw).simplified();
    return raw.simplified();
}
QString shownText(const QQuickText *text)
{
    return shownText(text->text(), text->textFormat() == QQuickText::PlainText);
}
QString shownText(const QQuickTextEdit *text)
{
    return shownText(text->text(), text->textFormat() == QQuickTextEdit::PlainText);
}

// Text that only reads, as a member may select and copy it (a legal text's body): Qt puts a plain text edit
// on the bus at no time, and a field of the controls (a text area) is heard on its own.
QQuickTextEdit *readOnlyText(QQuickItem *item)
{
    auto *edit = qobject_cast<QQuickTextEdit *>(item);
    return edit && edit->isReadOnly() && !item->inherits("QQuickTextArea") ? edit : nullptr;
}

// Items whose text carries a keyboard letter marked with "&".
bool marksLetters(const QQuickItem *item)
{
    return item->inherits("QQuickMenuItem") || item->inherits("QQuickMenuBarItem");
}

// A glyph of the icon font (a private-use code point) says nothing.
bool isSymbol(const QString &shown)
{
    const QList<uint> points = shown.toUcs4();
    return std::all_of(points.cbegin(), points.cend(), [](uint point) {
        return QChar::category(point) == QChar::Other_PrivateUse || QChar::isSpace(point);
    });
}

// The name a reader hears for an item on the bus, empty for one that is not.
QString busName(QQuickItem *item)
{
    if (!QQuickItemPrivate::get(item)->isAccessible)
        return {};
    QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(item);
    return heard ? heard->text(QAccessible::Name) : QString();
}

// The first heading on screen under the item.
QString firstHeading(const QQuickItem *under)
{
    for (QQuickItem *child : under->childItems()) {
        if (!child->isVisible())
            continue;
        QAccessibleInterface *heard = QQuickItemPrivate::get(child)->isAccessible
                                          ? QAccessible::queryAccessibleInterface(child)
                                          : nullptr;
        if (heard && heard->role() == QAccessible::Heading && !heard->text(QAccessible::Name).isEmpty())
            return heard->text(QAccessible::Name);
        if (const QString below = firstHeading(child); !below.isEmpty())
            return below;
    }
    return {};
}

// A page's scroll view is named by nothing of its own: it takes the name of the nearest item above it that
// has one (the page, the sheet), else its first heading's, so that the keyboard left on it for a moment, as
// the control that had it went away or was disabled, is heard where it is rather than as an unnamed pane.
QString scrolledPageName(const QQuickItem *view)
{
    for (QQuickItem *up = view->parentItem(); up; up = up->parentItem()) {
        if (const QString name = busName(up); !name.isEmpty())
            return name;
    }
    return firstHeading(view);
}

// Puts the text item on the bus as static text named by what it shows, and keeps the name as the text
// changes.
template <class TextItem>
void hearText(TextItem *text, const QString &ownerName)
{
    const QString shown = shownText(text);
    if (shown.isEmpty() || isSymbol(shown) || ownerName.contains(shown))
        return;
    auto *attached = qobject_cast<QQuickAccessibleAttached *>(
        qmlAttachedPropertiesObject<QQuickAccessibleAttached>(text, true));
    if (!attached)
        return;
    attached->setRole(QAccessible::StaticText);
    attached->setName(shown);
    QObject::connect(text, &TextItem::textChanged, attached,
                     [text, attached] { attached->setName(shownText(text)); });
}

// Puts the text items under `under` that no item on the bus stands between on the bus as static text,
// named by what they show, unless the owner's name says it already.
void hearTexts(QQuickItem *under, const QString &ownerName)
{
    for (QQuickItem *child : under->childItems()) {
        if (QQuickItemPrivate::get(child)->isAccessible)
            continue; // heard on its own, with what lies under it
        if (auto *text = qobject_cast<QQuickText *>(child))
            hearText(text, ownerName);
        else if (QQuickTextEdit *edit = readOnlyText(child))
            hearText(edit, ownerName);
        else if (!namesItsContent(child))
            hearTexts(child, ownerName);
    }
}

// The bus counts an item's children each time it walks the tree: the text that came meanwhile joins them
// then, and only then, so the indices of the children it goes on to ask for stay those it counted.
template <class Base>
class HearsItsTexts : public Base
{
public:
    using Base::Base;

    int childCount() const override
    {
        hearOwnTexts();
        return Base::childCount();
    }

protected:
    virtual void hearOwnTexts() const = 0;
};

// The news that an item was chosen or let go (a tab of the sidebar, a segment of a picker). Qt's bridge to
// the bus passes a state change of `selected` on to nobody: a screen reader hears of it by a selection event.
void tellSelected(QQuickItem *item, bool selected)
{
    QAccessibleEvent event(item, selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
    QAccessible::updateAccessibility(&event);
}

// Qt 6.4's own interface of an item never reports it disabled, so a button that cannot be pressed is
// heard as one that can, nor tells the bus when it changes; nor does it tell the bus that an item was chosen;
// and plain text is not on the bus at all.
class QuickItem : public HearsItsTexts<QAccessibleQuickItem>
{
public:
    explicit QuickItem(QQuickItem *item)
        : HearsItsTexts(item)
        , m_enabled(QObject::connect(item, &QQuickItem::enabledChanged, item, [item] {
            QAccessible::State changed;
            changed.disabled = true;
            QAccessibleStateChangeEvent event(item, changed);
            QAccessible::updateAccessibility(&event);
        }))
    {
        watchSelection();
    }
    ~QuickItem() override
    {
        QObject::disconnect(m_enabled);
        QObject::disconnect(m_selected);
    }

    QAccessible::State state() const override
    {
        watchSelection();
        QAccessible::State state = QAccessibleQuickItem::state();
        state.disabled = !item()->isEnabled();
        state.invisible = state.invisible || ItemAccessibility::offScreen(item());
        return state;
    }

    // A heading or text item named by nothing else is named by what it shows; a popup (a sheet, a popover)
    // by its `title`. Menus, their rows and the menu bar are read without the "&" that marks their letter.
    QString text(QAccessible::Text kind) const override
    {
        watchSelection();
        const QString said = QAccessibleQuickItem::text(kind);
        if (kind != QAccessible::Name)
            return said;
        if (!said.isEmpty())
            return marksLetters(item()) ? Text::withoutMnemonic(said) : said;
        if (const auto *label = qobject_cast<const QQuickText *>(item()))
            return shownText(label);
        if (item()->inherits("QQuickPopupItem") && item()->parent()) {
            const QString title = item()->parent()->property("title").toString();
            return item()->parent()->inherits("QQuickMenu") ? Text::withoutMnemonic(title) : title;
        }
        if (item()->inherits("QQuickScrollView"))
            return scrolledPageName(item());
        return said;
    }

    // A control that handles its press itself (Accessible.onPressAction) is offered the press once, not as
    // Qt's own action and again as the handler's. A menu's row is offered it too: Qt 6.4 offers a menu item
    // only the focus.
    QStringList actionNames() const override
    {
        QStringList names = QAccessibleQuickItem::actionNames();
        if (role() == QAccessible::MenuItem && clicks())
            names.prepend(QAccessibleActionInterface::pressAction());
        names.removeDuplicates();
        return names;
    }

    // Qt 6.4 gives a button's press nothing to do unless the button handles it itself: a press from a screen
    // reader is then a click, as the mouse's and the keyboard's are. A button that does an action (a menu's
    // row) clicks through the action, as Qt's own click does: its `clicked` alone leaves the action undone.
    void doAction(const QString &action) override
    {
        if (action != QAccessibleActionInterface::pressAction() || !clicks()) {
            QAccessibleQuickItem::doAction(action);
            return;
        }
        QQuickAccessibleAttached *attached = QQuickAccessibleAttached::attachedProperties(item());
        if ((attached && attached->doAction(action)) || !item()->isEnabled())
            return;
        if (QObject *done = item()->property("action").value<QObject *>())
            QMetaObject::invokeMethod(done, "trigger", Q_ARG(QObject *, item()));
        else
            QMetaObject::invokeMethod(item(), "clicked");
    }

protected:
    void hearOwnTexts() const override
    {
        // A scroll view's name is its page's: what it holds is heard all the same.
        if (!namesItsContent(role()))
            hearTexts(item(), item()->inherits("QQuickScrollView")
                                  ? QAccessibleQuickItem::text(QAccessible::Name)
                                  : text(QAccessible::Name).simplified());
    }

private:
    // A button that a press clicks: any that is not checked on and off.
    bool clicks() const
    {
        return item()->inherits("QQuickAbstractButton") && !item()->property("checkable").toBool();
    }

    // The item's `Accessible` properties may come after its interface (a control makes that as it is made):
    // the news of its selection is watched for from the first read of its name or state on.
    void watchSelection() const
    {
        if (m_selected)
            return;
        QQuickItem *watched = item();
        if (QQuickAccessibleAttached *attached = QQuickAccessibleAttached::attachedProperties(watched))
            m_selected = QObject::connect(attached, &QQuickAccessibleAttached::selectedChanged, watched,
                                          [watched](bool selected) { tellSelected(watched, selected); });
    }

    QMetaObject::Connection m_enabled;
    mutable QMetaObject::Connection m_selected;
};

// The window: the text that stands under no item on the bus is heard as the window's own.
class QuickWindow : public HearsItsTexts<QAccessibleQuickWindow>
{
public:
    using HearsItsTexts::HearsItsTexts;

protected:
    void hearOwnTexts() const override
    {
        if (auto *window = qobject_cast<QQuickWindow *>(object()))
            hearTexts(window->contentItem(), text(QAccessible::Name).simplified());
    }
};

// Whether a modal popup open over the window covers the item. The popups lie in the window's overlay, the
// last painted on top: those above the topmost modal one, that one included, are what a reader reaches.
bool beneathModalPopup(const QQuickItem *item)
{
    const QQuickWindow *window = item->window();
    if (!window)
        return false;
    const QList<QQuickItem *> layers = window->contentItem()->childItems();
    const auto overlay = std::find_if(layers.cbegin(), layers.cend(), [](const QQuickItem *layer) {
        return layer->inherits("QQuickOverlay");
    });
    if (overlay == layers.cend())
        return false;
    const QList<QQuickItem *> popups = QQuickItemPrivate::get(*overlay)->paintOrderChildItems();
    for (auto it = popups.crbegin(); it != popups.crend(); ++it) {
        const QQuickItem *popup = *it;
        if (!popup->isVisible() || !popup->inherits("QQuickPopupItem"))
            continue;
        // In the popup, or holding it (the window's own items).
        if (popup == item || popup->isAncestorOf(item) || item->isAncestorOf(popup))
            return false;
        if (popup->parent() && popup->parent()->property("modal").toBool())
            return true;
    }
    return false;
}

// The keyboard went to an unnamed frame or pane that no key reaches.
bool holdsTheKeyboardUnheard(const QAccessibleEvent *event)
{
    const auto *item = qobject_cast<const QQuickItem *>(event->object());
    if (event->type() != QAccessible::Focus || !item || item->activeFocusOnTab())
        return false;
    QAccessibleInterface *heard = event->accessibleInterface();
    return heard && (heard->role() == QAccessible::Client || heard->role() == QAccessible::Pane)
           && heard->text(QAccessible::Name).isEmpty();
}

// What Qt's own handler would do with the news: hand it to the desktop's bridge.
void tellTheBus(QAccessibleEvent *event)
{
    ItemAccessibility::tell(event, [](QAccessibleEvent *news) {
        QPlatformIntegration *platform = QGuiApplicationPrivate::platformIntegration();
        if (QPlatformAccessibility *bridge = platform ? platform->accessibility() : nullptr)
            bridge->notifyAccessibilityUpdate(news);
    });
}

QAccessibleInterface *quickItems(const QString &className, QObject *object)
{
    if (auto *window = qobject_cast<QQuickWindow *>(object))
        return className == QLatin1String(window->metaObject()->className()) ? new QuickWindow(window)
                                                                             : nullptr;
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item)
        return nullptr;
    if (item->property("secretText").toBool())
        return new SecretField(item);
    // Qt asks the factories installed last first, class by class from the item's own: Qt Quick's own
    // factory answers at "QQuickItem", so ours answers at the item's own class, for the items Qt's would.
    if (className == QLatin1String(item->metaObject()->className())
        && QQuickItemPrivate::get(item)->isAccessible)
        return new QuickItem(item);
    return nullptr;
}

} // namespace

bool ItemAccessibility::offScreen(const QQuickItem *item)
{
    if (!item->isVisible())
        return true;
    // A page faded out (an intro that has played, a view cross-faded away) is not on screen either.
    for (const QQuickItem *up = item; up; up = up->parentItem()) {
        if (up->opacity() <= 0)
            return true;
    }
    return beneathModalPopup(item);
}

bool ItemAccessibility::reachesTheBus(const QAccessibleEvent *event)
{
    if (event->type() != QAccessible::ObjectShow && event->type() != QAccessible::ObjectHide)
        return true;
    const auto *item = qobject_cast<const QQuickItem *>(event->object());
    if (!item)
        return true;
    // An item out of its window is on no screen; nor is one beneath an open sheet or alert, where no reader
    // reaches until it closes: an alert showing there is no news (a page's note under the sheet that sent its
    // form, said once the sheet has closed and the note has the keyboard).
    return item->window() && !(event->type() == QAccessible::ObjectShow && beneathModalPopup(item));
}

void ItemAccessibility::tell(QAccessibleEvent *event, const std::function<void(QAccessibleEvent *)> &deliver)
{
    if (!reachesTheBus(event) || holdsTheKeyboardUnheard(event))
        return;
    auto *item = qobject_cast<QQuickItem *>(event->object());
    QAccessibleInterface *heard =
        item && event->type() == QAccessible::ObjectShow ? event->accessibleInterface() : nullptr;
    if (!heard || heard->role() != QAccessible::AlertMessage) {
        deliver(event);
        return;
    }
    // The failure that shows its notice counts in the same turn, before or after: by the turn's end the
    // notice knows whether it is being presented. Its name goes on as it changes, so a reader's copy stays
    // right.
    QTimer::singleShot(0, item, [item = QPointer<QQuickItem>(item), deliver] {
        if (!item || FailureFocus::presenting(item))
            return;
        QAccessibleEvent again(item.data(), QAccessible::ObjectShow);
        if (reachesTheBus(&again))
            deliver(&again);
    });
}

void ItemAccessibility::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(quickItems);
        QAccessible::installUpdateHandler(tellTheBus);
        return true;
    }();
    Q_UNUSED(installed);
}
