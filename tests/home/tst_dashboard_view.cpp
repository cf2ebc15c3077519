// The dashboard drawn in a window, as the member first meets it: its figures and its failure notices.
#include "AppState.h"
#include "ImageTestSupport.h"
#include "Installed.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "MemberTestSupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>

Q_IMPORT_QML_PLUGIN(Vorna_HomePlugin)

using namespace TestSupport;

namespace {

// How the reports answer on the first showing.
enum class Pireps { Sample, Null, ErrorPage };

QQuickItem *findText(QQuickItem *root, const QString &text)
{
    for (QQuickItem *item : root->findChildren<QQuickItem *>()) {
        if (item->isVisible() && item->property("text").toString() == text)
            return item;
    }
    return nullptr;
}

// The nearest item around `item` (itself included) that has the property.
QQuickItem *holder(QQuickItem *item, const char *property)
{
    while (item && !item->property(property).isValid())
        item = item->parentItem();
    return item;
}

// The failure notice on show, if any.
QQuickItem *shownNotice(QQuickItem *root)
{
    for (QQuickItem *item : root->findChildren<QQuickItem *>()) {
        if (item->isVisible() && item->property("retryable").isValid())
            return item;
    }
    return nullptr;
}

// Every item drawn below `root`, by the item tree (a Repeater's delegates have no QObject parent).
QList<QQuickItem *> itemsBelow(QQuickItem *root)
{
    QList<QQuickItem *> items;
    for (QQuickItem *child : root->childItems())
        items += QList<QQuickItem *>{child} + itemsBelow(child);
    return items;
}

QRectF rectIn(const QQuickItem *item, const QQuickItem *in)
{
    return item->mapRectToItem(in, QRectF(0, 0, item->width(), item->height()));
}

} // namespace

class DashboardViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void failedReportsNoticeHoldsItsRetry_data();
    void failedReportsNoticeHoldsItsRetry();
    void metricColumnsAreEqual_data();
    void metricColumnsAreEqual();
    void eventCardsAnswerAndOpen();
    void eventsStandInAColumnOfTheirOwn_data();
    void eventsStandInAColumnOfTheirOwn();

private:
    // Signs "lichen" in and shows his dashboard in a window of that width (the smallest size by default), in
    // a language.
    QQuickItem *show(const QByteArray &language, Pireps reports, int windowWidth = 760);

    // The keychain's queues main/ would install, this test's own.
    KeychainQueues m_keychain;
    const Installed<KeychainQueues> m_installedKeychain{m_keychain};
    // The own-flight request main/ would install, this test's own.
    FlightActivityNavigation m_ownFlight{nullptr};
    const Installed<FlightActivityNavigation> m_installedOwnFlight{m_ownFlight};
    std::unique_ptr<Site> m_site;
    // The latest-flight card's pictures, from the sample service.
    std::optional<TestSupport::InstalledPictures> m_pictures;
    std::unique_ptr<AppState> m_app;
    std::unique_ptr<MemberData> m_data;
    std::unique_ptr<MemberNavigation> m_navigation;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<QQuickWindow> m_window;
    std::unique_ptr<QObject> m_view;
};

void DashboardViewTest::init()
{
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_pictures.emplace(*m_site->service);
}

void DashboardViewTest::cleanup()
{
    m_view.reset();
    m_window.reset();
    m_engine.reset();
    m_data.reset();
    m_navigation.reset();
    m_app.reset();
    m_pictures.reset();
    m_site.reset();
}

QQuickItem *DashboardViewTest::show(const QByteArray &language, Pireps reports, int windowWidth)
{
    qputenv("LANGUAGE", language);
    if (reports == Pireps::Null)
        m_site->service->setFault("/api/pireps", {.json = QJsonValue(QJsonValue::Null)});
    else if (reports == Pireps::ErrorPage)
        m_site->service->setFault(
            "/api/pireps",
            {.status = 500, .html = QByteArray("<html><body>Internal Server Error</body></html>")});
    m_app = signedInApp(*m_site, "lichen");
    m_data = std::make_unique<MemberData>(m_app->api());
    m_navigation = std::make_unique<MemberNavigation>();

    m_engine = std::make_unique<QQmlEngine>();
    m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
    QQmlComponent component(m_engine.get());
    component.setData("import Vorna.Home\nDashboardView {}", QUrl(QStringLiteral("qrc:/dashboard.qml")));
    m_view.reset(
        component.createWithInitialProperties({{"appState", QVariant::fromValue(m_app.get())},
                                               {"memberData", QVariant::fromValue(m_data.get())},
                                               {"navigation", QVariant::fromValue(m_navigation.get())}}));
    auto *view = qobject_cast<QQuickItem *>(m_view.get());
    if (!view) {
        qWarning("%s", qPrintable(component.errorString()));
        return nullptr;
    }
    // The page beside the sidebar (220 points and a hairline); the smallest window is 760 by 540.
    m_window = std::make_unique<QQuickWindow>();
    m_window->resize(windowWidth, 540);
    view->setParentItem(m_window->contentItem());
    view->setPosition(QPointF(221, 0));
    view->setSize(QSizeF(windowWidth - 221, 540));
    m_window->show();
    return view;
}

void DashboardViewTest::failedReportsNoticeHoldsItsRetry_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<Pireps>("reports");
    QTest::addColumn<QString>("retry");
    QTest::newRow("null, Chinese") << QByteArray("zh_CN") << Pireps::Null << "重试";
    QTest::newRow("null, English") << QByteArray("en_US") << Pireps::Null << "Retry";
    QTest::newRow("error page, Chinese") << QByteArray("zh_CN") << Pireps::ErrorPage << "重试";
    QTest::newRow("error page, English") << QByteArray("en_US") << Pireps::ErrorPage << "Retry";
}

void DashboardViewTest::failedReportsNoticeHoldsItsRetry()
{
    // Guards the notice that drew its button outside itself until the window was resized.
    QFETCH(QByteArray, language);
    QFETCH(Pireps, reports);
    QFETCH(QString, retry);
    QQuickItem *view = show(language, reports);
    QVERIFY(view);
    QTRY_VERIFY(shownNotice(view));
    QQuickItem *notice = shownNotice(view);
    QQuickItem *text = findText(notice, notice->property("message").toString());
    QVERIFY(text);
    QQuickItem *button = findText(notice, retry);
    QVERIFY(button);
    QVERIFY(button->inherits("QQuickAbstractButton"));
    const QRectF bounds(0, 0, notice->width(), notice->height());
    QTRY_VERIFY2(bounds.contains(rectIn(button, notice)), "the button lies outside its notice");
    QVERIFY(rectIn(button, notice).top() >= rectIn(text, notice).bottom());
    QVERIFY(rectIn(button, notice).bottom() + 20 > bounds.bottom()); // no empty half below it
}

void DashboardViewTest::metricColumnsAreEqual_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<Pireps>("reports");
    QTest::addColumn<QStringList>("titles"); // the figures' titles, left to right and top to bottom
    const QStringList chinese{"已批准时长", "已批准报告", "待审核", "我的排名"};
    QTest::newRow("figures, Chinese") << QByteArray("zh_CN") << Pireps::Sample << chinese;
    QTest::newRow("dashes, Chinese") << QByteArray("zh_CN") << Pireps::Null << chinese;
    QTest::newRow("figures, English")
        << QByteArray("en_US") << Pireps::Sample
        << QStringList{"Approved time", "Approved reports", "Pending review", "My rank"};
}

void DashboardViewTest::metricColumnsAreEqual()
{
    // Guards the figures' columns that took their widths from their texts and jumped as data came.
    QFETCH(QByteArray, language);
    QFETCH(Pireps, reports);
    QFETCH(QStringList, titles);
    QQuickItem *view = show(language, reports);
    QVERIFY(view);
    QList<QQuickItem *> tiles;
    for (const QString &title : titles) {
        QQuickItem *tile = holder(findText(view, title), "symbol");
        QVERIFY2(tile, qPrintable(title));
        tiles.append(tile);
    }
    // Once the reports have answered, with their figures or with a notice.
    QTRY_VERIFY(tiles.at(2)->property("value").toString() != QStringLiteral("—") || shownNotice(view));
    // Two columns of one width, 10 points apart, filling the page's column: 539 less 24 on each side.
    constexpr double cell = (539.0 - 2 * 24 - 10) / 2;
    for (qsizetype i = 0; i < tiles.size(); ++i) {
        QTRY_COMPARE(tiles.at(i)->width(), cell);
        QCOMPARE(rectIn(tiles.at(i), view).left(), 24 + double(i % 2) * (cell + 10));
    }
    QCOMPARE(rectIn(tiles.at(0), view).top(), rectIn(tiles.at(1), view).top());
}

void DashboardViewTest::eventCardsAnswerAndOpen()
{
    // One card per event in the list's order, in place of the stand-ins: answers, and the page behind it.
    QQuickItem *view = show("zh_CN", Pireps::Sample);
    QVERIFY(view);
    const auto cards = [view] {
        QList<QQuickItem *> found;
        for (QQuickItem *item : itemsBelow(view)) {
            if (item->isVisible() && item->objectName() == QLatin1String("home.event"))
                found.append(item);
        }
        return found;
    };
    QTRY_VERIFY(m_data->state(MemberLoad::Events).loaded);
    QTRY_COMPARE(cards().size(), m_data->events().size());
    QVERIFY(cards().size() >= 3);

    // Each card's answer buttons: the started events' are disabled, the others' send the answer.
    QList<QQuickItem *> declines;
    for (QQuickItem *item : itemsBelow(view)) {
        if (item->isVisible() && item->inherits("QQuickAbstractButton")
            && item->property("text").toString() == QStringLiteral("不参加"))
            declines.append(item);
    }
    QCOMPARE(declines.size(), cards().size());
    int last = -1; // the last open event not declined yet
    for (int i = 0; i < declines.size(); ++i) {
        const FlightEvent &event = m_data->events().at(i);
        QCOMPARE(declines.at(i)->isEnabled(), !event.hasStarted());
        if (!event.hasStarted() && m_data->attendance().value(event.id) != QLatin1String("declined"))
            last = i;
    }
    QVERIFY(last >= 0);
    const QString lastId = m_data->events().at(last).id;
    m_site->service->clearRequests();
    QMetaObject::invokeMethod(declines.at(last), "clicked");
    QCOMPARE(m_data->attendance().value(lastId), "declined");
    QTRY_COMPARE(m_site->service->requestsTo("/api/member/event-responses").size(), 1);
    QCOMPARE(m_site->service->requestsTo("/api/member/event-responses").first().json()["eventId"].toString(),
             lastId);
    QVERIFY(declines.at(last)->property("prominent").toBool());

    // The card itself opens the event's page.
    QMetaObject::invokeMethod(cards().first(), "clicked");
    QCOMPARE(m_navigation->depth(NavigationStack::HomeStack), 1);
    QCOMPARE(std::get<EventRoute>(m_navigation->eventPath().first()).event.id, m_data->events().first().id);
}

void DashboardViewTest::eventsStandInAColumnOfTheirOwn_data()
{
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<bool>("besideTheFlight"); // the events' column beside the latest flight's, or below it
    QTest::addColumn<bool>("oneEvent");        // the service lists one upcoming event, not the sample's
    QTest::newRow("smallest window: one column") << 760 << false << false;
    QTest::newRow("wide window: two columns") << 1280 << true << false;
    // One event is an events column too: its heading and its card.
    QTest::newRow("smallest window: one event") << 760 << false << true;
    QTest::newRow("wide window: one event") << 1280 << true << true;
}

void DashboardViewTest::eventsStandInAColumnOfTheirOwn()
{
    // Guards the events that each took a cell of the columns, the second and later ones under the latest
    // flight's heading.
    QFETCH(int, windowWidth);
    QFETCH(bool, besideTheFlight);
    QFETCH(bool, oneEvent);
    if (oneEvent) {
        const QJsonObject event{{"id", "ev-302"},
                                {"departureCode", "ZSPD"},
                                {"arrivalCode", "RJTT"},
                                {"departureCity", "上海"},
                                {"arrivalCity", "东京"},
                                {"estimatedHours", 2},
                                {"estimatedMinutes", 50},
                                {"aircraft", "Airbus A330-300"},
                                {"livery", "China Eastern"},
                                {"eventAtUtc", "2030-05-01T08:00:00Z"}};
        m_site->service->setFault("/api/events/upcoming",
                                  {.json = QJsonObject{{"events", QJsonArray{event}}}});
    }
    QQuickItem *view = show("zh_CN", Pireps::Sample, windowWidth);
    QVERIFY(view);
    QTRY_VERIFY(m_data->state(MemberLoad::Events).loaded && m_data->state(MemberLoad::Latest).loaded);
    QCOMPARE(m_data->events().size() == 1, oneEvent);
    const auto named = [view](const QString &name) {
        QList<QQuickItem *> found;
        for (QQuickItem *item : itemsBelow(view)) {
            if (item->isVisible() && item->objectName() == name)
                found.append(item);
        }
        return found;
    };
    // A section's heading across its column, found by its title.
    const auto heading = [&](const QString &title) -> QQuickItem * {
        for (QQuickItem *item : named(QStringLiteral("section.heading"))) {
            if (item->property("text").toString() == title)
                return holder(item, "subtitle");
        }
        return nullptr;
    };
    const auto left = [view](QQuickItem *item) { return rectIn(item, view).left(); };
    // Laid out once every card is made and the columns have placed them.
    QTRY_COMPARE(named(QStringLiteral("home.event")).size(), m_data->events().size());
    QTRY_VERIFY(heading("将要举行的活动") && named(QStringLiteral("home.latest-flight")).size() == 1);
    QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
    const QRectF flight = rectIn(heading("最近一次飞行"), view)
                              .united(rectIn(named(QStringLiteral("home.latest-flight")).first(), view));
    const QRectF events = rectIn(heading("将要举行的活动"), view);
    const QList<QQuickItem *> cards = named(QStringLiteral("home.event"));
    if (besideTheFlight) {
        QCOMPARE(events.top(), flight.top());
        QVERIFY(events.left() >= flight.right());
    } else {
        QCOMPARE(events.left(), flight.left());
        QVERIFY(events.top() >= flight.bottom());
    }
    // Every card in the events' column, under its heading, in the list's order.
    double below = events.bottom();
    for (QQuickItem *card : cards) {
        QCOMPARE(left(card), left(cards.first()));
        QVERIFY(left(card) >= events.left() && rectIn(card, view).right() <= events.right());
        QVERIFY(rectIn(card, view).top() > below);
        below = rectIn(card, view).bottom();
    }
}

QTEST_MAIN(DashboardViewTest)
#include "tst_dashboard_view.moc"
