#include "ItemAccessibility.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScopeGuard>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>

#include <functional>
#include <memory>

Q_IMPORT_QML_PLUGIN(Vorna_UiPlugin)

// What the accessibility bus hears of a window's items: body text, its owners, faded pages, and the news of
// an item that becomes enabled.
class ItemAccessibilityTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void textIsHeard_data();
    void textIsHeard();
    void enablingIsTold();
    void pressClicks();
    void pressIsOfferedOnce();
    void choosingIsTold_data();
    void choosingIsTold();
    void chooserClosingLeavesTheKeyboardInAnOpenSheet();
    void outcomeIsSaidEachTime();
    void closedSheetTellsNothingMore();
    void alertOverAnAlertGivesItsRingBack();
    void noticeWithoutRetryHoldsNoControl();
    void itemsOutOfTheirWindowTellNothing_data();
    void itemsOutOfTheirWindowTellNothing();
    void noteBeneathASheetIsSaidOnceItCloses();
    void failureIsSaidOnceByTheKeyboard_data();
    void failureIsSaidOnceByTheKeyboard();
    void keyboardInANamelessFrameIsNotTold_data();
    void keyboardInANamelessFrameIsNotTold();

private:
    // A window holding the item the QML makes.
    std::unique_ptr<QQuickWindow> show(const QByteArray &qml);

    QQmlEngine m_engine;
};

namespace {

// Every static text a screen reader reaches walking the tree from the window, on screen, as "role:name".
QStringList heard(QWindow *window)
{
    QStringList names;
    const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
        if (!node || node->state().invisible)
            return;
        static const QHash<QAccessible::Role, QString> kinds{
            {QAccessible::StaticText, "text:"}, {QAccessible::Button, "button:"},
            {QAccessible::Heading, "heading:"}, {QAccessible::Dialog, "dialog:"},
            {QAccessible::MenuBar, "bar:"},     {QAccessible::PopupMenu, "menu:"},
            {QAccessible::MenuItem, "row:"}};
        if (kinds.contains(node->role()))
            names << kinds.value(node->role()) + node->text(QAccessible::Name);
        else if (node->role() == QAccessible::Pane && !node->text(QAccessible::Name).isEmpty())
            names << "pane:" + node->text(QAccessible::Name);
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(window));
    return names;
}

QList<QPair<QObject *, bool>> toldEnabled;

void keepEnablings(QAccessibleEvent *event)
{
    if (event->type() == QAccessible::StateChanged
        && static_cast<QAccessibleStateChangeEvent *>(event)->changedStates().disabled) {
        auto *item = qobject_cast<QQuickItem *>(event->object());
        toldEnabled.append({event->object(), item && item->isEnabled()});
    }
}

// The items the bus is told were chosen (true) or let go (false): Qt's bridge says "selected" on the bus for
// a selection event, and for no state change of it.
QList<QPair<QObject *, bool>> toldSelected;

// The names of the alerts the bus is told have come into sight, in order.
QStringList toldAlerts;

void keepAlerts(QAccessibleEvent *event)
{
    QAccessibleInterface *heard = event->accessibleInterface();
    if (event->type() == QAccessible::ObjectShow && heard && heard->role() == QAccessible::AlertMessage)
        toldAlerts.append(heard->text(QAccessible::Name));
}

// The names of the items the bus is told take the keyboard, in order.
QStringList toldFocused;

// The names of the alerts the bus is told were renamed, in order.
QStringList toldRenamed;

// The alerts, and the items taking the keyboard, the desktop's bus is told of past the app's own sorting.
void keepAlertsTold(QAccessibleEvent *event)
{
    ItemAccessibility::tell(event, [](QAccessibleEvent *news) {
        keepAlerts(news);
        QAccessibleInterface *heard = news->accessibleInterface();
        if (news->type() == QAccessible::Focus && heard)
            toldFocused.append(heard->text(QAccessible::Name));
        if (news->type() == QAccessible::NameChanged && heard && heard->role() == QAccessible::AlertMessage)
            toldRenamed.append(heard->text(QAccessible::Name));
    });
}

void keepSelections(QAccessibleEvent *event)
{
    if (event->type() == QAccessible::SelectionAdd || event->type() == QAccessible::SelectionRemove
        || event->type() == QAccessible::Selection) {
        QAccessibleInterface *heard = event->accessibleInterface();
        toldSelected.append({event->object(), heard && heard->state().selected});
    }
}

} // namespace

void ItemAccessibilityTest::initTestCase()
{
    ItemAccessibility::install();
    m_engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    // The desktop's accessibility bus, as a desktop session runs it: Qt's bridge joins it once it is there.
    QDBusConnection::sessionBus().interface()->startService(QStringLiteral("org.a11y.Bus"));
    QTRY_VERIFY(QAccessible::isActive());
}

std::unique_ptr<QQuickWindow> ItemAccessibilityTest::show(const QByteArray &qml)
{
    QQmlComponent component(&m_engine);
    component.setData("import QtQuick\nimport QtQuick.Controls\nimport Vorna.Ui\n" + qml, QUrl());
    auto *item = qobject_cast<QQuickItem *>(component.create());
    if (!item) {
        qWarning("%s", qPrintable(component.errorString()));
        return nullptr;
    }
    auto window = std::make_unique<QQuickWindow>();
    window->resize(400, 300);
    item->setParentItem(window->contentItem());
    item->setParent(window.get());
    window->show();
    return window;
}

void ItemAccessibilityTest::textIsHeard_data()
{
    QTest::addColumn<QByteArray>("qml");
    QTest::addColumn<QStringList>("expected"); // in the order heard

    QTest::newRow("plain text under a page") << QByteArray("Pane { Column { Text { text: '系统核对' } "
                                                           "Text { text: '上传的呼号：B-342CA' } } }")
                                             << QStringList{"text:系统核对", "text:上传的呼号：B-342CA"};
    QTest::newRow("text straight under the window")
        << QByteArray("Item { Text { text: '还没有保存的账号' } }") << QStringList{"text:还没有保存的账号"};
    QTest::newRow("a button's label is its name, not more text")
        << QByteArray("Pane { Button { text: '提交 PIREP'; contentItem: Text { text: '提交 PIREP' } } }")
        << QStringList{"button:提交 PIREP"};
    QTest::newRow("a card read as a whole")
        << QByteArray("Pane { Rectangle { width: 100; height: 40; Accessible.role: Accessible.Grouping; "
                      "Accessible.name: '需补充证据, 请补充截图'; Column { Text { text: '需补充证据' } "
                      "Text { text: '请补充截图' } } } Text { y: 50; text: '另一段' } }")
        << QStringList{"text:另一段"};
    QTest::newRow("a symbol of the icon font says nothing")
        << QByteArray("Pane { Row { Text { text: '\\u{F0026}' } Text { text: '航线' } } }")
        << QStringList{"text:航线"};
    QTest::newRow("rich text without its markup")
        << QByteArray("Pane { Text { textFormat: Text.StyledText; text: '<b>×1.25</b> 组织倍数' } }")
        << QStringList{"text:×1.25 组织倍数"};
    QTest::newRow("a text changed is heard as it is now")
        << QByteArray("Pane { Text { id: t; text: '正在加载'; Component.onCompleted: t.text = '已批准' } }")
        << QStringList{"text:已批准"};
    QTest::newRow("a page faded out is not on screen") << QByteArray(
        "Item { Pane { opacity: 0; Text { text: '开场动画' } } Pane { Text { text: '首页' } } }")
                                                       << QStringList{"text:首页"};
    QTest::newRow("a heading named by what it shows")
        << QByteArray("Pane { Text { Accessible.role: Accessible.Heading; text: '使用条款' } }")
        << QStringList{"heading:使用条款"};
    QTest::newRow("a sheet named by its title")
        << QByteArray("Item { Sheet { id: s; title: 'Infinite Flight 授权'; page: Component { Item {} } } "
                      "Timer { running: true; interval: 1; onTriggered: s.open() } }")
        << QStringList{"dialog:Infinite Flight 授权"};
    QTest::newRow("menus without the marks of their letters")
        << QByteArray(
               "Item { MenuBar { Menu { title: '&Vornalia' } } Menu { id: m; y: 40; title: '&Vornalia'; "
               "MenuItem { text: '检查更新(&U)…' } MenuItem { text: 'Terms && &Privacy' } } "
               "Timer { running: true; interval: 1; onTriggered: m.open() } }")
        << QStringList{"bar:", "bar:Vornalia", "menu:Vornalia", "row:检查更新…", "row:Terms & Privacy"};
    QTest::newRow("a sheet named by its page's title") << QByteArray(
        "Item { Sheet { id: s; page: Component { Item { property string title: '选择机型' } } } "
        "Timer { running: true; interval: 1; onTriggered: s.open() } }")
                                                       << QStringList{"dialog:选择机型"};
    QTest::newRow("the page beneath an open sheet is out of reach")
        << QByteArray("Item { Text { text: '机队' } Sheet { id: s; title: '申请 B-30A1'; "
                      "page: Component { Item { Text { text: '出发' } } } } "
                      "Timer { running: true; interval: 1; onTriggered: s.open() } }")
        << QStringList{"dialog:申请 B-30A1", "text:出发"};
    // Regression: the legal texts' bodies, read-only and selectable, were not on the bus at all.
    QTest::newRow("a read-only text edit is heard as text")
        << QByteArray("Pane { Column { Text { text: '账号' } TextEdit { readOnly: true; "
                      "text: '你使用在 vornalia.org 注册的账号登录。' } } }")
        << QStringList{"text:账号", "text:你使用在 vornalia.org 注册的账号登录。"};
    QTest::newRow("a text edit being typed in is no static text")
        << QByteArray("Pane { Column { TextEdit { text: '草稿' } Text { text: '备注' } } }")
        << QStringList{"text:备注"};
    // Regression: the keyboard, left on a page's scroll view as the button that had it was disabled, was on
    // an unnamed pane.
    QTest::newRow("a page's scroll view named by its page, its text heard")
        << QByteArray("Pane { Accessible.name: '报告详情'; ScrollView { width: 200; height: 100; "
                      "Text { text: '报告详情' } } }")
        << QStringList{"pane:报告详情", "pane:报告详情", "text:报告详情"};
    QTest::newRow("a page's scroll view named by its heading")
        << QByteArray("Item { ScrollView { width: 200; height: 100; Column { Text { text: '排班' } "
                      "Text { Accessible.role: Accessible.Heading; text: 'B-30A3' } } } }")
        << QStringList{"pane:B-30A3", "text:排班", "heading:B-30A3"};
    QTest::newRow("hidden text is not on screen")
        << QByteArray("Pane { Column { Text { visible: false; text: '错误' } Text { text: '好' } } }")
        << QStringList{"text:好"};
}

void ItemAccessibilityTest::textIsHeard()
{
    QFETCH(QByteArray, qml);
    QFETCH(QStringList, expected);
    const std::unique_ptr<QQuickWindow> window = show(qml);
    QVERIFY(window);
    QTRY_COMPARE(heard(window.get()), expected);
}

// Regression: a button that became enabled stayed "dimmed" to a screen reader that had read it before: no
// event told the bus.
void ItemAccessibilityTest::enablingIsTold()
{
    // Events go out only while the desktop's bus listens (this run asks for it to be always on).
    QVERIFY(QAccessible::isActive());
    const std::unique_ptr<QQuickWindow> window =
        show("Pane { property bool ready: false; Button { objectName: 'submit'; text: '登录'; "
             "enabled: parent.parent.ready } }");
    QVERIFY(window);
    auto *submit = window->findChild<QQuickItem *>("submit");
    QVERIFY(submit);
    QTRY_VERIFY(
        QAccessible::queryAccessibleInterface(submit)->state().disabled); // read once, as a reader does

    toldEnabled.clear();
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(keepEnablings);
    const auto restore = qScopeGuard([previous] { QAccessible::installUpdateHandler(previous); });
    QObject *pane = submit->parentItem()->parentItem();
    pane->setProperty("ready", true);
    QVERIFY(submit->isEnabled());
    QCOMPARE(toldEnabled, (QList<QPair<QObject *, bool>>{{submit, true}}));
    QVERIFY(!QAccessible::queryAccessibleInterface(submit)->state().disabled);
    pane->setProperty("ready", false);
    QCOMPARE(toldEnabled.size(), 2);
    QCOMPARE(toldEnabled.last(), (qMakePair<QObject *, bool>(submit, false)));
}

// Regression: a screen reader's press of a button that did not handle it itself (the account tab's rows, a
// picture's remove button) did nothing; it clicks, once, and not a button that cannot be pressed. And a
// menu's row ("退出") was offered no press at all, and its click left its action undone.
void ItemAccessibilityTest::pressClicks()
{
    const std::unique_ptr<QQuickWindow> window =
        show("Pane { id: pane; property int clicks: 0; Column { "
             "AbstractButton { objectName: 'settings'; text: '设置'; Accessible.role: Accessible.Button; "
             "Accessible.name: text; onClicked: pane.clicks++ } "
             "Button { objectName: 'off'; text: '移除'; enabled: false; onClicked: pane.clicks += 10 } } "
             "Menu { id: menu; MenuItem { objectName: 'quit'; action: Action { text: '退出'; "
             "onTriggered: pane.clicks += 100 } } } Component.onCompleted: menu.open() }");
    QVERIFY(window);
    QObject *pane = window->contentItem()->childItems().constFirst();
    for (const char *name : {"settings", "off", "quit"}) {
        QQuickItem *control = nullptr;
        QTRY_VERIFY((control = window->findChild<QQuickItem *>(name)));
        QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(control);
        QVERIFY(heard && heard->actionInterface());
        QVERIFY2(heard->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()),
                 name);
        heard->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    QCOMPARE(pane->property("clicks").toInt(), 101);
}

// Regression: the sidebar's rows offered "Press" twice, Qt's own and their handler's.
void ItemAccessibilityTest::pressIsOfferedOnce()
{
    const std::unique_ptr<QQuickWindow> window =
        show("Pane { property int pressed: 0; Button { objectName: 'row'; text: '首页'; "
             "Accessible.onPressAction: parent.parent.pressed++ } }");
    QVERIFY(window);
    auto *row = window->findChild<QQuickItem *>("row");
    QAccessibleInterface *heardRow = QAccessible::queryAccessibleInterface(row);
    QVERIFY(heardRow && heardRow->actionInterface());
    const QStringList actions = heardRow->actionInterface()->actionNames();
    QCOMPARE(actions.count(QAccessibleActionInterface::pressAction()), 1);
    heardRow->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(row->parentItem()->parentItem()->property("pressed").toInt(), 1);
}

void ItemAccessibilityTest::choosingIsTold_data()
{
    QTest::addColumn<QByteArray>("qml"); // its `chosen` the value chosen, 0 at first
    QTest::addColumn<QString>("first");  // the names of the first and the second choice
    QTest::addColumn<QString>("second");
    // As the sidebar's tabs are.
    QTest::newRow("buttons marked chosen")
        << QByteArray("Pane { id: pane; property int chosen: 0; Row { AbstractButton { text: '首页'; "
                      "Accessible.role: Accessible.Button; Accessible.name: text; "
                      "Accessible.selected: pane.chosen === 0 } AbstractButton { text: '地图'; "
                      "Accessible.role: Accessible.Button; Accessible.name: text; "
                      "Accessible.selected: pane.chosen === 1 } } }")
        << "首页"
        << "地图";
    // As the settings' appearances are.
    QTest::newRow("a segmented picker") << QByteArray(
        "SegmentedPicker { property alias chosen: picker.current; id: picker; current: 0; options: "
        "[{title: '跟随系统', value: 0}, {title: '深色', value: 1}] }")
                                        << "跟随系统"
                                        << "深色";
}

// Regression: choosing a tab of the sidebar (or an appearance in the settings) told the bus nothing, so a
// screen reader went on naming the one chosen before.
void ItemAccessibilityTest::choosingIsTold()
{
    QFETCH(QByteArray, qml);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QVERIFY(QAccessible::isActive());
    const std::unique_ptr<QQuickWindow> window = show(qml);
    QVERIFY(window);
    // The control of that name, by the item tree (a repeater's segments have no QObject parent).
    const std::function<QQuickItem *(QQuickItem *, const QString &)> named =
        [&](QQuickItem *under, const QString &name) -> QQuickItem * {
        const QList<QQuickItem *> children = under->childItems();
        for (QQuickItem *item : children) {
            QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(item);
            if (heard && heard->text(QAccessible::Name) == name && heard->role() != QAccessible::StaticText)
                return item;
            if (QQuickItem *below = named(item, name))
                return below;
        }
        return nullptr;
    };
    QQuickItem *before = nullptr;
    QQuickItem *after = nullptr;
    QTRY_VERIFY((before = named(window->contentItem(), first))
                && (after = named(window->contentItem(), second)));
    // Both read once, as a reader does.
    QTRY_VERIFY(QAccessible::queryAccessibleInterface(before)->state().selected);
    QVERIFY(!QAccessible::queryAccessibleInterface(after)->state().selected);

    toldSelected.clear();
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(keepSelections);
    const auto restore = qScopeGuard([previous] { QAccessible::installUpdateHandler(previous); });
    QObject *chooser = window->contentItem()->childItems().constFirst();
    chooser->setProperty("chosen", 1);
    QCOMPARE(toldSelected.size(), 2);
    QVERIFY(toldSelected.contains(qMakePair<QObject *, bool>(after, true)));
    QVERIFY(toldSelected.contains(qMakePair<QObject *, bool>(before, false)));
    chooser->setProperty("chosen", 1); // chosen again: no news
    QCOMPARE(toldSelected.size(), 2);
}

// Regression: a failed pick's notice in the logbook sheet took the keyboard as the desktop's chooser closed,
// and the chooser's hand-back took it away again to the pick button, as if the sheet were a popup on its way
// out. (The hand-back goes by what a screen reader hears, so it is tested where one listens.)
void ItemAccessibilityTest::chooserClosingLeavesTheKeyboardInAnOpenSheet()
{
    const auto window = show("Item { width: 400; height: 300\n"
                             " property alias sheet: sheet; property alias pick: pick\n"
                             " property alias notice: notice; property alias chooser: chooser\n"
                             " Popup { id: sheet; modal: true; focus: true; width: 300; height: 200\n"
                             "  Column { Button { id: pick; text: \"选择补充截图\" }\n"
                             "   Button { id: notice; text: \"无法读取所选图片\" } } }\n"
                             " ScreenFocus { id: chooser } }");
    QVERIFY(window);
    window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(window.get(), TestSupport::patience));
    QQuickItem *scene = window->contentItem()->childItems().constFirst();
    auto *sheet = scene->property("sheet").value<QObject *>();
    auto *pick = scene->property("pick").value<QQuickItem *>();
    auto *notice = scene->property("notice").value<QQuickItem *>();
    auto *chooser = scene->property("chooser").value<QObject *>();
    QVERIFY(QMetaObject::invokeMethod(sheet, "open"));
    QTRY_VERIFY(sheet->property("opened").toBool());
    pick->forceActiveFocus(Qt::TabFocusReason);
    chooser->setProperty("open", true);
    QTest::qWait(20);
    // The pick failed: its notice takes the keyboard, then the chooser is gone.
    notice->forceActiveFocus(Qt::OtherFocusReason);
    chooser->setProperty("open", false);
    QTest::qWait(50);
    QCOMPARE(window->activeFocusItem(), notice);
}

// An outcome the screen draws as plain text, or not at all, is said on the bus as it comes: an alert that
// shows, each time, also with the text of the time before; it takes no room and leaves the keyboard alone.
void ItemAccessibilityTest::outcomeIsSaidEachTime()
{
    QVERIFY(QAccessible::isActive());
    const auto window = show("Item { width: 400; height: 300\n"
                             " property alias said: said; property alias button: button\n"
                             " Button { id: button; text: '检查可用倍数'; focus: true }\n"
                             " Announcement { id: said } }");
    QVERIFY(window);
    QQuickItem *scene = window->contentItem()->childItems().constFirst();
    auto *said = scene->property("said").value<QQuickItem *>();
    auto *button = scene->property("button").value<QQuickItem *>();
    button->forceActiveFocus();
    QVERIFY(!said->isVisible()); // nothing to say yet

    toldAlerts.clear();
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(keepAlerts);
    const auto restore = qScopeGuard([previous] { QAccessible::installUpdateHandler(previous); });
    // An answer's text and count change together: said once.
    said->setProperty("message", "倍数检查完成：组织倍数可用；活动倍数可用");
    said->setProperty("count", 1);
    QTRY_COMPARE(toldAlerts, QStringList{"倍数检查完成：组织倍数可用；活动倍数可用"});
    said->setProperty("count", 2); // the same answer again
    QTRY_COMPARE(toldAlerts.size(), 2);
    said->setProperty("message", "样例服务按要求返回 502。");
    said->setProperty("count", 3);
    QTRY_COMPARE(toldAlerts,
                 (QStringList{"倍数检查完成：组织倍数可用；活动倍数可用",
                              "倍数检查完成：组织倍数可用；活动倍数可用", "样例服务按要求返回 502。"}));
    QCOMPARE(QAccessible::queryAccessibleInterface(said)->role(), QAccessible::AlertMessage);
    QVERIFY(!QAccessible::queryAccessibleInterface(said)->state().invisible);
    QCOMPARE(said->size(), QSizeF(0, 0));
    QCOMPARE(window->activeFocusItem(), button);

    // Nothing left to say: nothing on the bus.
    said->setProperty("message", "");
    QTRY_VERIFY(!said->isVisible());
    QCOMPARE(toldAlerts.size(), 3);
}

// Regression: a sheet closed by Escape over its failure's notice, which had the keyboard, gave the notice the
// keyboard again on its way out (Qt takes it out of the sheet first, and the sheet took it back); and as the
// sheet dropped its page, Qt told the bus the notice showed again: a screen reader said the failure twice
// more before the control the sheet came from.
void ItemAccessibilityTest::closedSheetTellsNothingMore()
{
    const auto window =
        show("Item { width: 400; height: 300\n property alias sheet: s\n"
             " Button { objectName: 'apply'; text: '申请这架飞机'; onClicked: s.open() }\n"
             " Sheet { id: s; title: '申请 B-30A7'; page: Component { Column {\n"
             "  Button { text: '提交申请' }\n"
             "  FailureText { objectName: 'refused'; text: '这架飞机已封存，暂不接受排班申请。' } } } } }");
    QVERIFY(window);
    window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(window.get(), TestSupport::patience));
    QQuickItem *scene = window->contentItem()->childItems().constFirst();
    auto *sheet = scene->property("sheet").value<QObject *>();
    auto *apply = window->findChild<QQuickItem *>("apply");
    apply->forceActiveFocus(Qt::TabFocusReason);
    toldAlerts.clear();
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(keepAlertsTold);
    const auto restore = qScopeGuard([previous] { QAccessible::installUpdateHandler(previous); });
    QTest::keyClick(window.get(), Qt::Key_Space);
    QTRY_COMPARE(toldAlerts, QStringList{"这架飞机已封存，暂不接受排班申请。"});
    QPointer<QQuickItem> page = sheet->property("current").value<QQuickItem *>();
    QVERIFY(page);
    page->findChild<QQuickItem *>("refused")->forceActiveFocus(); // as its failure puts it there
    toldFocused.clear();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTRY_VERIFY(!page);
    QTRY_COMPARE(window->activeFocusItem(), apply);
    QCOMPARE(toldAlerts.size(), 1);
    QCOMPARE(toldFocused, QStringList{"申请这架飞机"});
}

// Regression: on a busy machine the sign-in form's failure came up behind the about alert and the update
// alert over it and took the keyboard; the update alert took it back, but kept the failure as where to give
// it once closed. Closed, it left "好" of the about alert without its ring: the keyboard goes back to the
// screen beneath, as it was.
void ItemAccessibilityTest::alertOverAnAlertGivesItsRingBack()
{
    const auto window =
        show("Item { width: 600; height: 400\n property alias about: about; property alias update: update\n"
             " Button { objectName: 'notice'; text: '无法读取已保存的账号' }\n"
             " AlertDialog { id: about; title: '关于 Vornalia'; defaultButton: ok\n"
             "  BorderedButton { id: ok; objectName: 'ok'; text: '好'; onClicked: about.shown = false } }\n"
             " AlertDialog { id: update; title: '有新版本'; defaultButton: download\n"
             "  BorderedButton { id: download; objectName: 'download'; text: '下载' } } }");
    QVERIFY(window);
    window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(window.get(), TestSupport::patience));
    QQuickItem *scene = window->contentItem()->childItems().constFirst();
    const auto ringedOn = [&window](const char *name) {
        QQuickItem *focused = window->activeFocusItem();
        return focused && focused->objectName() == QLatin1String(name)
               && focused->property("visualFocus").toBool();
    };
    scene->property("about").value<QObject *>()->setProperty("shown", true);
    QTRY_VERIFY(ringedOn("ok"));
    scene->property("update").value<QObject *>()->setProperty("shown", true);
    QTRY_VERIFY(ringedOn("download"));
    // The failure behind both takes the keyboard; the alert on top takes it back.
    window->findChild<QQuickItem *>("notice")->forceActiveFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(ringedOn("download"));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTRY_VERIFY(!scene->property("update").value<QObject *>()->property("visible").toBool());
    QTRY_VERIFY(ringedOn("ok"));
    // And it keeps it: nothing hands it on once the news has settled (what was queued meanwhile has run).
    QSignalSpy moved(window.get(), &QQuickWindow::activeFocusItemChanged);
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
    QVERIFY(ringedOn("ok"));
    QCOMPARE(moved.count(), 0);
}

// Regression: a failure notice without a retry (the sign-in's, the report form's…) held a hidden "重试" that
// a screen reader walking the alert met, and could neither see nor reach.
void ItemAccessibilityTest::noticeWithoutRetryHoldsNoControl()
{
    const auto window =
        show("Pane { Column {\n"
             " ErrorNotice { objectName: 'plain'; width: 300; alert: true; message: '密码错误' }\n"
             " ErrorNotice { objectName: 'retrying'; width: 300; message: '加载失败'; retryable: true }"
             " } }");
    QVERIFY(window);
    // Every node below, shown or not.
    const auto buttonsIn = [&window](const char *name) {
        QStringList buttons;
        const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
            if (!node)
                return;
            if (node->role() == QAccessible::Button)
                buttons << node->text(QAccessible::Name);
            for (int i = 0; i < node->childCount(); ++i)
                walk(node->child(i));
        };
        walk(QAccessible::queryAccessibleInterface(window->findChild<QQuickItem *>(name)));
        return buttons;
    };
    QTRY_COMPARE(buttonsIn("retrying"), QStringList{"重试"});
    QCOMPARE(buttonsIn("plain"), QStringList());
}

void ItemAccessibilityTest::itemsOutOfTheirWindowTellNothing_data()
{
    QTest::addColumn<int>("event");
    QTest::addColumn<bool>("inWindow");
    QTest::addColumn<bool>("told");
    QTest::newRow("shown, in its window") << int(QAccessible::ObjectShow) << true << true;
    QTest::newRow("hidden, in its window") << int(QAccessible::ObjectHide) << true << true;
    QTest::newRow("shown, out of any window") << int(QAccessible::ObjectShow) << false << false;
    QTest::newRow("hidden, out of any window") << int(QAccessible::ObjectHide) << false << false;
    QTest::newRow("renamed, out of any window") << int(QAccessible::NameChanged) << false << true;
}

// Regression: as the window went on quitting, its items, half taken apart, told the bus they showed or hid,
// and the app crashed with a screen reader listening. An item out of its window is no news either way.
void ItemAccessibilityTest::itemsOutOfTheirWindowTellNothing()
{
    QFETCH(int, event);
    QFETCH(bool, inWindow);
    QFETCH(bool, told);
    const auto window = show("Pane { Text { objectName: 'item'; text: '正在加载' } }");
    QVERIFY(window);
    auto *item = window->findChild<QQuickItem *>("item");
    QVERIFY(item);
    if (!inWindow)
        item->setParentItem(nullptr);
    QCOMPARE(item->window() != nullptr, inWindow);
    QAccessibleEvent news(item, QAccessible::Event(event));
    QCOMPARE(ItemAccessibility::reachesTheBus(&news), told);
}

// Regression: an application whose answer was lost showed the page's note "申请已提交，等待管理员审核。"
// beneath the form's sheet, still open with its advice, and a reader said it then, as an alert, and again as
// it took the keyboard once the sheet closed. Beneath an open sheet no alert is news: it is said once, then.
void ItemAccessibilityTest::noteBeneathASheetIsSaidOnceItCloses()
{
    const auto window =
        show("Item { width: 400; height: 300\n property alias sheet: s; property bool sent: false\n"
             " Column { Button { objectName: 'apply'; text: '申请这架飞机'; onClicked: s.open() }\n"
             "  FailureText { objectName: 'sent'; width: 300; text: parent.parent.sent ? '申请已提交' : ''\n"
             "   failures: parent.parent.sent && !s.visible ? 1 : 0 } }\n"
             " Sheet { id: s; title: '申请 B-30A4'; page: Component { Column {\n"
             "  Button { text: '提交申请' } } } } }");
    QVERIFY(window);
    window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(window.get(), TestSupport::patience));
    QQuickItem *scene = window->contentItem()->childItems().constFirst();
    auto *sheet = scene->property("sheet").value<QObject *>();
    window->findChild<QQuickItem *>("apply")->forceActiveFocus(Qt::TabFocusReason);
    toldAlerts.clear();
    toldFocused.clear();
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(keepAlertsTold);
    const auto restore = qScopeGuard([previous] { QAccessible::installUpdateHandler(previous); });
    QTest::keyClick(window.get(), Qt::Key_Space);
    QTRY_VERIFY(sheet->property("opened").toBool());
    // The answer is lost: the page counts the application as sent, beneath the sheet.
    scene->setProperty("sent", true);
    QTRY_VERIFY(window->findChild<QQuickItem *>("sent")->isVisible());
    QCOMPARE(toldAlerts, QStringList());
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTRY_VERIFY(window->findChild<QQuickItem *>("sent")->hasActiveFocus());
    QCOMPARE(toldAlerts, QStringList());
    QCOMPARE(toldFocused.count("申请已提交"), 1);
}

void ItemAccessibilityTest::failureIsSaidOnceByTheKeyboard_data()
{
    QTest::addColumn<bool>("countFirst"); // the failure counted before its text is set, or after
    QTest::newRow("text, then count") << false;
    QTest::newRow("count, then text") << true;
}

// Regression: a failure's notice that showed with its text set and took the keyboard in the same turn (a
// repeated attendance failure, the sign-in form's "登录已过期") was said as the alert came into sight and
// again as it took the keyboard. It is said once, by the keyboard, each time it fails; its name still goes to
// the bus as it changes, so that what a reader keeps of it is right.
void ItemAccessibilityTest::failureIsSaidOnceByTheKeyboard()
{
    QFETCH(bool, countFirst);
    const auto window =
        show("Item { width: 400; height: 300\n property string error; property int failures\n"
             " Column { Button { objectName: 'answer'; text: '参加' }\n"
             "  ErrorNotice { objectName: 'notice'; width: 300; visible: message.length > 0\n"
             "   message: parent.parent.error; alert: true; failures: parent.parent.failures } } }");
    QVERIFY(window);
    window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(window.get(), TestSupport::patience));
    QQuickItem *scene = window->contentItem()->childItems().constFirst();
    auto *answer = window->findChild<QQuickItem *>("answer");
    auto *notice = window->findChild<QQuickItem *>("notice");
    toldAlerts.clear();
    toldRenamed.clear();
    toldFocused.clear();
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(keepAlertsTold);
    const auto restore = qScopeGuard([previous] { QAccessible::installUpdateHandler(previous); });
    const QString failure = QStringLiteral("没有保存成功：样例服务按要求返回 500。");
    for (int time = 1; time <= 2; ++time) {
        answer->forceActiveFocus(Qt::TabFocusReason);
        // The press clears the last failure; the answer brings the same one back, in one turn.
        scene->setProperty("error", QString());
        if (countFirst)
            scene->setProperty("failures", time);
        scene->setProperty("error", failure);
        if (!countFirst)
            scene->setProperty("failures", time);
        QTRY_VERIFY(notice->hasActiveFocus());
        QTRY_COMPARE(toldFocused.count(failure), time);
    }
    QCOMPARE(toldAlerts, QStringList());
    QVERIFY(toldRenamed.contains(failure));
}

void ItemAccessibilityTest::keyboardInANamelessFrameIsNotTold_data()
{
    QTest::addColumn<QByteArray>("holder");
    QTest::addColumn<QStringList>("told"); // what takes the keyboard, as the bus hears it

    QTest::newRow("the window's screen as the next one comes")
        << QByteArray("Item { objectName: 'holder'; Accessible.ignored: false }")
        << QStringList{"登录已过期"};
    QTest::newRow("a page without a name, as it is taken apart")
        << QByteArray("Item { objectName: 'holder'; Accessible.role: Accessible.Pane }")
        << QStringList{"登录已过期"};
    QTest::newRow("a page by its name") << QByteArray(
        "Item { objectName: 'holder'; Accessible.role: Accessible.Pane; Accessible.name: '成员中心' }")
                                        << QStringList{"成员中心", "登录已过期"};
    // Tab reaches it: a fault of its own to be heard, not hidden.
    QTest::newRow("a nameless item Tab reaches") << QByteArray(
        "Item { objectName: 'holder'; activeFocusOnTab: true; Accessible.role: Accessible.Pane }")
                                                 << QStringList{"", "登录已过期"};
}

// Regression: as the member's session ended (or he signed in) the window's screen held the keyboard until
// the next screen's notice or page took it, and a reader said a nameless "filler" in between.
void ItemAccessibilityTest::keyboardInANamelessFrameIsNotTold()
{
    QFETCH(QByteArray, holder);
    QFETCH(QStringList, told);
    const auto window =
        show("Column { width: 400\n Button { objectName: 'before'; text: '刷新' }\n " + holder
             + "\n ErrorNotice { objectName: 'notice'; width: 300; alert: true; message: '登录已过期' }"
               " }");
    QVERIFY(window);
    window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(window.get(), TestSupport::patience));
    window->findChild<QQuickItem *>("before")->forceActiveFocus(Qt::TabFocusReason);
    toldFocused.clear();
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(keepAlertsTold);
    const auto restore = qScopeGuard([previous] { QAccessible::installUpdateHandler(previous); });
    auto *held = window->findChild<QQuickItem *>("holder");
    held->forceActiveFocus();
    QVERIFY(held->hasActiveFocus());
    window->findChild<QQuickItem *>("notice")->forceActiveFocus();
    QCOMPARE(toldFocused, told);
}

QTEST_MAIN(ItemAccessibilityTest)
#include "tst_item_accessibility.moc"
