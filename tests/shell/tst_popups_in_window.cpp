// Every popup of every screen — menus, lists of choices, sheets, alerts — stands inside the window, in a
// small window and a large one, and every entry of a list in it can be reached.
#include "ShellScreens.h"
#include "ShellViewsFixture.h"
#include "ViewRules.h"

#include <QQuickItem>
#include <QtQuickTest/quicktest.h>
#include <QtTest>

#include <functional>

using TestSupport::heardControl;
using TestSupport::itemsBelow;
using TestSupport::sceneRect;
using TestSupport::shown;

namespace {

} // namespace

class PopupsInWindowTest : public TestSupport::ShellViewsFixture
{
    Q_OBJECT

private Q_SLOTS:
    void memberPopups_data() { sizeRows(); }
    void memberPopups() { everyPopupStaysInTheWindow(QStringLiteral("lichen")); }
    void staffPopups_data() { sizeRows(); }
    void staffPopups() { everyPopupStaysInTheWindow(QStringLiteral("wangfang")); }

private:
    static void sizeRows();
    // Every popup of every screen of the user's, at the row's window size.
    void everyPopupStaysInTheWindow(const QString &username);
    MemberNavigation *navigation() const { return m_root->findChild<MemberNavigation *>(); }
    // What leaves the window of the popups that can open now: each is opened in turn and closed again.
    QStringList popupsOutOfTheWindow(const QString &screen);
};

void PopupsInWindowTest::sizeRows()
{
    QTest::addColumn<QSize>("size");
    for (const QSize size : {QSize(760, 540), QSize(1920, 1200)})
        QTest::addRow("%d×%d", size.width(), size.height()) << size;
}

// Regression: the map search's aircraft and livery lists ran past the window's bottom, where their last
// entries could be neither seen nor reached; kept inside by being moved up, they covered their own row.
void PopupsInWindowTest::everyPopupStaysInTheWindow(const QString &username)
{
    QFETCH(QSize, size);
    const QList<TestSupport::ShellScreen> screens = TestSupport::shellScreens(username);
    QStringList out;
    for (const TestSupport::ShellScreen &screen : screens) {
        // Staff see the review workbench in place of the dashboard.
        QVERIFY(showWindowRoot() && signIn(username, QStringLiteral("fly-vornalia")));
        QTRY_VERIFY(shown(m_root, username == "lichen" ? "home.notifications" : "shell.workbench"));
        if (username == "lichen")
            QVERIFY(TestSupport::memberLoadsEnd(m_root->findChild<MemberData *>()));
        // The window's content: the window less its menu bar.
        m_window->resize(size);
        m_root->setSize(QSizeF(size.width(), size.height() - 40));
        screen.open(navigation(), m_window->contentItem(), m_root->findChild<MemberData *>());
        if (QTest::currentTestFailed())
            return;
        if (screen.shows)
            QTRY_VERIFY2(shown(m_window->contentItem(), screen.shows), screen.name);
        QVERIFY(QQuickTest::qWaitForPolish(m_window.get())); // laid out at the window's size
        out += popupsOutOfTheWindow(QString::fromLatin1(screen.name));
        cleanup();
        init();
    }
    QVERIFY2(out.isEmpty(), qPrintable(out.join('\n')));
}

QStringList PopupsInWindowTest::popupsOutOfTheWindow(const QString &screen)
{
    QStringList out;
    const QRectF window(0, 0, m_window->width(), m_window->height());
    // Popups belong to the items they are declared in (pages are made apart and put into the window as items,
    // so the window's objects do not hold them all).
    // Kept as guarded pointers: opening and closing one popup may make a page's items anew, popups and all.
    QList<QPointer<QObject>> popups;
    for (QQuickItem *item : itemsBelow(m_window->contentItem())) {
        for (QObject *child : item->children()) {
            if (child->inherits("QQuickPopup") && !popups.contains(child))
                popups.append(child);
        }
    }
    for (const QPointer<QObject> &popup : std::as_const(popups)) {
        if (!popup || popup->property("visible").toBool())
            continue;
        // Named by what it is called, else by the nearest named item it belongs to.
        QString called =
            popup->objectName().isEmpty() ? popup->property("title").toString() : popup->objectName();
        for (QObject *up = popup->parent(); called.isEmpty() && up; up = up->parent())
            called = up->objectName().isEmpty() ? QString() : "in " + up->objectName();
        const QString name = screen + ": the popup " + called;
        // Opened as a member opens it: from its control, scrolled into view.
        if (auto *from = qobject_cast<QQuickItem *>(popup->parent())) {
            for (QQuickItem *above = from->parentItem(); above; above = above->parentItem()) {
                if (above->inherits("QQuickFlickable"))
                    ComponentRules::revealIn(above, from);
            }
            if (!QQuickTest::qWaitForPolish(m_window.get()))
                out += name + ": the window is not laid out";
        }
        if (!popup)
            continue;
        QMetaObject::invokeMethod(popup, "open");
        // A popup that opens only with what it shows (an alert's text) closes again at once.
        if (!TestSupport::waitFor([&] {
                return !popup || popup->property("opened").toBool() || !popup->property("visible").toBool();
            })
            || !popup || !popup->property("opened").toBool())
            continue;
        QQuickItem *shownItem = popup->property("contentItem").value<QQuickItem *>();
        QQuickItem *box = shownItem ? shownItem->parentItem() : nullptr; // the popup's own item
        // A menu of choices opens beside the control that opens it, below or above, never over it (kept in
        // the window by being moved onto its own row, it would hide the choice it offers to change).
        const auto opener = qobject_cast<QQuickItem *>(popup->parent());
        const bool choices =
            QByteArray(popup->metaObject()->className()).startsWith("ChoicesMenu_QMLTYPE")
            || (opener && QByteArray(opener->metaObject()->className()).startsWith("ChoiceMenu_QMLTYPE"));
        if (choices && box && opener && window.contains(sceneRect(opener))) {
            const QRectF over = sceneRect(box).intersected(sceneRect(opener));
            if (over.width() > 1 && over.height() > 1)
                out += QStringLiteral("%1 covers its control from %2 to %3")
                           .arg(name)
                           .arg(over.top())
                           .arg(over.bottom());
        }
        if (box && !window.adjusted(-1, -1, 1, 1).contains(sceneRect(box))) {
            const QRectF rect = sceneRect(box);
            out += QStringLiteral("%1 stands at %2,%3 %4×%5")
                       .arg(name)
                       .arg(rect.x())
                       .arg(rect.y())
                       .arg(rect.width())
                       .arg(rect.height());
        }
        // Each list in it keeps its rows in reach: inside the popup, and scrolling where they do not fit.
        for (QQuickItem *item : box ? itemsBelow(box) : QList<QQuickItem *>()) {
            if (!item->isVisible() || !item->inherits("QQuickFlickable"))
                continue;
            if (!sceneRect(box).adjusted(-1, -1, 1, 1).contains(sceneRect(item)))
                out += name + ": a list reaches out of it";
            const bool fits = item->property("contentHeight").toReal() <= item->height() + 1;
            if (!fits && !item->property("interactive").toBool())
                out += name + ": a list's rows run past its end and it does not scroll";
        }
        if (popup)
            QMetaObject::invokeMethod(popup, "close");
        if (!TestSupport::waitFor([&] { return !popup || !popup->property("visible").toBool(); }))
            out += name + ": does not close";
    }
    return out;
}

VORNA_SHELL_VIEWS_TEST_MAIN(PopupsInWindowTest)
#include "tst_popups_in_window.moc"
