// One rule of a kind read on every screen the shell reaches, as a member and as staff, in a small, a middling
// and a large window, in Chinese and in English, so that a change to a shared piece shows what it breaks on
// the screens that use it:
// - a menu of choices opens with the keyboard on the chosen entry, and choosing it again keeps it checked;
// - no text is cut or wrapped while its row has room for it whole, as the screen first lays out;
// - a control that shows a loader while it works keeps its size and place, and nothing around it moves;
// - what an action shows stands in the visible part of its page, clear of the page's bars.
#include "LanguageScope.h"
#include "ShellScreens.h"
#include "ShellViewsFixture.h"
#include "Theme.h"

#include <QDBusVariant>
#include <QQmlProperty>
#include <QQuickItem>
#include <QtQml/private/qqmlproperty_p.h>
#include <QtQuickTest/quicktest.h>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <optional>

using TestSupport::heardControl;
using TestSupport::itemsBelow;
using TestSupport::sceneRect;
using TestSupport::shown;

namespace {

bool isSymbolGlyph(const QQuickItem *item)
{
    const QQuickItem *parent = item->parentItem();
    return parent && QByteArray(parent->metaObject()->className()).startsWith("Symbol_QMLTYPE");
}

// The width a text could have in its row: its parent's, less what the items beside it on the same line ask
// for (their natural widths, a gap of 8 points each).
double roomInItsRow(const QQuickItem *text)
{
    const QQuickItem *row = text->parentItem();
    if (!row)
        return 0;
    const QRectF own = sceneRect(text);
    double room = row->width();
    for (const QQuickItem *beside : row->childItems()) {
        if (beside == text || !beside->isVisible() || beside->implicitWidth() <= 0)
            continue;
        const QRectF box = sceneRect(beside);
        if (box.top() < own.bottom() && own.top() < box.bottom())
            room -= beside->implicitWidth() + 8;
    }
    return room;
}

// The width a text could have: in its row; or, as a control's label, the room its control has in its row less
// the control's padding.
double roomFor(const QQuickItem *text)
{
    const QQuickItem *control = text->parentItem();
    if (control && control->property("contentItem").value<QQuickItem *>() == text)
        return roomInItsRow(control) - control->property("leftPadding").toDouble()
               - control->property("rightPadding").toDouble();
    return roomInItsRow(text);
}

// The entries of a menu, in order.
QList<QQuickItem *> entriesOf(QObject *menu)
{
    QList<QQuickItem *> entries;
    const int count = menu->property("count").toInt();
    for (int i = 0; i < count; ++i) {
        QQuickItem *entry = nullptr;
        QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, entry), Q_ARG(int, i));
        if (entry)
            entries.append(entry);
    }
    return entries;
}

// Whether a map draws the item: its layers, which move by themselves as the map's pictures come.
bool drawnByAMap(const QQuickItem *item)
{
    for (const QQuickItem *up = item->parentItem(); up; up = up->parentItem()) {
        if (up->inherits("MapView"))
            return true;
    }
    return false;
}

QStringList checkedIn(QObject *menu)
{
    QStringList checked;
    for (QQuickItem *entry : entriesOf(menu)) {
        if (entry->property("checked").toBool())
            checked.append(entry->property("text").toString());
    }
    return checked;
}

} // namespace

class ScreenClassesTest : public TestSupport::ShellViewsFixture
{
    Q_OBJECT

private Q_SLOTS:
    void memberScreens_data() { screenRows(); }
    void memberScreens() { everyScreen(QStringLiteral("lichen")); }
    void staffScreens_data() { screenRows(); }
    void staffScreens() { everyScreen(QStringLiteral("wangfang")); }
    void actionsShowInView_data();
    void actionsShowInView();

private:
    MemberNavigation *navigation() const { return m_root->findChild<MemberNavigation *>(); }
    static void screenRows();
    // Every screen of the user's at the row's size and in its language, each read for the four kinds.
    void everyScreen(const QString &username);
    // The window, signed in as that user at that size, on his home page with its loads ended.
    bool signedInAt(const QString &username, QSize size);
    QStringList menusAmiss(const QString &screen);
    QStringList choiceListsAmiss(const QString &screen);
    QStringList textsAmiss(const QString &screen);
    QStringList loadersAmiss(const QString &screen);
    // Opens a popup by the keyboard from its control: Tab onto it, Space.
    bool openedFrom(QQuickItem *control, QObject *popup);
};

void ScreenClassesTest::screenRows()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("language");
    for (const QSize size : {QSize(760, 540), QSize(1100, 720), QSize(1920, 1200)}) {
        for (const char *language : {"zh_CN", "en_US"}) {
            QTest::addRow("%d×%d, %s", size.width(), size.height(), language) << size << QByteArray(language);
        }
    }
}

bool ScreenClassesTest::signedInAt(const QString &username, QSize size)
{
    if (!showWindowRoot())
        return false;
    // With the desktop's animations off: what a screen shows is read where it comes to rest, not on its way.
    auto *theme = m_engine->singletonInstance<Theme *>(qmlTypeId("Vorna.Ui", 1, 0, "Theme"));
    auto *desktop = theme ? theme->findChild<DesktopSettings *>() : nullptr;
    if (!desktop)
        return false;
    desktop->applyPortalSetting(QStringLiteral("org.gnome.desktop.interface"),
                                QStringLiteral("enable-animations"),
                                QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(false)))));
    if (!theme->reduceMotion() || !signIn(username, QStringLiteral("fly-vornalia")))
        return false;
    const bool home = TestSupport::waitFor([&] {
        return shown(m_root, username == "lichen" ? "home.notifications" : "shell.workbench") != nullptr;
    });
    if (!home || (username == "lichen" && !TestSupport::memberLoadsEnd(m_root->findChild<MemberData *>())))
        return false;
    // The window's content: the window less its menu bar. A screen opened now is first laid out at this size.
    m_window->resize(size);
    m_root->setSize(QSizeF(size.width(), size.height() - 40));
    return QQuickTest::qWaitForPolish(m_window.get());
}

// Regressions each kind caught: the review's "倍数", the Live review's "核查结果" and the logbook's page menu
// lost their check mark when chosen again; the review's "IF 服务暂时不可用" broke over two lines as the page
// first opened; the map's banner grew at each load as its refresh showed the loader.
void ScreenClassesTest::everyScreen(const QString &username)
{
    QFETCH(QSize, size);
    QFETCH(QByteArray, language);
    const TestSupport::LanguageScope scope(language);
    QStringList out;
    for (const TestSupport::ShellScreen &screen : TestSupport::shellScreens(username)) {
        QVERIFY2(signedInAt(username, size), screen.name);
        screen.open(navigation(), m_window->contentItem(), m_root->findChild<MemberData *>());
        if (QTest::currentTestFailed())
            return;
        if (screen.shows)
            QTRY_VERIFY2(shown(m_window->contentItem(), screen.shows), screen.name);
        QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
        const QString name = QString::fromLatin1(screen.name);
        out += textsAmiss(name);
        out += loadersAmiss(name);
        out += menusAmiss(name);
        out += choiceListsAmiss(name);
        cleanup();
        init();
    }
    for (const QString &amiss : std::as_const(out))
        qWarning("%s", qPrintable(amiss));
    QVERIFY2(out.isEmpty(), qPrintable(QStringLiteral("%1 amiss, each above").arg(out.size())));
}

QStringList ScreenClassesTest::textsAmiss(const QString &screen)
{
    QStringList out;
    for (QQuickItem *item : itemsBelow(m_window->contentItem())) {
        if (!item->isVisible() || !item->inherits("QQuickText") || isSymbolGlyph(item) || item->width() <= 0)
            continue;
        const QString text = item->property("text").toString();
        if (text.trimmed().isEmpty() || item->property("textFormat").toInt() == Qt::RichText)
            continue;
        const int lines = int(text.count(u'\n')) + 1;
        const bool wrapped = item->property("lineCount").toInt() > lines;
        const bool cut = item->property("truncated").toBool();
        if (!wrapped && !cut)
            continue;
        // Whole pixels: a layout hands out its room in them.
        const double natural = std::ceil(item->implicitWidth());
        const double room = roomFor(item);
        if (natural <= room)
            out += QStringLiteral("texts: %1: \"%2\" is %3 in %4 points where its row has %5")
                       .arg(screen, text, wrapped ? QStringLiteral("wrapped") : QStringLiteral("cut"))
                       .arg(item->width())
                       .arg(room);
    }
    return out;
}

QStringList ScreenClassesTest::loadersAmiss(const QString &screen)
{
    QStringList out;
    // The controls that show a loader while they work: the property that says so, set as the work would.
    QList<QPointer<QQuickItem>> working;
    for (QQuickItem *item : itemsBelow(m_window->contentItem())) {
        if (!item->isVisible()
            || QByteArray(item->metaObject()->className()).startsWith("ButtonLabel_QMLTYPE"))
            continue;
        // Those the screen drives, by a binding to its work; a control's own default says nothing.
        for (const char *flag : {"working", "loading"}) {
            const QQmlProperty property(item, QString::fromLatin1(flag));
            if (property.isValid() && property.isWritable()
                && property.propertyMetaType().id() == QMetaType::Bool
                && QQmlPropertyPrivate::binding(property))
                working.append(item);
        }
    }
    // A screen starts its loads as it opens (the map's first snapshot): each is read at rest, once they end.
    const auto atRest = [&] {
        return std::all_of(working.cbegin(), working.cend(), [](const QPointer<QQuickItem> &item) {
            return !item || (!item->property("working").toBool() && !item->property("loading").toBool());
        });
    };
    if (!TestSupport::waitFor(atRest))
        out += QStringLiteral("loaders: %1: the screen's work never ends").arg(screen);
    for (const QPointer<QQuickItem> &control : std::as_const(working)) {
        if (!control || !control->isVisible())
            continue;
        // What stands around it: everything under the item that holds its row, and that row's own neighbours;
        // not what a map draws, whose layers move by themselves as its pictures come.
        QQuickItem *around = control->parentItem() && control->parentItem()->parentItem()
                                 ? control->parentItem()->parentItem()
                                 : control->parentItem();
        QList<QPair<QPointer<QQuickItem>, QRectF>> before;
        for (QQuickItem *item : itemsBelow(around)) {
            if (item->isVisible() && item != control && !control->isAncestorOf(item) && !drawnByAMap(item))
                before.append({item, sceneRect(item)});
        }
        const QRectF was = sceneRect(control);
        const char *flag = QQmlPropertyPrivate::binding(QQmlProperty(control, QStringLiteral("working")))
                               ? "working"
                               : "loading";
        control->setProperty(flag, true);
        const bool laidOut = QQuickTest::qWaitForPolish(m_window.get());
        const QString name =
            control->objectName().isEmpty() ? TestSupport::heardName(control) : control->objectName();
        // The neighbours that moved while it worked, and where they stood then.
        QList<QPair<int, QPointF>> moved;
        if (laidOut && control) {
            const QRectF now = sceneRect(control);
            if (std::abs(now.width() - was.width()) > 0.5 || std::abs(now.height() - was.height()) > 0.5)
                out += QStringLiteral("loaders: %1: %2 goes from %3×%4 to %5×%6 as it works")
                           .arg(screen, name)
                           .arg(was.width())
                           .arg(was.height())
                           .arg(now.width())
                           .arg(now.height());
            for (int i = 0; i < before.size(); ++i) {
                const auto &[item, box] = before.at(i);
                if (!item || !item->isVisible())
                    continue;
                const QPointF at = sceneRect(item).topLeft();
                if (std::abs(at.x() - box.x()) > 0.5 || std::abs(at.y() - box.y()) > 0.5)
                    moved.append({i, at});
            }
        }
        if (control)
            control->setProperty(flag, false);
        if (!QQuickTest::qWaitForPolish(m_window.get()))
            out += QStringLiteral("loaders: %1: the window is not laid out again").arg(screen);
        // Moved by the loader: back in place once the work has ended. One that stays where it went moved by
        // itself (a picture arriving, an animation of its own) and says nothing of the loader.
        for (const auto &[i, at] : std::as_const(moved)) {
            const auto &[item, box] = before.at(i);
            if (!item || !item->isVisible())
                continue;
            const QPointF back = sceneRect(item).topLeft();
            if (std::abs(back.x() - box.x()) > 0.5 || std::abs(back.y() - box.y()) > 0.5)
                continue;
            out +=
                QStringLiteral("loaders: %1: as %2 works, %3 moves from %4,%5 to %6,%7")
                    .arg(screen, name,
                         item->objectName().isEmpty() ? QString::fromLatin1(item->metaObject()->className())
                                                      : item->objectName())
                    .arg(box.x())
                    .arg(box.y())
                    .arg(at.x())
                    .arg(at.y());
            break;
        }
    }
    return out;
}

bool ScreenClassesTest::openedFrom(QQuickItem *control, QObject *popup)
{
    control->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    const QPointer<QObject> guarded = popup;
    return TestSupport::waitFor([&] { return !guarded || guarded->property("opened").toBool(); }) && guarded;
}

QStringList ScreenClassesTest::menusAmiss(const QString &screen)
{
    QStringList out;
    // A menu of choices: a menu whose entries are checked, one of them, the chosen one. Its control is the
    // item it is declared in.
    QList<QPointer<QObject>> menus;
    for (QQuickItem *item : itemsBelow(m_window->contentItem())) {
        for (QObject *child : item->children()) {
            if (child->inherits("QQuickMenu") && !menus.contains(child))
                menus.append(child);
        }
    }
    for (const QPointer<QObject> &menu : std::as_const(menus)) {
        const QPointer<QQuickItem> control = qobject_cast<QQuickItem *>(menu ? menu->parent() : nullptr);
        if (!control || !control->isVisible() || !control->isEnabled() || checkedIn(menu).size() != 1)
            continue;
        const QString chosen = checkedIn(menu).constFirst();
        const QString name = QStringLiteral("menus: %1: %2").arg(screen, TestSupport::heardName(control));
        for (int time = 1; time <= 2 && menu && control; ++time) {
            if (!openedFrom(control, menu)) {
                out += name + " does not open";
                break;
            }
            const QString focused = m_window->activeFocusItem()
                                        ? m_window->activeFocusItem()->property("text").toString()
                                        : QString();
            if (focused != chosen)
                out += QStringLiteral("%1 opens with the keyboard on \"%2\", not on the chosen \"%3\"")
                           .arg(name, focused, chosen);
            if (checkedIn(menu) != QStringList{chosen})
                out += QStringLiteral("%1 checks %2 where \"%3\" is chosen")
                           .arg(name, checkedIn(menu).join(", "), chosen);
            // The chosen entry chosen again, by the keyboard once it is on it.
            if (focused == chosen)
                QTest::keyClick(m_window.get(), Qt::Key_Return);
            else
                QTest::keyClick(m_window.get(), Qt::Key_Escape);
            if (!TestSupport::waitFor([&] { return !menu || !menu->property("visible").toBool(); }))
                out += name + " does not close";
        }
    }
    return out;
}

QStringList ScreenClassesTest::choiceListsAmiss(const QString &screen)
{
    QStringList out;
    // A picker whose choices are a list in a popup of its own (the map search's aircraft and liveries): the
    // current row is the chosen one, and the keyboard goes there as it opens. Each is held guarded: a picker
    // opened and closed may make the screen's items anew, and one that went is passed over.
    QList<QPointer<QQuickItem>> pickers;
    for (QQuickItem *item : itemsBelow(m_window->contentItem())) {
        if (item->isVisible() && QByteArray(item->metaObject()->className()).startsWith("ChoiceMenu_QMLTYPE"))
            pickers.append(item);
    }
    for (const QPointer<QQuickItem> &picker : std::as_const(pickers)) {
        if (!picker || !picker->isVisible())
            continue;
        QPointer<QObject> popup;
        for (QObject *child : picker->children()) {
            if (child->inherits("QQuickPopup"))
                popup = child;
        }
        if (!popup)
            continue;
        const QString chosen = picker->property("current").toString();
        const QString name = QStringLiteral("menus: %1: %2").arg(screen, picker->objectName());
        for (int time = 1; time <= 2 && picker && popup; ++time) {
            if (!openedFrom(picker, popup)) {
                out += name + " does not open";
                break;
            }
            QQuickItem *focused = m_window->activeFocusItem();
            const bool onChosen = focused && focused->property("isCurrent").toBool();
            if (!onChosen)
                out += QStringLiteral("%1 opens with the keyboard on \"%2\", not on the chosen \"%3\"")
                           .arg(name, TestSupport::heardName(focused), chosen);
            QTest::keyClick(m_window.get(), onChosen ? Qt::Key_Return : Qt::Key_Escape);
            if (!TestSupport::waitFor([&] { return !popup || !popup->property("visible").toBool(); }))
                out += name + " does not close";
            if (picker && picker->property("current").toString() != chosen)
                out += QStringLiteral("%1 chose \"%2\" again and holds \"%3\"")
                           .arg(name, chosen, picker->property("current").toString());
        }
    }
    return out;
}

void ScreenClassesTest::actionsShowInView_data()
{
    QTest::addColumn<QSize>("size");
    for (const QSize size : {QSize(760, 540), QSize(1100, 720), QSize(1920, 1200)})
        QTest::addRow("%d×%d", size.width(), size.height()) << size;
}

// What an action shows stands in the visible part of its page, clear of the page's bars, and the control
// keeps the keyboard with its ring. Regression: the answer of "检查可用倍数", pressed with the button just
// above the "提交 PIREP" bar, came under the bar, out of sight, and the button lost its ring.
void ScreenClassesTest::actionsShowInView()
{
    QFETCH(QSize, size);
    QVERIFY(signedInAt(QStringLiteral("lichen"), size));
    navigation()->setSelected(MemberTab::Flights);
    navigation()->startPirep();
    QTRY_VERIFY(shown(m_root, "pirep.checkOptions"));
    QObject *form = TestSupport::modelOf(m_root, "PirepFormModel");
    QVERIFY(form);
    form->setProperty("departure", "ZGGG");
    form->setProperty("arrival", "ZUUU");
    QQuickItem *button = shown(m_root, "pirep.checkOptions");
    // The form scrolled so that the button stands at the foot of its page, just above the bar.
    QQuickItem *page = button;
    while (page && !page->inherits("QQuickFlickable"))
        page = page->parentItem();
    QVERIFY(page);
    QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
    const QRectF view = sceneRect(page);
    const double below = sceneRect(button).bottom() - view.bottom() + 4;
    page->setProperty("contentY", page->property("contentY").toDouble() + below);
    QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
    QVERIFY2(view.contains(sceneRect(button)), "the button is out of the page's view");
    // By the keyboard: Tab brings the keyboard there, Space presses.
    button->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_VERIFY(form->property("hasOptions").toBool());
    QTRY_VERIFY(shown(m_root, "pirep.eventOption"));
    QTRY_VERIFY2(sceneRect(page).contains(sceneRect(shown(m_root, "pirep.eventOption"))),
                 "the answer stands out of the page's view");
    QTRY_VERIFY(shown(m_root, "pirep.checkOptions")->hasActiveFocus()
                && shown(m_root, "pirep.checkOptions")->property("visualFocus").toBool());
}

VORNA_SHELL_VIEWS_TEST_MAIN(ScreenClassesTest)
#include "tst_screen_classes.moc"
