// What each screen shows, lets be pressed and opens, read from the running views through the shell against
// the sample member service: one row per condition of a view, in the state that makes it true or false.
#include "AircraftImageService.h"
#include "AppState.h"
#include "Contrast.h"
#include "FailureFocus.h"
#include "ItemAccessibility.h"
#include "L.h"
#include "LanguageScope.h"
#include "LiveApplicationReviewModel.h"
#include "LiveMapModel.h"
#include "MapBanner.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "MemberStore.h"
#include "SceneTestSupport.h"
#include "ShellTestSite.h"
#include "Theme.h"
#include "WindowRootTestSupport.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>
#include <QtTest>

Q_IMPORT_QML_PLUGIN(Vorna_UiPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_StatePlugin)
Q_IMPORT_QML_PLUGIN(Vorna_ImagesPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_HomePlugin)
Q_IMPORT_QML_PLUGIN(Vorna_ShellPlugin)

using namespace TestSupport;

namespace {

// What a screen reader calls an item, and its state.
QAccessibleInterface *heard(QQuickItem *item)
{
    return item ? QAccessible::queryAccessibleInterface(item) : nullptr;
}

// What a screen reader reaches walking the window's tree from its top: the names of the items on screen,
// body text among them; or, with `offScreen`, every name in the tree, shown or not.
QStringList heardNames(QWindow *window, bool offScreen = false)
{
    QStringList names;
    const std::function<void(QAccessibleInterface *, int)> walk = [&](QAccessibleInterface *node, int depth) {
        if (!node || (node->state().invisible && !offScreen) || depth > 80)
            return;
        names << node->text(QAccessible::Name);
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i), depth + 1);
    };
    walk(QAccessible::queryAccessibleInterface(window), 0);
    return names;
}

// Whether a name heard on the window mentions that text.
bool heardOn(QWindow *window, const QString &text)
{
    const QStringList names = heardNames(window);
    return std::any_of(names.cbegin(), names.cend(),
                       [&](const QString &name) { return name.contains(text); });
}

// The alert shown on the scene whose name holds that text, or none.
QQuickItem *alertSaying(QQuickItem *root, const QString &text)
{
    for (QQuickItem *item : itemsBelow(root)) {
        QAccessibleInterface *reader =
            item->isVisible() ? QAccessible::queryAccessibleInterface(item) : nullptr;
        if (reader && reader->role() == QAccessible::AlertMessage
            && reader->text(QAccessible::Name).contains(text))
            return item;
    }
    return nullptr;
}

// Whether a labelled row of that title and value is on screen: the two texts on one line, the title at its
// leading edge and the value at its trailing edge (ahead of a picker's chevron, at most).
bool labelledRow(QQuickItem *root, const QString &title, const QString &value)
{
    QList<QQuickItem *> titles, values;
    for (QQuickItem *item : itemsBelow(root)) {
        if (!item->isVisible() || !item->inherits("QQuickText"))
            continue;
        const QString text = item->property("text").toString();
        if (text == title)
            titles.append(item);
        if (text == value)
            values.append(item);
    }
    const auto box = [](QQuickItem *item) {
        return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    };
    for (QQuickItem *titleText : std::as_const(titles)) {
        for (QQuickItem *valueText : std::as_const(values)) {
            QQuickItem *line = valueText->parentItem();
            while (line && !line->isAncestorOf(titleText))
                line = line->parentItem();
            if (!line)
                continue;
            const QRectF leading = box(titleText), trailing = box(valueText), whole = box(line);
            const bool oneLine = leading.top() < trailing.bottom() && trailing.top() < leading.bottom();
            const double painted = valueText->property("contentWidth").toDouble();
            if (oneLine && leading.left() <= whole.left() + 1 && trailing.right() >= whole.right() - 48
                && leading.left() + titleText->property("contentWidth").toDouble()
                       <= trailing.right() - painted)
                return true;
        }
    }
    return false;
}

// Whether a control can be pressed: on, and not busy with its work (a busy control stays on to keep the
// keyboard, and takes no press).
bool isEnabled(QQuickItem *control) { return control->isEnabled() && !control->property("busy").toBool(); }

// How strongly an item is drawn: its opacity and that of every item it stands in.
double drawnOpacity(const QQuickItem *item)
{
    double opacity = 1;
    for (; item; item = item->parentItem())
        opacity *= item->opacity();
    return opacity;
}

// Whether an item stands wholly inside the window and inside the visible part of every list or page that
// scrolls it.
bool wholly(QQuickItem *item)
{
    const QRectF box = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    const QQuickItem *content = item->window() ? item->window()->contentItem() : nullptr;
    if (!content || !QRectF(0, 0, content->width(), content->height()).contains(box))
        return false;
    for (QQuickItem *above = item->parentItem(); above; above = above->parentItem()) {
        if (above->inherits("QQuickFlickable")
            && !above->mapRectToScene(QRectF(0, 0, above->width(), above->height())).contains(box))
            return false;
    }
    return true;
}

// Whether a text on screen below an item reads so in a fixed-pitch face: one whose narrowest and widest
// letters take the same room (the font database does not mark every such face fixed-pitch).
bool shownFixedPitch(QQuickItem *root, const QString &text)
{
    const QList<QQuickItem *> items = itemsBelow(root);
    return std::any_of(items.cbegin(), items.cend(), [&](QQuickItem *item) {
        if (!item->isVisible() || !item->inherits("QQuickText") || item->property("text").toString() != text)
            return false;
        const QFontMetricsF metrics(item->property("font").value<QFont>());
        return metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('W'));
    });
}

// The symbols of the icon font drawn on screen at or below an item, a name as often as it is drawn, in order
// of name. An avatar's placeholder is its picture, there or not as the picture loads, and is left out.
QStringList symbolsShown(QQuickItem *root)
{
    const auto inAvatar = [root](QQuickItem *item) {
        for (QQuickItem *above = item; above && above != root; above = above->parentItem()) {
            if (QByteArray(above->metaObject()->className()).startsWith("AccountAvatar_QMLTYPE"))
                return true;
        }
        return false;
    };
    QStringList names;
    for (QQuickItem *item : itemsBelow(root)) {
        if (item->isVisible() && QByteArray(item->metaObject()->className()).startsWith("Symbol_QMLTYPE")
            && !item->property("name").toString().isEmpty() && !inAvatar(item))
            names.append(item->property("name").toString());
    }
    names.sort();
    return names;
}

// Whether items stand one under the other in this order, each centred on the first one's middle.
bool inOneColumn(const QList<QQuickItem *> &items)
{
    const auto box = [](QQuickItem *item) {
        return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    };
    for (qsizetype i = 1; i < items.size(); ++i) {
        if (box(items.at(i)).top() < box(items.at(i - 1)).bottom()
            || std::abs(box(items.at(i)).center().x() - box(items.front()).center().x()) > 1.5)
            return false;
    }
    return true;
}

// Whether a control draws no border and no fill of its own (a plain symbol or text, as a borderless button).
// A rectangle's border is drawn only once it is given: Qt's default, opaque black of width 1, is not.
bool drawsNoFrame(QQuickItem *control)
{
    const QList<QQuickItem *> items = itemsBelow(control);
    return std::none_of(items.cbegin(), items.cend(), [](QQuickItem *item) {
        if (!item->isVisible() || !item->inherits("QQuickRectangle") || item->opacity() <= 0)
            return false;
        const QObject *border = item->property("border").value<QObject *>();
        const QColor borderColour = border ? border->property("color").value<QColor>() : QColor();
        const bool bordered = border && border->property("width").toReal() > 0 && borderColour.alpha() > 0
                              && borderColour != QColor(Qt::black);
        return bordered || item->property("color").value<QColor>().alpha() > 0;
    });
}

// Whether a symbol of that name is drawn on screen below an item.
bool symbolShown(QQuickItem *root, const QString &name)
{
    const QList<QQuickItem *> items = itemsBelow(root);
    return std::any_of(items.cbegin(), items.cend(), [&](QQuickItem *item) {
        return item->isVisible() && QByteArray(item->metaObject()->className()).startsWith("Symbol_QMLTYPE")
               && item->property("name").toString() == name;
    });
}

// Whether an item is a text centred across the whole row it stands in.
bool centredAcross(QQuickItem *item)
{
    QQuickItem *row = item->parentItem();
    return item->inherits("QQuickText") && row
           && item->property("horizontalAlignment").toInt() == Qt::AlignHCenter
           && qAbs(item->width() - row->width()) < 0.5;
}

// A row "… zh_TW" sees the app in Taiwan Chinese: its texts, and the locale its times are written in.
class TaiwanScope
{
public:
    TaiwanScope()
        : m_language("zh_TW")
    {
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::Taiwan));
    }
    ~TaiwanScope() { QLocale::setDefault(m_kept); }
    TaiwanScope(const TaiwanScope &) = delete;
    TaiwanScope &operator=(const TaiwanScope &) = delete;

    // Takes the suffix off a row's scenario; true when it had it.
    static bool asked(QString &scenario)
    {
        if (!scenario.endsWith(QLatin1String(" zh_TW")))
            return false;
        scenario.chop(6);
        return true;
    }

private:
    LanguageScope m_language;
    QLocale m_kept;
};

// A moment of this machine's clock, as the service writes times: in UTC.
QString sentAsLocal(const QDateTime &local) { return local.toUTC().toString(Qt::ISODate); }

// The Live data with one schedule's departure and arrival at those moments of this machine's clock.
QJsonObject withScheduleTimes(QJsonObject live, const QString &id, const QDateTime &departure,
                              const QDateTime &arrival)
{
    QJsonArray organizations = live.value("organizations").toArray();
    for (QJsonValueRef organizationRow : organizations) {
        QJsonObject organization = organizationRow.toObject();
        QJsonArray schedules = organization.value("schedules").toArray();
        for (QJsonValueRef row : schedules) {
            QJsonObject schedule = row.toObject();
            if (schedule.value("id").toString() != id)
                continue;
            schedule.remove("scheduledDepartureOffsetHours");
            schedule.remove("scheduledArrivalOffsetHours");
            schedule.insert("scheduledDepartureUtc", sentAsLocal(departure));
            schedule.insert("scheduledArrivalUtc", sentAsLocal(arrival));
            row = schedule;
        }
        organization.insert("schedules", schedules);
        organizationRow = organization;
    }
    live.insert("organizations", organizations);
    return live;
}

// The three columns every table of rules has: what is shown and enabled, shown and disabled, and not shown.
// "heard:TEXT" among the shown is text a screen reader reaches on the window's tree; among the hidden, text
// it does not. "alert:NAME" is a control shown as an alert that has taken the keyboard, so it is read at
// once. "text:NAME" is an item shown that a screen reader reads as text, neither a control nor dimmed.
// "said:TEXT" is an outcome told to a screen reader as it came and not drawn: an alert shown whose name
// holds TEXT, taking no room and not the keyboard, and no text on screen reading TEXT; among the hidden, no
// alert shown says it. "inview:NAME" is an item shown and wholly in view. "row:TITLE|VALUE" is a labelled
// row: the text TITLE at the leading edge of a line and the text VALUE beside it at the line's trailing edge.
// "style:NAME=TYPE FLAG…" is a control shown, drawn by that type of ours with each flag set (BorderedButton
// prominent large). "capsule:NAME" is an item shown in a capsule, with 8 points round it on every side.
// "masked:NAME" is a field shown and enabled that holds text and draws only its mask characters.
// "symbol:OWNER>NAME" is a symbol of that name drawn below the item OWNER shown; among the hidden, none is.
// "centred:NAME" is a text shown, centred across its whole row. "seen:NAME" is an item shown wholly in view.
// "fixed:TEXT" is a text on screen that reads so and is drawn in a fixed-pitch face; among the hidden, no
// text on screen that reads so is.
// "symbols:NAME>a b" is an item shown with exactly those symbols drawn at or below it, each as often as it is
// named; "symbol:NAME>a" among the hidden, an item shown without that symbol. "column:A B" are items shown
// one under the other, each centred on the first. "destructive:NAME" is a control shown that draws its
// symbols and texts in the rejected colour and no border or fill of its own. "quiet:NAME" is a failure
// notice shown that, once the window has drawn it, has taken neither the keyboard nor the page the row
// scrolled, which stays where it was.
void addControlColumns()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QStringList>("disabled");
    QTest::addColumn<QStringList>("hidden");
}

} // namespace

class ScreenRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void pageTableShowsEachPage_data();
    void pageTableShowsEachPage();
    void controlsOpenTheirPages_data();
    void controlsOpenTheirPages();
    void dashboardScreens_data();
    void dashboardScreens();
    void accountScreens_data();
    void accountScreens();
    void accountFormScreens_data();
    void accountFormScreens() { accountScreens(); }
    void switcherKeepsTheKeyboardInView();
    void gateFailureTakesTheKeyboard_data();
    void gateFailureTakesTheKeyboard();
    void informationCentresTheBrand_data();
    void informationCentresTheBrand();
    void firstLoginBannerHasASectionOfItsOwn_data();
    void firstLoginBannerHasASectionOfItsOwn();
    void reportScreens_data();
    void reportScreens();
    void photoDialogs_data();
    void photoDialogs();
    void eventScreens_data();
    void eventScreens();
    void reviewScreens_data();
    void reviewScreens();
    void liveScreens_data();
    void liveScreens();
    void mapScreens_data();
    void mapScreens();
    void englishTextsFit_data();
    void englishTextsFit();
    void failuresShowEveryTime_data();
    void failuresShowEveryTime();
    void keyboardStaysWhileItWorks_data();
    void keyboardStaysWhileItWorks();

private:
    Sample::Service &service() { return m_site.service(); }
    QQuickItem *scene() const { return m_window->contentItem(); }
    // The window root in a window of its own, as the app makes it, with no account saved in the keyring.
    bool showWindowRoot();
    // The window root, signed in as that user, on his home page with its loads ended.
    bool showSignedIn(const QString &username, const QString &password = QStringLiteral("fly-vornalia"));
    MemberNavigation *navigation() const { return m_root->findChild<MemberNavigation *>(); }
    MemberData *memberData() const { return m_root->findChild<MemberData *>(); }
    // The member's own report of that id, as the member data lists it.
    std::optional<Pirep> reportOf(const QString &id) const;
    // The event of that id on its page.
    void openEvent(const QString &id);
    // Presses a control on screen as a click does.
    void press(const QString &name);
    // Presses it as the keyboard does: Tab brings it into view, Space presses it.
    void pressByKeyboard(const QString &name);
    // The control of that name on screen once `holds` is true of it, or none when the wait ends first. It is
    // looked up at every try: a list may make its rows anew meanwhile (the queue after a review, a Live
    // board as its load ends, the saved accounts).
    template <typename Holds>
    QQuickItem *controlWhen(const QString &name, Holds holds) const;
    // Why a control was not found so: not shown at all, or shown but `otherwise`.
    QString missed(const QString &name, const char *otherwise) const;
    // The id of the saved account of that user name, for a table's "{name}".
    QString withSavedIds(QString name) const;
    // Checks the three columns of a rules table against the scene.
    void checkControls();
    // A control shown as an alert that has taken the keyboard and stands wholly in view.
    void checkAlert(const QString &name);
    // A colour of the app's theme, as the views read it.
    QColor themeColour(const char *name);
    // Opens the screen of a row of failuresShowEveryTime, with its action's failure set at the service.
    // With `held`, what the action sends is held back, unanswered, until the service releases it.
    void openToFail(const QString &scenario, bool held = false);
    // The row's action, once: as the member does it, the keyboard on its control.
    void actToFail(const QString &scenario);

    ShellSite m_site;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<QQuickWindow> m_window;
    QQuickItem *m_root = nullptr;
    AppState *m_app = nullptr;
    // A page a row scrolled, and where to: for "quiet:", which leaves it there.
    std::pair<QPointer<QQuickItem>, qreal> m_scrolled;
};

void ScreenRulesTest::initTestCase()
{
    ItemAccessibility::install();
    QVERIFY(m_site.start());
}

void ScreenRulesTest::init() { m_site.reset(); }

void ScreenRulesTest::cleanup()
{
    // Answers a row held back go out before its window does.
    service().clearFaults();
    service().release();
    FlightActivityNavigation::shared().clearOwnFlightRequest();
    m_app = nullptr;
    m_root = nullptr;
    m_scrolled = {};
    closeWindow(m_window, m_engine);
}

bool ScreenRulesTest::showWindowRoot()
{
    m_root = TestSupport::showWindowRoot(m_engine, m_window);
    if (!m_root)
        return false;
    // A row named "… (760×540)" sees the smallest window, less its menu bar.
    if (QString::fromUtf8(QTest::currentDataTag()).endsWith(QStringLiteral("(760×540)"))) {
        m_window->resize(760, 540);
        m_root->setSize(QSizeF(760, 500));
    }
    m_app = m_root->findChild<AppState *>();
    if (!m_app || !TestSupport::waitFor([this] { return !m_app->checking(); }))
        return false;
    // Accounts an earlier row saved in this keyring go first.
    const QList<SavedLogin> saved = m_app->savedAccounts();
    for (const SavedLogin &account : saved)
        await(m_app->removeSavedAccount(account));
    return m_app->savedAccountCount() == 0;
}

bool ScreenRulesTest::showSignedIn(const QString &username, const QString &password)
{
    if (!showWindowRoot() || !TestSupport::signInThrough(m_app, username, password))
        return false;
    if (m_app->role() != QLatin1String("member"))
        return TestSupport::waitFor([this] { return shown(m_root, "shell.workbench") != nullptr; });
    if (!TestSupport::waitFor([this] { return shown(m_root, "home.notifications") != nullptr; }))
        return false;
    return memberLoadsEnd(memberData());
}

std::optional<Pirep> ScreenRulesTest::reportOf(const QString &id) const
{
    const QList<Pirep> reports = memberData()->pireps();
    for (const Pirep &report : reports) {
        if (report.id == id)
            return report;
    }
    return std::nullopt;
}

void ScreenRulesTest::openEvent(const QString &id)
{
    const QList<FlightEvent> events = memberData()->events();
    const auto event =
        std::find_if(events.cbegin(), events.cend(), [&](const FlightEvent &e) { return e.id == id; });
    QVERIFY2(event != events.cend(), qPrintable(id));
    navigation()->openEvent(*event);
    QTRY_VERIFY(shown(m_root, "shell.event"));
}

void ScreenRulesTest::press(const QString &name)
{
    QTRY_VERIFY2(heardControl(scene(), withSavedIds(name)), qPrintable(name + " is not shown"));
    QQuickItem *item = controlWhen(name, isEnabled);
    QVERIFY2(item, qPrintable(missed(name, " is disabled")));
    QVERIFY2(QMetaObject::invokeMethod(item, "clicked"), qPrintable(name + " cannot be clicked"));
}

void ScreenRulesTest::pressByKeyboard(const QString &name)
{
    QTRY_VERIFY2(heardControl(scene(), withSavedIds(name)), qPrintable(name + " is not shown"));
    QQuickItem *item = controlWhen(name, isEnabled);
    QVERIFY2(item, qPrintable(missed(name, " is disabled")));
    item->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
}

template <typename Holds>
QQuickItem *ScreenRulesTest::controlWhen(const QString &name, Holds holds) const
{
    return awaitItem([&] { return heardControl(scene(), withSavedIds(name)); }, holds);
}

QString ScreenRulesTest::missed(const QString &name, const char *otherwise) const
{
    return name + (heardControl(scene(), withSavedIds(name)) ? otherwise : " is not shown");
}

QString ScreenRulesTest::withSavedIds(QString name) const
{
    const QList<SavedLogin> saved = m_app ? m_app->savedAccounts() : QList<SavedLogin>();
    for (const SavedLogin &login : saved)
        name.replace('{' + login.user.username + '}', login.id());
    return name;
}

void ScreenRulesTest::checkControls()
{
    QFETCH(QStringList, enabled);
    QFETCH(QStringList, disabled);
    QFETCH(QStringList, hidden);
    for (const QString &name : enabled + disabled + hidden)
        QTRY_VERIFY2(!withSavedIds(name).contains('{'), qPrintable(name + " names an account not saved"));
    const QLatin1String said("heard:");
    const QLatin1String alert("alert:");
    const QLatin1String text("text:");
    const QLatin1String masked("masked:");
    const QLatin1String fixed("fixed:");
    const QLatin1String saying("said:");
    const QLatin1String inView("inview:");
    const QLatin1String symbols("symbols:");
    const QLatin1String column("column:");
    const QLatin1String destructive("destructive:");
    const QLatin1String quiet("quiet:");
    const QLatin1String symbol("symbol:");
    const QLatin1String centred("centred:");
    const QLatin1String seen("seen:");
    const auto drawn = [this](const QString &marker) {
        const QString owner = marker.section('>', 0, 0);
        return shown(scene(), owner) && symbolShown(shown(scene(), owner), marker.section('>', 1));
    };
    // Each control is looked up again once the state checked holds: a row kept from before the wait may
    // have been made anew by then.
    for (const QString &name : enabled) {
        if (name.startsWith(saying)) {
            const QString outcome = name.mid(saying.size());
            QTRY_VERIFY2(alertSaying(scene(), outcome), qPrintable(name + " is not said"));
            QQuickItem *alert = alertSaying(scene(), outcome);
            QVERIFY2(alert->width() == 0 && alert->height() == 0 && alert->childItems().isEmpty(),
                     qPrintable(name + " is drawn"));
            QVERIFY2(!alert->hasActiveFocus(), qPrintable(name + " has taken the keyboard"));
            QVERIFY2(!textsShown(scene()).contains(outcome), qPrintable(name + " is shown as text"));
            continue;
        }
        if (name.startsWith(QLatin1String("style:"))) {
            const QString control = name.section(u':', 1).section(u'=', 0, 0);
            const QStringList style = name.section(u'=', 1).split(u' ');
            QTRY_VERIFY2(heardControl(scene(), control), qPrintable(name + " is not shown"));
            QQuickItem *drawn = heardControl(scene(), control);
            QVERIFY2(QByteArray(drawn->metaObject()->className())
                         .startsWith(style.first().toLatin1() + "_QMLTYPE"),
                     qPrintable(name + " is a " + drawn->metaObject()->className()));
            for (const QString &flag : style.mid(1))
                QVERIFY2(drawn->property(flag.toLatin1()).toBool(), qPrintable(name + " is not " + flag));
            continue;
        }
        if (name.startsWith(QLatin1String("trailing:"))) {
            // The control at its banner's trailing edge, inside its 14 points of padding, and at least 8
            // points clear of every text before it.
            const QString owner = name.mid(9).section('>', 0, 0);
            const QString control = name.section('>', 1);
            QTRY_VERIFY2(shown(scene(), owner) && heardControl(scene(), control),
                         qPrintable(name + " is not shown"));
            QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
            QQuickItem *banner = shown(scene(), owner);
            QQuickItem *button = heardControl(scene(), control);
            const QRectF outer = banner->mapRectToScene(QRectF(0, 0, banner->width(), banner->height()));
            const QRectF placed = button->mapRectToScene(QRectF(0, 0, button->width(), button->height()));
            QVERIFY2(std::abs(placed.right() - (outer.right() - 14)) <= 1,
                     qPrintable(QStringLiteral("%1 ends at %2 in a banner ending at %3")
                                    .arg(name)
                                    .arg(placed.right())
                                    .arg(outer.right())));
            for (QQuickItem *item : itemsBelow(banner)) {
                if (!item->isVisible() || !item->inherits("QQuickText") || button->isAncestorOf(item))
                    continue;
                const double ends =
                    item->mapToScene(QPointF(item->property("contentWidth").toDouble(), 0)).x();
                QVERIFY2(ends + 8 <= placed.left(),
                         qPrintable(QStringLiteral("%1: \"%2\" runs to %3, the control starts at %4")
                                        .arg(name, item->property("text").toString())
                                        .arg(ends)
                                        .arg(placed.left())));
            }
            continue;
        }
        if (name.startsWith(QLatin1String("capsule:"))) {
            const QString item = name.mid(8);
            QTRY_VERIFY2(heardControl(scene(), item), qPrintable(name + " is not shown"));
            QQuickItem *inside = heardControl(scene(), item);
            QQuickItem *capsule = inside->parentItem();
            QVERIFY2(capsule && capsule->property("radius").toDouble() == capsule->height() / 2,
                     qPrintable(name + " is not in a capsule"));
            const QRectF box =
                inside->mapRectToItem(capsule, QRectF(0, 0, inside->width(), inside->height()));
            QCOMPARE(box.marginsAdded(QMarginsF(8, 8, 8, 8)),
                     QRectF(0, 0, capsule->width(), capsule->height()));
            continue;
        }
        if (name.startsWith(QLatin1String("row:"))) {
            const QStringList parts = name.mid(4).split(u'|');
            QTRY_VERIFY2(labelledRow(scene(), parts.value(0), parts.value(1)),
                         qPrintable(name + " is not a labelled row"));
            continue;
        }
        if (name.startsWith(inView)) {
            const QString item = name.mid(inView.size());
            QTRY_VERIFY2(heardControl(scene(), item), qPrintable(name + " is not shown"));
            QVERIFY2(controlWhen(item, wholly), qPrintable(missed(item, " is not wholly in view")));
            continue;
        }
        if (name.startsWith(masked)) {
            const QString fieldName = name.mid(masked.size());
            QTRY_VERIFY2(heardControl(scene(), fieldName), qPrintable(name + " is not shown"));
            QQuickItem *field = controlWhen(fieldName, isEnabled);
            QVERIFY2(field, qPrintable(missed(fieldName, " is disabled")));
            const QString typed = field->property("text").toString();
            QVERIFY2(!typed.isEmpty(), qPrintable(name + " holds nothing"));
            // What the field draws, not what it holds: each character as the mask.
            const QString mask = field->property("passwordCharacter").toString();
            QCOMPARE(mask.size(), 1);
            QCOMPARE(field->property("displayText").toString(), mask.repeated(typed.size()));
            continue;
        }
        if (name.startsWith(QLatin1String("keyboard:"))) {
            // An outcome said once: plain text that takes the keyboard, wholly in view, and no alert.
            const QString item = name.mid(9);
            QTRY_VERIFY2(heardControl(scene(), item), qPrintable(name + " is not shown"));
            QCOMPARE(heard(heardControl(scene(), item))->role(), QAccessible::StaticText);
            QVERIFY2(controlWhen(item, [](QQuickItem *said) { return said->hasActiveFocus(); }),
                     qPrintable(missed(item, " has not taken the keyboard")));
            QVERIFY2(controlWhen(item, wholly), qPrintable(missed(item, " is not wholly in view")));
            continue;
        }
        if (name.startsWith(alert) || name.startsWith(text)) {
            QQuickItem *item = nullptr;
            QTRY_VERIFY2((item = heardControl(scene(), name.section(':', 1))),
                         qPrintable(name + " is not shown"));
            QAccessibleInterface *reader = heard(item);
            QVERIFY2(reader, qPrintable(name + " is not on the bus"));
            if (name.startsWith(text)) {
                QCOMPARE(reader->role(), QAccessible::StaticText);
                QVERIFY2(!reader->state().disabled, qPrintable(name + " is heard dimmed"));
                continue;
            }
            checkAlert(name.section(':', 1));
            if (QTest::currentTestFailed())
                return;
            continue;
        }
        if (name.startsWith(symbols)) {
            const QString owner = withSavedIds(name.mid(symbols.size()).section('>', 0, 0));
            const QStringList wanted = name.section('>', 1).split(' ', Qt::SkipEmptyParts);
            QTRY_VERIFY2(shown(scene(), owner), qPrintable(owner + " is not shown"));
            QTRY_VERIFY2(symbolsShown(shown(scene(), owner)) == wanted,
                         qPrintable(owner + " draws " + symbolsShown(shown(scene(), owner)).join(' ')));
            continue;
        }
        if (name.startsWith(column)) {
            const QStringList names = name.mid(column.size()).split(' ');
            const auto found = [&] {
                QList<QQuickItem *> items;
                for (const QString &item : names)
                    items.append(shown(scene(), item));
                return items.contains(nullptr) ? QList<QQuickItem *>() : items;
            };
            QTRY_VERIFY2(!found().isEmpty(), qPrintable(name + ": not all shown"));
            QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
            QVERIFY2(inOneColumn(found()), qPrintable(name + ": not one under the other in one column"));
            continue;
        }
        if (name.startsWith(destructive)) {
            const QString control = withSavedIds(name.mid(destructive.size()));
            QTRY_VERIFY2(heardControl(scene(), control), qPrintable(control + " is not shown"));
            QQuickItem *button = heardControl(scene(), control);
            QVERIFY2(drawsNoFrame(button), qPrintable(control + " draws a border or a fill"));
            const QColor rejected = themeColour("rejected");
            for (QQuickItem *item : itemsBelow(button)) {
                if (item->isVisible() && item->inherits("QQuickText"))
                    QVERIFY2(item->property("color").value<QColor>() == rejected,
                             qPrintable(control + " draws \"" + item->property("text").toString()
                                        + "\" in another colour"));
            }
            continue;
        }
        if (name.startsWith(quiet)) {
            const QString noticeName = name.mid(quiet.size());
            QTRY_VERIFY2(shown(scene(), noticeName), qPrintable(name + " is not shown"));
            // Long enough for a notice that takes the keyboard and the view to have done so: it does that
            // at the first frame after it shows.
            for (int frame = 0; frame < 2; ++frame) {
                QSignalSpy drawn(m_window.get(), &QQuickWindow::frameSwapped);
                m_window->update();
                QTRY_VERIFY(drawn.count() > 0);
            }
            QQuickItem *notice = shown(scene(), noticeName);
            QVERIFY(notice);
            QQuickItem *keyboard = m_window->activeFocusItem();
            QVERIFY2(keyboard != notice && !notice->isAncestorOf(keyboard),
                     qPrintable(name + " has taken the keyboard"));
            QVERIFY2(m_scrolled.first, "the row scrolled no page before its failure came");
            QCOMPARE(m_scrolled.first->property("contentY").toReal(), m_scrolled.second);
            continue;
        }
        if (name.startsWith(said)) {
            QTRY_VERIFY2(heardOn(m_window.get(), name.mid(said.size())), qPrintable(name + " is not heard"));
            continue;
        }
        if (name.startsWith(QLatin1String("once:"))) {
            // Exactly one item on screen is heard by that name.
            const QString wanted = name.mid(5);
            QTRY_COMPARE(heardNames(m_window.get()).count(wanted), 1);
            continue;
        }
        if (name.startsWith(fixed)) {
            QTRY_VERIFY2(shownFixedPitch(scene(), name.mid(fixed.size())),
                         qPrintable(name + " is not shown in a fixed-pitch face"));
            continue;
        }
        if (name.startsWith(symbol)) {
            QTRY_VERIFY2(drawn(name.mid(symbol.size())), qPrintable(name + " is not drawn"));
            continue;
        }
        if (name.startsWith(centred) || name.startsWith(seen)) {
            const QString itemName = name.section(':', 1);
            QTRY_VERIFY2(heardControl(scene(), itemName), qPrintable(name + " is not shown"));
            QVERIFY2(controlWhen(itemName, name.startsWith(seen) ? wholly : centredAcross),
                     qPrintable(missed(itemName, name.startsWith(seen) ? " is not wholly in view"
                                                                       : " is not centred across its row")));
            continue;
        }
        QTRY_VERIFY2(heardControl(scene(), withSavedIds(name)), qPrintable(name + " is not shown"));
        QVERIFY2(controlWhen(name, isEnabled), qPrintable(missed(name, " is disabled")));
    }
    // "faded:": and drawn off, faded as a whole whatever it shows (a chosen answer in its tint too).
    const QLatin1String faded("faded:");
    for (const QString &row : disabled) {
        const QString name = row.startsWith(faded) ? row.mid(faded.size()) : row;
        QTRY_VERIFY2(heardControl(scene(), withSavedIds(name)), qPrintable(name + " is not shown"));
        QVERIFY2(controlWhen(name, [](QQuickItem *control) { return !isEnabled(control); }),
                 qPrintable(missed(name, " is enabled")));
        if (row.startsWith(faded))
            QVERIFY2(controlWhen(name, [](QQuickItem *control) { return drawnOpacity(control) < 0.6; }),
                     qPrintable(missed(name, " is drawn at full strength")));
    }
    // Not in the tree at all, on screen or off it.
    const QLatin1String inTree("tree:");
    for (const QString &name : hidden) {
        if (name.startsWith(inTree)) {
            const QString wanted = name.mid(inTree.size());
            const auto inTheTree = [&] {
                const QStringList names = heardNames(m_window.get(), true);
                return std::any_of(names.cbegin(), names.cend(),
                                   [&](const QString &heard) { return heard.contains(wanted); });
            };
            QTRY_VERIFY2(!inTheTree(), qPrintable(name + " is in the tree"));
        } else if (name.startsWith(said))
            QTRY_VERIFY2(!heardOn(m_window.get(), name.mid(said.size())), qPrintable(name + " is heard"));
        else if (name.startsWith(saying))
            QTRY_VERIFY2(!alertSaying(scene(), name.mid(saying.size())), qPrintable(name + " is said"));
        else if (name.startsWith(fixed))
            QTRY_VERIFY2(!shownFixedPitch(scene(), name.mid(fixed.size())),
                         qPrintable(name + " is shown in a fixed-pitch face"));
        else if (name.startsWith(symbol)) {
            const QString owner = withSavedIds(name.mid(symbol.size()).section('>', 0, 0));
            QTRY_VERIFY2(shown(scene(), owner), qPrintable(owner + " is not shown"));
            QTRY_VERIFY2(!symbolsShown(shown(scene(), owner)).contains(name.section('>', 1)),
                         qPrintable(name + " is drawn"));
        } else
            QTRY_VERIFY2(!heardControl(scene(), withSavedIds(name)), qPrintable(name + " is shown"));
    }
}

QColor ScreenRulesTest::themeColour(const char *name)
{
    QQmlComponent component(m_engine.get());
    component.setData(QByteArray("import QtQuick\nimport Vorna.Ui\nQtObject { property color colour: Theme.")
                          + name + " }",
                      QUrl());
    const std::unique_ptr<QObject> made(component.create());
    return made ? made->property("colour").value<QColor>() : QColor();
}

void ScreenRulesTest::checkAlert(const QString &name)
{
    QTRY_VERIFY2(heardControl(scene(), name), qPrintable(name + " is not shown"));
    QAccessibleInterface *reader = heard(heardControl(scene(), name));
    QVERIFY2(reader, qPrintable(name + " is not on the bus"));
    QCOMPARE(reader->role(), QAccessible::AlertMessage);
    QVERIFY2(controlWhen(name, [](QQuickItem *alerting) { return alerting->hasActiveFocus(); }),
             qPrintable(missed(name, " has not taken the keyboard")));
    // And it stands wholly in view, so the member reads what happened.
    QVERIFY2(controlWhen(name, wholly), qPrintable(missed(name, " is not wholly in view")));
}

// ---- the shell's table of pages: each page of a route is its own

void ScreenRulesTest::pageTableShowsEachPage_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("page"); // pushed on the tab's stack; NoPage: the tab's root
    QTest::addColumn<QString>("shows");
    QTest::addColumn<QString>("text");

    const auto row = [](const char *name, const QString &username, MemberTab tab, ShellPage page,
                        const QString &shows, const QString &text) {
        QTest::newRow(name) << username << int(tab) << int(page) << shows << text;
    };
    row("dashboard", "lichen", MemberTab::Home, ShellPage::NoPage, "home.notifications", "欢迎回来，李辰");
    row("workbench", "wangfang", MemberTab::Home, ShellPage::NoPage, "shell.workbench", "审核工作台");
    row("flights", "lichen", MemberTab::Flights, ShellPage::NoPage, "pirep.new", "");
    row("map", "lichen", MemberTab::Map, ShellPage::NoPage, "shell.map", "");
    row("account", "lichen", MemberTab::Account, ShellPage::NoPage, "shell.account", "其他");
    row("event", "lichen", MemberTab::Home, ShellPage::Event, "shell.event", "活动详情");
    row("inbox", "lichen", MemberTab::Home, ShellPage::Inbox, "inbox.heading", "通知");
    row("report detail", "lichen", MemberTab::Flights, ShellPage::PirepDetail, "pirep.detail.back",
        "报告详情");
    row("report form", "lichen", MemberTab::Flights, ShellPage::PirepForm, "pirep.submit", "");
    row("review", "wangfang", MemberTab::Home, ShellPage::Review, "shell.review", "申请人：lichen");
    row("profile", "lichen", MemberTab::Account, ShellPage::Profile, "account.page", "个人主页");
    row("profile form", "lichen", MemberTab::Account, ShellPage::ProfileEdit, "account.profileEdit", "");
    row("settings", "lichen", MemberTab::Account, ShellPage::Settings, "account.preferences", "");
    row("information", "lichen", MemberTab::Account, ShellPage::Information, "information.version", "");
    row("leaderboard", "lichen", MemberTab::Account, ShellPage::Leaderboard, "rank.period", "排行榜");
    row("legal text", "lichen", MemberTab::Account, ShellPage::Legal, "account.legal", "");
}

// Regression: two pages swapped in the shell's table still passed; each route shows its own page, and no
// other.
void ScreenRulesTest::pageTableShowsEachPage()
{
    QFETCH(QString, username);
    QFETCH(int, tab);
    QFETCH(int, page);
    QFETCH(QString, shows);
    QFETCH(QString, text);
    const QStringList pages{
        "home.notifications",  "shell.workbench",     "pirep.new",           "shell.map",
        "shell.account",       "shell.event",         "inbox.heading",       "pirep.detail.back",
        "pirep.submit",        "shell.review",        "account.page",        "rank.period",
        "account.profileEdit", "account.preferences", "information.version", "account.legal"};

    QVERIFY(showSignedIn(username));
    MemberNavigation *shell = navigation();
    shell->setSelected(MemberTab(tab));
    switch (ShellPage(page)) {
    case ShellPage::Event:
        shell->openEvent(memberData()->events().constFirst());
        break;
    case ShellPage::Inbox:
        QVERIFY(shell->pushPage(NavigationStack::HomeStack, ShellPage::Inbox));
        break;
    case ShellPage::PirepDetail:
        QTRY_VERIFY(reportOf("p-24433"));
        shell->push(NavigationStack::FlightStack, PirepRoute{*reportOf("p-24433")});
        break;
    case ShellPage::PirepForm:
        shell->startPirep();
        break;
    case ShellPage::Review:
        // The queue opens the review of one of its reports.
        press("admin.tile.1");
        press("admin.report.p-24421");
        break;
    case ShellPage::Legal:
        shell->pushLegal(0);
        break;
    case ShellPage::NoPage:
        break;
    default:
        QVERIFY(shell->pushPage(NavigationStack::AccountStack, ShellPage(page)));
    }
    QTRY_VERIFY2(shown(m_root, shows), qPrintable(shows));
    if (!text.isEmpty())
        QTRY_VERIFY2(textsShown(m_root).contains(text), qPrintable(text));
    for (const QString &other : pages) {
        if (other != shows)
            QVERIFY2(!shown(m_root, other), qPrintable(other + " is shown too"));
    }
}

// ---- the controls that open a page

void ScreenRulesTest::controlsOpenTheirPages_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("presses"); // in turn
    QTest::addColumn<QString>("page");        // what shows then
    QTest::addColumn<QString>("text");        // a text it shows, or empty

    const auto row = [](const char *name, const QString &username, MemberTab tab, const QStringList &presses,
                        const QString &page, const QString &text) {
        QTest::newRow(name) << username << int(tab) << presses << page << text;
    };
    const MemberTab account = MemberTab::Account;
    row("account: the member's card", "lichen", account, {"account.profile"}, "account.page", "个人主页");
    row("account: logbook", "lichen", account, {"account.logbook"}, "shell.logbook", "");
    row("account: settings", "lichen", account, {"account.settings"}, "account.preferences", "");
    row("account: information", "lichen", account, {"account.information"}, "information.version", "");
    row("account: leaderboard", "lichen", account, {"account.leaderboard"}, "rank.period", "排行榜");
    row("account page: edit", "lichen", account, {"account.profile", "account.edit"}, "account.profileEdit",
        "");
    row("profile form: back", "lichen", account, {"account.profile", "account.edit", "profile.back"},
        "account.page", "个人主页");
    row("information: terms", "lichen", account, {"account.information", "information.terms"},
        "account.legal", "");
    row("switcher: profile", "lichen", MemberTab::Home, {"account.avatar", "account.openProfile"},
        "account.page", "个人主页");
    row("flights: new report", "lichen", MemberTab::Flights, {"pirep.new"}, "pirep.submit", "");
    row("report form: back", "lichen", MemberTab::Flights, {"pirep.new", "pirep.back"}, "pirep.new", "");
    row("dashboard: event", "lichen", MemberTab::Home, {"home.event"}, "shell.event", "活动详情");
    row("event: back", "lichen", MemberTab::Home, {"home.event", "event.back"}, "home.notifications", "");
    row("event: report of the event", "lichen", MemberTab::Home, {"event ev-302", "event.report"},
        "pirep.submit", "");
    row("queue: a report", "wangfang", MemberTab::Home, {"admin.report.p-24436"}, "shell.review",
        "申请人：zhouning");
    row("queue: a report by Return", "wangfang", MemberTab::Home, {"admin.report.p-24436 by Return"},
        "shell.review", "申请人：zhouning");
    row("queue: a report under inquiry", "wangfang", MemberTab::Home,
        {"admin.tile.1", "admin.report.p-24421"}, "shell.review", "申请人：lichen");
    row("live: an aircraft", "lichen", MemberTab::Live, {"live.aircraft.org-vornalia/ac-101"},
        "live.aircraft.back", "");
    row("live: an aircraft's application", "lichen", MemberTab::Live,
        {"live.aircraft.org-vornalia/ac-101", "live.aircraft.apply"}, "live.apply.submit", "");
    row("live: an application to review", "wangfang", MemberTab::Live,
        {"live.tabs>排班审核", "live.review.app-10"}, "live.review.back", "");
    row("review: back", "wangfang", MemberTab::Home, {"admin.report.p-24436", "admin.review.back"},
        "shell.workbench", "审核工作台");
}

void ScreenRulesTest::controlsOpenTheirPages()
{
    QFETCH(QString, username);
    QFETCH(int, tab);
    QFETCH(QStringList, presses);
    QFETCH(QString, page);
    QFETCH(QString, text);

    QVERIFY(showSignedIn(username));
    navigation()->setSelected(MemberTab(tab));
    for (const QString &name : presses) {
        if (name.startsWith("event ")) {
            // The dashboard lists every event; this one by its id.
            openEvent(name.mid(6));
            continue;
        }
        if (name.endsWith(" by Return")) {
            // Reached with Tab from where the keyboard is, as a member without a pointer does.
            QQuickItem *control = nullptr;
            QTRY_VERIFY2((control = heardControl(scene(), name.chopped(10))), qPrintable(name));
            for (int presses = 0; presses < 30 && m_window->activeFocusItem() != control; ++presses)
                QTest::keyClick(m_window.get(), Qt::Key_Tab);
            QVERIFY2(m_window->activeFocusItem() == control, qPrintable(name + " is not reached with Tab"));
            QTest::keyClick(m_window.get(), Qt::Key_Return);
            continue;
        }
        press(name);
        if (QTest::currentTestFailed())
            return;
    }
    QTRY_VERIFY2(shown(scene(), page), qPrintable(page));
    if (!text.isEmpty())
        QTRY_VERIFY2(textsShown(scene()).contains(text), qPrintable(text));
}

// ---- the dashboard's block of what the member has to do

void ScreenRulesTest::dashboardScreens_data()
{
    addControlColumns();
    QTest::newRow("dashboard: a report held")
        << "lichen"
        << QStringList{"heard:需要你处理", "heard:管理员需要更多飞行证明", "heard:需补充证据",
                       "heard:系统没有匹配到这次飞行"}
        << QStringList() << QStringList{"home.profileBanner", "heard:先完善个人资料"};
    QTest::newRow("dashboard: no e-mail, nothing held")
        << "hejing contactEmail"
        << QStringList{"home.profileBanner", "heard:需要你处理", "heard:先完善个人资料"} << QStringList()
        << QStringList{"heard:管理员需要更多飞行证明", "heard:需补充证据"};
    QTest::newRow("dashboard: no avatar, nothing held")
        << "hejing hasAvatar" << QStringList{"home.profileBanner", "heard:需要你处理"} << QStringList()
        << QStringList{"heard:管理员需要更多飞行证明"};
    // The page's title stands inline, as every page shows its own. The to-do controls are bordered, at the
    // banners' trailing edge, clear of their texts.
    QTest::newRow("dashboard: its title, the profile banner's control")
        << "hejing contactEmail"
        << QStringList{"home.title>成员中心", "style:home.profileBanner.action=BorderedButton",
                       "trailing:home.profileBanner>home.profileBanner.action"}
        << QStringList() << QStringList();
    QTest::newRow("dashboard: a held report's control")
        << "lichen"
        << QStringList{"style:home.heldBanner.action=BorderedButton",
                       "trailing:home.heldBanner>home.heldBanner.action"}
        << QStringList() << QStringList();
    QTest::newRow("dashboard: nothing to do")
        << "hejing" << QStringList{"home.notifications"} << QStringList()
        << QStringList{"home.profileBanner", "heard:需要你处理", "heard:需补充证据"};
    // The latest flight's card shows the aircraft's picture only with both an aircraft and a livery.
    QTest::newRow("dashboard: the latest flight in its livery")
        << "lichen" << QStringList{"home.latest-flight", "latest.photo"} << QStringList() << QStringList();
    QTest::newRow("dashboard: the latest flight without a livery")
        << "lichen unliveried" << QStringList{"home.latest-flight", "heard:Cessna 172 · 未提供"}
        << QStringList() << QStringList{"latest.photo"};

    // The latest flight's card or its placeholder, never both; in a regular-width window the column's heading
    // carries the title, not the placeholder. The events' column only with events; no notice while every load
    // answers, no loader once the reports have.
    QTest::newRow("dashboard: a latest flight, events")
        << "lichen" << QStringList{"home.latest-flight", "home.event", "section.heading>将要举行的活动"}
        << QStringList() << QStringList{"latest-flight.placeholder", "heard:重试", "heard:正在加载"};
    QTest::newRow("dashboard: no latest flight")
        << "lichen noFlight" << QStringList{"latest-flight.placeholder", "home.event"} << QStringList()
        << QStringList{"home.latest-flight", "latest-flight.placeholder>最近一次飞行"};
    QTest::newRow("dashboard: no upcoming event")
        << "lichen noEvents" << QStringList{"home.latest-flight"} << QStringList()
        << QStringList{"home.event", "section.heading>将要举行的活动"};
}

void ScreenRulesTest::dashboardScreens()
{
    QFETCH(QString, scenario);
    const QString username = scenario.section(' ', 0, 0);
    // The field of the member's profile that the row leaves empty, or what the service has none of, for this
    // row only; or "unliveried": his latest flight, not live, has no livery.
    const QString missing = scenario.section(' ', 1, 1);
    QJsonObject &profile = service().accountNamed(username)->profile;
    const QJsonObject kept = profile;
    const auto restore = qScopeGuard([&] { profile = kept; });
    if (missing == "unliveried") {
        const QJsonObject circuit{{"id", "local-0419"},    {"origin", "ZSPD"},
                                  {"destination", "ZSPD"}, {"aircraft", "Cessna 172"},
                                  {"server", "Solo"},      {"totalTimeMinutes", 35.4},
                                  {"landings", 4}};
        service().setFault("/api/infinite-flight/live", {.status = 503});
        service().setFault("/api/infinite-flight/me/flights",
                           {.json = QJsonObject{{"flights", QJsonArray{circuit}}}});
    } else if (missing == "noFlight") {
        // Neither a flight under way on the live map nor a recent one.
        service().setFault("/api/infinite-flight/live", {.status = 503});
        service().setFault("/api/infinite-flight/me/flights",
                           {.json = QJsonObject{{"flights", QJsonArray()}}});
    } else if (missing == "noEvents") {
        service().setFault("/api/events/upcoming", {.json = QJsonObject{{"events", QJsonArray()}}});
    } else if (!missing.isEmpty()) {
        profile[missing] = missing == "hasAvatar" ? QJsonValue(false) : QJsonValue("");
    }
    QVERIFY(showSignedIn(username));
    checkControls();
}

// ---- the account tab, its forms and the switcher

void ScreenRulesTest::accountScreens_data()
{
    addControlColumns();
    const QStringList rows{"account.profile", "account.settings", "account.information",
                           "account.leaderboard"};
    QTest::newRow("account tab: member")
        << "tab lichen" << rows + QStringList{"account.logbook"} << QStringList() << QStringList();
    // Regression: the member's card was heard by the name alone, without the callsign it shows.
    QTest::newRow("account tab: the member's card")
        << "tab lichen" << QStringList{"account.profile>lichen, B-207CA"} << QStringList() << QStringList();
    // Regression: the page's two "刷新" were heard alike; each says what it reloads.
    QTest::newRow("account page: its two refreshes")
        << "page" << QStringList{"account.refresh>刷新个人主页", "account.statistics.refresh>刷新 IF 记录"}
        << QStringList() << QStringList();
    // Regression: the logbook was titled and heard "Logbook" in the Chinese app, its row 飞行日志. Both say
    // "Logbook", its own name, in Simplified Chinese as in English.
    QTest::newRow("logbook: its name in the member's language")
        << "logbook" << QStringList{"heard:Logbook", "shell.logbookPages>Logbook"} << QStringList()
        << QStringList{"heard:飞行日志"};
    QTest::newRow("logbook: in English") << "logbook en" << QStringList{"shell.logbookPages>Logbook"}
                                         << QStringList() << QStringList{"heard:飞行日志"};
    // Regression: Taiwan's and Hong Kong's Chinese titled the logbook "飛行日誌"; its title is its own name
    // as written, while the account tab's row that opens it reads from the string tables.
    QTest::newRow("logbook: in Taiwan Chinese")
        << "logbook zh_TW" << QStringList{"logbook.title>Logbook", "shell.logbookPages>Logbook"}
        << QStringList() << QStringList{"logbook.title>飛行日誌"};
    QTest::newRow("account tab: the logbook's row in Taiwan Chinese")
        << "tab lichen zh_TW" << QStringList{"account.logbook>飛行日誌"} << QStringList()
        << QStringList{"account.logbook>Logbook"};
    QTest::newRow("settings: the language row without a symbol of its own")
        << "settings" << QStringList() << QStringList()
        << QStringList{"symbol:settings.language>globe.americas.fill"};
    // The appearances by their own names, not renamed "浅色" and "深色" in Simplified Chinese.
    QTest::newRow("settings: the appearances")
        << "settings" << QStringList{"settings.theme>跟随系统", "settings.theme>白色", "settings.theme>黑色"}
        << QStringList() << QStringList{"settings.theme>浅色", "settings.theme>深色"};
    // Regression: the loader covered the reports already listed while they loaded again; it stands alone only
    // while nothing is listed yet.
    QTest::newRow("logbook: reloading over its reports")
        << "logbook lichen reloading" << QStringList{"logbook.report", "logbook.search"} << QStringList()
        << QStringList{"heard:正在加载飞行记录"};
    QTest::newRow("logbook: loading, nothing listed")
        << "logbook hejing reloading" << QStringList{"heard:正在加载飞行记录"} << QStringList()
        << QStringList{"logbook.report"};
    // Its "完成" waits for a page of its own that is busy, as the back keys do.
    QTest::newRow("logbook: a report's detail open")
        << "logbook lichen detail" << QStringList{"logbook.close>完成", "pirep.detail.pick"} << QStringList()
        << QStringList();
    QTest::newRow("logbook: a report's evidence uploading")
        << "logbook lichen uploading" << QStringList() << QStringList{"logbook.close>完成"} << QStringList();
    // Regression: the loader that says the pictures are on their way stood below the fold, only its top edge
    // showing, so the member saw two greyed buttons and nothing that said it sent.
    QTest::newRow("logbook: a report's evidence uploading, said in view")
        << "logbook lichen uploading" << QStringList{"inview:pirep.detail.working"} << QStringList()
        << QStringList();
    // A report's multiplier chip stands only where its multiplier changes the time: searched down to one
    // report, one of 187.5 %, one of 100 % and one without.
    QTest::newRow("logbook: a report with a multiplier")
        << "logbook lichen search RCTPAirbus"
        << QStringList{"logbook.report", "text:pirep.row.multiplier>×1.875"} << QStringList()
        << QStringList();
    QTest::newRow("logbook: a report of 100 percent")
        << "logbook lichen search ZBAABoeing" << QStringList{"logbook.report", "heard:Boeing 787-9"}
        << QStringList() << QStringList{"pirep.row.multiplier"};
    QTest::newRow("logbook: a report without a multiplier")
        << "logbook lichen search 300China" << QStringList{"logbook.report", "heard:Airbus A330-300"}
        << QStringList() << QStringList{"pirep.row.multiplier"};
    // Regression: the sections' bodies of the legal texts were not on the bus; their titles were.
    QTest::newRow("legal text: every part heard")
        << "legal" << QStringList{"heard:使用条款", "heard:你使用在 vornalia.org 注册的账号登录。"}
        << QStringList() << QStringList();
    // Each row its symbol; the pages on this stack their chevron, the logbook's sheet none.
    QTest::newRow("account tab: its symbols")
        << "tab lichen"
        << QStringList{"symbols:shell.account>book.closed.fill chevron.right chevron.right chevron.right "
                       "chevron.right gearshape info.circle trophy"}
        << QStringList() << QStringList();
    QTest::newRow("account tab: staff")
        << "tab wangfang" << rows << QStringList() << QStringList{"account.logbook"};
    // The version and the service are rows that only show; the terms open a page.
    QTest::newRow("information") << "information"
                                 << QStringList{"text:information.version", "text:information.service",
                                                "information.terms", "heard:版本 1.0.0 (1)"}
                                 << QStringList() << QStringList();

    // The legal texts' heading stands without a symbol: each of its rows has one.
    QTest::newRow("information: its symbols")
        << "information"
        << QStringList{"symbols:account.information>chevron.left chevron.right chevron.right doc.text "
                       "hand.raised trash"}
        << QStringList() << QStringList();
    QTest::newRow("information: the caches not cleared")
        << "information" << QStringList{"information.clearCache>清除飞机图片缓存"} << QStringList()
        << QStringList{"information.clearCache>清除飞机图片缓存 已清除", "heard:已清除"};
    QTest::newRow("information: the caches cleared")
        << "information cleared" << QStringList{"information.clearCache>清除飞机图片缓存 已清除"}
        << QStringList() << QStringList();
}

// The account's forms, the profile page, the leaderboard and the switcher: the table's second half.
void ScreenRulesTest::accountFormScreens_data()
{
    addControlColumns();
    const QStringList passwordFields{"password.current", "password.next", "password.confirmation"};
    QTest::newRow("password: required, empty")
        << "password"
        << passwordFields
               + QStringList{"password.banner",
                             "password.signOut",
                             "heard:首次登录请将邮件中的临时密码",
                             "heard:新密码至少 12 个字符",
                             "heard:设置新密码",
                             "password.current>邮件中的临时密码"}
        << QStringList{"password.save>设置密码并继续"}
        << QStringList{"password.error", "heard:修改密码", "password.current>当前密码"};
    QTest::newRow("password: filled in")
        << "password filled" << QStringList{"password.save", "password.signOut"} << QStringList()
        << QStringList{"password.error"};
    QTest::newRow("password: filled in, drawn masked")
        << "password filled"
        << QStringList{"masked:password.current", "masked:password.next", "masked:password.confirmation"}
        << QStringList() << QStringList();
    QTest::newRow("password: refused")
        << "password refused" << QStringList{"alert:password.error", "password.signOut"} << QStringList()
        << QStringList();
    // The ordinary mode, which no screen opens: a known password changed, with its own texts and no way out.
    QTest::newRow("password: ordinary, empty")
        << "password ordinary"
        << passwordFields
               + QStringList{"heard:修改密码", "password.current>当前密码", "heard:新密码至少 12 个字符"}
        << QStringList{"password.save>更新密码"}
        << QStringList{"password.banner", "password.signOut", "heard:首次登录", "heard:设置新密码",
                       "password.current>邮件中的临时密码"};
    QTest::newRow("password: ordinary, saved")
        << "password ordinary saved" << QStringList{"alert.title>密码已更新"} << QStringList()
        << QStringList{"password.error"};

    const QStringList profileFields{"profile.pickPhoto", "profile.forumAvatar", "profile.wechat",
                                    "profile.discord",   "profile.email",       "profile.save"};
    QTest::newRow("profile: set-up") << "profile setup"
                                     << profileFields + QStringList{"profile.banner", "profile.signOut"}
                                     << QStringList() << QStringList{"profile.back", "profile.error"};
    QTest::newRow("profile: edit") << "profile edit" << profileFields + QStringList{"profile.back"}
                                   << QStringList()
                                   << QStringList{"profile.banner", "profile.signOut", "profile.error"};
    // The picture: the avatar, then "上传头像" with its symbol and "使用 IFC 头像", one under the other.
    const QString pictureColumn = "column:profile.avatar profile.pickPhoto profile.forumAvatar";
    QTest::newRow("profile: set-up, its picture")
        << "profile setup" << QStringList{pictureColumn} << QStringList() << QStringList();
    QTest::newRow("profile: edit, its picture (760×540)")
        << "profile edit" << QStringList{pictureColumn} << QStringList() << QStringList();
    QTest::newRow("profile: set-up, its symbols")
        << "profile setup"
        << QStringList{"symbols:gate.profile>person.crop.circle person.crop.circle.badge.exclamationmark "
                       "person.text.rectangle photo"}
        << QStringList() << QStringList();
    QTest::newRow("profile: edit, its symbols")
        << "profile edit"
        << QStringList{"symbols:account.profileEdit>chevron.left person.crop.circle person.text.rectangle "
                       "photo"}
        << QStringList() << QStringList();
    // Nothing to save over until the member's profile has come.
    QTest::newRow("profile: edit, loading")
        << "profile edit loading" << QStringList{"profile.back", "profile.wechat"}
        << QStringList{"profile.save"} << QStringList{"profile.error"};
    // The set-up asks for a WeChat name: blanks are none. A picture and an e-mail are there in both rows.
    QTest::newRow("profile: set-up, WeChat name of spaces")
        << "profile setup spaces"
        << QStringList{"alert:profile.error", "heard:请先补全头像、微信名和联系邮箱。", "profile.save"}
        << QStringList() << QStringList();
    // Regression: in the smallest window the set-up jumped to its top, the notice out of view.
    QTest::newRow("profile: set-up, saved empty (760×540)")
        << "profile setup empty"
        << QStringList{"alert:profile.error", "heard:请先补全头像、微信名和联系邮箱。", "profile.save"}
        << QStringList() << QStringList();
    QTest::newRow("profile: set-up, WeChat name given")
        << "profile setup named" << QStringList{"profile.save"} << QStringList()
        << QStringList{"profile.error", "heard:请先补全头像、微信名和联系邮箱。"};

    // The profile page: who the member is, and his Infinite Flight record by the state of its load.
    const QStringList pageButtons{"account.refresh", "account.edit", "account.statistics.refresh"};
    const QStringList noStatistics{"heard:所属组织：", "heard:未找到关联的 IF 账号。",
                                   "heard:暂时无法查询，请稍后重试。", "heard:正在查询…"};
    const auto without = [](QStringList texts, const QString &text) {
        texts.removeAll(text);
        return texts;
    };
    QTest::newRow("profile page: linked, with Discord")
        << "page lichen"
        << pageButtons
               + QStringList{"heard:lichen@example.com", "heard:Discord", "heard:lichen#2207",
                             "heard:所属组织：Vornalia", "heard:IF 等级"}
        << QStringList() << without(noStatistics, "heard:所属组织：");
    QTest::newRow("profile page: no Discord, no statistics")
        << "page hejing"
        << pageButtons + QStringList{"heard:hejing@example.com", "heard:暂时无法查询，请稍后重试。"}
        << QStringList() << QStringList{"heard:Discord", "heard:所属组织：", "heard:未找到关联的 IF 账号。"};
    QTest::newRow("profile page: no Infinite Flight account")
        << "page lichen statistics-404" << pageButtons + QStringList{"heard:未找到关联的 IF 账号。"}
        << QStringList() << without(noStatistics, "heard:未找到关联的 IF 账号。");
    // The service's own words are not shown for the statistics.
    QTest::newRow("profile page: statistics failing")
        << "page lichen statistics-500" << pageButtons + QStringList{"heard:暂时无法查询，请稍后重试。"}
        << QStringList() << QStringList{"heard:样例服务按要求返回 500。", "heard:所属组织："};
    QTest::newRow("profile page: statistics loading")
        << "page lichen statistics-held" << QStringList{"account.refresh", "heard:正在查询…"}
        << QStringList{"account.statistics.refresh"} << without(noStatistics, "heard:正在查询…");
    QTest::newRow("profile page: record failing")
        << "page lichen summary-500" << pageButtons + QStringList{"heard:样例服务按要求返回 500。"}
        << QStringList() << QStringList();
    // The page's own load as it opens is not something the member did: its failure waits where it stands.
    QTest::newRow("profile page: record failing as it opens, quietly (760×540)")
        << "page lichen summary-500-scrolled" << QStringList{"quiet:account.error"} << QStringList()
        << QStringList();
    // Each reload reloads its own: the page's the record, the statistics' button the statistics.
    QTest::newRow("profile page: reloaded")
        << "page lichen reloaded" << pageButtons + QStringList{"heard:所属组织：Vornalia"} << QStringList()
        << QStringList{"heard:样例服务按要求返回 500。", "heard:未找到关联的 IF 账号。"};

    // The leaderboard's recent period failing, then its refresh.
    QTest::newRow("leaderboard: recent period failing")
        << "leaderboard" << QStringList{"rank.refresh", "heard:样例服务按要求返回 500。"} << QStringList()
        << QStringList();
    QTest::newRow("leaderboard: refreshed")
        << "leaderboard refreshed" << QStringList{"rank.refresh", "rank.list"} << QStringList()
        << QStringList{"heard:样例服务按要求返回 500。"};
    // The airports board writes its codes in a fixed-pitch face, the members board its captions in the app's.
    QTest::newRow("leaderboard: the airports' codes")
        << "leaderboard board 机场" << QStringList{"rank.list", "fixed:ZBAA", "fixed:KLAX"} << QStringList()
        << QStringList();
    QTest::newRow("leaderboard: the members' captions")
        << "leaderboard board 成员" << QStringList{"rank.list", "heard:37 小时 49 分 · 12 次降落"}
        << QStringList() << QStringList{"fixed:37 小时 49 分 · 12 次降落"};

    QTest::newRow("switcher: one account")
        << "switcher"
        << QStringList{"account.done", "account.openProfile", "account.saved.{lichen}", "account.add.toggle",
                       "account.logout"}
        << QStringList()
        << QStringList{"account.remove.{lichen}", "account.add.username", "account.add.password",
                       "account.add.submit",      "account.none",         "account.error"};
    // The profile's row, the add row (with its disclosure chevron) and the sign-out each with its symbol; the
    // saved accounts' heading without one.
    QTest::newRow("switcher: one account, its symbols")
        << "switcher"
        << QStringList{"symbols:account.switcher>chevron.right person.badge.plus person.text.rectangle "
                       "rectangle.portrait.and.arrow.right"}
        << QStringList() << QStringList();
    QTest::newRow("switcher: over the workbench, its symbols")
        << "switcher staff"
        << QStringList{"symbols:account.switcher>chevron.right person.badge.plus person.text.rectangle "
                       "rectangle.portrait.and.arrow.right"}
        << QStringList() << QStringList();
    // The popover's title is looked up, the sheet's stands as it is; each row is heard with its state.
    // Regression: a row was heard by its user name alone, without "已登录" or "点击登录".
    QTest::newRow("switcher: one account, heard")
        << "switcher" << QStringList{"account.title>账号", "account.saved.{lichen}>lichen, 已登录 🟢"}
        << QStringList() << QStringList{"heard:点击登录"};
    QTest::newRow("switcher: one account, in English")
        << "switcher en"
        << QStringList{"account.title>Accounts", "account.saved.{lichen}>lichen, Signed in 🟢"}
        << QStringList() << QStringList{"heard:已登录"};
    QTest::newRow("switcher: adding, empty")
        << "switcher adding" << QStringList{"account.add.username", "account.add.password"}
        << QStringList{"account.add.submit"} << QStringList();
    QTest::newRow("switcher: adding, filled in")
        << "switcher adding filled" << QStringList{"account.add.submit"} << QStringList() << QStringList();
    QTest::newRow("switcher: adding, the password drawn masked")
        << "switcher adding filled" << QStringList{"masked:account.add.password"} << QStringList()
        << QStringList();
    // One disclosure row "添加账号" opens the form beneath it: its chevron turns down, and no heading or
    // second button of that name stands over it. Regression: a heading "添加账号" stood over a button
    // "添加账号" (then "收起").
    QTest::newRow("switcher: the add row, the form closed")
        << "switcher"
        << QStringList{"account.add.toggle>添加账号", "symbol:account.add.toggle>chevron.right",
                       "once:添加账号"}
        << QStringList() << QStringList{"heard:收起", "symbol:account.add.toggle>chevron.down"};
    QTest::newRow("switcher: the add row, the form open")
        << "switcher adding"
        << QStringList{"account.add.toggle>添加账号", "symbol:account.add.toggle>chevron.down",
                       "account.add.username", "once:添加账号"}
        << QStringList() << QStringList{"heard:收起", "symbol:account.add.toggle>chevron.right"};
    QTest::newRow("switcher: two accounts")
        << "switcher two"
        << QStringList{"account.saved.{lichen}", "account.saved.{hejing}", "account.remove.{lichen}",
                       "account.logout"}
        << QStringList() << QStringList{"account.remove.{hejing}", "account.add.toggle"};
    QTest::newRow("switcher: two accounts, its symbols")
        << "switcher two"
        << QStringList{"symbols:account.switcher>minus.circle person.text.rectangle "
                       "rectangle.portrait.and.arrow.right"}
        << QStringList() << QStringList();
    // The remove button is borderless, its symbol alone in the destructive colour.
    QTest::newRow("switcher: two accounts, the remove button")
        << "switcher two" << QStringList{"destructive:account.remove.{lichen}"} << QStringList()
        << QStringList();
    QTest::newRow("switcher: two accounts, heard")
        << "switcher two"
        << QStringList{"account.saved.{lichen}>lichen, 点击登录",
                       "account.saved.{hejing}>hejing, 已登录 🟢",
                       "account.remove.{lichen}>移除保存的账号 lichen"}
        << QStringList() << QStringList();
    // The account signed in is the saved one of its id. Here the site gave the user name lichen gave up to
    // 何静's account, and both are saved under it: their ids tell them apart.
    QTest::newRow("switcher: two accounts of one user name")
        << "switcher one name"
        << QStringList{"account.saved.u-1001>lichen, 点击登录", "account.saved.u-1007>lichen, 已登录 🟢",
                       "account.remove.u-1001"}
        << QStringList()
        << QStringList{"account.remove.u-1007", "account.saved.u-1001>lichen, 已登录 🟢"};
    QTest::newRow("switcher: signed out")
        << "switcher signed out"
        << QStringList{"account.done", "account.saved.{lichen}", "account.remove.{lichen}",
                       "heard:登录会话只保存在这台电脑"}
        << QStringList() << QStringList{"account.openProfile", "account.logout", "account.none"};
    QTest::newRow("switcher: signed out, its symbols")
        << "switcher signed out"
        << QStringList{"symbols:account.switcher>chevron.right minus.circle person.badge.plus"}
        << QStringList() << QStringList();
    QTest::newRow("switcher: signed out, the remove button")
        << "switcher signed out" << QStringList{"destructive:account.remove.{lichen}"} << QStringList()
        << QStringList();
    QTest::newRow("switcher: signed out, heard")
        << "switcher signed out"
        << QStringList{"account.title>切换账号", "account.saved.{lichen}>lichen, 点击登录",
                       "account.remove.{lichen}>移除保存的账号 lichen"}
        << QStringList() << QStringList{"heard:已登录"};
    QTest::newRow("switcher: signed out, in English")
        << "switcher signed out en"
        << QStringList{"account.title>切换账号", "account.saved.{lichen}>lichen, Click to sign in"}
        << QStringList() << QStringList{"heard:点击登录"};
}

void ScreenRulesTest::accountScreens()
{
    QFETCH(QString, scenario);
    // A row "… en" sees the app in English, "… zh_TW" in Taiwan's Chinese.
    const bool english = scenario.endsWith(" en");
    if (english)
        scenario.chop(3);
    std::optional<TaiwanScope> taiwan;
    if (TaiwanScope::asked(scenario))
        taiwan.emplace();
    std::optional<LanguageScope> language;
    if (!taiwan)
        language.emplace(english ? "en_US" : qgetenv("LANGUAGE"));
    // An account of the service a row changes, as it was: put back once the row has checked it.
    std::vector<std::pair<Sample::Account *, Sample::Account>> changed;
    const auto restore = qScopeGuard([&] {
        for (auto &[account, kept] : changed)
            *account = kept;
    });
    const auto change = [&](const QString &username) {
        Sample::Account *account = service().accountNamed(username);
        changed.emplace_back(account, *account);
        return account;
    };
    if (scenario.startsWith("tab")) {
        QVERIFY(showSignedIn(scenario.section(' ', 1)));
        navigation()->setSelected(MemberTab::Account);
        QTRY_VERIFY(shown(m_root, "shell.account"));
    } else if (scenario.startsWith("information")) {
        QVERIFY(showSignedIn("lichen"));
        navigation()->setSelected(MemberTab::Account);
        QVERIFY(navigation()->pushPage(NavigationStack::AccountStack, ShellPage::Information));
        if (scenario == "information cleared") {
            const quint64 epoch = AircraftImageService::shared().cacheEpoch();
            press("information.clearCache");
            QCOMPARE(AircraftImageService::shared().cacheEpoch(), epoch + 1);
        }
    } else if (scenario.startsWith("password ordinary")) {
        QVERIFY(showSignedIn("lichen"));
        // No screen opens the ordinary mode: the form stands alone over the window root.
        QQmlComponent component(m_engine.get());
        component.setData("import Vorna.Account\nPasswordView { required: false }", QUrl());
        std::unique_ptr<QObject> made(
            component.createWithInitialProperties({{"appState", QVariant::fromValue(m_app)}}));
        auto *view = qobject_cast<QQuickItem *>(made.get());
        QVERIFY2(view, qPrintable(component.errorString()));
        made.release()->setParent(m_window.get());
        view->setParentItem(scene());
        view->setSize(m_root->size());
        m_root->setVisible(false);
        if (scenario == "password ordinary saved") {
            QObject *form = modelOf(view, "PasswordForm");
            QVERIFY(form);
            form->setProperty("current", "fly-vornalia");
            form->setProperty("next", "my-own-password-1");
            form->setProperty("confirmation", "my-own-password-1");
            // Taken, as the service answers, and lichen's password left as it was for the other rows.
            service().setFault("/api/account/password",
                               {.json = QJsonObject{{"ok", true}}, .unheard = true, .times = 1});
            press("password.save");
        }
    } else if (scenario == "page" || scenario == "legal" || scenario == "logbook" || scenario == "settings") {
        QVERIFY(showSignedIn("lichen"));
        navigation()->setSelected(MemberTab::Account);
        if (scenario == "page")
            QVERIFY(navigation()->pushPage(NavigationStack::AccountStack, ShellPage::Profile));
        if (scenario == "settings")
            QVERIFY(navigation()->pushPage(NavigationStack::AccountStack, ShellPage::Settings));
        if (scenario == "legal")
            navigation()->pushLegal(0);
        if (scenario == "logbook")
            navigation()->openLogbook();
    } else if (scenario.startsWith("logbook ")) {
        QVERIFY(showSignedIn(scenario.section(' ', 1, 1)));
        const QString step = scenario.section(' ', 2, 2);
        navigation()->setSelected(MemberTab::Account);
        navigation()->openLogbook();
        QTRY_VERIFY(shown(scene(), "shell.logbook"));
        if (step == "reloading") {
            // The logbook's own reload, held back at the service.
            service().setFault("/api/pireps", {.held = true, .times = 1, .method = "GET"});
            press("logbook.refresh");
            QTRY_COMPARE(service().heldAnswers(), 1);
            QVERIFY(memberData()->state(MemberLoad::Pireps).loading);
        }
        if (step == "search") {
            QObject *logbook = nullptr;
            QTRY_VERIFY((logbook = modelOf(scene(), "LogbookModel")));
            logbook->setProperty("search", scenario.section(' ', 3, 3));
            QTRY_COMPARE(logbook->property("count").toInt(), 1);
        }
        if (step == "detail" || step == "uploading") {
            QTRY_VERIFY(reportOf("p-24421"));
            navigation()->push(NavigationStack::LogbookStack, PirepRoute{*reportOf("p-24421")});
            QTRY_VERIFY(shown(scene(), "pirep.detail.pick"));
        }
        if (step == "uploading") {
            QObject *detail = modelOf(scene(), "PirepDetailModel");
            QVERIFY(detail);
            QTRY_VERIFY(!detail->property("busy").toBool());
            const QUrl picture = m_site.scratchPicture("landing.png");
            QVERIFY(!picture.isEmpty());
            QVERIFY(QMetaObject::invokeMethod(detail, "pickPhotos", Q_ARG(QList<QUrl>, {picture})));
            QTRY_COMPARE(detail->property("fileCount").toInt(), 1);
            // Held, and never stored: the report's evidence stays as it was for the other rows.
            service().setFault("/api/pireps/p-24421/evidence",
                               {.status = 413, .held = true, .unheard = true, .times = 1, .method = "POST"});
            QVERIFY(QMetaObject::invokeMethod(detail, "upload"));
            QTRY_COMPARE(service().heldAnswers(), 1);
        }
    } else if (scenario.startsWith("password")) {
        QVERIFY(showWindowRoot());
        await(m_app->signIn("zhouning", "temporary-123", false));
        QTRY_VERIFY(shown(m_root, "gate.password"));
        QObject *form = modelOf(m_root, "PasswordForm");
        QVERIFY(form);
        if (scenario != "password") {
            form->setProperty("current",
                              scenario == "password refused" ? "not-the-password" : "temporary-123");
            form->setProperty("next", "my-own-password-1");
            form->setProperty("confirmation", "my-own-password-1");
        }
        if (scenario == "password refused") {
            press("password.save");
            QTRY_VERIFY(!form->property("busy").toBool() && !form->property("error").toString().isEmpty());
        }
    } else if (scenario.startsWith("profile setup")) {
        const QString wechatName = scenario == "profile setup spaces"  ? QStringLiteral(" \u3000 ")
                                   : scenario == "profile setup named" ? QStringLiteral("许航")
                                                                       : QString();
        // His picture is already on the site and his e-mail typed: the WeChat name alone decides.
        if (!wechatName.isEmpty())
            change("xuhang")->profile["hasAvatar"] = true;
        QVERIFY(showWindowRoot());
        await(m_app->signIn("xuhang", "fly-vornalia", false));
        QTRY_VERIFY(shown(m_root, "gate.profile"));
        if (scenario == "profile setup empty") {
            QObject *form = modelOf(m_root, "ProfileForm");
            QVERIFY(form);
            QTRY_VERIFY(form->property("loaded").toBool());
            pressByKeyboard("profile.save");
        }
        if (!wechatName.isEmpty()) {
            QObject *form = modelOf(m_root, "ProfileForm");
            QVERIFY(form);
            QTRY_VERIFY(form->property("loaded").toBool());
            form->setProperty("contactEmail", "xuhang@example.com");
            form->setProperty("wechatName", wechatName);
            // Taken, as the service answers, and xuhang's profile left as it was for the other rows.
            service().setFault(
                "/api/profile",
                {.json = QJsonObject{{"ok", true}}, .unheard = true, .times = 1, .method = "POST"});
            pressByKeyboard("profile.save");
            if (scenario == "profile setup named") {
                const auto sent = [this] {
                    const QList<Sample::Request> asked = service().requestsTo("/api/profile");
                    return std::any_of(asked.cbegin(), asked.cend(), [](const Sample::Request &request) {
                        return request.method == "POST";
                    });
                };
                QTRY_VERIFY(sent());
                QTRY_VERIFY(!form->property("busy").toBool());
            }
        }
    } else if (scenario.startsWith("profile edit")) {
        QVERIFY(showSignedIn("lichen"));
        navigation()->setSelected(MemberTab::Account);
        if (scenario == "profile edit loading") {
            // The form's read of the profile, held back.
            service().setFault("/api/profile", {.held = true, .method = "GET"});
        }
        QVERIFY(navigation()->pushPage(NavigationStack::AccountStack, ShellPage::ProfileEdit));
        QTRY_VERIFY(shown(m_root, "account.profileEdit"));
        if (scenario == "profile edit loading") {
            QTRY_VERIFY(service().heldAnswers() > 0);
            QObject *form = modelOf(m_root, "ProfileForm");
            QVERIFY(form && !form->property("loaded").toBool());
        }
    } else if (scenario.startsWith("page")) {
        QVERIFY(showSignedIn(scenario.section(' ', 1, 1)));
        const QString how = scenario.section(' ', 2, 2);
        const QString statistics("/api/infinite-flight/me");
        const QString record("/api/profile/summary");
        if (how == "statistics-404" || how == "reloaded")
            service().setFault(statistics, {.status = 404, .times = how == "reloaded" ? 1 : -1});
        if (how == "statistics-500")
            service().setFault(statistics, {.status = 500});
        if (how == "statistics-held")
            service().setFault(statistics, {.held = true});
        if (how == "summary-500" || how == "reloaded")
            service().setFault(record, {.status = 500, .times = how == "reloaded" ? 1 : -1});
        // The record held back while the member scrolls to the page's foot, then refused.
        if (how == "summary-500-scrolled")
            service().setFault(record, {.status = 500, .held = true});
        navigation()->setSelected(MemberTab::Account);
        QVERIFY(navigation()->pushPage(NavigationStack::AccountStack, ShellPage::Profile));
        QTRY_VERIFY(shown(m_root, "account.page"));
        if (how == "summary-500-scrolled") {
            QTRY_COMPARE(service().heldAnswers(), 1);
            QQuickItem *page = nullptr;
            for (QQuickItem *item : itemsBelow(shown(m_root, "account.page"))) {
                if (!page && item->inherits("QQuickFlickable"))
                    page = item;
            }
            QVERIFY(page);
            QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
            const qreal foot = page->property("contentHeight").toReal() - page->height();
            QVERIFY2(foot > 0, "the page does not scroll in this window");
            page->setProperty("contentY", foot);
            m_scrolled = {page, foot};
            service().release();
        }
        if (how == "reloaded") {
            QTRY_VERIFY(heardOn(m_window.get(), "样例服务按要求返回 500。"));
            QTRY_VERIFY(heardOn(m_window.get(), "未找到关联的 IF 账号。"));
            press("account.refresh");
            press("account.statistics.refresh");
        }
    } else if (scenario.startsWith("leaderboard board")) {
        QVERIFY(showSignedIn("lichen"));
        navigation()->setSelected(MemberTab::Account);
        QVERIFY(navigation()->pushPage(NavigationStack::AccountStack, ShellPage::Leaderboard));
        press("rank.board>" + scenario.section(' ', 2, 2));
    } else if (scenario.startsWith("leaderboard")) {
        QVERIFY(showSignedIn("lichen"));
        service().setFault("/api/member/pirep-leaderboard?period=recent", {.status = 500, .times = 1});
        navigation()->setSelected(MemberTab::Account);
        QVERIFY(navigation()->pushPage(NavigationStack::AccountStack, ShellPage::Leaderboard));
        press("rank.period>最近 30 天");
        QTRY_VERIFY(heardOn(m_window.get(), "样例服务按要求返回 500。"));
        if (scenario == "leaderboard refreshed")
            press("rank.refresh");
    } else if (scenario.startsWith("switcher")) {
        QVERIFY(showSignedIn(scenario == "switcher staff" ? "wangfang" : "lichen"));
        if (scenario == "switcher one name") {
            await(m_app->rememberCurrentAccount());
            // lichen's account took another user name on the site, and 何静's the one it gave up.
            Sample::Account *lichen = change("lichen");
            Sample::Account *hejing = change("hejing");
            lichen->username = "lichen-li";
            hejing->username = "lichen";
            await(m_app->addAccount("lichen", "fly-vornalia"));
            QTRY_VERIFY(shown(m_root, "home.notifications"));
        }
        if (scenario == "switcher two" || scenario == "switcher signed out") {
            await(m_app->rememberCurrentAccount());
            await(m_app->addAccount("hejing", "fly-vornalia"));
            QTRY_VERIFY(shown(m_root, "home.notifications"));
            if (scenario == "switcher signed out") {
                await(m_app->signOut()); // hejing leaves the list, lichen stays saved
                QTRY_VERIFY(shown(m_root, "login.savedAccounts"));
            }
        }
        press(scenario == "switcher signed out" ? "login.savedAccounts" : "account.avatar");
        QTRY_VERIFY(shown(scene(), "account.switcher"));
        QTRY_VERIFY(!m_app->accountBusy()); // the current account is saved as the panel opens
        if (scenario.startsWith("switcher adding"))
            press("account.add.toggle");
        if (scenario == "switcher adding filled") {
            QQuickItem *username = nullptr;
            QTRY_VERIFY((username = shown(scene(), "account.add.username")));
            typeInto(username, "hejing");
            typeInto(shown(scene(), "account.add.password"), "fly-vornalia");
        }
    }
    if (QTest::currentTestFailed())
        return;
    checkControls();
}

// Regression: in a short window the add form pushed the account panel's sign-out below the panel's edge,
// and Tab reached it there, out of sight.
void ScreenRulesTest::switcherKeepsTheKeyboardInView()
{
    QVERIFY(showSignedIn("lichen"));
    // The smallest window, less its menu bar.
    m_window->resize(760, 540);
    m_root->setSize(QSizeF(760, 500));
    press("account.avatar");
    QQuickItem *panel = nullptr;
    QTRY_VERIFY((panel = shown(scene(), "account.switcher")));
    QTRY_VERIFY(!m_app->accountBusy());
    press("account.add.toggle");
    QQuickItem *signOut = nullptr;
    QTRY_VERIFY((signOut = shown(scene(), "account.logout")));
    const auto inView = [panel](QQuickItem *item) {
        const QRectF seen = panel->mapRectToScene(QRectF(0, 0, panel->width(), panel->height()));
        return seen.contains(item->mapRectToScene(QRectF(0, 0, item->width(), item->height())));
    };
    QTRY_VERIFY(panel->height() < panel->implicitHeight()); // the panel scrolls in this window
    QVERIFY(!inView(signOut));
    QQuickItem *toggle = shown(scene(), "account.add.toggle");
    toggle->forceActiveFocus(Qt::TabFocusReason);
    // Forward through the add form's fields (its sign-in button is off until they are filled) to the
    // sign-out.
    for (int presses = 0; presses < 6 && m_window->activeFocusItem() != signOut; ++presses)
        QTest::keyClick(m_window.get(), Qt::Key_Tab);
    QCOMPARE(m_window->activeFocusItem(), signOut);
    QTRY_VERIFY(inView(signOut));
    // And back up to the first of them.
    toggle->forceActiveFocus(Qt::BacktabFocusReason);
    QTRY_VERIFY(inView(toggle));
}

void ScreenRulesTest::gateFailureTakesTheKeyboard_data()
{
    QTest::addColumn<QString>("appearance");
    QTest::newRow("light") << "light";
    QTest::newRow("dark") << "dark";
}

// Regression: the account check failing right after signing in left the keyboard on the waiting screen's
// unnamed loader; the screen holds it, heard by its message, until its failure takes it, as each failed
// "重试" does. The stage is dark in either appearance,
// and so are its controls: "重新登录" was once drawn in the light scheme, dark on dark.
void ScreenRulesTest::gateFailureTakesTheKeyboard()
{
    QFETCH(QString, appearance);
    QVERIFY(showWindowRoot());
    auto *theme = m_engine->singletonInstance<Theme *>(qmlTypeId("Vorna.Ui", 1, 0, "Theme"));
    QVERIFY(theme);
    const QString was = theme->appearance();
    const auto restore = qScopeGuard([theme, was] { theme->setAppearance(was); });
    theme->setAppearance(appearance);
    service().setFault("/member", {.status = 503, .held = true});
    // From the form, by the keyboard, as a member signs in: the field that had the keyboard goes with the
    // form.
    m_window->requestActivate();
    QTRY_VERIFY(m_window->isActive());
    QQuickItem *field = nullptr;
    QTRY_VERIFY((field = shown(m_root, "login.username")));
    typeInto(field, QStringLiteral("lichen"));
    QTest::keyClick(m_window.get(), Qt::Key_Tab);
    QTRY_COMPARE(m_window->activeFocusItem(), shown(m_root, "login.password"));
    typeKeys(m_window.get(), QStringLiteral("fly-vornalia"));
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    // While the check is on its way the keyboard is on the waiting screen, heard by what it waits for.
    QTRY_VERIFY(shown(m_root, "gate.waiting"));
    QTRY_COMPARE(heardName(m_window->activeFocusItem()), L("正在确认账号要求"));
    service().release();
    checkAlert("gate.error");
    QQuickItem *button = shown(m_root, "gate.signInAgain");
    QVERIFY(button);
    const QColor face =
        button->property("background").value<QQuickItem *>()->property("color").value<QColor>();
    QQuickItem *label = nullptr;
    for (QQuickItem *item : itemsBelow(button)) {
        if (item->isVisible() && item->inherits("QQuickText")
            && item->property("text").toString() == L("重新登录"))
            label = item;
    }
    QVERIFY(label);
    const QColor title = label->property("color").value<QColor>();
    QVERIFY2(luminance(title) > luminance(face) && contrast(title, face) >= 4.5,
             qPrintable(title.name() + " on " + face.name()));
}

void ScreenRulesTest::informationCentresTheBrand_data()
{
    QTest::addColumn<QSize>("window");
    QTest::newRow("smallest") << QSize(760, 540);
    QTest::newRow("wide") << QSize(1400, 900);
}

// Regression: the logo, "VORNA" and its subtitle stood at the page's leading edge.
void ScreenRulesTest::informationCentresTheBrand()
{
    QFETCH(QSize, window);
    QVERIFY(showSignedIn("lichen"));
    m_window->resize(window);
    m_root->setSize(window);
    navigation()->setSelected(MemberTab::Account);
    QVERIFY(navigation()->pushPage(NavigationStack::AccountStack, ShellPage::Information));
    QQuickItem *version = nullptr;
    QTRY_VERIFY((version = shown(m_root, "information.version")));
    QVERIFY(QQuickTest::qWaitForPolish(m_window.get())); // laid out
    // The middle of the cards under the brand, which span the page's column.
    QQuickItem *card = version->parentItem();
    while (card && card->width() < version->width() + 1)
        card = card->parentItem();
    QVERIFY(card);
    const double middle = card->mapToScene(QPointF(card->width() / 2, 0)).x();
    // Where each part of the brand draws: the logo's box, the texts' glyphs.
    QStringList parts;
    for (QQuickItem *item : itemsBelow(shown(m_root, "account.information"))) {
        if (!item->isVisible())
            continue;
        const QString text = item->property("text").toString();
        double left = 0;
        double width = item->width();
        if (QString(item->metaObject()->className()).startsWith("BrandLogo")) {
            parts.append("logo");
        } else if (item->inherits("QQuickText") && (text == "VORNA" || text == "Vornalia成员中心")) {
            parts.append(text);
            width = item->property("contentWidth").toReal();
            const int alignment = item->property("effectiveHorizontalAlignment").toInt();
            left = alignment == Qt::AlignHCenter ? (item->width() - width) / 2
                   : alignment == Qt::AlignRight ? item->width() - width
                                                 : 0;
        } else {
            continue;
        }
        const double drawn = item->mapToScene(QPointF(left + width / 2, 0)).x();
        QVERIFY2(
            std::abs(drawn - middle) < 1.5,
            qPrintable(
                QStringLiteral("%1 centred at %2, the row at %3").arg(parts.last()).arg(drawn).arg(middle)));
    }
    parts.sort();
    QCOMPARE(parts, (QStringList{"VORNA", "Vornalia成员中心", "logo"}));
}

void ScreenRulesTest::firstLoginBannerHasASectionOfItsOwn_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("field"); // a field of the form's next section
    QTest::addColumn<QSize>("window");
    const QString temporary = "首次登录请将邮件中的临时密码改为自己的密码。";
    const QString setUp = "请先上传头像，填写微信名及联系邮箱，完成账号设置。";
    QTest::newRow("password, smallest")
        << "zhouning"
        << "temporary-123" << temporary << "password.current" << QSize(760, 500);
    QTest::newRow("password, wide") << "zhouning"
                                    << "temporary-123" << temporary << "password.current" << QSize(1400, 900);
    QTest::newRow("profile, smallest") << "xuhang"
                                       << "fly-vornalia" << setUp << "profile.wechat" << QSize(760, 500);
    QTest::newRow("profile, wide") << "xuhang"
                                   << "fly-vornalia" << setUp << "profile.wechat" << QSize(1400, 900);
}

// Regression: the first-login banner stood bare on the page, above the forms' cards. It is a section of its
// own: a card as wide as the form's others, holding the banner alone.
void ScreenRulesTest::firstLoginBannerHasASectionOfItsOwn()
{
    QFETCH(QString, username);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(QString, field);
    QFETCH(QSize, window);
    QVERIFY(showWindowRoot());
    m_window->resize(window);
    m_root->setSize(window);
    await(m_app->signIn(username, password, false));
    QTRY_VERIFY(shown(m_root, field));
    QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
    // The card that holds an item: the nearest surface card it stands on.
    const auto cardOf = [](QQuickItem *item) -> QQuickItem * {
        for (QQuickItem *above = item->parentItem(); above; above = above->parentItem()) {
            if (QByteArray(above->metaObject()->className()).startsWith("Card_QMLTYPE"))
                return above;
        }
        return nullptr;
    };
    const auto inScene = [](QQuickItem *item) {
        return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    };
    QQuickItem *text = nullptr;
    for (QQuickItem *item : itemsBelow(scene())) {
        if (item->isVisible() && item->inherits("QQuickText") && item->property("text").toString() == message)
            text = item;
    }
    QVERIFY2(text, qPrintable(message + " is not shown"));
    QQuickItem *banner = cardOf(text);
    QVERIFY2(banner, "the banner stands on no card");
    // Alone on its card: its symbol, drawn as a glyph, is the one other text there.
    for (QQuickItem *item : itemsBelow(banner)) {
        if (item != text && item->isVisible() && item->inherits("QQuickText"))
            QVERIFY2(
                item->parentItem()
                    && QByteArray(item->parentItem()->metaObject()->className()).startsWith("Symbol_QMLTYPE"),
                qPrintable(item->property("text").toString() + " shares the banner's card"));
    }
    // As wide as the card of the next section, and in line with it.
    QQuickItem *next = cardOf(shown(m_root, field));
    QVERIFY(next && next != banner);
    QCOMPARE(inScene(banner).left(), inScene(next).left());
    QCOMPARE(inScene(banner).width(), inScene(next).width());
    QVERIFY(inScene(banner).bottom() < inScene(next).top());
}

// ---- the report pages: the detail of a report, the report form

void ScreenRulesTest::reportScreens_data()
{
    addControlColumns();
    const QStringList always{"pirep.detail.back", "pirep.detail.refresh"};
    QTest::newRow("detail: pending, with a note")
        << "detail p-24433" << always + QStringList{"pirep.detail.note", "pirep.detail.evidence"}
        << QStringList()
        << QStringList{"pirep.detail.review",         "pirep.detail.reason", "pirep.detail.inquiry",
                       "pirep.detail.evidenceUpload", "pirep.detail.pick",   "pirep.detail.error"};
    QTest::newRow("detail: under inquiry")
        << "detail p-24421" << always + QStringList{"pirep.detail.inquiry", "pirep.detail.evidenceUpload",
                                                    "pirep.detail.pick",    "pirep.detail.evidence",
                                                    "heard:管理员问询",     "heard:系统没有匹配到这次飞行"}
        << QStringList{"pirep.detail.upload"} << QStringList{"pirep.detail.review", "pirep.detail.reason"};
    // Regression: both were glass buttons; the pick is bordered, the upload bordered and prominent, both
    // large.
    QTest::newRow("detail: under inquiry, its two buttons")
        << "detail p-24421 picked"
        << QStringList{"style:pirep.detail.pick=BorderedButton large",
                       "style:pirep.detail.upload=BorderedButton prominent large"}
        << QStringList() << QStringList();
    QTest::newRow("detail: under inquiry, a picture picked")
        << "detail p-24421 picked" << QStringList{"pirep.detail.pick", "pirep.detail.upload"} << QStringList()
        << QStringList{"pirep.detail.error"};
    // Regression: what a first pick left out, and a failed upload, stood below the fold in the smallest
    // window, the keyboard elsewhere: nothing on screen said what had happened.
    QTest::newRow("detail: under inquiry, seven pictures picked (760×540)")
        << "detail p-24421 picked seven" << QStringList{"alert:pirep.detail.leftOut", "pirep.detail.upload"}
        << QStringList() << QStringList{"pirep.detail.error"};
    QTest::newRow("detail: under inquiry, the upload cut off (760×540)")
        << "detail p-24421 picked cut" << QStringList{"alert:pirep.detail.error", "pirep.detail.upload"}
        << QStringList() << QStringList{"pirep.detail.leftOut"};
    // Six pictures are all a report takes: none is picked beyond them.
    QTest::newRow("detail: under inquiry, six pictures uploaded")
        << "detail p-24421 six" << QStringList{"pirep.detail.evidenceUpload", "pirep.detail.evidence"}
        << QStringList{"pirep.detail.pick>选择补充截图", "pirep.detail.upload"} << QStringList();
    // Decided while the page was open: the service keeps the hold's time, but a decided report asks nothing.
    QTest::newRow("detail: a held report decided")
        << "detail p-24421 decided" << always + QStringList{"pirep.detail.review"} << QStringList()
        << QStringList{"pirep.detail.inquiry", "pirep.detail.evidenceUpload", "pirep.detail.pick",
                       "heard:管理员问询"};
    QTest::newRow("detail: pending, no note")
        << "detail p-24412" << always << QStringList()
        << QStringList{"pirep.detail.note", "pirep.detail.review", "pirep.detail.inquiry",
                       "pirep.detail.evidenceUpload"};
    QTest::newRow("detail: rejected with a reason")
        << "detail p-24330" << always + QStringList{"pirep.detail.review", "pirep.detail.reason"}
        << QStringList()
        << QStringList{"pirep.detail.inquiry", "pirep.detail.evidenceUpload", "pirep.detail.note"};
    QTest::newRow("detail: approved")
        << "detail p-24365" << always + QStringList{"pirep.detail.review"} << QStringList()
        << QStringList{"pirep.detail.reason", "pirep.detail.inquiry", "pirep.detail.evidenceUpload",
                       "pirep.detail.note"};

    const QStringList formControls{"pirep.back",         "pirep.import", "pirep.departure", "pirep.arrival",
                                   "pirep.pickAircraft", "pirep.hours",  "pirep.minutes",   "pirep.landings",
                                   "pirep.checkOptions", "pirep.photos", "pirep.note"};
    QTest::newRow("form: empty")
        << "form" << formControls << QStringList{"pirep.pickLivery", "pirep.submit"}
        << QStringList{"pirep.aircraftPhoto", "pirep.restored",           "pirep.error",
                       "pirep.proofRequired", "pirep.organizationOption", "pirep.eventOption",
                       "pirep.optionsError"};
    QTest::newRow("form: empty, its rule said")
        << "form"
        << QStringList{"pirep.validation", "heard:机场代码需为 4 位英文字母。",
                       "heard:两项同时满足时为 ×1.875"}
        << QStringList() << QStringList();
    QTest::newRow("form: aircraft chosen")
        << "form aircraft" << QStringList{"pirep.pickLivery"} << QStringList{"pirep.submit"}
        << QStringList{"pirep.aircraftPhoto"};
    QTest::newRow("form: filled in") << "form filled"
                                     << formControls
                                            + QStringList{"pirep.pickLivery", "pirep.submit",
                                                          "pirep.aircraftPhoto"}
                                     << QStringList() << QStringList{"pirep.validation", "pirep.error"};
    // The submit button says whether the report is on its way.
    QTest::newRow("form: filled in, its submit said")
        << "form filled" << QStringList{"pirep.submit>提交 PIREP"} << QStringList()
        << QStringList{"pirep.submit>正在提交"};
    QTest::newRow("form: sending") << "form sending" << QStringList() << QStringList{"pirep.submit>正在提交"}
                                   << QStringList{"pirep.submit>提交 PIREP", "pirep.error"};
    // Regression: the placeholder's label stood on the hidden picture, the symbol and caption shown were left
    // out: a screen reader found nothing where the picture would be.
    QTest::newRow("form: a livery the catalog does not know")
        << "form unknown livery" << QStringList{"heard:暂无对应涂装图片"} << QStringList()
        << QStringList{"aircraft.photo.loaded"};
    QTest::newRow("form: options checked")
        << "form options"
        << QStringList{"pirep.organizationOption", "pirep.eventOption", "pirep.checkOptions"} << QStringList()
        << QStringList{"pirep.optionsError"};
    // The check's answer is read out as it arrives, and drawn as its two lines alone. Regression: it stood
    // above them as a green panel with a symbol, "倍数检查完成。", and took the keyboard from the button.
    QTest::newRow("form: options checked, said")
        << "form options"
        << QStringList{"said:倍数检查完成：", "pirep.organizationOption", "pirep.eventOption"}
        << QStringList() << QStringList{"heard:倍数检查完成。"};
    // A recent flight's time in the import picker as Taiwan writes times, never a raw pattern letter
    // ("2026/12/24 B10:19").
    QTest::newRow("form: a recent flight's time, in Taiwan Chinese")
        << "form import zh_TW" << QStringList{"heard:2026/12/24 上午10:19"} << QStringList() << QStringList();
}

void ScreenRulesTest::reportScreens()
{
    QFETCH(QString, scenario);
    std::optional<TaiwanScope> taiwan;
    if (TaiwanScope::asked(scenario))
        taiwan.emplace();
    QVERIFY(showSignedIn("lichen"));
    navigation()->setSelected(MemberTab::Flights);
    if (scenario.startsWith("detail")) {
        const QString id = scenario.section(' ', 1, 1);
        QTRY_VERIFY(reportOf(id));
        if (scenario.endsWith("six")) {
            // The service lists six pictures of the report.
            QJsonArray files;
            for (int picture = 1; picture <= 6; ++picture) {
                const QString name = QStringLiteral("img-90%1").arg(picture);
                files.append(QJsonObject{{"id", name},
                                         {"url", "/api/pireps/" + id + "/evidence/" + name},
                                         {"uploadedAt", 1.7e9 + picture * 60}});
            }
            service().setFault("/api/pireps/" + id + "/evidence",
                               {.json = QJsonObject{{"files", files}}, .method = "GET"});
        }
        navigation()->push(NavigationStack::FlightStack, PirepRoute{*reportOf(id)});
        QTRY_VERIFY(shown(m_root, "pirep.detail.back"));
        QObject *detail = modelOf(m_root, "PirepDetailModel");
        QVERIFY(detail);
        QTRY_VERIFY(!detail->property("busy").toBool());
        if (scenario.contains("picked")) {
            QImage picture(800, 600, QImage::Format_RGB32);
            picture.fill(Qt::darkBlue);
            const QString file = m_site.scratchFile("takeoff.png");
            QVERIFY(picture.save(file));
            // Seven at once: more than the report has room for.
            const int picked = scenario.endsWith("seven") ? 7 : 1;
            QVERIFY(QMetaObject::invokeMethod(
                detail, "pickPhotos", Q_ARG(QList<QUrl>, QList<QUrl>(picked, QUrl::fromLocalFile(file)))));
            QTRY_VERIFY(detail->property("fileCount").toInt() > 0);
        }
        if (scenario.endsWith("cut")) {
            // The connection goes before the answer is whole.
            service().setFault(
                "/api/pireps/" + id + "/evidence",
                {.json = QJsonObject{{"ok", true}}, .cutAfter = 4, .times = 1, .method = "POST"});
            pressByKeyboard("pirep.detail.upload");
            QTRY_VERIFY(!detail->property("busy").toBool()
                        && !detail->property("error").toString().isEmpty());
        }
        if (scenario.endsWith("decided")) {
            QTRY_VERIFY(shown(m_root, "pirep.detail.inquiry"));
            QJsonObject decided{{"id", id},
                                {"departureCode", "ZSSS"},
                                {"arrivalCode", "ZBAA"},
                                {"aircraft", "A320"},
                                {"livery", "China Eastern"},
                                {"durationMinutes", 128},
                                {"status", "approved"},
                                {"heldAt", 1.7e9},
                                {"holdNote", "请补充截图。"}};
            service().setFault("/api/pireps", {.json = QJsonObject{{"pireps", QJsonArray{decided}}}});
            press("pirep.detail.refresh");
            QTRY_VERIFY(reportOf(id) && reportOf(id)->status == "approved");
        }
    } else {
        press("pirep.new");
        QTRY_VERIFY(shown(m_root, "pirep.submit"));
        QObject *form = modelOf(m_root, "PirepFormModel");
        QVERIFY(form);
        if (scenario != "form") {
            form->setProperty("aircraft", "Airbus A320");
        }
        if (scenario == "form filled" || scenario == "form options" || scenario == "form sending") {
            form->setProperty("departure", "ZGGG");
            form->setProperty("arrival", "ZUUU");
            form->setProperty("livery", "Sichuan Airlines");
            form->setProperty("callsign", "207");
            form->setProperty("hours", "2");
            form->setProperty("minutes", "19");
            form->setProperty("landings", "1");
        }
        if (scenario == "form unknown livery")
            form->setProperty("livery", "Vornalia Retro");
        if (scenario == "form options") {
            press("pirep.checkOptions");
            QTRY_VERIFY(form->property("hasOptions").toBool());
        }
        if (scenario == "form import") {
            // One recent flight, ended at 10:19 of this machine's clock.
            const QJsonObject flight{{"id", "if-1019"},
                                     {"created", sentAsLocal(QDateTime(QDate(2026, 12, 24), QTime(10, 19)))},
                                     {"origin", "ZSPD"},
                                     {"destination", "RJTT"},
                                     {"aircraft", "Airbus A330-300"},
                                     {"totalTimeMinutes", 170}};
            service().setFault("/api/infinite-flight/me/flights",
                               {.json = QJsonObject{{"flights", QJsonArray{flight}}}});
            press("pirep.import");
        }
        if (scenario == "form sending") {
            // Held, and never stored: lichen's reports stay as they were for the other rows.
            service().setFault("/api/pireps",
                               {.status = 503, .held = true, .unheard = true, .times = 1, .method = "POST"});
            QVERIFY(QMetaObject::invokeMethod(form, "submit"));
            QTRY_COMPARE(service().heldAnswers(), 1);
        }
    }
    if (QTest::currentTestFailed())
        return;
    checkControls();
}

// ---- the file dialogs of the pictures a member sends

// What each picture dialog lets be picked, and where it opens: the member's pictures folder, their home
// folder when they have none. Regression: the evidence and avatar dialogs opened in the folder the app was
// started from, and the form's in a pictures folder that did not exist.
void ScreenRulesTest::photoDialogs_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<bool>("several");
    QTest::addColumn<bool>("pictures"); // whether the member has a pictures folder
    QTest::newRow("report form: screenshots") << "form"
                                              << "pirep.photoDialog" << true << true;
    QTest::newRow("report form: no pictures folder") << "form"
                                                     << "pirep.photoDialog" << true << false;
    QTest::newRow("report detail: evidence") << "detail p-24421"
                                             << "pirep.detail.photoDialog" << true << true;
    QTest::newRow("report detail: no pictures folder") << "detail p-24421"
                                                       << "pirep.detail.photoDialog" << true << false;
    QTest::newRow("profile: avatar") << "profile edit"
                                     << "profile.photoDialog" << false << true;
    QTest::newRow("profile set-up: avatar") << "profile setup"
                                            << "profile.photoDialog" << false << false;
}

void ScreenRulesTest::photoDialogs()
{
    QFETCH(QString, scenario);
    QFETCH(QString, dialog);
    QFETCH(bool, several);
    QFETCH(bool, pictures);
    // The desktop's folders as its user-dirs file names them; the pictures folder made or not.
    QTemporaryDir config;
    const QString folder = config.filePath(QStringLiteral("图片"));
    if (pictures)
        QVERIFY(QDir().mkpath(folder));
    QFile dirs(config.filePath(QStringLiteral("user-dirs.dirs")));
    QVERIFY(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_PICTURES_DIR=\"" + folder.toUtf8() + "\"\n");
    dirs.close();
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const auto restore = qScopeGuard([&] {
        if (savedConfig.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", savedConfig);
    });

    if (scenario == "form") {
        QVERIFY(showSignedIn("lichen"));
        navigation()->setSelected(MemberTab::Flights);
        press("pirep.new");
        QTRY_VERIFY(shown(m_root, "pirep.submit"));
    } else if (scenario.startsWith("detail")) {
        QVERIFY(showSignedIn("lichen"));
        navigation()->setSelected(MemberTab::Flights);
        const QString id = scenario.section(' ', 1, 1);
        QTRY_VERIFY(reportOf(id));
        navigation()->push(NavigationStack::FlightStack, PirepRoute{*reportOf(id)});
        QTRY_VERIFY(shown(m_root, "pirep.detail.pick"));
    } else if (scenario == "profile edit") {
        QVERIFY(showSignedIn("lichen"));
        navigation()->setSelected(MemberTab::Account);
        QVERIFY(navigation()->pushPage(NavigationStack::AccountStack, ShellPage::ProfileEdit));
        QTRY_VERIFY(shown(m_root, "profile.pickPhoto"));
    } else if (scenario == "profile setup") {
        QVERIFY(showWindowRoot());
        await(m_app->signIn("xuhang", "fly-vornalia", false));
        QTRY_VERIFY(shown(m_root, "profile.pickPhoto"));
    }
    if (QTest::currentTestFailed())
        return;

    // The dialog as its view made it: an object of the page, not an item.
    QObject *picker = nullptr;
    for (QQuickItem *item : itemsBelow(scene())) {
        const QList<QObject *> made = item->children();
        for (QObject *object : made) {
            if (object->objectName() == dialog && item->isVisible())
                picker = object;
        }
    }
    QVERIFY2(picker, qPrintable(dialog));
    // FileDialog.OpenFile and FileDialog.OpenFiles.
    QCOMPARE(picker->property("fileMode").toInt(), several ? 1 : 0);
    // Pictures only, in the formats the service takes.
    const QStringList filters = picker->property("nameFilters").toStringList();
    QCOMPARE(filters.size(), 1);
    QVERIFY2(filters.constFirst().startsWith("图片 (") && filters.constFirst().contains("*.png")
                 && filters.constFirst().contains("*.jpg") && !filters.constFirst().contains("*)"),
             qPrintable(filters.constFirst()));
    QCOMPARE(picker->property("currentFolder").toUrl(),
             QUrl::fromLocalFile(pictures ? folder : QDir::homePath()));
}

// ---- the event page and its answers

void ScreenRulesTest::eventScreens_data()
{
    addControlColumns();
    const QStringList answers{"event.attendance>参加", "event.attendance>感兴趣", "event.attendance>不参加"};
    // Regression: once the event had started, the member's own answer stayed at full strength as if it could
    // still be pressed.
    QStringList started;
    for (const QString &answer : answers)
        started.append("faded:" + answer);
    QTest::newRow("event: member, attending, started")
        << "lichen ev-302" << QStringList{"event.back", "event.report", "event.answerNote"} << started
        << QStringList{"event.responses", "attendance.error"};
    QTest::newRow("event: member, interested, started")
        << "hejing ev-302" << QStringList{"event.back", "event.answerNote"} << started
        << QStringList{"event.report", "event.responses"};
    QTest::newRow("event: member, not started")
        << "lichen ev-303"
        << answers
               + QStringList{"event.back", "event.answerNote", "heard:计划参加活动时请提前选择",
                             "heard:可用飞机与涂装"}
        << QStringList() << QStringList{"event.report", "event.responses", "attendance.error"};
    QTest::newRow("event: staff") << "wangfang ev-303" << QStringList{"event.back", "event.responses"}
                                  << QStringList()
                                  << QStringList{"event.attendance", "event.answerNote", "event.report"};
    // A developer is staff as an admin is.
    QTest::newRow("event: developer")
        << "zhaolei ev-303" << QStringList{"event.back", "event.responses"} << QStringList()
        << QStringList{"event.attendance", "event.answerNote", "event.report"};
    QTest::newRow("event: refused answer")
        << "lichen ev-303 refused" << QStringList{"attendance.error"} << QStringList() << QStringList();
    // The staff's list of the members' answers: the loader while it loads, the error alone once it failed.
    QTest::newRow("event: staff, the members' answers loading")
        << "wangfang ev-303 answers-held" << QStringList{"event.responses", "heard:正在加载"} << QStringList()
        << QStringList{"event.responses.attending", "heard:样例服务按要求返回 500。"};
    QTest::newRow("event: staff, the members' answers failing")
        << "wangfang ev-303 answers-500" << QStringList{"event.responses", "heard:样例服务按要求返回 500。"}
        << QStringList() << QStringList{"heard:正在加载", "event.responses.attending"};

    // The staff's list of the upcoming events says it has none only once its load has answered.
    QTest::newRow("staff events: listed")
        << "wangfang events" << QStringList{"events.back", "events.refresh", "events.event"} << QStringList()
        << QStringList{"heard:暂无活动"};
    QTest::newRow("staff events: loading")
        << "wangfang events loading" << QStringList{"events.back"} << QStringList{"events.refresh"}
        << QStringList{"heard:暂无活动", "events.event"};
    QTest::newRow("staff events: none")
        << "wangfang events none" << QStringList{"events.refresh", "heard:暂无活动"} << QStringList()
        << QStringList{"events.event"};
}

void ScreenRulesTest::eventScreens()
{
    QFETCH(QString, scenario);
    const QString username = scenario.section(' ', 0, 0);
    const QString id = scenario.section(' ', 1, 1);
    QVERIFY(showSignedIn(username));
    if (id == "events") {
        // From the workbench, as staff open it; its load held back, or answering no event.
        const QString how = scenario.section(' ', 2, 2);
        const QString upcoming("/api/events/upcoming");
        if (how == "loading")
            service().setFault(upcoming, {.held = true});
        if (how == "none")
            service().setFault(upcoming, {.json = QJsonObject{{"events", QJsonArray()}}});
        press("admin.events");
        QTRY_VERIFY(shown(m_root, "events.back"));
        if (how == "loading")
            QTRY_COMPARE(service().heldAnswers(), 1);
        if (!QTest::currentTestFailed())
            checkControls();
        return;
    }
    // The staff's list of the members' answers, held back or failing.
    const QString answers = scenario.section(' ', 2, 2);
    if (answers == "answers-held")
        service().setFault("/api/admin/event-responses", {.held = true});
    if (answers == "answers-500")
        service().setFault("/api/admin/event-responses", {.status = 500});
    if (m_app->role() != "member") {
        // Staff read the events as members do; the page is the same.
        memberData()->reload(MemberLoad::Events);
        QTRY_VERIFY(!memberData()->events().isEmpty());
    }
    openEvent(id);
    if (QTest::currentTestFailed())
        return;
    if (scenario.endsWith("refused")) {
        service().setFault("/api/member/event-responses", {.status = 500, .times = 1});
        press("event.attendance>参加");
    }
    if (answers == "answers-held")
        QTRY_COMPARE(service().heldAnswers(), 1);
    if (QTest::currentTestFailed())
        return;
    checkControls();
}

// ---- the staff's queue and review

void ScreenRulesTest::reviewScreens_data()
{
    addControlColumns();
    QTest::newRow("queue: pending") << "queue"
                                    << QStringList{"admin.refresh", "admin.search", "admin.heading",
                                                   "admin.report.p-24436"}
                                    << QStringList()
                                    << QStringList{"admin.empty", "admin.error", "admin.report.p-24421"};
    QTest::newRow("queue: under inquiry")
        << "queue inquiry" << QStringList{"admin.heading", "admin.report.p-24421"} << QStringList()
        << QStringList{"admin.empty", "admin.report.p-24436"};
    QTest::newRow("queue: nothing found")
        << "queue search" << QStringList{"admin.empty", "admin.search"} << QStringList()
        << QStringList{"admin.heading", "admin.report.p-24436"};
    // The first load still on its way: the loader, and the refresh waits for it.
    QTest::newRow("queue: loading") << "queue loading" << QStringList{"heard:正在读取报告", "admin.search"}
                                    << QStringList{"admin.refresh"} << QStringList{"admin.empty"};
    // Regression: the workbench showed no title of its own, where every other root page shows one inline.
    QTest::newRow("queue: its title")
        << "queue" << QStringList{"admin.title", "heard:审核"} << QStringList() << QStringList();
    // Regression: the filter stood bare on the page; it stands in a capsule of the bars' material.
    QTest::newRow("queue: the filter in its capsule")
        << "queue" << QStringList{"capsule:admin.filter"} << QStringList() << QStringList();
    QTest::newRow("queue: not answered") << "queue failed" << QStringList{"admin.error", "admin.refresh"}
                                         << QStringList() << QStringList{"admin.report.p-24436"};

    const QStringList always{"admin.review.back", "admin.review.decision", "admin.review.percent",
                             "admin.review.multiplier"};
    QTest::newRow("review: pending, approve")
        << "wangfang p-24436"
        << always
               + QStringList{"admin.review.submitNote", "admin.review.evidence", "admin.review.save",
                             // The service's checks and the member's note, read as they are shown.
                             "heard:上传的呼号：B-342CA", "heard:联盟航线加活动航线。"}
        << QStringList()
        << QStringList{"admin.review.holdNote", "admin.review.rejection", "admin.review.release",
                       "admin.review.inquiry",  "admin.review.reason",    "admin.review.delete",
                       "admin.review.error"};
    // Regression: the callsigns were one line of text each, and the multiplier a segmented picker; they are
    // labelled rows as the landings are, the multiplier's value on the button that opens its menu.
    QTest::newRow("review: labelled rows")
        << "wangfang p-24436"
        << QStringList{"row:降落次数|2", "row:上传的呼号|B-342CA", "row:IF 实际呼号|b 342 ca",
                       "row:网站设置的呼号|B342-CA", "row:倍数|×1.875"}
        << QStringList() << QStringList();
    QTest::newRow("review: inquiry chosen")
        << "wangfang p-24436 问询" << QStringList{"admin.review.inquiry"} << QStringList{"admin.review.save"}
        << QStringList{"admin.review.reason"};
    QTest::newRow("review: rejection chosen")
        << "wangfang p-24436 不批准" << QStringList{"admin.review.reason"} << QStringList{"admin.review.save"}
        << QStringList{"admin.review.inquiry"};
    QTest::newRow("review: under inquiry")
        << "wangfang p-24421" << always + QStringList{"admin.review.holdNote", "admin.review.release"}
        << QStringList() << QStringList{"admin.review.rejection", "admin.review.delete"};
    QTest::newRow("review: by a developer")
        << "zhaolei p-24436" << always + QStringList{"admin.review.delete", "admin.review.save"}
        << QStringList() << QStringList{"admin.review.release"};
    // The member's pictures only for a report that has some: a rejected one sent without.
    QTest::newRow("review: a report without evidence")
        << "wangfang p-24300" << QStringList{"admin.review.back", "heard:截图中看不到落地时间。"}
        << QStringList() << QStringList{"admin.review.evidence", "heard:成员提交的截图"};
    // The loader that says the decision is on its way comes into view below the form, which is off meanwhile.
    QTest::newRow("review: saving, said in view")
        << "wangfang p-24436 批准 saving" << QStringList{"inview:admin.review.saving"}
        << QStringList{"admin.review.save"} << QStringList();
    // Back on the queue, the saved review is said there and shown as the queue's new state. Regression: it
    // stood over the queue as a green panel with a symbol, which took the keyboard.
    QTest::newRow("review: saved") << "wangfang p-24436 批准 saved"
                                   << QStringList{"said:审核结果已保存。", "admin.report.p-24436"}
                                   << QStringList() << QStringList{"admin.review.save", "admin.error"};
}

void ScreenRulesTest::reviewScreens()
{
    QFETCH(QString, scenario);
    const QString username = scenario.startsWith("queue") ? QString("wangfang") : scenario.section(' ', 0, 0);
    if (scenario == "queue failed")
        service().setFault("/api/admin/pireps", {.status = 503});
    if (scenario == "queue loading")
        service().setFault("/api/admin/pireps", {.held = true});
    QVERIFY(showSignedIn(username));
    if (scenario == "queue inquiry")
        press("admin.tile.1");
    if (scenario == "queue search") {
        QQuickItem *search = nullptr;
        QTRY_VERIFY((search = shown(m_root, "admin.search")));
        QObject *queue = modelOf(m_root, "ReviewWorkbenchModel");
        QVERIFY(queue);
        queue->setProperty("search", "ZZZZ");
    }
    if (!scenario.startsWith("queue")) {
        const QString id = scenario.section(' ', 1, 1);
        if (id == "p-24421")
            press("admin.tile.1");
        if (id == "p-24300")
            press("admin.filter.rejected");
        press("admin.report." + id);
        QTRY_VERIFY(shown(m_root, "admin.review.save"));
        const QString decision = scenario.section(' ', 2, 2);
        if (!decision.isEmpty())
            press("admin.review.decision>" + decision);
        if (scenario.endsWith("saved")) {
            // Taken, as the service answers, and the sample queue left as it was for the other rows.
            service().setFault("/api/admin/pireps/" + id + "/review",
                               {.json = QJsonObject{{"ok", true}}, .unheard = true, .times = 1});
            press("admin.review.save");
            press("admin.review.confirm");
            QTRY_VERIFY(shown(m_root, "admin.heading"));
        }
        if (scenario.endsWith("saving")) {
            // Held, and never stored: the sample queue stays as it was for the other rows.
            service().setFault("/api/admin/pireps/" + id + "/review",
                               {.status = 503, .held = true, .unheard = true, .times = 1});
            press("admin.review.save");
            press("admin.review.confirm");
            QTRY_COMPARE(service().heldAnswers(), 1);
        }
    }
    if (QTest::currentTestFailed())
        return;
    checkControls();
}

// ---- the Live tab: its page, its boards, an aircraft's page and the application form

void ScreenRulesTest::liveScreens_data()
{
    addControlColumns();
    // Regression: the page was named "live.page".
    QTest::newRow("live: linked member")
        << "lichen"
        << QStringList{"live.native",        "live.search",       "live.refresh",
                       "live.tabs",          "live.applications", "live.fleet",
                       "live.authorization", "live.avatar",       "live.aircraft.org-vornalia/ac-101"}
        << QStringList()
        << QStringList{"live.connectCard", "live.loader", "live.message", "live.noOrganizations",
                       "live.applicationsBoard"};
    // Regression: a page not linked hid its search and its refresh, which every page has.
    QTest::newRow("live: not linked")
        << "hejing" << QStringList{"live.native", "live.search", "live.refresh", "live.connectCard"}
        << QStringList()
        << QStringList{"live.tabs", "live.fleet", "live.applications", "live.authorization", "live.avatar"};
    // Regression: the tab read "我的申请 4+" while the service had further pages; it counts those listed.
    QTest::newRow("live: a member's applications")
        << "lichen applications"
        << QStringList{"live.applications>我的申请 4", "live.applicationsBoard", "live.more"} << QStringList()
        << QStringList{"live.fleet", "live.noApplications", "live.review.app-10"};
    QTest::newRow("live: a member's one application")
        << "lichen applications one"
        << QStringList{"live.applications>我的申请 1", "text:live.application.app-10"} << QStringList()
        << QStringList{"live.more", "live.noApplications", "live.application.app-09"};
    // "加载更多" goes once the service has no further page.
    QTest::newRow("live: a member's applications, every page listed")
        << "lichen applications all"
        << QStringList{"live.applications>我的申请 10", "text:live.application.app-01"} << QStringList()
        << QStringList{"live.more"};
    // A load under way: the refresh waits for it.
    QTest::newRow("live: loading again") << "lichen loading" << QStringList{"live.search", "live.tabs"}
                                         << QStringList{"live.refresh"} << QStringList();
    // A member's cards show their applications and press nothing: no control, no review behind them, read
    // as cards rather than dimmed buttons.
    QTest::newRow("live: a member's application cards")
        << "lichen applications"
        << QStringList{"text:live.application.app-10", "text:live.application.app-07"} << QStringList()
        << QStringList{"live.review.app-10"};
    // A card's note row shows with the reviewer's note only: app-09 has one, app-10 none.
    QTest::newRow("live: a member's application cards, with and without a note")
        << "lichen applications" << QStringList{"live.applicationNote.app-09"} << QStringList()
        << QStringList{"live.applicationNote.app-10"};
    QTest::newRow("live: a reviewer's applications")
        << "wangfang applications"
        << QStringList{"live.applications>排班审核", "live.applicationsBoard", "live.review.app-10"}
        << QStringList() << QStringList{"live.fleet", "live.noApplications"};
    QTest::newRow("live: an aircraft, for a member")
        << "lichen aircraft"
        << QStringList{"live.aircraft.back", "live.aircraft.applying", "live.aircraft.apply>申请这架飞机"}
        << QStringList() << QStringList{"live.aircraft.sent", "live.native"};
    // An aircraft's live flight only while it flies; "机组未指派" only on a schedule without crew, an empty
    // crew list among them.
    QTest::newRow("live: an aircraft in flight")
        << "lichen aircraft ac-101"
        << QStringList{"heard:正在飞行", "heard:地速", "text:live.schedule.sch-4>机组未指派"} << QStringList()
        << QStringList();
    QTest::newRow("live: an aircraft on the ground, its schedules")
        << "lichen aircraft ac-104"
        << QStringList{"text:live.schedule.sch-1>机长 lichen", "text:live.schedule.sch-1>副驾驶 zhaolei",
                       "text:live.schedule.sch-2>机组未指派", "text:live.schedule.sch-5>机组未指派"}
        << QStringList()
        << QStringList{"live.schedule.sch-1>机组未指派", "heard:正在飞行", "heard:地速", "heard:暂无排班"};
    QTest::newRow("live: an aircraft without schedules")
        << "lichen aircraft ac-102" << QStringList{"heard:暂无排班", "heard:申请批准后会在这里看到官方排班。"}
        << QStringList() << QStringList{"live.schedule.sch-1", "live.schedule.sch-4"};
    // A crew of one is the crew: its captain, and no "机组未指派" beside him.
    QTest::newRow("live: an aircraft whose schedule has a crew of one")
        << "lichen aircraft ac-106" << QStringList{"text:live.schedule.sch-6>机长 xuhang"} << QStringList()
        << QStringList{"heard:机组未指派", "heard:暂无排班"};
    // A schedule's times as Taiwan writes them, never a raw pattern letter ("B10:19").
    QTest::newRow("live: a schedule's times, in Taiwan Chinese")
        << "lichen aircraft ac-106 zh_TW"
        << QStringList{"text:live.schedule.sch-6", "heard:2026年12月24日 上午10:19 → 下午1:04"}
        << QStringList() << QStringList();
    // Regression: back from a page opened from it the Live page did not load again, so a link that had
    // ended meanwhile still showed the boards.
    QTest::newRow("live: back from an aircraft, the link ended meanwhile")
        << "lichen back" << QStringList{"live.native", "live.connectCard", "live.search", "live.refresh"}
        << QStringList()
        << QStringList{"live.aircraft.back", "live.tabs", "live.fleet", "live.authorization"};
    QTest::newRow("live: an aircraft, for staff") << "wangfang aircraft" << QStringList{"live.aircraft.back"}
                                                  << QStringList() << QStringList{"live.aircraft.applying"};
    // Staff do not apply, a developer no more than an administrator.
    QTest::newRow("live: an aircraft, for a developer")
        << "zhaolei aircraft" << QStringList{"live.aircraft.back"} << QStringList()
        << QStringList{"live.aircraft.applying", "live.aircraft.apply"};
    const QStringList fields{"live.departure", "live.arrival", "live.timeless", "live.briefing",
                             "live.flightPlan"};
    // The sections' headers are words alone; the route's arrow is the form's one symbol.
    QTest::newRow("live: application form, without times")
        << "lichen form" << fields + QStringList{"symbol:live.apply>arrow.right"}
        << QStringList{"live.apply.submit"}
        << QStringList{"live.times",
                       "live.departureTime",
                       "live.arrivalTime",
                       "live.apply.message",
                       "symbol:live.apply>airplane",
                       "symbol:live.apply>clock",
                       "symbol:live.apply>doc.text"};
    QTest::newRow("live: application form, with times")
        << "lichen form times" << fields + QStringList{"live.times", "live.departureTime", "live.arrivalTime"}
        << QStringList{"live.apply.submit"} << QStringList();
    QTest::newRow("live: application form, filled in")
        << "lichen form filled" << fields + QStringList{"live.apply.submit"} << QStringList()
        << QStringList{"live.apply.message"};
    // The sheet closes on the aircraft's page, whose note under the button says the application was sent: a
    // muted footnote centred under it, heard as an alert that has the keyboard, in view with the button.
    // Regression: the keyboard went to the page's title, the page jumped to its top, and nothing was heard.
    QTest::newRow("live: application sent")
        << "lichen form sent"
        << QStringList{"alert:live.aircraft.sent", "centred:live.aircraft.sent", "seen:live.aircraft.apply",
                       "heard:申请已提交，等待管理员审核。", "live.aircraft.back"}
        << QStringList{"live.aircraft.apply>申请已提交"}
        << QStringList{"live.apply.submit", "live.apply.message", "live.aircraft.apply>申请这架飞机"};
    // Regression: only the top edge of the note showed in the smallest window; then the note and the button
    // stood below the fold, the page at its top.
    QTest::newRow("live: application sent (760×540)")
        << "lichen form sent"
        << QStringList{"alert:live.aircraft.sent", "seen:live.aircraft.apply", "live.aircraft.back"}
        << QStringList{"live.aircraft.apply>申请已提交"}
        << QStringList{"live.apply.submit", "live.apply.message"};
    // An answer lost on its way: the form stays with its advice, and the page beneath counts it as sent. Once
    // the member closes the form, the note has the keyboard, in view.
    QTest::newRow("live: application whose outcome is uncertain, the form closed (760×540)")
        << "lichen form uncertain"
        << QStringList{"alert:live.aircraft.sent", "seen:live.aircraft.apply", "live.aircraft.back"}
        << QStringList{"live.aircraft.apply>申请已提交"} << QStringList{"live.apply.submit"};
    // The outcome is plain text in a section of its own, no panel with its symbol; heard, with the keyboard.
    // Regression: it was an alert that took the keyboard too, said twice in one moment.
    QTest::newRow("live: an application reviewed")
        << "wangfang reviewed" << QStringList{"keyboard:live.review.saved", "live.review.back"}
        << QStringList{"live.review.save"}
        << QStringList{"live.review.message", "symbol:live.reviewPage>checkmark.circle.fill"};
    QTest::newRow("live: a review not saved")
        << "wangfang reviewed refused" << QStringList{"alert:live.review.message", "live.review.back"}
        << QStringList{"live.review.save"}
        << QStringList{"live.review.saved", "symbol:live.reviewPage>exclamationmark.triangle.fill"};

    // A review's reason field by decision: a rejection asks for a reason and needs one, an approval shows
    // none; an application in processing asks for the note whatever the outcome; one decided shows neither.
    // The save button says what it saves: the decision on a pending application, the checked result of one
    // in processing.
    const QStringList verification{"live.review.note", "live.review.outcome", "live.review.checked"};
    // The sections' headers are words alone.
    QTest::newRow("live: review, approving")
        << "wangfang review app-10 approved"
        << QStringList{"live.review.decision", "live.review.save>确认审核结果"} << QStringList()
        << QStringList{"live.review.reason", "live.review.note", "symbol:live.reviewPage>checkmark.seal"};
    QTest::newRow("live: review, rejecting without a reason")
        << "wangfang review app-10 rejected" << QStringList{"live.review.decision", "live.review.reason"}
        << QStringList{"live.review.save"} << QStringList{"live.review.note"};
    QTest::newRow("live: review, rejecting with a reason")
        << "wangfang review app-10 rejected reason" << QStringList{"live.review.reason", "live.review.save"}
        << QStringList() << QStringList{"live.review.note"};
    QTest::newRow("live: verification, created, no note")
        << "wangfang review app-09 created" << verification + QStringList{"live.review.scheduleId"}
        << QStringList{"live.review.save"}
        << QStringList{"live.review.reason", "live.review.decision",
                       "symbol:live.reviewPage>checkmark.shield"};
    QTest::newRow("live: verification, not created, no note")
        << "wangfang review app-09 not_created" << verification << QStringList{"live.review.save"}
        << QStringList{"live.review.reason", "live.review.scheduleId"};
    QTest::newRow("live: verification, rejected, no note")
        << "wangfang review app-09 rejected" << verification << QStringList{"live.review.save"}
        << QStringList{"live.review.reason", "live.review.scheduleId"};
    QTest::newRow("live: verification, rejected, with a note")
        << "wangfang review app-09 rejected reason"
        << verification + QStringList{"live.review.save>保存核查结果"} << QStringList()
        << QStringList{"live.review.reason"};
    QTest::newRow("live: review of an application decided")
        << "wangfang review app-08" << QStringList{"live.review.back"} << QStringList()
        << QStringList{"live.review.reason", "live.review.note", "live.review.decision",
                       "live.review.outcome", "live.review.save"};
}

void ScreenRulesTest::liveScreens()
{
    QFETCH(QString, scenario);
    std::optional<TaiwanScope> taiwan;
    if (TaiwanScope::asked(scenario)) {
        taiwan.emplace();
        // B-30A6's schedule leaves at 10:19 of this machine's clock and lands at 13:04.
        const QJsonObject live = withScheduleTimes(service().data("live-schedules").toObject(), "sch-6",
                                                   QDateTime(QDate(2026, 12, 24), QTime(10, 19)),
                                                   QDateTime(QDate(2026, 12, 24), QTime(13, 4)));
        service().setFault("/api/live-schedules", {.json = Sample::liveBoardJson(live, "lichen")});
    }
    if (scenario.startsWith("zhaolei")) {
        // 赵磊 has linked his Infinite Flight account too: his link check and his board.
        service().setFault("/api/live-schedules/authorization", {.json = QJsonObject{{"state", "eligible"}}});
        service().setFault(
            "/api/live-schedules",
            {.json = Sample::liveBoardJson(service().data("live-schedules").toObject(), "zhaolei")});
    }
    QVERIFY(showSignedIn(scenario.section(' ', 0, 0)));
    if (scenario == "lichen applications one") {
        // The service lists one application of the member's.
        const QJsonObject application{
            {"id", "app-10"},           {"username", "lichen"}, {"organization", "Vornalia Virtual"},
            {"registration", "B-30A4"}, {"departure", "ZBAA"},  {"arrival", "ZSSS"},
            {"status", "pending"},      {"reviewNote", ""}};
        service().setFault(
            "/api/live-schedules/applications",
            {.json = QJsonObject{{"applications", QJsonArray{application}}, {"hasMore", false}}});
    }
    navigation()->setSelected(MemberTab::Live);
    QObject *live = nullptr;
    QTRY_VERIFY((live = modelOf(m_root, "LiveTabModel")));
    QTRY_VERIFY(shown(m_root, "live.tabs") || shown(m_root, "live.connectCard"));
    const QString step = scenario.section(' ', 1, 1);
    // The board chosen last is kept; each row chooses its own.
    live->setProperty("tab", step == "applications" || step == "reviewed" || step == "review" ? 1 : 0);
    if (step == "aircraft" || step == "form" || step == "back") {
        const QString aircraft = scenario.section(' ', 2, 2);
        press("live.aircraft.org-vornalia/"
              + (step == "aircraft" && !aircraft.isEmpty() ? aircraft : "ac-101"));
        QTRY_VERIFY(shown(scene(), "live.aircraft.back"));
    }
    if (scenario == "lichen applications all") {
        // Four to a page: two more pages.
        for (int page = 0; page < 2; ++page) {
            QTRY_VERIFY(!live->property("busy").toBool());
            press("live.more");
        }
        QTRY_VERIFY(!live->property("busy").toBool());
    }
    if (step == "loading") {
        // Loaded once; the next load waits at the service for its link check.
        QTRY_VERIFY(!live->property("busy").toBool());
        service().setFault("/api/live-schedules/authorization", {.held = true, .times = 1});
        press("live.refresh");
        QTRY_COMPARE(service().heldAnswers(), 1);
    }
    if (step == "back") {
        // Unlinked on the web site while the aircraft's page shows; left once the first load has ended (a
        // load asked for while one runs does nothing).
        QTRY_VERIFY(!live->property("busy").toBool());
        service().setFault("/api/live-schedules/authorization", {.json = QJsonObject{{"state", "unlinked"}}});
        press("live.aircraft.back");
    }
    if (step == "review") {
        press("live.review." + scenario.section(' ', 2, 2));
        QTRY_VERIFY(shown(scene(), "live.review.back"));
        auto *review =
            qobject_cast<LiveApplicationReviewModel *>(modelOf(m_root, "LiveApplicationReviewModel"));
        QVERIFY(review);
        // The decision of a pending application, or the outcome of one in processing, checked.
        const QString choice = scenario.section(' ', 3, 3);
        if (review->mode() == LiveApplicationReviewModel::Decision)
            review->setDecision(choice);
        else
            review->setOutcome(choice);
        review->setChecked(true);
        if (scenario.section(' ', 4, 4) == "reason")
            review->setReason(QStringLiteral("该时段飞机已被占用。"));
    }
    if (step == "form") {
        pressByKeyboard("live.aircraft.apply");
        QTRY_VERIFY(shown(scene(), "live.apply.submit"));
        QObject *form = modelOf(m_root, "LiveApplicationFormModel");
        QVERIFY(form);
        const QString how = scenario.section(' ', 2, 2);
        if (how == "times")
            form->setProperty("timeless", false);
        if (how == "filled" || how == "sent" || how == "uncertain") {
            form->setProperty("departure", "ZBAA");
            form->setProperty("arrival", "ZSSS");
        }
        if (how == "sent") {
            // Taken, as the service answers, with no application added for the other rows.
            service().setFault(
                "/api/live-schedules/apply",
                {.json = QJsonObject{{"ok", true}, {"id", "app-99"}}, .unheard = true, .times = 1});
            pressByKeyboard("live.apply.submit");
            QTRY_VERIFY(!shown(scene(), "live.apply.submit"));
        }
        if (how == "uncertain") {
            // The answer is lost: the form stays with its advice until the member closes it.
            service().setFault("/api/live-schedules/apply",
                               {.status = 500, .unheard = true, .times = 1, .method = "POST"});
            pressByKeyboard("live.apply.submit");
            QTRY_VERIFY(shown(scene(), "live.apply.message"));
            QTest::keyClick(m_window.get(), Qt::Key_Escape);
            QTRY_VERIFY(!shown(scene(), "live.apply.submit"));
        }
    }
    if (step == "reviewed") {
        press("live.review.app-10");
        QTRY_VERIFY(shown(scene(), "live.review.save"));
        if (scenario.section(' ', 2, 2) == "refused")
            service().setFault("/api/live-schedules/application-approve",
                               {.status = 500, .unheard = true, .times = 1, .method = "POST"});
        else
            service().setFault("/api/live-schedules/application-approve",
                               {.json = QJsonObject{{"ok", true}}, .unheard = true, .times = 1});
        press("live.review.save");
        press("live.review.confirm");
    }
    if (QTest::currentTestFailed())
        return;
    checkControls();
}

// ---- the live map: its banner, the selected flight's bar, the search

void ScreenRulesTest::mapScreens_data()
{
    addControlColumns();
    QTest::newRow("map: the live snapshot")
        << "live" << QStringList{"map.search", "map.style", "map.liveLegend"} << QStringList()
        << QStringList{"flightSearch.query", "flight.identity", "map.notice"};
    // Its markers are heard while the map shows, and not from another tab once it was opened.
    QTest::newRow("map: its markers")
        << "live" << QStringList{"heard:查看飞行详情"} << QStringList() << QStringList();
    QTest::newRow("map: another tab") << "left" << QStringList{"home.notifications"} << QStringList()
                                      << QStringList{"heard:查看飞行详情", "tree:查看飞行详情", "map.search"};
    QTest::newRow("map: the saved snapshot, the live one failing")
        << "saved" << QStringList{"map.notice>" + MapBanner::olderDataMessage(), "map.search"}
        << QStringList() << QStringList{"map.liveLegend", "flight.identity"};

    // A load still on its way, the last snapshot on the map: the refresh waits for it.
    QTest::newRow("map: loading") << "loading" << QStringList{"map.search"} << QStringList{"shell.map>刷新"}
                                  << QStringList();
    QTest::newRow("map: loaded") << "live" << QStringList{"shell.map>刷新"} << QStringList() << QStringList();
    QTest::newRow("map: a flight selected")
        << "selected" << QStringList{"flight.identity", "flight.server", "map.routeProgress"} << QStringList()
        << QStringList{"flightSearch.query"};
    QTest::newRow("map: a live flight in a phase")
        << "selected lv-207" << QStringList{"flight.identity", "flight.live", "flight.phase"} << QStringList()
        << QStringList();
    QTest::newRow("map: a flight of the saved snapshot")
        << "saved sv-207" << QStringList{"flight.identity", "flight.phase"} << QStringList()
        << QStringList{"flight.live"};
    QTest::newRow("map: a live flight in no phase")
        << "unphased lv-900" << QStringList{"flight.identity", "flight.live"} << QStringList()
        << QStringList{"flight.phase"};
    // The member's own flights have their button while the map shows one, with a flight selected or not.
    QTest::newRow("map: the member's own flight")
        << "live" << QStringList{"map.ownFlights", "map.demo"} << QStringList() << QStringList();
    QTest::newRow("map: the member's own flight, a flight selected")
        << "selected" << QStringList{"map.ownFlights", "flight.identity"} << QStringList() << QStringList();
    QTest::newRow("map: none of the member's flights") << "unphased" << QStringList{"map.search", "map.demo"}
                                                       << QStringList() << QStringList{"map.ownFlights"};
    QTest::newRow("map: none of the member's flights, a flight selected")
        << "unphased lv-900" << QStringList{"flight.identity"} << QStringList()
        << QStringList{"map.ownFlights"};
    // The bar's progress figure only with a route progress: none for a flight without an arrival or a plan.
    QTest::newRow("map: a flight's route progress")
        << "selected lv-207" << QStringList{"flight.identity", "heard:进度, "} << QStringList()
        << QStringList();
    // Its other figures heard first: the bar comes in from nothing, heard by none until then.
    QTest::newRow("map: a flight without route progress")
        << "selected lv-145" << QStringList{"flight.identity", "flight.server", "heard:高度, "}
        << QStringList() << QStringList{"heard:进度", "flight.live"};
    QTest::newRow("map: a live flight without a server")
        << "serverless lv-901" << QStringList{"flight.identity", "flight.live"} << QStringList()
        << QStringList{"flight.server"};
    // The card of a narrow window: the LIVE badge only for a live flight, with or without its server, and no
    // progress figure at all.
    QTest::newRow("map, narrow: a live flight's card")
        << "selected lv-207 narrow"
        << QStringList{"flight.identity", "flight.server", "flight.live", "heard:高度"} << QStringList()
        << QStringList{"heard:进度"};
    QTest::newRow("map, narrow: the card of a flight not live")
        << "selected lv-145 narrow" << QStringList{"flight.identity", "flight.server"} << QStringList()
        << QStringList{"flight.live"};
    QTest::newRow("map, narrow: the card of a flight of the saved snapshot")
        << "saved sv-207 narrow" << QStringList{"flight.identity", "flight.phase"} << QStringList()
        << QStringList{"flight.live"};
    QTest::newRow("map, narrow: the card of a live flight in no phase")
        << "unphased lv-900 narrow" << QStringList{"flight.identity", "flight.live"} << QStringList()
        << QStringList{"flight.phase"};
    QTest::newRow("map, narrow: the card of a live flight without a server")
        << "serverless lv-901 narrow" << QStringList{"flight.identity", "flight.live"} << QStringList()
        << QStringList{"flight.server"};

    QTest::newRow("map: search") << "search"
                                 << QStringList{"flightSearch.close", "flightSearch.query",
                                                "flightFilter.aircraft", "flightFilter.livery",
                                                "flightSearch.result"}
                                 << QStringList() << QStringList{"flightFilter.clear", "flightSearch.empty"};
    QTest::newRow("map: search, filtered")
        << "search filtered" << QStringList{"flightFilter.clear"} << QStringList() << QStringList();
    QTest::newRow("map: search, nothing found")
        << "search unmatched"
        << QStringList{"flightSearch.empty", "flightSearch.query", "heard:没有“ZZZZ”的结果",
                       "heard:请检查拼写或尝试新的搜索。"}
        << QStringList() << QStringList{"flightSearch.result"};
    // Regression: in the smallest window, with a filter set, the no-results view ran past the search card's
    // bottom, its last line drawn over the map and cut by the window. It scrolls inside the card.
    QTest::newRow("map, smallest window: search filtered, nothing found")
        << "search unmatched filtered smallest"
        << QStringList{"inview:flightSearch.advice", "flightFilter.clear"} << QStringList()
        << QStringList{"flightSearch.result"};
}

void ScreenRulesTest::mapScreens()
{
    QFETCH(QString, scenario);
    const QString livePath = QStringLiteral("/api/infinite-flight/live");
    if (scenario.startsWith("saved")) {
        // The live snapshot fails from the sign-in on; the saved one answers as ever.
        service().setFault(livePath + "?saved=1", {});
        service().setFault(livePath, {.status = 503});
    }
    QVERIFY(showSignedIn("lichen"));
    if (scenario.startsWith("unphased") || scenario.startsWith("serverless")) {
        // A live-identified snapshot of one live flight that reports no phase; or no phase and no server.
        QJsonObject flight{{"id", "lv-900"},   {"callsign", "B-900CA"}, {"server", "Expert"},
                           {"latitude", 31.2}, {"longitude", 121.5},    {"isLive", true}};
        if (scenario.startsWith("serverless")) {
            flight.insert("id", "lv-901");
            flight.remove("server");
        }
        service().setFault(livePath, {.json = QJsonObject{{"flights", QJsonArray{flight}},
                                                          {"status", "live"},
                                                          {"liveIdentification", "connected"}}});
    }
    if (scenario.endsWith("smallest")) {
        // The window as small as it goes, less its menu bar.
        m_window->resize(760, 540);
        m_root->setSize(QSizeF(760, 500));
    }
    if (scenario.endsWith("narrow")) {
        // Narrower than the regular class: the selected flight's card in its sheet, not the bar.
        m_window->resize(600, 540);
        m_root->setSize(QSizeF(600, 540));
    }
    if (scenario == "loading") {
        // The map's own load of the live snapshot is held back; the saved one answers.
        service().setFault(livePath + "?saved=1", {});
        service().setFault(livePath, {.held = true});
    }
    navigation()->setSelected(MemberTab::Map);
    QQuickItem *page = nullptr;
    QTRY_VERIFY((page = shown(m_root, "shell.map")));
    auto *map = qvariant_cast<LiveMapModel *>(page->property("model"));
    QVERIFY(map);
    QTRY_VERIFY(map->flightCount() > 0);
    if (scenario == "live")
        QTRY_COMPARE(map->status(), QString("live"));
    if (scenario.startsWith("saved"))
        QTRY_COMPARE(map->status(), QString("saved"));
    // The flight a row selects: the one of its id, once the snapshot on the map has it; for "selected", one
    // that names its server.
    const QString id = scenario.startsWith("search") ? QString() : scenario.section(' ', 1, 1);
    const auto flightToSelect = [&]() -> std::optional<LiveFlight> {
        const QList<LiveFlight> flights = map->hasSnapshot() ? map->snapshot()->flights : QList<LiveFlight>();
        const auto found = std::find_if(flights.cbegin(), flights.cend(), [&](const LiveFlight &flight) {
            return id.isEmpty() ? flight.server && !flight.server->isEmpty() && flight.callsign
                                : flight.id == id;
        });
        return found != flights.cend() ? std::optional(*found) : std::nullopt;
    };
    if (scenario == "selected" || !id.isEmpty()) {
        QTRY_VERIFY(flightToSelect());
        map->select(*flightToSelect(), false);
    }
    if (scenario == "left") {
        QTRY_VERIFY(heardOn(m_window.get(), "查看飞行详情"));
        navigation()->setSelected(MemberTab::Home);
    }
    if (scenario.startsWith("search")) {
        press("map.search");
        QQuickItem *query = nullptr;
        QTRY_VERIFY((query = shown(scene(), "flightSearch.query")));
        QObject *search = modelOf(page, "FlightSearchModel");
        QVERIFY(search);
        if (scenario.contains("filtered"))
            search->setProperty("aircraft", search->property("aircraftChoices").toStringList().value(1));
        if (scenario.startsWith("search unmatched"))
            typeInto(query, "ZZZZ");
        if (scenario.endsWith("smallest")) {
            // Scrolled to, as the member would: in the card, wholly.
            QQuickItem *advice = nullptr;
            QTRY_VERIFY((advice = shown(scene(), "flightSearch.advice")));
            QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
            FailureFocus::reveal(shown(scene(), "flightSearch.advice"), 0);
            QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
            QQuickItem *card = shown(scene(), "map.sideCard");
            QVERIFY(card && (advice = shown(scene(), "flightSearch.advice")));
            const auto box = [](QQuickItem *item) {
                return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
            };
            QVERIFY2(box(card).contains(box(advice)), "the no-results view runs out of the search card");
        }
    }
    if (QTest::currentTestFailed())
        return;
    checkControls();
}

// ---- texts in their places

void ScreenRulesTest::englishTextsFit_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<QSize>("window"); // the window less its menu bar
    QTest::newRow("logbook filters, the smallest window") << "logbook" << QSize(760, 506);
    QTest::newRow("event answers, the window as it opens") << "events" << QSize(1100, 686);
    // The map's flight bar beside the sidebar, with the phase and every figure of a flight on its plan.
    QTest::newRow("flight bar, the smallest window") << "flight bar" << QSize(760, 506);
    QTest::newRow("flight bar, 830 wide") << "flight bar" << QSize(830, 506);
    // Regression: a verdict longer than the review page's checks ran past the card's edge.
    QTest::newRow("review checks, the smallest window") << "review checks" << QSize(760, 506);
    // The fleet's cards: the route an aircraft waits on ("ZGGG → ZUUU", "From ZSPD") and who flew it last.
    QTest::newRow("Live fleet, the smallest window") << "live fleet" << QSize(760, 506);
    QTest::newRow("Live fleet, a large window") << "live fleet" << QSize(1920, 1166);
}

// Regression: in English the logbook's filters broke inside their words in the smallest window ("Pendin",
// "g rev…"), every event card's answer read "Not attendi…" in the window as it opens, and the map's flight
// bar, narrower than what it held up to some 850 points, showed "ZS" of the arrival code and "Progr…" at its
// edge; a Live fleet card cut its waiting route to "ZGGG → ZU…" or "From ZS…", most of its row empty. A text
// shows whole, inside the panel it stands in, and where it wraps each of its words fits its width.
void ScreenRulesTest::englishTextsFit()
{
    QFETCH(QString, place);
    QFETCH(QSize, window);
    const LanguageScope english("en");
    QVERIFY(showSignedIn(place.startsWith("review") ? "wangfang" : "lichen"));
    m_window->resize(window);
    m_root->setSize(window);
    QList<QQuickItem *> texts;
    // The panel the texts stand in, where a place has one: looked up again at each check, as the map may
    // make it anew.
    QString panel;
    if (place == "flight bar") {
        navigation()->setSelected(MemberTab::Map);
        QQuickItem *page = nullptr;
        QTRY_VERIFY((page = shown(m_root, "shell.map")));
        auto *map = qvariant_cast<LiveMapModel *>(page->property("model"));
        QVERIFY(map);
        // The member's own flight, climbing on its plan.
        const auto own = [map]() -> std::optional<LiveFlight> {
            const QList<LiveFlight> flights =
                map->hasSnapshot() ? map->snapshot()->flights : QList<LiveFlight>();
            for (const LiveFlight &flight : flights) {
                if (flight.id == QLatin1String("lv-207"))
                    return flight;
            }
            return std::nullopt;
        };
        QTRY_VERIFY(own());
        map->select(*own(), false);
        panel = QStringLiteral("map.flightBar");
        QTRY_VERIFY(shown(scene(), panel)
                    && textsShown(shown(scene(), panel)).contains(QStringLiteral("Progress")));
    } else if (place == "review checks") {
        // A report whose route check is the longest verdict, its callsigns each a labelled row.
        press("admin.report.p-24436");
        panel = QStringLiteral("admin.review.checks");
        QTRY_VERIFY(shown(scene(), panel)
                    && textsShown(shown(scene(), panel)).contains(QStringLiteral("Callsign on the website")));
    } else if (place == "live fleet") {
        navigation()->setSelected(MemberTab::Live);
        panel = QStringLiteral("live.fleet");
        QTRY_VERIFY(shown(scene(), panel) && textsShown(shown(scene(), panel)).contains("From ZSPD"));
    } else if (place == "logbook") {
        navigation()->openLogbook();
        QQuickItem *filters = nullptr;
        QTRY_VERIFY((filters = shown(scene(), "logbook.filter")));
        for (QQuickItem *item : itemsBelow(filters)) {
            if (item->inherits("QQuickText"))
                texts.append(item);
        }
        QCOMPARE(texts.size(), 5);
    } else {
        const QStringList answers{L("参加"), L("感兴趣"), L("不参加")};
        for (QQuickItem *item : itemsBelow(scene())) {
            if (item->inherits("QQuickText") && item->isVisible()
                && answers.contains(item->property("text").toString()))
                texts.append(item);
        }
        QVERIFY(texts.size() >= 3);
    }
    // What does not fit, once the window's layout has settled.
    const auto misfits = [&] {
        QStringList found;
        QQuickItem *frame = panel.isEmpty() ? nullptr : shown(scene(), panel);
        if (frame) {
            texts.clear();
            for (QQuickItem *item : itemsBelow(frame)) {
                if (item->isVisible() && item->inherits("QQuickText")
                    && !item->property("text").toString().isEmpty())
                    texts.append(item);
            }
        }
        for (QQuickItem *text : std::as_const(texts)) {
            const QString shownText = text->property("text").toString();
            if (text->property("truncated").toBool())
                found.append(shownText + QStringLiteral(" is cut"));
            if (frame
                && !frame->mapRectToScene(QRectF(0, 0, frame->width(), frame->height()))
                        .contains(text->mapRectToScene(QRectF(0, 0, text->width(), text->height()))))
                found.append(shownText + QStringLiteral(" stands past its panel's edge"));
            if (text->property("wrapMode").toInt() == 0)
                continue;
            const QFontMetricsF metrics(text->property("font").value<QFont>());
            for (const QString &word : shownText.split(u' ', Qt::SkipEmptyParts)) {
                if (metrics.horizontalAdvance(word) > text->width())
                    found.append(QStringLiteral("\"%1\" breaks in %2 points").arg(word).arg(text->width()));
            }
        }
        return found.join(QStringLiteral("; "));
    };
    // Laid out: nothing of the window waits to be placed.
    QVERIFY(QQuickTest::qWaitForPolish(m_window.get()));
    QTRY_COMPARE(misfits(), QString());
}

// ---- a failure of what the member just did: seen every time

// Each action that can fail, failing twice in a row in the smallest window: both times its notice is heard as
// an alert, stands wholly in view in its page, sheet or panel, and has the keyboard. Before each try the
// keyboard is on the action's own control and the page is scrolled back to its top. Regression: a notice
// showed only where its page remembered to scroll to it, and only when its text was new.
void ScreenRulesTest::failuresShowEveryTime_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("notice");
    const auto row = [](const char *name, const char *scenario, const char *notice) {
        QTest::newRow(qPrintable(QString::fromUtf8(name) + QStringLiteral(" (760×540)")))
            << QString::fromLatin1(scenario) << QString::fromLatin1(notice);
    };
    row("review: a decision", "review decision", "admin.review.error");
    row("review: 撤回问询", "review release", "admin.review.error");
    row("review: 保存倍数", "review multiplier", "admin.review.error");
    row("Live: an application refused", "live apply", "live.apply.message");
    row("Live: unlinking", "live disconnect", "live.message");
    // A review is sent once from its page: the second try is from the page opened again.
    row("Live: a review refused", "live review", "live.review.message");
    row("profile: 使用 IFC 头像, the forum away", "profile forum", "profile.error");
    row("profile: the same unreadable picture", "profile picture", "profile.error");
    row("profile: saving", "profile save", "profile.error");
    row("password: the current one wrong", "password", "password.error");
    row("switcher: an account refused", "switcher add", "account.error");
    row("event: an answer not saved", "attendance", "attendance.error");
    row("event: the members' answers, 重试", "answers", "event.responses.error");
    row("report form: refused", "report form", "pirep.error");
    row("report detail: the upload refused", "report detail", "pirep.detail.error");
    row("sign-in: the password wrong", "sign-in", "login.notice");
    row("inbox: read marks not saved", "inbox", "inbox.error");
    row("waiting screen: the account check's 重试", "gate retry", "gate.error");
    row("waiting screen: 重新登录", "gate signout", "gate.error");
    // A page's own load fails quietly as it opens; its "重试" is the member's.
    row("account page: 重试", "retry account.error", "account.error");
    row("review queue: 重试", "retry admin.error", "admin.error");
    row("dashboard: the profile's 重试", "retry home.profileError", "home.profileError");
    // Regression: a "重试" that failed again with the same text was silent, and nothing changed on screen.
    row("leaderboard: the recent period's 重试", "retry rank.error", "rank.error");
    row("review: the checks' 重试", "retry admin.review.checks.error", "admin.review.checks.error");
}

void ScreenRulesTest::failuresShowEveryTime()
{
    QFETCH(QString, scenario);
    QFETCH(QString, notice);
    openToFail(scenario);
    if (QTest::currentTestFailed())
        return;
    for (int time = 1; time <= 2; ++time) {
        // Scrolled back to the top: the notice must bring itself into view.
        if (QQuickItem *shownNotice = heardControl(scene(), notice)) {
            for (QQuickItem *above = shownNotice->parentItem(); above; above = above->parentItem()) {
                if (above->inherits("QQuickFlickable"))
                    above->setProperty("contentY", 0);
            }
        }
        actToFail(scenario);
        if (QTest::currentTestFailed())
            return;
        checkAlert(notice);
        if (QTest::currentTestFailed()) {
            qWarning("the %s failure of %s", time == 1 ? "first" : "second", qPrintable(scenario));
            return;
        }
    }
}

void ScreenRulesTest::keyboardStaysWhileItWorks_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("control");
    QTest::newRow("检查可用倍数") << "report form check"
                                  << "pirep.checkOptions";
    QTest::newRow("提交 PIREP") << "report form"
                                << "pirep.submit";
    QTest::newRow("上传截图") << "report detail"
                              << "pirep.detail.upload";
    QTest::newRow("提交申请") << "live apply"
                              << "live.apply.submit";
    QTest::newRow("确认审核结果, Live") << "live review"
                                        << "live.review.save";
    QTest::newRow("确认审核结果") << "review decision"
                                  << "admin.review.save";
    QTest::newRow("保存资料") << "profile save"
                              << "profile.save";
    QTest::newRow("登录并保存") << "switcher"
                                << "account.add.submit";
    QTest::newRow("登录并保存, by Return in the password") << "switcher return"
                                                           << "account.add.password";
    QTest::newRow("全部已读") << "inbox"
                              << "inbox.markAll";
    QTest::newRow("刷新, Live") << "refresh live"
                                << "live.refresh";
    QTest::newRow("刷新, the workbench") << "refresh admin"
                                         << "admin.refresh";
}

// Regression: as an action started, its button went off and the keyboard left it for the page (or an unnamed
// item), coming back with the answer: a screen reader said the page between the press and the answer. The
// button keeps the keyboard, with its ring, while what it sent is on its way, and takes no press meanwhile.
void ScreenRulesTest::keyboardStaysWhileItWorks()
{
    QFETCH(QString, scenario);
    QFETCH(QString, control);
    openToFail(scenario, true);
    if (QTest::currentTestFailed())
        return;
    actToFail(scenario);
    if (QTest::currentTestFailed())
        return;
    QTRY_VERIFY(service().heldAnswers() > 0);
    QTRY_VERIFY(heardControl(scene(), control));
    QQuickItem *button = heardControl(scene(), control);
    QVERIFY2(
        m_window->activeFocusItem() == button,
        qPrintable(QStringLiteral("the keyboard is on \"%1\"").arg(heardName(m_window->activeFocusItem()))));
    if (button->inherits("QQuickTextInput")) {
        QVERIFY2(button->property("readOnly").toBool(), "the field takes typing while it works");
    } else {
        QVERIFY2(button->property("visualFocus").toBool(), "the button has lost its ring");
        QVERIFY2(!isEnabled(button), "the button can be pressed again while it works");
    }
    // What says the page works stands wholly in view, its caption too.
    if (scenario == "report detail")
        QTRY_VERIFY2(controlWhen("pirep.detail.working", wholly), "the loader is not wholly in view");
    service().release();
}

void ScreenRulesTest::openToFail(const QString &scenario, bool held)
{
    const QString kind = scenario.section(' ', 0, 0);
    // Refused before the service takes anything: its sample data stays as it was for the other rows.
    const Sample::Fault refused{.status = 500, .held = held, .unheard = true, .method = "POST"};
    if (kind == "review") {
        QVERIFY(showSignedIn("wangfang"));
        const QString how = scenario.section(' ', 1, 1);
        const QString id = how == "release" ? QStringLiteral("p-24421") : QStringLiteral("p-24436");
        if (how == "release")
            press("admin.tile.1");
        press("admin.report." + id);
        QTRY_VERIFY(shown(m_root, "admin.review.save"));
        service().setFault("/api/admin/pireps/" + id + (how == "decision" ? "/review" : "/" + how), refused);
        if (how == "release")
            service().setFault("/api/admin/pireps/" + id + "/hold", refused);
    } else if (kind == "live") {
        if (scenario != "live review") {
            QVERIFY(showSignedIn("lichen"));
            navigation()->setSelected(MemberTab::Live);
            QTRY_VERIFY(shown(m_root, "live.tabs"));
        }
        if (scenario == "live apply") {
            press("live.aircraft.org-vornalia/ac-101");
            QTRY_VERIFY(shown(scene(), "live.aircraft.back"));
            press("live.aircraft.apply");
            QTRY_VERIFY(shown(scene(), "live.departure"));
            QObject *form = modelOf(m_root, "LiveApplicationFormModel");
            QVERIFY(form);
            form->setProperty("departure", "ZBAA");
            form->setProperty("arrival", "ZSSS");
            // The service has one already: a conflict, whose outcome the page behind shows.
            service().setFault("/api/live-schedules/apply",
                               {.status = 409, .held = held, .unheard = true, .method = "POST"});
        } else if (scenario == "live review") {
            QVERIFY(showSignedIn("wangfang"));
            navigation()->setSelected(MemberTab::Live);
            QTRY_VERIFY(shown(m_root, "live.tabs"));
            QObject *live = modelOf(m_root, "LiveTabModel");
            QVERIFY(live);
            live->setProperty("tab", 1);
            service().setFault("/api/live-schedules/application-approve", refused);
        } else {
            service().setFault("/api/live-schedules/authorization-disconnect", refused);
        }
    } else if (kind == "profile") {
        QVERIFY(showSignedIn("lichen"));
        navigation()->setSelected(MemberTab::Account);
        QVERIFY(navigation()->pushPage(NavigationStack::AccountStack, ShellPage::ProfileEdit));
        QTRY_VERIFY(shown(m_root, "account.profileEdit"));
        QObject *form = modelOf(m_root, "ProfileForm");
        QVERIFY(form);
        QTRY_VERIFY(form->property("loaded").toBool());
        if (scenario == "profile forum")
            service().setFault("/u/lichen.json", {.status = 503});
        if (scenario == "profile save")
            service().setFault("/api/profile", refused);
    } else if (kind == "password") {
        QVERIFY(showWindowRoot());
        await(m_app->signIn("zhouning", "temporary-123", false));
        QTRY_VERIFY(shown(m_root, "gate.password"));
    } else if (kind == "switcher") {
        QVERIFY(showSignedIn("lichen"));
        press("account.avatar");
        QTRY_VERIFY(shown(scene(), "account.switcher"));
        QTRY_VERIFY(!m_app->accountBusy()); // the current account is saved as the panel opens
        QObject *switcher = modelOf(scene(), "AccountSwitcherModel");
        QVERIFY(switcher);
        switcher->setProperty("addingAccount", true);
        QTRY_VERIFY(shown(scene(), "account.add.submit"));
        if (held)
            service().setFault("/api/login", {.held = true});
    } else if (kind == "attendance" || kind == "answers") {
        QVERIFY(showSignedIn(kind == "answers" ? "wangfang" : "lichen"));
        if (kind == "answers") {
            // Their first load fails as the page opens; "重试" is the member's.
            service().setFault("/api/admin/event-responses", {.status = 500});
            memberData()->reload(MemberLoad::Events);
            QTRY_VERIFY(!memberData()->events().isEmpty());
        } else {
            service().setFault("/api/member/event-responses", refused);
        }
        openEvent("ev-303");
        if (kind == "answers")
            QTRY_VERIFY(shown(scene(), "event.responses.error"));
    } else if (kind == "report") {
        QVERIFY(showSignedIn("lichen"));
        navigation()->setSelected(MemberTab::Flights);
        if (scenario.startsWith("report form")) {
            press("pirep.new");
            QTRY_VERIFY(shown(m_root, "pirep.submit"));
            QObject *form = modelOf(m_root, "PirepFormModel");
            QVERIFY(form);
            for (const auto &[field, value] :
                 std::initializer_list<std::pair<const char *, const char *>>{{"aircraft", "Airbus A320"},
                                                                              {"departure", "ZGGG"},
                                                                              {"arrival", "ZUUU"},
                                                                              {"livery", "Sichuan Airlines"},
                                                                              {"callsign", "207"},
                                                                              {"hours", "2"},
                                                                              {"minutes", "19"},
                                                                              {"landings", "1"}})
                form->setProperty(field, QString::fromUtf8(value));
            service().setFault("/api/pireps", refused);
            if (scenario == "report form check")
                service().setFault("/api/pireps/multiplier-options?departure=ZGGG&arrival=ZUUU",
                                   {.status = 500, .held = held});
        } else {
            QTRY_VERIFY(reportOf("p-24421"));
            navigation()->push(NavigationStack::FlightStack, PirepRoute{*reportOf("p-24421")});
            QTRY_VERIFY(shown(m_root, "pirep.detail.back"));
            QObject *detail = modelOf(m_root, "PirepDetailModel");
            QVERIFY(detail);
            QTRY_VERIFY(!detail->property("busy").toBool());
            const QUrl picture = m_site.scratchPicture("landing.png");
            QVERIFY(QMetaObject::invokeMethod(detail, "pickPhotos", Q_ARG(QList<QUrl>, {picture})));
            QTRY_COMPARE(detail->property("fileCount").toInt(), 1);
            service().setFault("/api/pireps/p-24421/evidence", refused);
        }
    } else if (kind == "sign-in") {
        QVERIFY(showWindowRoot());
        QTRY_VERIFY(shown(m_root, "login.submit"));
    } else if (kind == "gate") {
        QVERIFY(showWindowRoot());
        service().setFault("/member", {.status = 503});
        if (scenario == "gate signout")
            service().setFault("/api/logout", {.status = 500, .method = "POST"});
        await(m_app->signIn("lichen", "fly-vornalia", false));
        QTRY_VERIFY(shown(m_root, "gate.error"));
    } else if (kind == "refresh") {
        // A page's refresh, once its first load has ended; what it asks for is held back.
        const QString page = scenario.section(' ', 1, 1);
        if (page == "live") {
            QVERIFY(showSignedIn("lichen"));
            navigation()->setSelected(MemberTab::Live);
        } else {
            QVERIFY(showSignedIn("wangfang"));
        }
        QTRY_VERIFY(controlWhen(page + ".refresh", isEnabled));
        service().setFault(page == "live" ? "/api/live-schedules/authorization" : "/api/admin/pireps",
                           {.held = held, .method = "GET"});
    } else if (kind == "inbox") {
        QVERIFY(showSignedIn("lichen"));
        QVERIFY(navigation()->pushPage(NavigationStack::HomeStack, ShellPage::Inbox));
        QTRY_VERIFY(shown(m_root, "inbox.markAll") && shown(m_root, "inbox.markAll")->isEnabled());
        service().setFault("/api/notifications/read", refused);
    } else if (kind == "retry") {
        const QString notice = scenario.section(' ', 1, 1);
        if (notice == "admin.error")
            service().setFault("/api/admin/pireps", {.status = 503});
        const bool staff = notice.startsWith(QLatin1String("admin."));
        QVERIFY(showSignedIn(staff ? "wangfang" : "lichen"));
        if (notice == "rank.error") {
            service().setFault("/api/member/pirep-leaderboard?period=recent", {.status = 500});
            navigation()->setSelected(MemberTab::Account);
            QVERIFY(navigation()->pushPage(NavigationStack::AccountStack, ShellPage::Leaderboard));
            press("rank.period>最近 30 天");
        }
        if (notice == "admin.review.checks.error") {
            // The queue has its list; the review's own fetch of the checks fails as the page opens.
            QTRY_VERIFY(shown(m_root, "admin.report.p-24436"));
            service().setFault("/api/admin/pireps", {.status = 503});
            press("admin.report.p-24436");
        }
        if (notice == "account.error") {
            service().setFault("/api/profile/summary", {.status = 500});
            navigation()->setSelected(MemberTab::Account);
            QVERIFY(navigation()->pushPage(NavigationStack::AccountStack, ShellPage::Profile));
        }
        if (notice == "home.profileError") {
            service().setFault("/api/profile", {.status = 500, .method = "GET"});
            press("home.refresh");
        }
        QTRY_VERIFY(shown(m_root, notice));
    } else {
        QFAIL(qPrintable("no such row: " + scenario));
    }
}

void ScreenRulesTest::actToFail(const QString &scenario)
{
    const QString kind = scenario.section(' ', 0, 0);
    if (kind == "review") {
        const QString how = scenario.section(' ', 1, 1);
        pressByKeyboard(how == "decision" ? "admin.review.save" : "admin.review." + how);
        press("admin.review.confirm");
    } else if (scenario == "live apply") {
        pressByKeyboard("live.apply.submit");
    } else if (scenario == "live review") {
        if (shown(scene(), "live.review.back"))
            press("live.review.back");
        press("live.review.app-10");
        QTRY_VERIFY(shown(scene(), "live.review.save"));
        auto *review =
            qobject_cast<LiveApplicationReviewModel *>(modelOf(m_root, "LiveApplicationReviewModel"));
        QVERIFY(review);
        review->setDecision(QStringLiteral("approved"));
        review->setChecked(true);
        pressByKeyboard("live.review.save");
        press("live.review.confirm");
    } else if (scenario == "live disconnect") {
        pressByKeyboard("live.disconnect");
        press("live.disconnect.confirm");
    } else if (scenario == "profile forum") {
        pressByKeyboard("profile.forumAvatar");
    } else if (scenario == "profile picture") {
        // What the chooser hands over: a file no picture can be read from, picked twice.
        QQuickItem *button = controlWhen("profile.pickPhoto", isEnabled);
        QVERIFY(button);
        button->forceActiveFocus(Qt::TabFocusReason);
        const QString file = m_site.scratchFile("empty.png");
        QFile(file).open(QIODevice::WriteOnly);
        QObject *form = modelOf(m_root, "ProfileForm");
        QVERIFY(form);
        QVERIFY(
            QMetaObject::invokeMethod(form, "pickPhotos", Q_ARG(QList<QUrl>, {QUrl::fromLocalFile(file)})));
    } else if (scenario == "profile save") {
        pressByKeyboard("profile.save");
    } else if (kind == "password") {
        QObject *form = modelOf(m_root, "PasswordForm");
        QVERIFY(form);
        form->setProperty("current", "not-the-password");
        form->setProperty("next", "my-own-password-1");
        form->setProperty("confirmation", "my-own-password-1");
        pressByKeyboard("password.save");
    } else if (kind == "switcher") {
        QObject *switcher = modelOf(scene(), "AccountSwitcherModel");
        QVERIFY(switcher);
        switcher->setProperty("username", "hejing");
        switcher->setProperty("password", "not-the-password");
        if (scenario == "switcher return") {
            shown(scene(), "account.add.password")->forceActiveFocus(Qt::TabFocusReason);
            QTest::keyClick(m_window.get(), Qt::Key_Return);
        } else {
            pressByKeyboard("account.add.submit");
        }
    } else if (kind == "attendance") {
        // An answer other than the one kept (a row before may have saved one): each try sends it.
        QObject *attendance = modelOf(shown(m_root, "shell.event"), "AttendanceButtonsModel");
        QVERIFY(attendance);
        const QStringList titles = attendance->property("titles").toStringList();
        QCOMPARE(titles.size(), 3);
        pressByKeyboard("event.attendance>" + titles.at((attendance->property("selected").toInt() + 1) % 3));
    } else if (kind == "answers") {
        pressByKeyboard("event.responses.error>" + L("重试"));
    } else if (scenario == "report form check") {
        pressByKeyboard("pirep.checkOptions");
    } else if (scenario == "report form") {
        pressByKeyboard("pirep.submit");
        press("pirep.confirmUpload");
    } else if (scenario == "report detail") {
        pressByKeyboard("pirep.detail.upload");
    } else if (scenario == "gate retry") {
        pressByKeyboard("gate.error>" + L("重试"));
    } else if (scenario == "gate signout") {
        pressByKeyboard("gate.signInAgain");
    } else if (kind == "sign-in") {
        QObject *form = modelOf(m_root, "SignInModel");
        QVERIFY(form);
        form->setProperty("username", "lichen");
        form->setProperty("password", "not-the-password");
        pressByKeyboard("login.submit");
    } else if (kind == "inbox") {
        pressByKeyboard("inbox.markAll");
    } else if (kind == "refresh") {
        pressByKeyboard(scenario.section(' ', 1, 1) + ".refresh");
    } else if (scenario == "retry admin.review.checks.error") {
        pressByKeyboard("admin.review.checks.retry");
    } else if (kind == "retry") {
        pressByKeyboard(scenario.section(' ', 1, 1) + ">" + L("重试"));
    }
}

QTEST_MAIN(ScreenRulesTest)
#include "tst_screen_rules.moc"
