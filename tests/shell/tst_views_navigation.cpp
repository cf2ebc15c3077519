// The shell's pages, stacks and tabs against the sample member service: each page on its tab's stack and its
// way back, by its button and by the back keys, the page beneath kept through a push and a pop, tabs that
// make their pages when first shown, the buttons and links that lead from one page to another, the staff's
// workbench, the logbook sheet and the maps.

#include "LiveMapModel.h"
#include "LiveTabModel.h"
#include "ManualClock.h"
#include "PageTable.h"
#include "PirepFormModel.h"
#include "QuitQuestion.h"
#include "ShellViewsFixture.h"

#include <QBuffer>
#include <QFile>
#include <QGeoCoordinate>
#include <QImage>
#include <QMetaEnum>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQuickTest/quicktest.h>
#include <QtTest>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestSupport;
using Sample::Request;

namespace {

// What the quit question says under its title while a report is sent, and while evidence pictures are.
const QString reportMessage =
    QStringLiteral("现在退出将看不到这份报告是否提交成功；如果没有被接受，已填写的内容和截图也不会保留。");
const QString picturesMessage =
    QStringLiteral("现在退出将看不到这些截图是否上传成功；如果没有被接受，需要重新选择截图。");

// A picked picture whose file is a named pipe: converting it waits on reading it until the test hands the
// picture over, so a page stays converting for as long as a test needs. The test holds the pipe's writing
// end from the start, so the page's reader never waits to open it, only to read.
class HeldPicture
{
public:
    explicit HeldPicture(QString path)
        : m_path(QFile::encodeName(path))
    {
        if (::mkfifo(m_path.constData(), 0600) == 0)
            m_pipe = ::open(m_path.constData(), O_RDWR | O_CLOEXEC);
    }
    HeldPicture(const HeldPicture &) = delete;
    HeldPicture &operator=(const HeldPicture &) = delete;
    // A conversion still waiting is never left to hang the test's threads.
    ~HeldPicture() { handOver(); }

    QUrl url() const { return m_pipe >= 0 ? QUrl::fromLocalFile(QFile::decodeName(m_path)) : QUrl(); }

    // Writes the picture into the pipe, once, and closes it as soon as the reader has taken the picture: it
    // then reads to the end. The pipe's name goes with it, so a reader that comes later finds no file.
    void handOver()
    {
        if (m_pipe < 0)
            return;
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        // One write under the pipe's atomic size: the reader wakes to the whole picture.
        if (::write(m_pipe, png.constData(), size_t(png.size())) == png.size()) {
            [[maybe_unused]] const bool taken = TestSupport::waitFor([this] {
                int waiting = 0;
                return ::ioctl(m_pipe, FIONREAD, &waiting) == 0 && waiting == 0;
            });
        }
        ::unlink(m_path.constData());
        ::close(std::exchange(m_pipe, -1));
    }

private:
    QByteArray m_path;
    int m_pipe = -1;
};

} // namespace

class ViewsNavigationTest : public ShellViewsFixture
{
    Q_OBJECT

private Q_SLOTS:
    void shellOpensEachPageAndGoesBack_data();
    void shellOpensEachPageAndGoesBack();
    void leaderboardFromTheAccountTab();
    void pageBeneathStaysThroughPushAndPop();
    void reportDetailsRouteStandsWhole_data();
    void reportDetailsRouteStandsWhole();
    void dashboardOpensItsPagesOnItsOwnStack_data();
    void dashboardOpensItsPagesOnItsOwnStack();
    void homeRefreshesAsItShowsAgain();
    void eventInItsPirepWindowOpensThePirepForm();
    void tabsMakeTheirPagesWhenFirstShown();
    void ownFlightLinkLandsOnTheMap_data();
    void ownFlightLinkLandsOnTheMap();
    void liveMapShowsTheBannerAndTheSelectedFlightsBar();
    void panelsOverTheMapTakeThePointer();
    void backKeysPopOnePage_data();
    void backKeysPopOnePage();
    void busyFormKeepsItsPlace_data();
    void busyFormKeepsItsPlace();
    void busyUploadKeepsItsPlace();
    void convertingPicturesAsksNothing_data();
    void convertingPicturesAsksNothing();
    void quittingAnywayQuits();
    void questionGoesAsTheSendEnds_data();
    void questionGoesAsTheSendEnds();
    void questionKeepsTheKeyboardWhileOpen();
    void uploadedAlertLeavesTheKeyboardOnANamedControl_data();
    void uploadedAlertLeavesTheKeyboardOnANamedControl();
    void workbenchOpensAReviewAndGoesBack_data();
    void workbenchOpensAReviewAndGoesBack();
    void staffReachTheMembersAnswersToAnEvent();
    void logbookSheetOverTheAccountTab();
    void routesMapOnTheDashboardAndInTheLogbook();
    void routesMapOfAMemberWithoutRoutes();

private:
    // Its title and the message under it say what is on its way.
    void quittingAsksFirst(const QString &title, const QString &message);
    // The report form on the flights tab, filled with a circuit the service cannot find: with `proof`, a
    // note and a picture, which the service accepts.
    QQuickItem *showFilledForm(bool proof);
    // lichen signed in, on the map tab: its page, or none.
    QQuickItem *showTheMap();
};

QQuickItem *ViewsNavigationTest::showTheMap()
{
    if (!showWindowRoot() || !activateWindow() || !signIn("lichen", "fly-vornalia")
        || !TestSupport::waitFor([this] { return shown(m_root, "home.notifications") != nullptr; }))
        return nullptr;
    auto *navigation = m_root->findChild<MemberNavigation *>();
    if (!navigation)
        return nullptr;
    navigation->setSelected(MemberTab::Map);
    return TestSupport::awaitItem([this] { return shown(m_root, "shell.map"); },
                                  [](QQuickItem *) { return true; });
}

// Closing the window while a page sends what the member gave it asks first: the window and the page stay,
// Return keeps them, the quit key asks again, and only "仍要退出" quits.
void ViewsNavigationTest::quittingAsksFirst(const QString &title, const QString &message)
{
    QSignalSpy quit(m_engine.get(), &QQmlEngine::quit);
    // The question's controls are on the window's overlay.
    QQuickItem *overlay = m_window->contentItem();
    QVERIFY(!m_window->close());
    QVERIFY(m_window->isVisible());
    QQuickItem *stay = nullptr;
    QTRY_VERIFY((stay = shown(overlay, "quit.stay")));
    QVERIFY2(textsShown(overlay).contains(title), qPrintable(textsShown(overlay).join(" | ")));
    QVERIFY2(textsShown(overlay).contains(message), qPrintable(textsShown(overlay).join(" | ")));
    QTRY_COMPARE(m_window->activeFocusItem(), stay);
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    QTRY_VERIFY(!shown(overlay, "quit.stay"));
    QCOMPARE(quit.count(), 0);

    QVERIFY(QMetaObject::invokeMethod(m_root, "quit"));
    QTRY_VERIFY((stay = shown(overlay, "quit.stay")));
    QVERIFY(QMetaObject::invokeMethod(stay, "clicked"));
    QTRY_VERIFY(!shown(overlay, "quit.stay"));
    QCOMPARE(quit.count(), 0);
    QVERIFY(m_window->isVisible());
}

// The two keys that go back one page: Escape and Alt+Left.
static void addBackKeys()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
    QTest::newRow("Alt+Left") << int(Qt::Key_Left) << int(Qt::AltModifier);
}

void ViewsNavigationTest::shellOpensEachPageAndGoesBack_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("page");       // on its stack, in place of the tab's root
    QTest::addColumn<QString>("title");      // a text the page shows
    QTest::addColumn<QString>("root");       // a control of the tab's root page
    QTest::addColumn<QStringList>("others"); // what the other pages show
    // "返回" pressed by a screen reader, which moves no keyboard: it was on the sidebar's first row as the
    // page opened. Else it is clicked.
    QTest::addColumn<bool>("screenReader");
    QTest::newRow("event") << int(MemberTab::Home) << "shell.event"
                           << "活动详情"
                           << "home.notifications"
                           << QStringList{"pirep.detail.back", "account.page", "rank.period"} << false;
    QTest::newRow("report") << int(MemberTab::Flights) << "pirep.detail.back"
                            << "报告详情"
                            << "pirep.new" << QStringList{"shell.event", "account.page", "rank.period"}
                            << false;
    QTest::newRow("profile") << int(MemberTab::Account) << "account.page"
                             << "个人主页"
                             << "account.leaderboard"
                             << QStringList{"shell.event", "pirep.detail.back", "rank.period"} << false;
    QTest::newRow("leaderboard") << int(MemberTab::Account) << "rank.period"
                                 << "排行榜"
                                 << "account.leaderboard"
                                 << QStringList{"shell.event", "pirep.detail.back", "account.page"} << false;
    // Regression: the keyboard went back to where it was as the page opened, the sidebar's 首页, where the
    // key leaves it in the page it returns to.
    QTest::newRow("report, by a screen reader")
        << int(MemberTab::Flights) << "pirep.detail.back"
        << "报告详情"
        << "pirep.new" << QStringList{"shell.event", "account.page", "rank.period"} << true;
    QTest::newRow("leaderboard, by a screen reader")
        << int(MemberTab::Account) << "rank.period"
        << "排行榜"
        << "account.leaderboard" << QStringList{"shell.event", "pirep.detail.back", "account.page"} << true;
}

// Regression: two pages swapped in the shell's table still passed every test; each route shows its own
// page, and the page's way back shows the tab's root again.
void ViewsNavigationTest::shellOpensEachPageAndGoesBack()
{
    QFETCH(int, tab);
    QFETCH(QString, page);
    QFETCH(QString, title);
    QFETCH(QString, root);
    QFETCH(QStringList, others);
    QFETCH(bool, screenReader);
    QVERIFY(showDashboard("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    auto *data = m_root->findChild<MemberData *>();
    QVERIFY(navigation && data);
    navigation->setSelected(MemberTab(tab));
    QTRY_VERIFY(shown(m_root, root));
    if (screenReader) {
        QVERIFY(activateWindow());
        shown(m_root, "shell.tab.0")->forceActiveFocus(Qt::TabFocusReason);
    }
    if (page == "shell.event") {
        QVERIFY(!data->events().isEmpty());
        navigation->openEvent(data->events().constFirst());
    } else if (page == "pirep.detail.back") {
        QTRY_VERIFY(!data->pireps().isEmpty());
        navigation->push(NavigationStack::FlightStack, PirepRoute{data->pireps().constFirst()});
    } else if (page == "account.page") {
        navigation->pushPage(NavigationStack::AccountStack, ShellPage::Profile);
    } else {
        navigation->pushPage(NavigationStack::AccountStack, ShellPage::Leaderboard);
    }
    QTRY_VERIFY2(shown(m_root, page), qPrintable(page));
    QTRY_VERIFY2(textsShown(m_root).contains(title), qPrintable(title));
    QVERIFY(!shown(m_root, root));
    for (const QString &other : others)
        QVERIFY2(!shown(m_root, other), qPrintable(other));

    // The page's own "返回" at its top.
    QQuickItem *backButton = nullptr;
    QTRY_VERIFY((backButton = buttonShown(m_root, QStringLiteral("返回"))));
    if (screenReader) {
        QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(backButton);
        QVERIFY(heard && heard->actionInterface());
        heard->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    } else {
        QVERIFY(QMetaObject::invokeMethod(backButton, "clicked"));
    }
    QTRY_VERIFY(shown(m_root, root));
    QTRY_VERIFY(!shown(m_root, page));
    if (screenReader) {
        // In the page it returns to, on something named.
        QQuickItem *rootPage = pagesOf(MemberTab(tab))->top();
        QTRY_COMPARE(TestSupport::keyboardUnheard(m_window.get()), QString());
        QQuickItem *focused = m_window->activeFocusItem();
        QVERIFY2(focused == rootPage || rootPage->isAncestorOf(focused), qPrintable(heardName(focused)));
    }
}

// The account tab's leaderboard button opens the leaderboard on the tab's stack; its pickers answer the
// keyboard.
void ViewsNavigationTest::leaderboardFromTheAccountTab()
{
    QVERIFY(showDashboard("lichen"));
    m_window->requestActivate();
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    navigation->setSelected(MemberTab::Account);
    QQuickItem *open = nullptr;
    QTRY_VERIFY((open = shown(m_root, "account.leaderboard")));
    open->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);

    QQuickItem *periods = nullptr;
    QTRY_VERIFY((periods = shown(m_root, "rank.period")));
    QVERIFY(textsShown(m_root).contains("仅统计 Member 成员已批准的 PIREP。"));
    QVERIFY(shown(m_root, "rank.board") && shown(m_root, "rank.metric"));
    QList<QQuickItem *> segments;
    for (QQuickItem *item : itemsBelow(periods)) {
        if (item->inherits("QQuickAbstractButton"))
            segments.append(item);
    }
    QCOMPARE(segments.size(), 2);
    segments.at(1)->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    QTRY_VERIFY(requestSent([](const Request &r) {
        return r.path == "/api/member/pirep-leaderboard" && r.query.queryItemValue("period") == "recent";
    }));

    navigation->pop(NavigationStack::AccountStack);
    QTRY_VERIFY(shown(m_root, "account.leaderboard"));
    QTRY_VERIFY(!m_root->findChild<QQuickItem *>("rank.period")); // the page left is gone
}

// Regression: going back rebuilt the page beneath from nothing, so its scroll position was lost and every
// load of the tab ran again.
void ViewsNavigationTest::pageBeneathStaysThroughPushAndPop()
{
    QVERIFY(showDashboard("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    PageStackModel *home = pagesOf(MemberTab::Home);
    QVERIFY(navigation && home);
    QPointer<QQuickItem> dashboard = home->top();
    QVERIFY(dashboard);
    // The home page scrolled down a little.
    QQuickItem *scroll = nullptr;
    for (QQuickItem *item : itemsBelow(dashboard)) {
        if (item->inherits("QQuickFlickable") && item->isVisible()
            && item->property("contentHeight").toReal() > item->height() + 60) {
            scroll = item;
            break;
        }
    }
    QVERIFY2(scroll, "the home page does not scroll in this window");
    scroll->setProperty("contentY", 60);
    QTest::qWait(200); // anything the home page still asks for arrives
    service().clearRequests();

    FlightEvent event;
    event.id = "e-1";
    navigation->openEvent(event);
    QQuickItem *eventPage = nullptr;
    QTRY_VERIFY((eventPage = shown(m_root, "shell.event")));
    QPointer<QQuickItem> opened = eventPage;
    QVERIFY(!shown(m_root, "home.notifications"));
    QVERIFY(textsShown(m_root).contains("活动详情"));

    navigation->pop(NavigationStack::HomeStack);
    QTRY_VERIFY(opened.isNull()); // the page popped is destroyed
    QVERIFY(shown(m_root, "home.notifications"));
    QCOMPARE(home->top(), dashboard.data());
    QCOMPARE(scroll->property("contentY").toReal(), 60.0);
    QTest::qWait(200);
    // Shown again, the home page refreshes as each of its appearances does: each of its loads once, and
    // nothing of the page that has gone.
    QStringList asked;
    for (const Request &request : service().requests())
        asked.append(request.path);
    for (const char *load : {"/api/profile", "/api/pireps", "/api/notifications", "/api/events/upcoming"})
        QCOMPARE(asked.count(QString::fromLatin1(load)), 1);
    QCOMPARE(QSet<QString>(asked.cbegin(), asked.cend()).size(), asked.size());
    QVERIFY(!asked.contains("/api/events/e-1"));
}

void ViewsNavigationTest::reportDetailsRouteStandsWhole_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("route");
    QTest::addColumn<QSize>("window");
    // Regression: the arrow ran to the card's edge and only "ZS" of the arrival code showed, past the card,
    // until the window was resized.
    QTest::newRow("ZBAA → ZSPD, wide") << "p-24398"
                                       << "ZBAA → ZSPD" << QSize(1100, 720);
    QTest::newRow("ZBAA → ZSPD, smallest") << "p-24398"
                                           << "ZBAA → ZSPD" << QSize(760, 540);
    QTest::newRow("ZSPD → ZBAA, wide") << "p-24240"
                                       << "ZSPD → ZBAA" << QSize(1100, 720);
    QTest::newRow("KLAX → RJTT, wide") << "p-24330"
                                       << "KLAX → RJTT" << QSize(1100, 720);
    // The arrow between the codes ends before the arrival's: drawn across it, the code read "ZS" behind it.
    QTest::newRow("ZSPD → ZBAA, smallest") << "p-24240"
                                           << "ZSPD → ZBAA" << QSize(760, 540);
}

void ViewsNavigationTest::reportDetailsRouteStandsWhole()
{
    QFETCH(QString, report);
    QFETCH(QString, route);
    QFETCH(QSize, window);
    QVERIFY(showDashboard("lichen"));
    m_window->resize(window);
    m_root->setSize(window);
    auto *navigation = m_root->findChild<MemberNavigation *>();
    auto *data = m_root->findChild<MemberData *>();
    QVERIFY(navigation && data);
    const QList<Pirep> reports = data->pireps();
    const auto opened = std::find_if(reports.cbegin(), reports.cend(),
                                     [&report](const Pirep &each) { return each.id == report; });
    QVERIFY(opened != reports.cend());
    navigation->openPirep(*opened);
    // The detail's route line, once its record has come.
    const auto line = [this, &route]() -> QQuickItem * {
        // The detail opens in the logbook sheet, over the window's content.
        for (QQuickItem *item : itemsBelow(m_window->contentItem())) {
            if (item->isVisible() && item->objectName() == "pirep.detail.route" && heardName(item) == route)
                return item;
        }
        return nullptr;
    };
    // Where a code falls short of its glyphs or stands outside the line, or the arrow runs into a code.
    const auto misplaced = [&]() -> QString {
        QQuickItem *shownLine = line();
        if (!shownLine)
            return QStringLiteral("no route line");
        const auto inLine = [shownLine](QQuickItem *item) {
            return item->mapRectToItem(shownLine, QRectF(0, 0, item->width(), item->height()));
        };
        QList<QRectF> codes;
        for (const QString &code : route.split(QStringLiteral(" → "))) {
            QQuickItem *text = nullptr;
            for (QQuickItem *item : itemsBelow(shownLine)) {
                if (item->property("text").toString() == code)
                    text = item;
            }
            if (!text)
                return code + " not shown";
            const QRectF box = inLine(text);
            if (text->width() < text->implicitWidth() || box.left() < 0 || box.right() > shownLine->width())
                return QStringLiteral("%1 at %2 to %3, %4 wide for %5, in %6")
                    .arg(code)
                    .arg(box.left())
                    .arg(box.right())
                    .arg(text->width())
                    .arg(text->implicitWidth())
                    .arg(shownLine->width());
            codes.append(box);
        }
        QQuickItem *arrow = nullptr;
        for (QQuickItem *item : itemsBelow(shownLine)) {
            if (item->isVisible() && item->inherits("RouteArrow"))
                arrow = item;
        }
        if (!arrow)
            return QStringLiteral("no arrow");
        const QRectF drawn = inLine(arrow);
        if (drawn.left() < codes.first().right() || drawn.right() > codes.last().left())
            return QStringLiteral("the arrow from %1 to %2, between codes ending at %3 and starting at %4")
                .arg(drawn.left())
                .arg(drawn.right())
                .arg(codes.first().right())
                .arg(codes.last().left());
        return QString();
    };
    QTRY_VERIFY(line());
    QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
    QTRY_COMPARE(misplaced(), QString());
}

void ViewsNavigationTest::dashboardOpensItsPagesOnItsOwnStack_data()
{
    QTest::addColumn<QString>("road");
    QTest::addColumn<int>("tab");           // the tab the page stands on
    QTest::addColumn<QString>("page");      // a control of the page opened
    QTest::addColumn<QStringList>("texts"); // what it shows of what was opened
    QTest::newRow("a report notice") << "report notice" << int(MemberTab::Home) << "pirep.detail.back"
                                     << QStringList{}; // the notice's own route
    QTest::newRow("完善资料") << "profile" << int(MemberTab::Home) << "account.profileEdit" << QStringList{};
    QTest::newRow("提交 PIREP in the air")
        << "live flight" << int(MemberTab::Flights) << "pirep.departure" << QStringList{"提交 PIREP"};
}

// Regression: a report notice opened a stand-in page, "完善资料" moved the member to the 其他 tab, and the
// latest-flight card of a flight under way landed on the list of reports, not on the form.
void ViewsNavigationTest::dashboardOpensItsPagesOnItsOwnStack()
{
    QFETCH(QString, road);
    QFETCH(int, tab);
    QFETCH(QString, page);
    QFETCH(QStringList, texts);
    if (road == "profile")
        service().accountNamed("lichen")->profile["callsign"] = "";
    QVERIFY(showDashboard("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    auto *data = m_root->findChild<MemberData *>();
    QVERIFY(navigation && data);

    if (road == "report notice") {
        QVERIFY(QMetaObject::invokeMethod(shown(m_root, "home.notifications"), "clicked"));
        // A report's notice: "PIREP 已批准 · ZBAA → ZSPD" and the like.
        QTRY_VERIFY(firstNotice(m_root));
        // One whose report the member's list holds (a notice of a report gone opens the notice itself).
        const auto listed = [data](const QString &noticeId) {
            const QList<SiteNotice> &notices = data->inbox()->notifications;
            const auto notice = std::find_if(notices.cbegin(), notices.cend(),
                                             [&](const SiteNotice &n) { return n.id == noticeId; });
            return notice != notices.cend()
                   && std::any_of(data->pireps().cbegin(), data->pireps().cend(),
                                  [&](const Pirep &report) { return report.id == notice->entityId; });
        };
        QQuickItem *notice = nullptr;
        for (QQuickItem *item : itemsBelow(m_root)) {
            if (!notice && item->isVisible() && item->inherits("QQuickSwipeDelegate")
                && item->property("title").toString().startsWith("PIREP")
                && listed(item->property("noticeId").toString()))
                notice = item;
        }
        QVERIFY(notice);
        const QString route = notice->property("title").toString().section(" · ", 1);
        texts = QStringList{"报告详情", route.section(" → ", 0, 0), route.section(" → ", 1)};
        QVERIFY(QMetaObject::invokeMethod(notice, "clicked"));
    } else if (road == "profile") {
        QQuickItem *banner = nullptr;
        QTRY_VERIFY((banner = shown(m_root, "home.profileBanner")));
        QQuickItem *button = buttonShown(banner, "完善资料");
        QVERIFY(button);
        QVERIFY(QMetaObject::invokeMethod(button, "clicked"));
    } else {
        // The sample member is flying now: the card is their flight under way.
        QTRY_VERIFY(data->latestFlight() && std::holds_alternative<LiveLatestFlight>(*data->latestFlight()));
        QQuickItem *card = nullptr;
        QTRY_VERIFY((card = shown(m_root, "home.latest-flight")));
        QTRY_VERIFY(textsShown(card).join(' ').contains("提交 PIREP"));
        QVERIFY(QMetaObject::invokeMethod(card, "clicked"));
    }
    QTRY_VERIFY2(shown(m_root, page), qPrintable(page + ": " + textsShown(m_root).join(" | ")));
    QCOMPARE(int(navigation->selected()), tab);
    for (const QString &text : std::as_const(texts))
        QTRY_VERIFY2(textsShown(m_root).join(' ').contains(text), qPrintable(text));
    QVERIFY(!shown(m_root, "home.notifications"));
    QVERIFY(navigation->accountPath().isEmpty());
    QVERIFY(!textsShown(m_root).contains("此页面尚在准备中。"));
}

// The home page loads again each time it comes on screen (back on its tab) and on its refresh button.
void ViewsNavigationTest::homeRefreshesAsItShowsAgain()
{
    QVERIFY(showDashboard("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    const auto asked = [this](const char *path) {
        return service().requestsTo(QString::fromLatin1(path)).size();
    };

    service().clearRequests();
    navigation->setSelected(MemberTab::Account);
    QTRY_VERIFY(shown(m_root, "account.logbook"));
    QCOMPARE(asked("/api/pireps"), 0);
    navigation->setSelected(MemberTab::Home);
    QTRY_COMPARE(asked("/api/pireps"), 1);
    QTRY_COMPARE(asked("/api/profile"), 1);
    waitForTheDashboard();

    QQuickItem *refresh = shown(m_root, "home.refresh");
    QVERIFY(refresh);
    QVERIFY(QMetaObject::invokeMethod(refresh, "clicked"));
    QTRY_COMPARE(asked("/api/pireps"), 2);
    waitForTheDashboard();
    // F5 too, while the page shows.
    QVERIFY(activateWindow());
    QTest::keyClick(m_window.get(), Qt::Key_F5);
    QTRY_COMPARE(asked("/api/pireps"), 3);
}

// The event page that the shell shows for the event under way that "lichen" attends: its report button
// takes them to the report form on the flights tab.
void ViewsNavigationTest::eventInItsPirepWindowOpensThePirepForm()
{
    QVERIFY(showDashboard("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    auto *data = m_root->findChild<MemberData *>();
    QVERIFY(navigation && data);
    const auto under = std::find_if(data->events().cbegin(), data->events().cend(),
                                    [](const FlightEvent &event) { return event.id == "ev-302"; });
    QVERIFY(under != data->events().cend());

    navigation->openEvent(*under);
    QTRY_VERIFY(shown(m_root, "shell.event"));
    QQuickItem *report = nullptr;
    QTRY_VERIFY((report = buttonShown(m_root, QStringLiteral("提交本次活动 PIREP（×1.5）"))));
    QMetaObject::invokeMethod(report, "clicked");
    QCOMPARE(navigation->selected(), MemberTab::Flights);
    QCOMPARE(navigation->flightPath(), (QList<Destination>{EventSubmissionRoute{*under}}));
    QTRY_VERIFY(shown(m_root, "pirep.submit"));
}

// Regression: a ShellPage value without its row in the table showed an empty place.
void ViewsNavigationTest::tabsMakeTheirPagesWhenFirstShown()
{
    QVERIFY(showSignedIn("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);

    auto *table = m_root->findChild<PageTable *>();
    QVERIFY(table);
    const QMetaEnum pages = QMetaEnum::fromType<ShellPage>();
    for (int i = 0; i < pages.keyCount(); ++i) {
        const auto page = ShellPage(pages.value(i));
        QVERIFY2((table->component(page) != nullptr) == (page != ShellPage::NoPage), pages.key(i));
    }

    // Only the home tab has shown: no other tab made a page.
    for (const MemberTab tab : {MemberTab::Flights, MemberTab::Live, MemberTab::Map, MemberTab::Account}) {
        QVERIFY(pagesOf(tab));
        QCOMPARE(pagesOf(tab)->count(), 0);
    }
    QVERIFY(!m_root->findChild<QQuickItem *>("account.leaderboard"));
    QVERIFY(!m_root->findChild<QQuickItem *>("shell.map"));
    QPointer<QQuickItem> dashboard = pagesOf(MemberTab::Home)->top();

    navigation->setSelected(MemberTab::Account);
    QTRY_VERIFY(shown(m_root, "account.leaderboard"));
    QCOMPARE(pagesOf(MemberTab::Account)->count(), 1);
    QVERIFY(!shown(m_root, "home.notifications"));
    QCOMPARE(pagesOf(MemberTab::Map)->count(), 0);

    // A tab shown before keeps its pages while another shows.
    navigation->setSelected(MemberTab::Home);
    QVERIFY(shown(m_root, "home.notifications"));
    QCOMPARE(pagesOf(MemberTab::Home)->top(), dashboard.data());
    QVERIFY(!shown(m_root, "account.leaderboard"));
}

void ViewsNavigationTest::ownFlightLinkLandsOnTheMap_data()
{
    QTest::addColumn<bool>("beforeSignIn");
    QTest::newRow("link opened before the member tabs") << true;
    QTest::newRow("link opened while they show") << false;
}

void ViewsNavigationTest::ownFlightLinkLandsOnTheMap()
{
    QFETCH(bool, beforeSignIn);
    QVERIFY(showWindowRoot());
    // The map loads only while the app is active: its window in front.
    QVERIFY(activateWindow());
    if (beforeSignIn)
        QVERIFY(FlightActivityNavigation::shared().open(QUrl("vorna://live-map/own-flight")));
    QVERIFY(signIn("lichen", "fly-vornalia"));
    if (!beforeSignIn) {
        QTRY_VERIFY(shown(m_root, "home.notifications"));
        QVERIFY(FlightActivityNavigation::shared().open(QUrl("VORNA://Live-Map/own-flight")));
    }
    QQuickItem *page = nullptr;
    QTRY_VERIFY((page = shown(m_root, "shell.map")));
    QVERIFY(!shown(m_root, "home.notifications"));
    // Straight to the map: the home page was never made on the way.
    if (beforeSignIn)
        QVERIFY(!m_root->findChild<QQuickItem *>("home.notifications"));

    // The map loads the snapshot of the sample service and selects the member's own flight in it.
    auto *map = qvariant_cast<LiveMapModel *>(page->property("model"));
    QVERIFY(map);
    QTRY_VERIFY(map->hasSelection());
    QCOMPARE(map->selected()->id, QString("lv-207"));
    QCOMPARE(map->selected()->callsign, std::optional<QString>("B-207CA"));
    QVERIFY(map->flightCount() >= 1500);
    QVERIFY(FlightActivityNavigation::shared().ownFlightRequest().isEmpty());
    // A close-up region of 2 by 2 degrees around it; its plan and flown track on the map.
    QCOMPARE(map->region().latitudeSpan, 2.0);
    QTRY_VERIFY(map->planPath().size() >= 2);
    QVERIFY(map->routePath().size() >= 2);
}

// The map tab lays the banner along its top and, in this wide window, the selected flight's bar over the
// map's bottom; the bar's close button hands the selection back.
void ViewsNavigationTest::liveMapShowsTheBannerAndTheSelectedFlightsBar()
{
    QQuickItem *page = showTheMap();
    QVERIFY(page);
    auto *map = qvariant_cast<LiveMapModel *>(page->property("model"));
    QVERIFY(map);

    // The banner, 12 points in from the sides and 4 from the top, with the snapshot's count.
    QQuickItem *banner = shown(page, "map.banner");
    QVERIFY(banner);
    const QRectF placed = banner->mapRectToItem(page, QRectF(0, 0, banner->width(), banner->height()));
    QCOMPARE(placed.left(), 12.0);
    QCOMPARE(placed.top(), 4.0);
    QCOMPARE(placed.right(), page->width() - 12);
    QTRY_VERIFY(map->flightCount() >= 1500);
    QTRY_VERIFY(textsShown(banner).contains(QString("%1 架飞机").arg(map->flightCount())));
    QVERIFY(shown(banner, "map.search"));
    QVERIFY(shown(banner, "map.style"));
    // The short header the map had before is gone: one search button, one style button.
    QCOMPARE(page->findChildren<QQuickItem *>("map.style").size(), 1);
    // The bar stands by, out of sight, until a flight is selected.
    auto *bar = page->findChild<QQuickItem *>("map.flightBar");
    QVERIFY(bar);
    QCOMPARE(bar->opacity(), 0.0);

    // A selected flight: the bar below the banner with its callsign; the count line gives way.
    const LiveFlight chosen = map->snapshot()->flights.at(0);
    QVERIFY(chosen.callsign);
    map->select(chosen, false);
    QTRY_COMPARE(bar->opacity(), 1.0);
    QTRY_VERIFY(textsShown(bar).contains(*chosen.callsign));
    QTRY_VERIFY(!textsShown(banner).contains(QString("%1 架飞机").arg(map->flightCount())));
    QVERIFY(bar->mapRectToItem(page, QRectF(0, 0, bar->width(), bar->height())).top() > placed.bottom());

    // Searching from the banner opens the side card and clears the selection.
    QQuickItem *search = shown(banner, "map.search");
    QVERIFY(search);
    QMetaObject::invokeMethod(search, "clicked");
    QVERIFY(map->searching());
    QVERIFY(!map->hasSelection());
    QTRY_VERIFY(shown(page, "map.sideCard"));
    QTRY_COMPARE(bar->opacity(), 0.0);
}

// Regression: the banner and the selected flight's bar let the pointer through to the map: a click on an
// empty part of either deselected the flight (the bar closing with it), a drag started on the banner panned
// the map and the wheel over it zoomed it. A panel takes every pointer event over its shape; the map around
// it still takes them.
void ViewsNavigationTest::panelsOverTheMapTakeThePointer()
{
    QQuickItem *page = showTheMap();
    QVERIFY(page);
    auto *map = qvariant_cast<LiveMapModel *>(page->property("model"));
    QVERIFY(map);
    QTRY_VERIFY(map->flightCount() > 0);
    // The selection is older than the moment in which a click on the map keeps it anyway.
    auto clock = std::make_shared<TestSupport::ManualClock>(QDateTime::currentDateTimeUtc());
    map->setClock(clock);
    QQuickItem *view = page->findChild<QQuickItem *>("map.view");
    QVERIFY(view);
    // Read once the camera has come to rest over the flight.
    QSignalSpy rested(view, SIGNAL(movementEnded(MapRegion, double)));
    map->select(map->snapshot()->flights.at(0), false);
    QQuickItem *bar = page->findChild<QQuickItem *>("map.flightBar");
    QVERIFY(bar);
    QTRY_COMPARE(bar->opacity(), 1.0);
    QTRY_VERIFY(!rested.isEmpty());
    clock->advance(std::chrono::seconds(2));
    const auto camera = [view] {
        return view->property("center").value<QGeoCoordinate>().toString() + " "
               + QString::number(view->property("distance").toDouble());
    };
    // Where a panel shows nothing but itself: inside its rounded edge, between its rows.
    const auto emptyPart = [](QQuickItem *panel, QPointF at) { return panel->mapToScene(at).toPoint(); };
    QQuickItem *banner = shown(page, "map.banner");
    QVERIFY(banner);
    const QPoint onBanner = emptyPart(banner, {banner->width() / 2, banner->height() - 3});
    const QPoint onBar = emptyPart(bar, {bar->width() / 2, 6});
    const QString before = camera();

    QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, onBanner);
    QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, onBar);
    QVERIFY2(map->hasSelection(), "a click on a panel deselected the flight");

    QTest::mousePress(m_window.get(), Qt::LeftButton, {}, onBanner);
    for (int step = 1; step <= 5; ++step)
        QTest::mouseMove(m_window.get(), onBanner + QPoint(-30 * step, 40 * step));
    QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, onBanner + QPoint(-150, 200));
    QWheelEvent wheel(onBanner, m_window->mapToGlobal(onBanner), {}, {0, 360}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(m_window.get(), &wheel);
    QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
    QCOMPARE(camera(), before);
    QVERIFY(map->hasSelection());

    // The same drag on the map itself, between the two panels, pans it.
    const QPoint onMap((onBanner.x() + onBar.x()) / 2,
                       (banner->mapToScene({0, banner->height()}).y() + bar->mapToScene({0, 0}).y()) / 2);
    QTest::mousePress(m_window.get(), Qt::LeftButton, {}, onMap);
    for (int step = 1; step <= 5; ++step)
        QTest::mouseMove(m_window.get(), onMap + QPoint(-10 * step, 10 * step));
    QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, onMap + QPoint(-50, 50));
    QTRY_VERIFY(camera() != before);
}

void ViewsNavigationTest::backKeysPopOnePage_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    for (const char *page :
         {"account pages", "live aircraft", "live review", "inbox", "event from the inbox"}) {
        QTest::addRow("%s: Escape", page) << QString(page) << int(Qt::Key_Escape) << int(Qt::NoModifier);
        QTest::addRow("%s: Alt+Left", page) << QString(page) << int(Qt::Key_Left) << int(Qt::AltModifier);
    }
}

// Regression: after a push or a pop the focus was nowhere, so the next Tab started at the top of the sidebar.
// Regression: the keys did nothing on the Live tab's aircraft page when it stood on a stack of the Live
// page's own.
// Regression: the review's back button, which takes the keyboard as the review is made, was kept as the
// control the review was opened from, so going back left the keyboard on nothing.
void ViewsNavigationTest::backKeysPopOnePage()
{
    QFETCH(QString, page);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    const bool live = page.startsWith("live");
    QVERIFY(showWindowRoot());
    // The review is a reviewer's.
    QVERIFY(signIn(page == "live review" ? "wangfang" : "lichen", "fly-vornalia"));
    QTRY_VERIFY(shown(m_root, page == "live review" ? "admin.search" : "home.notifications"));
    QVERIFY(activateWindow());
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    if (page != "account pages") {
        // Opened from the keyboard, each goes back to the control that opened it.
        QPointer<QQuickItem> opener;
        QString leaving; // what only the page left shows
        QString below;   // what shows once it has gone
        const QString liveLoad = QStringLiteral("/api/live-schedules/authorization");
        LiveTabModel *model = nullptr;
        if (live) {
            navigation->setSelected(MemberTab::Live);
            QQuickItem *livePage = nullptr;
            QTRY_VERIFY((livePage = shown(m_root, "live.native")));
            model = livePage->property("model").value<LiveTabModel *>();
            // The board as its loads leave it: a card of a load still running is made again by the next.
            QTRY_VERIFY(!model->busy());
            if (page == "live review") {
                // A reviewer opens an application from the applications board.
                model->setTab(LiveTabModel::Applications);
                QTRY_VERIFY((opener = shown(m_root, "live.review.app-10")));
                leaving = "live.review.back";
            } else {
                QTRY_VERIFY((opener = shown(m_root, "live.aircraft.org-vornalia/ac-101")));
                leaving = "live.aircraft.back";
            }
            below = "live.tabs";
        } else {
            waitForTheDashboard();
            opener = shown(m_root, "home.notifications");
            leaving = "inbox.markAll";
            below = "home.notifications";
        }
        opener->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window.get(), Qt::Key_Space);
        QTRY_VERIFY(shown(m_root, leaving));
        // Regression: the Live review put the keyboard on its "返回", without a ring; a page takes it on
        // itself or its title.
        if (page == "live review")
            QTRY_COMPARE(heardName(m_window->activeFocusItem()), QString("排班审核"));
        if (page == "event from the inbox") {
            // The notice of a published event opens the event's page.
            const auto eventNotice = [this] {
                for (QQuickItem *item : itemsBelow(m_root)) {
                    if (item->isVisible() && item->inherits("QQuickSwipeDelegate")
                        && item->property("symbol").toString() == "calendar")
                        return item;
                }
                return static_cast<QQuickItem *>(nullptr);
            };
            QTRY_VERIFY((opener = eventNotice()));
            opener->forceActiveFocus(Qt::TabFocusReason);
            QTest::keyClick(m_window.get(), Qt::Key_Space);
            QTRY_VERIFY(shown(m_root, "event.heading"));
            below = leaving;
            leaving = "event.heading";
        }
        QTRY_VERIFY(!shown(m_root, below));
        QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTRY_VERIFY2(!shown(m_root, leaving), qPrintable(leaving));
        QTRY_VERIFY(shown(m_root, below));
        if (live) {
            // Regression: the Live page loaded as its tab came on screen, not again as it came back from a
            // page opened from it. It loads once more, and its cards stay, the keyboard on the one it was on.
            QTRY_COMPARE(service().requestsTo(liveLoad).size(), 2);
            QTRY_VERIFY(!model->busy());
            QVERIFY(!opener.isNull());
        }
        QTRY_COMPARE(m_window->activeFocusItem(), opener.data());
        QVERIFY(opener->property("visualFocus").toBool());
        if (live)
            QCOMPARE(service().requestsTo(liveLoad).size(), 2);
        return;
    }
    navigation->setSelected(MemberTab::Account);
    QQuickItem *open = nullptr;
    QTRY_VERIFY((open = shown(m_root, "account.leaderboard")));
    open->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_VERIFY(shown(m_root, "rank.period"));
    PageStackModel *account = pagesOf(MemberTab::Account);
    QPointer<QQuickItem> leaderboard = account->top();
    // The focus went into the page pushed.
    // The keyboard goes on in the page pushed (it went to the top of the sidebar).
    QTest::keyClick(m_window.get(), Qt::Key_Tab);
    QQuickItem *focused = m_window->activeFocusItem();
    QVERIFY2(focused && leaderboard->isAncestorOf(focused),
             focused ? focused->metaObject()->className() : "nothing");

    // While the account popover shows, the key is not the stack's: the leaderboard stays.
    QQuickItem *shell = nullptr;
    for (QQuickItem *item : itemsBelow(m_root)) {
        if (QByteArray(item->metaObject()->className()).startsWith("MemberShell"))
            shell = item;
    }
    QVERIFY(shell);
    shell->setProperty("showingAccounts", true);
    QTRY_VERIFY(shown(m_window->contentItem(), "account.logout"));
    // The switcher saves the current account as it appears; while that runs the panel stays.
    QTRY_VERIFY(!m_app->accountBusy());
    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    if (key == Qt::Key_Escape)
        QTRY_VERIFY(!shell->property("showingAccounts").toBool()); // Escape closes the popover instead
    shell->setProperty("showingAccounts", false);
    QTRY_VERIFY(!shown(m_window->contentItem(), "account.logout"));
    QCOMPARE(account->top(), leaderboard.data());
    QCOMPARE(navigation->accountPath(), QList<Destination>{PlainRoute{ShellPage::Leaderboard}});
    focused->forceActiveFocus(Qt::TabFocusReason);

    navigation->setPath(NavigationStack::AccountStack,
                        {PlainRoute{ShellPage::Leaderboard}, PlainRoute{ShellPage::Profile}});
    QCOMPARE(account->count(), 3);
    QPointer<QQuickItem> profile = account->top();
    QVERIFY(textsShown(m_root).contains("个人主页"));

    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(profile.isNull());
    QCOMPARE(navigation->accountPath(), QList<Destination>{PlainRoute{ShellPage::Leaderboard}});
    QCOMPARE(account->top(), leaderboard.data());
    QVERIFY(shown(m_root, "rank.period"));
    QCOMPARE(m_window->activeFocusItem(), focused); // where the keyboard was when the profile came

    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(leaderboard.isNull());
    QVERIFY(navigation->accountPath().isEmpty());
    // Back on the button that opened it, with its ring: the keyboard opened it.
    QCOMPARE(m_window->activeFocusItem(), open);
    QVERIFY(open->property("visualFocus").toBool());

    // Nothing left to go back to: the key changes nothing.
    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(navigation->selected(), MemberTab::Account);
    QVERIFY(shown(m_root, "account.leaderboard"));
}

void ViewsNavigationTest::busyFormKeepsItsPlace_data() { addBackKeys(); }

// Regression: the back keys took the report form away while it sent; the service's refusal was never seen,
// and the report typed and its pictures were gone with the page.
void ViewsNavigationTest::busyFormKeepsItsPlace()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QVERIFY(showDashboard("lichen"));
    QVERIFY(activateWindow());
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    // A circuit the service cannot find in the member's simulator logbook, sent without proof.
    QPointer<QQuickItem> page = showFilledForm(false);
    QVERIFY(page);
    PageStackModel *flights = pagesOf(MemberTab::Flights);
    auto *form = page->property("model").value<PirepFormModel *>();
    QVERIFY(form);
    service().setFault("/api/pireps", {.held = true, .times = 1, .method = "POST"});
    form->submit();
    QTRY_COMPARE(service().heldAnswers(), 1);
    QVERIFY(form->busy());
    // The submit button's loader, drawn before "正在提交": the one sign of the work on the button.
    const auto loaderBeforeTitle = [&page]() -> QString {
        QQuickItem *button = shown(page, "pirep.submit");
        QQuickItem *loader = nullptr;
        QQuickItem *title = nullptr;
        for (QQuickItem *item : itemsBelow(button)) {
            if (item->isVisible() && QString(item->metaObject()->className()).startsWith("InlineLoader"))
                loader = item;
            if (item->isVisible() && item->inherits("QQuickText"))
                title = item;
        }
        if (!loader || !title)
            return title ? title->property("text").toString() : QString();
        const double gap =
            title->mapToScene(QPointF()).x() - loader->mapToScene(QPointF(loader->width(), 0)).x();
        return gap >= 0 ? "loader, " + title->property("text").toString() : "loader after the title";
    };
    QTRY_COMPARE(loaderBeforeTitle(), QString("loader, 正在提交"));

    const QList<Destination> sending{PlainRoute{ShellPage::PirepForm}};
    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(navigation->flightPath(), sending);
    // Nor does its own way back take it away.
    QVERIFY(QMetaObject::invokeMethod(shown(page, "pirep.back"), "clicked"));
    QCOMPARE(navigation->flightPath(), sending);
    QCOMPARE(flights->top(), page.data());
    // Regression: closing the window quit at once, and the report was gone with its outcome unseen.
    quittingAsksFirst(QStringLiteral("飞行报告仍在提交"), reportMessage);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(flights->top(), page.data());

    // The refusal shows on the form, with what the member typed.
    service().release();
    QTRY_VERIFY(!form->busy());
    QTRY_VERIFY(shown(page, "pirep.error"));
    QCOMPARE(loaderBeforeTitle(), QString("提交 PIREP"));
    QVERIFY(textsShown(page).contains(
        QStringLiteral("系统没有找到对应的 Infinite Flight 航班，请上传飞行截图并填写补充说明。")));
    QCOMPARE(form->departure(), QStringLiteral("ZSPD"));

    // Done, the keys go back again, and the window closes at once.
    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(page.isNull());
    QVERIFY(navigation->flightPath().isEmpty());
    QVERIFY(shown(m_root, "pirep.new"));
    QVERIFY(m_window->close());
    QVERIFY(!m_window->isVisible());
}

// Regression: the back keys took a report's detail away while its evidence uploaded; a refused upload was
// never seen, and the pictures picked were gone with the page.
void ViewsNavigationTest::busyUploadKeepsItsPlace()
{
    QVERIFY(showDashboard("lichen"));
    QVERIFY(activateWindow());
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    QPointer<QQuickItem> page = showHeldReport();
    QVERIFY(page);
    PageStackModel *flights = pagesOf(MemberTab::Flights);
    auto *detail = page->property("model").value<QObject *>();
    QVERIFY(detail);
    const QList<Destination> uploading = navigation->flightPath();
    const QUrl picture = m_site.scratchPicture("landing.png");
    QVERIFY(!picture.isEmpty());
    QVERIFY(QMetaObject::invokeMethod(detail, "pickPhotos", Q_ARG(QList<QUrl>, {picture})));
    QTRY_COMPARE(detail->property("fileCount").toInt(), 1);
    service().setFault("/api/pireps/p-24421/evidence",
                       {.status = 413, .held = true, .times = 1, .method = "POST"});
    // Sent from the keyboard.
    QTRY_VERIFY(shown(page, "pirep.detail.upload") && shown(page, "pirep.detail.upload")->isEnabled());
    shown(page, "pirep.detail.upload")->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_COMPARE(service().heldAnswers(), 1);

    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QTest::keyClick(m_window.get(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(navigation->flightPath(), uploading);
    QCOMPARE(flights->top(), page.data());
    // The message, too, speaks of the pictures, not of a report and what was typed into it.
    quittingAsksFirst(QStringLiteral("补充截图仍在上传"), picturesMessage);
    if (QTest::currentTestFailed())
        return;
    // Regression: the upload button, off while the pictures upload, left the keyboard on an unnamed filler
    // once the question had closed, and later on the page. The button keeps it, with its ring, until the
    // answer takes it.
    QTRY_COMPARE(m_window->activeFocusItem(), shown(page, "pirep.detail.upload"));
    QVERIFY(m_window->activeFocusItem()->property("visualFocus").toBool());
    // Tab goes on inside the page, whose way back stays on; it went to the sidebar.
    QTest::keyClick(m_window.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(page->isAncestorOf(m_window->activeFocusItem()));
    shown(page, "pirep.detail.upload")->forceActiveFocus(Qt::TabFocusReason);

    // The refusal shows on the page, the picture still picked.
    service().release();
    QTRY_VERIFY(!detail->property("busy").toBool());
    QCOMPARE(detail->property("fileCount").toInt(), 1);
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QTRY_VERIFY(page.isNull());
}

void ViewsNavigationTest::convertingPicturesAsksNothing_data()
{
    QTest::addColumn<bool>("detail"); // the held report's evidence, else the report form
    QTest::newRow("report form") << false;
    QTest::newRow("report's evidence") << true;
}

// Closing the window while a page only converts the pictures picked asks nothing, "飞行报告仍在提交" least of
// all: none of them is on its way yet.
void ViewsNavigationTest::convertingPicturesAsksNothing()
{
    QFETCH(bool, detail);
    QVERIFY(showDashboard("lichen"));
    auto *question = m_root->findChild<QuitQuestion *>();
    QVERIFY(question);
    QPointer<QQuickItem> page = detail ? showHeldReport() : showFilledForm(false);
    QVERIFY(page);
    auto *model = page->property("model").value<QObject *>();
    QVERIFY(model);
    HeldPicture picture(m_site.scratchFile("held.png"));
    QVERIFY(!picture.url().isEmpty());
    QVERIFY(QMetaObject::invokeMethod(model, "pickPhotos", Q_ARG(QList<QUrl>, {picture.url()})));
    QTRY_VERIFY(model->property("busy").toBool());
    QVERIFY(page->property("pageBusy").toBool());

    QVERIFY(!question->asks());
    QVERIFY(m_window->close());
    QVERIFY(!shown(m_window->contentItem(), "quit.stay"));
    // It was converting all along: the picture comes once handed over.
    QCOMPARE(model->property("fileCount").toInt(), 0);
    picture.handOver();
    QTRY_VERIFY(!model->property("busy").toBool());
    QCOMPARE(model->property("fileCount").toInt(), 1);
}

// Regression: "仍要退出" asked the app to quit, and Qt's quit asks each window to close first: the window
// refused, as it does while a page sends, and the app stayed.
void ViewsNavigationTest::quittingAnywayQuits()
{
    QVERIFY(showDashboard("lichen"));
    QPointer<QQuickItem> page = showHeldReport();
    QVERIFY(page);
    auto *detail = page->property("model").value<QObject *>();
    QVERIFY(QMetaObject::invokeMethod(detail, "pickPhotos",
                                      Q_ARG(QList<QUrl>, {m_site.scratchPicture("landing.png")})));
    QTRY_COMPARE(detail->property("fileCount").toInt(), 1);
    service().setFault("/api/pireps/p-24421/evidence", {.held = true, .times = 1, .method = "POST"});
    QVERIFY(QMetaObject::invokeMethod(detail, "upload"));
    QTRY_COMPARE(service().heldAnswers(), 1);

    QSignalSpy quit(m_engine.get(), &QQmlEngine::quit);
    QVERIFY(!m_window->close());
    QQuickItem *anyway = nullptr;
    QTRY_VERIFY((anyway = shown(m_window->contentItem(), "quit.anyway")));
    QVERIFY(QMetaObject::invokeMethod(anyway, "clicked"));
    QCOMPARE(quit.count(), 1);
    // As Qt quits, it closes the window, which now lets it.
    QVERIFY(m_window->close());
    QVERIFY(!m_window->isVisible());
}

QQuickItem *ViewsNavigationTest::showFilledForm(bool proof)
{
    auto *navigation = m_root->findChild<MemberNavigation *>();
    navigation->setSelected(MemberTab::Flights);
    if (!TestSupport::waitFor([this] { return shown(m_root, "pirep.new") != nullptr; }))
        return nullptr;
    navigation->startPirep();
    PageStackModel *flights = pagesOf(MemberTab::Flights);
    if (!TestSupport::waitFor([flights] { return flights->count() == 2; }))
        return nullptr;
    auto *form = flights->top()->property("model").value<PirepFormModel *>();
    form->setDeparture("ZSPD");
    form->setArrival("ZSPD");
    form->setAircraft("Cessna 172");
    form->setLivery("Default");
    form->setMinutes("35");
    if (proof) {
        form->setNote(QStringLiteral("本场训练，截图为证。"));
        form->pickPhotos({m_site.scratchPicture("circuit.png")});
        if (!TestSupport::waitFor([form] { return form->fileCount() == 1 && !form->busy(); }))
            return nullptr;
    }
    return flights->top();
}

void ViewsNavigationTest::questionGoesAsTheSendEnds_data()
{
    QTest::addColumn<bool>("detail");
    QTest::addColumn<int>("status"); // the service's answer; 0 for its own
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("outcome"); // where the keyboard is once the question has gone; empty: where
                                          // it was as the question opened
    QTest::addColumn<bool>("elsewhere");  // the member went on to the map tab as it sent
    QTest::addColumn<bool>("reloading");  // the member's reports, reloaded after the answer, held back
    QTest::newRow("report accepted") << false << 0 << true << "pirep.done" << false << false;
    // The question goes with the answer, not once the member's reports have reloaded after it.
    QTest::newRow("report accepted, the reports reloading")
        << false << 0 << true << "pirep.done" << false << true;
    QTest::newRow("report refused") << false << 0 << false << "pirep.error" << false << false;
    QTest::newRow("report failed") << false << 500 << false << "pirep.error" << false << false;
    QTest::newRow("report refused, from the map") << false << 0 << false << "" << true << false;
    QTest::newRow("evidence accepted") << true << 0 << true << "pirep.detail.uploaded" << false << false;
    QTest::newRow("evidence accepted, the reports reloading")
        << true << 0 << true << "pirep.detail.uploaded" << false << true;
    // The failure takes the keyboard, as the form's does, so it is read wherever the page was scrolled.
    QTest::newRow("evidence refused") << true << 413 << false << "pirep.detail.error" << false << false;
    QTest::newRow("evidence failed") << true << 500 << false << "pirep.detail.error" << false << false;
    QTest::newRow("evidence failed, from the map") << true << 500 << false << "" << true << false;
}

// Regression: the question stayed over the page's outcome once the send had ended, its text turned to
// "仍有内容在提交" though nothing sent, and a refusal took the keyboard out of it to the page behind.
void ViewsNavigationTest::questionGoesAsTheSendEnds()
{
    QFETCH(bool, detail);
    QFETCH(int, status);
    QFETCH(bool, accepted);
    QFETCH(QString, outcome);
    QFETCH(bool, elsewhere);
    QFETCH(bool, reloading);
    QVERIFY(showDashboard("lichen"));
    QVERIFY(activateWindow());
    auto *question = m_root->findChild<QuitQuestion *>();
    QVERIFY(question);
    QPointer<QQuickItem> page = detail ? showHeldReport() : showFilledForm(accepted);
    QVERIFY(page);
    auto *model = page->property("model").value<QObject *>();
    const QString path = detail ? "/api/pireps/p-24421/evidence" : "/api/pireps";
    if (detail) {
        QVERIFY(QMetaObject::invokeMethod(model, "pickPhotos",
                                          Q_ARG(QList<QUrl>, {m_site.scratchPicture("landing.png")})));
        QTRY_COMPARE(model->property("fileCount").toInt(), 1);
    }
    // Sent from the keyboard: the control that sent it has the keyboard, with its ring.
    const QString sender = detail ? "pirep.detail.upload" : "pirep.submit";
    QTRY_VERIFY(shown(page, sender) && shown(page, sender)->isEnabled());
    shown(page, sender)->forceActiveFocus(Qt::TabFocusReason);
    service().setFault(path, {.status = status ? std::optional<int>(status) : std::nullopt,
                              .held = true,
                              .times = 1,
                              .method = "POST"});
    QVERIFY(QMetaObject::invokeMethod(model, detail ? "upload" : "submit"));
    QTRY_COMPARE(service().heldAnswers(), 1);
    QPointer<QQuickItem> before;
    if (elsewhere) {
        // By its row of the sidebar, which keeps the keyboard.
        before = shown(m_root, QStringLiteral("shell.tab.%1").arg(int(MemberTab::Map)));
        QVERIFY(before);
        before->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window.get(), Qt::Key_Space);
        QTRY_VERIFY(!page->isVisible());
        QTRY_COMPARE(m_window->activeFocusItem(), before.data());
    }

    QQuickItem *overlay = m_window->contentItem();
    QVERIFY(!m_window->close());
    QTRY_VERIFY(shown(overlay, "quit.stay"));
    QTRY_COMPARE(m_window->activeFocusItem(), shown(overlay, "quit.stay"));
    const QString asked = detail ? "补充截图仍在上传" : "飞行报告仍在提交";
    QVERIFY(textsShown(overlay).contains(asked));
    QVERIFY(textsShown(overlay).contains(detail ? picturesMessage : reportMessage));
    QStringList titles;
    const QObject watching;
    connect(question, &QuitQuestion::changed, &watching,
            [&titles, question] { titles.append(question->title()); });

    if (reloading)
        service().setFault("/api/pireps", {.held = true, .times = 1, .method = "GET"});
    service().release();
    if (reloading) {
        // The answer has come: the question goes while the member's reports still reload.
        QTRY_COMPARE(service().heldAnswers(), 1);
        QTRY_VERIFY(!shown(overlay, "quit.stay"));
        QVERIFY(!question->asks());
        service().release();
    }
    QTRY_VERIFY(!model->property("busy").toBool());
    QTRY_VERIFY(!shown(overlay, "quit.stay"));
    QVERIFY2(!titles.contains(QStringLiteral("仍有内容在提交")), qPrintable(titles.join(" | ")));
    if (elsewhere) {
        QTRY_COMPARE(m_window->activeFocusItem(), before.data());
        QVERIFY(!page->isVisible());
    } else {
        QTRY_VERIFY(shown(overlay, outcome));
        QTRY_COMPARE(m_window->activeFocusItem(), shown(overlay, outcome));
        QCOMPARE(m_window->activeFocusItem()->property("visualFocus").toBool() || !accepted, true);
    }
    if (!accepted && !detail)
        QCOMPARE(pirepForm()->departure(), QStringLiteral("ZSPD"));
    // The upload button, off with nothing more to upload, is no place for the keyboard once the alert goes.
    if (accepted && detail) {
        QTest::keyClick(m_window.get(), Qt::Key_Return);
        QTRY_VERIFY(!shown(overlay, outcome));
        QTRY_VERIFY(m_window->activeFocusItem() && m_window->activeFocusItem()->isEnabled()
                    && !heardName(m_window->activeFocusItem()).isEmpty());
    }
    // The page is done: closing asks nothing.
    QVERIFY(!question->asks());
}

// Regression: while the question was open a control of the page behind took the keyboard, so Escape and
// Return did nothing and Tab walked the sidebar behind the question; and closing the question put the
// keyboard on the sidebar's "首页" rather than back in the form.
void ViewsNavigationTest::questionKeepsTheKeyboardWhileOpen()
{
    QVERIFY(showDashboard("lichen"));
    QVERIFY(activateWindow());
    QPointer<QQuickItem> page = showFilledForm(false);
    QVERIFY(page);
    QTRY_VERIFY(shown(page, "pirep.submit") && shown(page, "pirep.submit")->isEnabled());
    // Sent as the member sends it with the keyboard: the submit button, then "上传" in its confirmation.
    shown(page, "pirep.submit")->forceActiveFocus(Qt::TabFocusReason);
    service().setFault("/api/pireps", {.held = true, .times = 1, .method = "POST"});
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QQuickItem *overlay = m_window->contentItem();
    QTRY_COMPARE(m_window->activeFocusItem(), shown(overlay, "pirep.confirmUpload"));
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_COMPARE(service().heldAnswers(), 1);
    QTRY_VERIFY(!shown(overlay, "pirep.confirmUpload"));

    // The control the keyboard is on, or stays with while it is off (the form sends).
    const auto keyboardOn = [this] {
        QQuickItem *item = m_window->activeFocusItem();
        while (item && item->scopedFocusItem())
            item = item->scopedFocusItem();
        return item ? item->objectName() : QString();
    };
    for (const bool intruded : {true, false}) {
        QVERIFY(!m_window->close());
        QTRY_VERIFY(shown(overlay, "quit.stay"));
        QTRY_COMPARE(m_window->activeFocusItem(), shown(overlay, "quit.stay"));
        // A control behind the question takes the keyboard (an answer arriving, a page moving on): the
        // question keeps it, and that control has it once the question has closed.
        if (intruded)
            shown(m_root, "shell.tab.0")->forceActiveFocus(Qt::OtherFocusReason);
        QCOMPARE(m_window->activeFocusItem(), shown(overlay, "quit.stay"));
        QTest::keyClick(m_window.get(), Qt::Key_Tab);
        QCOMPARE(m_window->activeFocusItem(), shown(overlay, "quit.anyway"));
        QTest::keyClick(m_window.get(), Qt::Key_Backtab);
        QCOMPARE(m_window->activeFocusItem(), shown(overlay, "quit.stay"));
        QTest::keyClick(m_window.get(), intruded ? Qt::Key_Return : Qt::Key_Escape);
        QTRY_VERIFY(!shown(overlay, "quit.stay"));
        if (intruded) {
            QTRY_COMPARE(keyboardOn(), QString("shell.tab.0"));
            shown(page, "pirep.submit")->forceActiveFocus(Qt::TabFocusReason);
            continue;
        }
        // Regression: the submit button, off while the form sends, left the keyboard on an unnamed filler,
        // and later on the page. The button keeps it, with its ring, heard as saying that it sends. Every
        // other control of the form is off meanwhile: Tab and Shift+Tab go on to named controls, never to a
        // filler.
        QQuickItem *submit = shown(page, "pirep.submit");
        QTRY_COMPARE(m_window->activeFocusItem(), submit);
        QVERIFY(submit->property("visualFocus").toBool());
        QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(submit);
        QVERIFY(heard);
        QCOMPARE(heard->text(QAccessible::Name), QString("正在提交"));
        QTest::keyClick(m_window.get(), Qt::Key_Tab);
        QCOMPARE(TestSupport::keyboardUnheard(m_window.get()), QString());
        QTest::keyClick(m_window.get(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(TestSupport::keyboardUnheard(m_window.get()), QString());
        submit->forceActiveFocus(Qt::TabFocusReason);
    }
    // The refusal: the form takes keys again and its outcome has the keyboard.
    QCOMPARE(service().heldAnswers(), 1);
    service().release();
    QTRY_COMPARE(keyboardOn(), QString("pirep.error"));
}

void ViewsNavigationTest::uploadedAlertLeavesTheKeyboardOnANamedControl_data()
{
    QTest::addColumn<bool>("sheet"); // the logbook sheet from the dashboard's "去补充", else the PIREP tab
    QTest::addColumn<int>("key");    // that closes the alert
    QTest::addColumn<bool>("held");  // the service's answer held: the keyboard read while the pictures go
    QTest::newRow("PIREP tab, Return") << false << int(Qt::Key_Return) << false;
    QTest::newRow("PIREP tab, Escape") << false << int(Qt::Key_Escape) << false;
    QTest::newRow("logbook sheet, Return") << true << int(Qt::Key_Return) << false;
    QTest::newRow("logbook sheet, Escape") << true << int(Qt::Key_Escape) << false;
    // Regression: as the upload started, its button went off and left the keyboard on the detail's unnamed
    // scroll area, from which Tab went to the sidebar's 首页.
    QTest::newRow("PIREP tab, while the pictures go") << false << int(Qt::Key_Return) << true;
    QTest::newRow("logbook sheet, while the pictures go") << true << int(Qt::Key_Return) << true;
}

// Regression: once "截图已上传" closed, the keyboard was on the detail's scroll area, which no screen reader
// names.
void ViewsNavigationTest::uploadedAlertLeavesTheKeyboardOnANamedControl()
{
    QFETCH(bool, sheet);
    QFETCH(int, key);
    QFETCH(bool, held);
    QVERIFY(showDashboard("lichen"));
    QVERIFY(activateWindow());
    QQuickItem *overlay = m_window->contentItem();
    QPointer<QQuickItem> page = sheet ? showHeldReportInTheLogbook() : showHeldReport();
    QVERIFY(page);
    auto *model = page->property("model").value<QObject *>();
    QVERIFY(QMetaObject::invokeMethod(model, "pickPhotos",
                                      Q_ARG(QList<QUrl>, {m_site.scratchPicture("landing.png")})));
    QTRY_COMPARE(model->property("fileCount").toInt(), 1);
    QTRY_VERIFY(shown(page, "pirep.detail.upload") && shown(page, "pirep.detail.upload")->isEnabled());
    shown(page, "pirep.detail.upload")->forceActiveFocus(Qt::TabFocusReason);
    // Accepted without being kept, so the report does not fill up with the rows' pictures.
    service().setFault(
        "/api/pireps/p-24421/evidence",
        {.status = 200, .json = QJsonObject{{"ok", true}}, .held = held, .times = 1, .method = "POST"});
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    if (held) {
        QTRY_COMPARE(service().heldAnswers(), 1);
        // The button that sends keeps it, named, and Shift+Tab goes back inside the page.
        QTRY_COMPARE(TestSupport::keyboardUnheard(m_window.get()), QString());
        QCOMPARE(m_window->activeFocusItem(), shown(page, "pirep.detail.upload"));
        QTest::keyClick(m_window.get(), Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(page->isAncestorOf(m_window->activeFocusItem()));
        service().release();
    }
    QQuickItem *ok = nullptr;
    QTRY_VERIFY((ok = shown(overlay, "pirep.detail.uploaded")));
    QTRY_COMPARE(m_window->activeFocusItem(), ok);
    // Ringed: the keyboard started the upload.
    QVERIFY(ok->property("visualFocus").toBool());
    QTest::keyClick(m_window.get(), Qt::Key(key));
    QTRY_VERIFY(!shown(overlay, "pirep.detail.uploaded"));
    QTRY_COMPARE(TestSupport::keyboardUnheard(m_window.get()), QString());
    QTest::qWait(100); // and there it stays
    QCOMPARE(TestSupport::keyboardUnheard(m_window.get()), QString());
}

void ViewsNavigationTest::workbenchOpensAReviewAndGoesBack_data() { addBackKeys(); }

// A staff member's home is the queue; a report opens its review over it and the back keys return to the
// report's card, the keyboard on it.
void ViewsNavigationTest::workbenchOpensAReviewAndGoesBack()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("wangfang", "fly-vornalia"));
    QVERIFY(activateWindow());
    QQuickItem *card = nullptr;
    QTRY_VERIFY((card = shown(m_root, "admin.report.p-24436")));
    QTRY_VERIFY(textsShown(m_root).contains("王芳 · 管理员"));
    card->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_VERIFY(shown(m_root, "admin.review.save"));
    QVERIFY(!shown(m_root, "admin.report.p-24436"));
    QTRY_VERIFY(textsShown(m_root).contains("申请人：zhouning"));
    // The page takes the keyboard as every pushed page does; Tab reaches its back button first.
    QTRY_COMPARE(m_window->activeFocusItem(), shown(m_root, "shell.review"));
    QTest::keyClick(m_window.get(), Qt::Key_Tab);
    QCOMPARE(m_window->activeFocusItem(), shown(m_root, "admin.review.back"));

    QTest::keyClick(m_window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(!shown(m_root, "admin.review.save"));
    QTRY_VERIFY((card = shown(m_root, "admin.report.p-24436")));
    QCOMPARE(m_window->activeFocusItem(), card);
}

// Regression: staff had no way to any event, so the members' answers to it were never seen.
void ViewsNavigationTest::staffReachTheMembersAnswersToAnEvent()
{
    QVERIFY(showWindowRoot());
    QVERIFY(signIn("wangfang", "fly-vornalia"));
    QQuickItem *button = nullptr;
    QTRY_VERIFY((button = shown(m_root, "admin.events")));
    QVERIFY(QMetaObject::invokeMethod(button, "clicked"));
    QQuickItem *card = nullptr;
    QTRY_VERIFY((card = shown(m_root, "events.event")));
    QVERIFY(!shown(m_root, "shell.workbench"));
    // Staff answer nothing themselves.
    QVERIFY(!textsShown(m_root).contains("感兴趣"));
    QVERIFY(service().requestsTo("/api/member/event-responses").isEmpty());

    QVERIFY(QMetaObject::invokeMethod(card, "clicked"));
    QTRY_VERIFY(shown(m_root, "shell.event"));
    QTRY_VERIFY(shown(m_root, "event.responses.attending"));
    QCOMPARE(service().requestsTo("/api/admin/event-responses").size(), 1);

    // Back twice: the list, then the workbench.
    auto *navigation = m_root->findChild<MemberNavigation *>();
    navigation->back();
    QTRY_VERIFY(shown(m_root, "events.event"));
    navigation->back();
    QTRY_VERIFY(shown(m_root, "shell.workbench"));
}

// The account tab's "Logbook" row opens the logbook sheet with a stack of its own; a report opens its detail
// there, and closing the sheet leaves the account tab as it was.
void ViewsNavigationTest::logbookSheetOverTheAccountTab()
{
    QVERIFY(showSignedIn("lichen"));
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    navigation->setSelected(MemberTab::Account);
    QQuickItem *row = nullptr;
    QTRY_VERIFY((row = shown(m_root, "account.logbook")));
    QVERIFY(QMetaObject::invokeMethod(row, "clicked"));
    QVERIFY(navigation->showingLogbook());
    QQuickItem *logbook = nullptr;
    QTRY_VERIFY((logbook = shown(m_window->contentItem(), "shell.logbook")));
    // The member leaves it on the other status filter, searching.
    auto *records = logbook->property("logbook").value<QObject *>();
    QVERIFY(records);
    records->setProperty("filter", 2);
    records->setProperty("search", "ZBAA");

    auto *data = m_root->findChild<MemberData *>();
    QTRY_VERIFY(!data->pireps().isEmpty());
    navigation->push(NavigationStack::LogbookStack, PirepRoute{data->pireps().constFirst()});
    QTRY_VERIFY(!shown(m_window->contentItem(), "shell.logbook")); // the detail stands over it
    QVERIFY(navigation->accountPath().isEmpty());

    QVERIFY(QMetaObject::invokeMethod(shown(m_window->contentItem(), "logbook.close"), "clicked"));
    QVERIFY(!navigation->showingLogbook());
    QTRY_VERIFY(shown(m_root, "account.logbook"));

    // Regression: the logbook opened again where it was left. Each opening starts on the records, "全部".
    for (const int page : {1, 0}) {
        QVERIFY(QMetaObject::invokeMethod(shown(m_root, "account.logbook"), "clicked"));
        QTRY_VERIFY((logbook = shown(m_window->contentItem(), "shell.logbook")));
        QCOMPARE(logbook->property("page").toInt(), 0);
        records = logbook->property("logbook").value<QObject *>();
        QCOMPARE(records->property("filter").toInt(), 0);
        QCOMPARE(records->property("search").toString(), QString());
        logbook->setProperty("page", page);
        QVERIFY(QMetaObject::invokeMethod(shown(m_window->contentItem(), "logbook.close"), "clicked"));
        QTRY_VERIFY(!shown(m_window->contentItem(), "shell.logbook"));
    }
}

// The routes map of the sample member's approved routes stands on the dashboard, with its full-screen
// cover, and on the logbook's map page, without one.
void ViewsNavigationTest::routesMapOnTheDashboardAndInTheLogbook()
{
    QVERIFY(showDashboard("lichen"));
    auto *data = m_root->findChild<MemberData *>();
    QVERIFY(data && data->state(MemberLoad::Routes).loaded);
    // Many routes, one of them across the 180° meridian.
    QVERIFY(data->routes().size() >= 6);
    QVERIFY(std::any_of(data->routes().cbegin(), data->routes().cend(),
                        [](const FlownRoute &route) { return route.identity() == "ZBAA-KSFO"; }));

    QQuickItem *routes = nullptr;
    QTRY_VERIFY((routes = shown(m_root, "home.routes")));
    QCOMPARE(routes->height(), 420.0); // the regular width's height
    QQuickItem *map = nullptr;
    QTRY_VERIFY((map = shown(routes, "routes.map")));
    const auto lines = [](QQuickItem *in) {
        const QList<QQuickItem *> items = itemsBelow(in);
        return qsizetype(std::count_if(items.cbegin(), items.cend(),
                                       [](QQuickItem *item) { return item->inherits("MapPolyline"); }));
    };
    QCOMPARE(lines(map), data->routes().size());
    QTRY_VERIFY(!map->property("moving").toBool());
    // Framed over the North Pacific: Chengdu to San Francisco across 180°, not round the other way.
    const double longitude = map->property("center").value<QGeoCoordinate>().longitude();
    QVERIFY2(longitude > 150 || longitude < -170, qPrintable(QString::number(longitude)));
    QVERIFY(shown(routes, "routes.scope"));

    // A drag on the map pans the map, not the page around it.
    QQuickItem *scroll = routes->parentItem();
    while (scroll && !scroll->inherits("QQuickFlickable"))
        scroll = scroll->parentItem();
    QVERIFY(scroll);
    const double top =
        routes->mapToItem(scroll->property("contentItem").value<QQuickItem *>(), QPointF()).y();
    const double bottom = scroll->property("contentHeight").toDouble() - scroll->height();
    scroll->setProperty("contentY", std::min(top - 20, bottom));
    QTest::qWait(100);
    QTRY_VERIFY(!scroll->property("moving").toBool());
    const double contentY = scroll->property("contentY").toDouble();
    const QRectF viewport = scroll->mapRectToScene(QRectF(0, 0, scroll->width(), scroll->height()));
    QVERIFY(viewport.contains(routes->mapRectToScene(QRectF(0, 0, routes->width(), routes->height()))));
    const double latitude = map->property("center").value<QGeoCoordinate>().latitude();
    const QPoint middle = map->mapToScene(QPointF(map->width() / 2, map->height() / 2)).toPoint();
    QTest::mousePress(m_window.get(), Qt::LeftButton, {}, middle);
    for (int dy = 10; dy <= 120; dy += 10)
        QTest::mouseMove(m_window.get(), middle + QPoint(0, dy));
    QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, middle + QPoint(0, 120));
    QCOMPARE(scroll->property("contentY").toDouble(), contentY);
    QVERIFY(map->property("center").value<QGeoCoordinate>().latitude() > latitude + 1);

    // Its full-screen view covers the whole window; "完成" brings the dashboard back.
    QQuickItem *expand = shown(routes, "routes.fullScreen");
    QVERIFY(expand);
    QVERIFY(QMetaObject::invokeMethod(expand, "clicked"));
    QQuickItem *cover = nullptr;
    QTRY_VERIFY((cover = shown(m_window->contentItem(), "routes.coverMap")));
    QTRY_COMPARE(cover->mapToScene(QPointF(0, cover->height())).y(), 720.0);
    QCOMPARE(cover->width(), 1100.0);
    QVERIFY(!shown(cover, "routes.fullScreen"));
    QTRY_COMPARE(lines(cover), data->routes().size());
    QVERIFY(QMetaObject::invokeMethod(shown(m_window->contentItem(), "routes.done"), "clicked"));
    QTRY_VERIFY(!shown(m_window->contentItem(), "routes.coverMap"));
    QVERIFY(shown(m_root, "home.routes"));

    // The logbook's map page: the same routes, filling the page, with no full-screen button.
    auto *navigation = m_root->findChild<MemberNavigation *>();
    QVERIFY(navigation);
    navigation->openLogbook();
    QQuickItem *logbook = nullptr;
    QTRY_VERIFY((logbook = shown(m_window->contentItem(), "shell.logbook")));
    QQuickItem *page = nullptr;
    for (QQuickItem *item : itemsBelow(logbook)) {
        if (QByteArray(item->metaObject()->className()).startsWith("MemberLogbookPage"))
            page = item;
    }
    QVERIFY(page);
    QVERIFY(!shown(logbook, "logbook.routes"));
    page->setProperty("page", 1);
    QQuickItem *logbookRoutes = nullptr;
    QTRY_VERIFY((logbookRoutes = shown(logbook, "logbook.routes")));
    QTRY_VERIFY((map = shown(logbookRoutes, "routes.map")));
    QCOMPARE(lines(map), data->routes().size());
    QVERIFY(shown(logbookRoutes, "routes.scope"));
    QVERIFY(!shown(logbookRoutes, "routes.fullScreen"));
    QVERIFY(logbookRoutes->mapToItem(logbook, QPointF(0, logbookRoutes->height())).y()
            >= logbook->height() - 1);

    // Its refresh asks the service once more.
    service().clearRequests();
    QQuickItem *refresh = shown(logbook, "logbook.refreshRoutes");
    QVERIFY(refresh && refresh->isEnabled());
    QVERIFY(QMetaObject::invokeMethod(refresh, "clicked"));
    QTRY_COMPARE(service().requestsTo("/api/member/routes").size(), 1);
}

// A member without approved reports has no routes: the empty state stands in the map's place.
void ViewsNavigationTest::routesMapOfAMemberWithoutRoutes()
{
    QVERIFY(showDashboard("hejing"));
    auto *data = m_root->findChild<MemberData *>();
    QVERIFY(data->state(MemberLoad::Routes).loaded);
    QVERIFY(data->routes().isEmpty());
    QQuickItem *routes = shown(m_root, "home.routes");
    QVERIFY(routes);
    QTRY_VERIFY(shown(routes, "routes.empty"));
    QVERIFY(!shown(routes, "routes.map"));
    QVERIFY(!shown(routes, "routes.scope"));
    QVERIFY(!shown(routes, "routes.fullScreen"));
    QVERIFY(textsShown(routes).contains("还没有已批准的航线"));
}

VORNA_SHELL_VIEWS_TEST_MAIN(ViewsNavigationTest)

#include "tst_views_navigation.moc"
