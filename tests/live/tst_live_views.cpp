// The Live page's views in a window, against the sample member service: where its controls and cards stand,
// when they show, and what the page does after a screen opened from it has gone.
#include "ImageTestSupport.h"
#include "Installed.h"
#include "LiveApplicationReviewModel.h"
#include "LiveTabModel.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "MemberTestSupport.h"
#include "SceneTestSupport.h"
#include "Theme.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>

Q_IMPORT_QML_PLUGIN(Vorna_UiPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_StatePlugin)
Q_IMPORT_QML_PLUGIN(Vorna_ImagesPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_LivePlugin)

using namespace TestSupport;

namespace {

// The Live page as the shell holds it.
const QByteArray livePage = R"(
import QtQuick
import Vorna.State
import Vorna.Live

Item {
    id: host

    required property AppState appState
    readonly property LiveTabModel model: page.model

    MemberData {
        id: memberData

        client: host.appState.api
    }
    MemberNavigation {
        id: navigation
    }
    LiveTabView {
        id: page

        anchors.fill: parent
        appState: host.appState
        memberData: memberData
        navigation: navigation
    }
}
)";

// An item of the window by its object name, wherever a view, a stack or a repeater put it.
QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    if (root->objectName() == name)
        return root;
    for (QQuickItem *child : root->childItems()) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

QRectF inWindow(const QQuickItem *item)
{
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

} // namespace

class LiveViewsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void barOverThePageColumn_data();
    void barOverThePageColumn();
    void cardsOfOneRowShareTheirHeight_data();
    void cardsOfOneRowShareTheirHeight();
    void aCardAloneKeepsOneColumn_data();
    void aCardAloneKeepsOneColumn();
    void serviceTextsShowAsTheyCome_data();
    void serviceTextsShowAsTheyCome();
    void cardsFollowTheAppearance_data();
    void cardsFollowTheAppearance();
    void reviewReloadsThePageAfterItsScreenHasGone();

private:
    // Makes a component (a snippet, or a file of the Live module) with these properties in a window.
    QQuickItem *show(QQmlComponent &component, const QVariantMap &properties, QSize size);
    // The Live page of a sample member, loaded.
    LiveTabModel *openPage(const QString &username, QSize size);
    QQuickItem *named(const QString &name) const;

    // The shell's navigation, which the page is handed, reaches the own-flight links through it.
    FlightActivityNavigation m_ownFlight{nullptr};
    const Installed<FlightActivityNavigation> m_installedOwnFlight{m_ownFlight};
    std::unique_ptr<Site> m_site;
    // The aircraft cards' pictures.
    std::optional<InstalledPictures> m_pictures;
    std::unique_ptr<AppState> m_app;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<QQuickWindow> m_window;
};

void LiveViewsTest::init()
{
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_pictures.emplace(*m_site->service);
    m_engine = std::make_unique<QQmlEngine>();
    m_engine->addImportPath("qrc:/qt/qml");
}

void LiveViewsTest::cleanup()
{
    m_window.reset();
    m_engine.reset();
    m_app.reset();
    m_pictures.reset();
    m_site.reset();
}

QQuickItem *LiveViewsTest::show(QQmlComponent &component, const QVariantMap &properties, QSize size)
{
    auto *item = qobject_cast<QQuickItem *>(component.createWithInitialProperties(properties));
    if (!item) {
        qWarning("%s", qPrintable(component.errorString()));
        return nullptr;
    }
    m_window = std::make_unique<QQuickWindow>();
    m_window->resize(size);
    item->setParent(m_window.get());
    item->setParentItem(m_window->contentItem());
    item->setSize(size);
    m_window->show();
    return item;
}

LiveTabModel *LiveViewsTest::openPage(const QString &username, QSize size)
{
    m_app = signedInApp(*m_site, username);
    QQmlComponent component(m_engine.get());
    component.setData(livePage, QUrl("qrc:/live-page-host.qml"));
    QQuickItem *host = show(component, {{"appState", QVariant::fromValue(m_app.get())}}, size);
    if (!host)
        return nullptr;
    auto *model = host->property("model").value<LiveTabModel *>();
    // The page loads as it comes on screen.
    const QString linkCheck = QStringLiteral("/api/live-schedules/authorization");
    if (!TestSupport::waitFor(
            [&] { return model && !model->busy() && !m_site->service->requestsTo(linkCheck).isEmpty(); }))
        return nullptr;
    return model;
}

QQuickItem *LiveViewsTest::named(const QString &name) const
{
    return findItem(m_window->contentItem(), name);
}

void LiveViewsTest::barOverThePageColumn_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("linked");
    QTest::newRow("linked, wide") << "lichen" << QSize(1920, 1200) << true;
    QTest::newRow("linked, compact") << "lichen" << QSize(760, 540) << true;
    QTest::newRow("not linked") << "zhaolei" << QSize(1920, 1200) << false;
}

void LiveViewsTest::barOverThePageColumn()
{
    QFETCH(QString, username);
    QFETCH(QSize, size);
    QFETCH(bool, linked);
    LiveTabModel *model = openPage(username, size);
    QVERIFY(model);
    if (!linked)
        QTRY_VERIFY(model->showsConnectCard());
    QQuickItem *search = named("live.search");
    QQuickItem *refresh = named("live.refresh");
    QVERIFY(search && refresh);
    // Regression: a page not linked hid its search and its refresh, which every page has.
    QVERIFY(search->isVisible());
    QVERIFY(refresh->isVisible());
    QVERIFY(refresh->isEnabled());
    // Regression: at 1920 points the two stood at the window's edge, the page's column 400 points inside it.
    QQuickItem *column = named(linked ? "live.tabs" : "live.connectCard");
    QVERIFY(column && column->isVisible());
    QTRY_COMPARE(qRound(inWindow(refresh).right()), qRound(inWindow(column).right()));
    QVERIFY(inWindow(search).right() < inWindow(refresh).left());
}

void LiveViewsTest::cardsOfOneRowShareTheirHeight_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<LiveTabModel::Board>("tab");
    QTest::addColumn<QString>("shorter"); // on its own, the shorter card of a row
    QTest::addColumn<QString>("taller");
    // A reviewer's first page: app-10 without a reviewer's note beside app-09 with one.
    QTest::newRow("applications") << "wangfang" << LiveTabModel::Applications << "live.review.app-10"
                                  << "live.review.app-09";
    // B-30A3 with nothing to tell beside B-30A4 with its next schedule and last pilot.
    QTest::newRow("fleet") << "lichen" << LiveTabModel::Fleet << "live.aircraft.org-vornalia/ac-103"
                           << "live.aircraft.org-vornalia/ac-104";
}

void LiveViewsTest::cardsOfOneRowShareTheirHeight()
{
    QFETCH(QString, username);
    QFETCH(LiveTabModel::Board, tab);
    QFETCH(QString, shorter);
    QFETCH(QString, taller);
    LiveTabModel *model = openPage(username, QSize(1920, 1200));
    QVERIFY(model);
    model->setTab(tab);
    QQuickItem *left = named(shorter);
    QQuickItem *right = named(taller);
    QVERIFY(left && right);
    // Laid out side by side, in two columns.
    QTRY_VERIFY(inWindow(left).right() < inWindow(right).left());
    QCOMPARE(inWindow(left).top(), inWindow(right).top());
    // Regression: each card kept its own height, so a row's cards ended at different heights.
    QTRY_COMPARE(left->height(), right->height());
    QVERIFY(left->height() > 0);
}

void LiveViewsTest::aCardAloneKeepsOneColumn_data()
{
    QTest::addColumn<LiveTabModel::Board>("tab");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("board");
    // The search leaves B-30A7 alone in its organisation's section.
    QTest::newRow("fleet, one aircraft found") << LiveTabModel::Fleet << "B-30A7"
                                               << "live.aircraft.org-vornalia/ac-107"
                                               << "live.fleet";
    // The member's one application.
    QTest::newRow("applications, one listed") << LiveTabModel::Applications << ""
                                              << "live.application.app-10"
                                              << "live.applicationsBoard";
}

// Regression: in a regular window a section or list holding one card stretched it across both columns.
void LiveViewsTest::aCardAloneKeepsOneColumn()
{
    QFETCH(LiveTabModel::Board, tab);
    QFETCH(QString, search);
    QFETCH(QString, card);
    QFETCH(QString, board);
    const QJsonObject application{
        {"id", "app-10"},           {"username", "lichen"}, {"organization", "Vornalia Virtual"},
        {"registration", "B-30A4"}, {"departure", "ZBAA"},  {"arrival", "ZSSS"},
        {"status", "pending"},      {"reviewNote", ""}};
    m_site->service->setFault(
        "/api/live-schedules/applications",
        {.json = QJsonObject{{"applications", QJsonArray{application}}, {"hasMore", false}}});
    LiveTabModel *model = openPage("lichen", QSize(1920, 1200));
    QVERIFY(model);
    model->setTab(tab);
    model->setSearch(search);
    QQuickItem *shownCard = nullptr;
    QTRY_VERIFY((shownCard = named(card)) && shownCard->isVisible());
    QQuickItem *shownBoard = named(board);
    QVERIFY(shownBoard);
    // One of two columns, at the start of its row.
    QTRY_COMPARE(qRound(shownCard->width()), qRound((shownBoard->width() - 16) / 2));
    QCOMPARE(qRound(inWindow(shownCard).left()), qRound(inWindow(shownBoard).left()));
}

void LiveViewsTest::serviceTextsShowAsTheyCome_data()
{
    QTest::addColumn<QString>("field"); // of the one application listed, or "organization" of the board
    QTest::addColumn<QString>("text");
    QTest::newRow("an application's note") << "reviewNote"
                                           << "<b>请按计划时刻执飞</b>";
    QTest::newRow("an application's registration") << "registration"
                                                   << "<i>B-30A4</i>";
    QTest::newRow("a status the app does not know") << "status"
                                                    << "<u>withdrawn</u>";
    QTest::newRow("an organisation's name") << "organization"
                                            << "<b>Vornalia</b> Virtual";
    QTest::newRow("a picture in a note") << "reviewNote"
                                         << "<img src=\"https://tracker.example/p.png\">";
}

// Regression: texts of the service's records were read as markup where they looked like it: a note drew in
// bold, and one holding a picture's tag would have the app fetch that address.
void LiveViewsTest::serviceTextsShowAsTheyCome()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QJsonObject application{
        {"id", "app-10"},           {"username", "lichen"}, {"organization", "Vornalia Virtual"},
        {"registration", "B-30A4"}, {"departure", "ZBAA"},  {"arrival", "ZSSS"},
        {"status", "pending"},      {"reviewNote", ""}};
    if (field == "organization") {
        const QJsonObject organization{
            {"id", "org-x"}, {"name", text}, {"aircraft", QJsonArray()}, {"schedules", QJsonArray()}};
        m_site->service->setFault(
            "/api/live-schedules",
            {.json = QJsonObject{{"organizations", QJsonArray{organization}}}, .method = "GET"});
    } else {
        application.insert(field, text);
    }
    m_site->service->setFault(
        "/api/live-schedules/applications",
        {.json = QJsonObject{{"applications", QJsonArray{application}}, {"hasMore", false}}});
    LiveTabModel *model = openPage("lichen", QSize(1920, 1200));
    QVERIFY(model);
    model->setTab(field == "organization" ? LiveTabModel::Fleet : LiveTabModel::Applications);
    // The text on screen that holds the service's words: as they are, not as markup.
    const auto shownAsItComes = [&]() -> QString {
        QString found = QStringLiteral("not shown");
        for (QQuickItem *item : itemsBelow(m_window->contentItem())) {
            if (!item->isVisible() || !item->inherits("QQuickText")
                || item->property("text").toString() != text)
                continue;
            if (item->property("textFormat").toInt() != 0 /* Text.PlainText */)
                return QStringLiteral("read as markup");
            found.clear();
        }
        return found;
    };
    QTRY_COMPARE(shownAsItComes(), QString());
}

void LiveViewsTest::cardsFollowTheAppearance_data()
{
    QTest::addColumn<LiveTabModel::Board>("tab");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("role");
    QTest::newRow("an aircraft on the ground") << LiveTabModel::Fleet << "live.aircraft.org-vornalia/ac-104"
                                               << "在地面" << int(Theme::Ink);
    QTest::newRow("an application waiting") << LiveTabModel::Applications << "live.application.app-10"
                                            << "待审核" << int(Theme::Pending);
}

// Regression: switched to the dark appearance while the Live page showed, its cards kept the light colours of
// their status: an aircraft on the ground had its chip and route in near-black on the dark card.
void LiveViewsTest::cardsFollowTheAppearance()
{
    QFETCH(LiveTabModel::Board, tab);
    QFETCH(QString, card);
    QFETCH(QString, status);
    QFETCH(int, role);
    LiveTabModel *model = openPage("lichen", QSize(1920, 1200));
    QVERIFY(model);
    model->setTab(tab);
    auto *theme = m_engine->singletonInstance<Theme *>(qmlTypeId("Vorna.Ui", 1, 0, "Theme"));
    QVERIFY(theme);
    theme->setAppearance(QStringLiteral("light"));
    // The status chip's text, in its card.
    const auto chipColour = [&]() -> QColor {
        QQuickItem *shownCard = named(card);
        for (QQuickItem *item : itemsBelow(shownCard)) {
            if (item->isVisible() && item->inherits("QQuickText")
                && item->property("text").toString() == status)
                return item->property("color").value<QColor>();
        }
        return {};
    };
    QTRY_COMPARE(chipColour(), theme->role(role));
    const QColor light = theme->role(role);
    theme->setAppearance(QStringLiteral("dark"));
    QVERIFY(theme->role(role) != light);
    QTRY_COMPARE(chipColour(), theme->role(role));
    theme->setAppearance(QStringLiteral("system"));
}

void LiveViewsTest::reviewReloadsThePageAfterItsScreenHasGone()
{
    m_app = signedInApp(*m_site, "wangfang");
    LiveTabModel liveTab;
    liveTab.setAppState(m_app.get());
    await(liveTab.load());
    const auto status = [&liveTab] {
        const std::optional<LiveApplication> listed = liveTab.application("app-10");
        return listed ? listed->status : QString();
    };
    QCOMPARE(status(), "pending");

    // Opened from the board as the shell opens it: on the Live tab's stack, the route naming the Live page.
    MemberData memberData(m_app->api());
    MemberNavigation navigation;
    navigation.openLiveReview("app-10", &liveTab);
    const PageRoute route = navigation.routeAt(NavigationStack::LiveStack, 0);
    QCOMPARE(route.page, ShellPage::LiveReview);
    QQmlComponent component(m_engine.get(), QUrl("qrc:/qt/qml/Vorna/Live/LiveReviewEntry.qml"));
    QQuickItem *entry = show(component,
                             {{"appState", QVariant::fromValue(m_app.get())},
                              {"memberData", QVariant::fromValue(&memberData)},
                              {"navigation", QVariant::fromValue(&navigation)},
                              {"route", QVariant::fromValue(route)}},
                             QSize(760, 540));
    QVERIFY(entry);
    auto *review = entry->property("model").value<LiveApplicationReviewModel *>();
    QVERIFY(review && review->valid());

    // The approval is on its way when the reviewer leaves the screen.
    const QString approve = QStringLiteral("/api/live-schedules/application-approve");
    m_site->service->setFault(approve, {.held = true});
    m_site->service->clearRequests();
    review->confirm();
    QTRY_COMPARE(m_site->service->requestsTo(approve).size(), 1);
    m_window.reset();
    m_site->service->release();

    // Regression: only a screen still open told the Live page to reload.
    QTRY_COMPARE(m_site->service->requestsTo(QStringLiteral("/api/live-schedules/authorization")).size(), 1);
    QTRY_VERIFY(!liveTab.busy());
    QCOMPARE(status(), "approved");
}

QTEST_MAIN(LiveViewsTest)
#include "tst_live_views.moc"
