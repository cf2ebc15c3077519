// The shared components: their rules without a window, and the QML views built on them.
#include "Airports.h"
#include "AvatarPicture.h"
#include "ColumnsLayout.h"
#include "Contrast.h"
#include "L.h"
#include "LanguageScope.h"
#include "Symbols.h"
#include "ViewRules.h"
#include "ViewTestSupport.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlParserStatus>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>
#include <QtTest>

#include <cmath>
#include <memory>

Q_IMPORT_QML_PLUGIN(Vorna_UiPlugin)

using TestSupport::contrast;
using TestSupport::LanguageScope;
using TestSupport::luminance;

namespace {

// The shared components' views: QtQuick and Vorna.Ui imported.
class Views : public TestSupport::Views
{
public:
    Views()
        : TestSupport::Views("import QtQuick\nimport Vorna.Ui\nimport Vorna.Images\n")
    {
    }
};

// Puts the item in the window and brings the window up with the keyboard's focus.
bool showActive(QQuickWindow &window, QQuickItem *item)
{
    item->setParentItem(window.contentItem());
    window.show();
    window.requestActivate();
    return QTest::qWaitForWindowActive(&window, TestSupport::patience);
}

// The visible items under root that show the text, found through the item tree (a repeater's items are
// not its QObject children).
QList<QQuickItem *> visibleTexts(QQuickItem *root, const QString &text)
{
    QList<QQuickItem *> found;
    for (QQuickItem *item : root->childItems()) {
        if (item->property("text").toString() == text && item->isVisible())
            found.append(item);
        found.append(visibleTexts(item, text));
    }
    return found;
}

} // namespace

class ComponentsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void discSymbolDrawsEachLayerInItsColour_data();
    void discSymbolDrawsEachLayerInItsColour();

    void sizeClasses_data();
    void sizeClasses();
    void progressClampsAndRounds_data();
    void progressClampsAndRounds();
    void percentInEnglish();
    void dateTexts_data();
    void dateTexts();
    void infoTileValueLines_data();
    void infoTileValueLines();
    void routeTexts_data();
    void routeTexts();
    void widestWords_data();
    void widestWords();
    void lengthCounts_data();
    void lengthCounts();
    void arrowOutline_data();
    void arrowOutline();
    void columnCells_data();
    void columnCells();
    void columnsLayOutTheirChildren();
    void revealedOffsets_data();
    void revealedOffsets();
    void revealKeepsAListsTopGap();
    void scrollingKeys_data();
    void scrollingKeys();
    void avatarCrops_data();
    void avatarCrops();
    void avatarChoosesItsPicture();

    void everyComponentBuilds_data();
    void everyComponentBuilds();
    void pageCapsItsColumn_data();
    void pageCapsItsColumn();
    void buttonsCentreTheirLabel_data();
    void buttonsCentreTheirLabel();
    void adaptiveColumnsFollowTheWindow_data();
    void adaptiveColumnsFollowTheWindow();
    void routeLineNamesLine();
    void errorNoticeRetry();
    void infoGridFixedTiles();
    void returnPressesAFocusedButton_data();
    void returnPressesAFocusedButton();
    void removingTheIntroFinishesIt();
    void segmentedPickerArrowKeys();
    void menuOfChoicesKeepsItsMark_data();
    void menuOfChoicesKeepsItsMark();
    void segmentedPickerFillsTheChoice_data();
    void segmentedPickerFillsTheChoice();
    void controlStatesStandOut_data();
    void controlStatesStandOut();
    void slateTextStandsOut_data();
    void slateTextStandsOut();
    void statusPillFollowsTheAppearance_data();
    void statusPillFollowsTheAppearance();
    void waitingScreenReadsClearOfItsArt_data();
    void waitingScreenReadsClearOfItsArt();
    void menuKeysOpenTheMenu();
    void listKeysFollowTheKeyboard_data();
    void listKeysFollowTheKeyboard();
};

void ComponentsTest::initTestCase() { qputenv("LANGUAGE", "zh_CN"); }

void ComponentsTest::discSymbolDrawsEachLayerInItsColour_data()
{
    QTest::addColumn<QColor>("mark");
    QTest::addColumn<QColor>("disc");
    // A screenshot's remove button over its picture: a white x on a dark translucent disc.
    QTest::newRow("white on dark") << QColor(Qt::white) << QColor(0, 0, 0, 140);
    // The flight bar's close button: a muted x on a lighter disc of the same colour.
    QTest::newRow("muted on light") << QColor(0x6b, 0x72, 0x80) << QColor(0x6b, 0x72, 0x80, 51);
}

// Regression: the one-colour glyph cut the x out of its disc, so the remove button showed a white disc with
// the picture through a dark x, and the bar's close button a solid muted disc: each layer its own colour.
void ComponentsTest::discSymbolDrawsEachLayerInItsColour()
{
    QFETCH(QColor, mark);
    QFETCH(QColor, disc);
    const QColor behind(0xe0, 0xe0, 0xe0);
    Views views;
    const auto stage = views.make(
        QByteArray("Rectangle { width: 80; height: 80; color: \"") + behind.name().toLatin1()
        + "\"; DiscSymbol { x: 10; y: 10; size: 52; color: \"" + mark.name(QColor::HexArgb).toLatin1()
        + "\"; discColor: \"" + disc.name(QColor::HexArgb).toLatin1() + "\" } }");
    QVERIFY2(stage, qPrintable(views.warnings().join('\n')));
    QQuickWindow window;
    window.resize(80, 80);
    stage->setParentItem(window.contentItem());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, TestSupport::patience));
    auto *symbol = stage->childItems().constFirst();
    const QPointF middle = symbol->mapToScene(QPointF(symbol->width() / 2, symbol->height() / 2));
    const double radius = symbol->width() / 2;
    const auto near = [](QColor drawn, QColor wanted) {
        return std::abs(drawn.red() - wanted.red()) + std::abs(drawn.green() - wanted.green())
                   + std::abs(drawn.blue() - wanted.blue())
               <= 12;
    };
    const auto over = [&](QColor top) {
        const double a = top.alphaF();
        return QColor::fromRgbF(top.redF() * a + behind.redF() * (1 - a),
                                top.greenF() * a + behind.greenF() * (1 - a),
                                top.blueF() * a + behind.blueF() * (1 - a));
    };
    const QColor onDisc = over(disc);
    QImage drawn;
    // Where the x crosses, the mark over the disc; between its arms, the disc alone; outside, what lies
    // behind.
    QTRY_VERIFY2((drawn = window.grabWindow(), near(drawn.pixelColor(middle.toPoint()), over(mark))),
                 qPrintable(drawn.pixelColor(middle.toPoint()).name()));
    const QPoint betweenArms = (middle + QPointF(0, -radius * 0.7)).toPoint();
    QVERIFY2(near(drawn.pixelColor(betweenArms), onDisc), qPrintable(drawn.pixelColor(betweenArms).name()));
    QVERIFY2(near(drawn.pixelColor(2, 2), behind), qPrintable(drawn.pixelColor(2, 2).name()));
}

void ComponentsTest::sizeClasses_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<bool>("regular");
    QTest::newRow("wide window") << 1400.0 << true;
    QTest::newRow("just regular") << 700.0 << true;
    QTest::newRow("narrow pane") << 699.0 << false;
    QTest::newRow("no window yet") << 0.0 << false;
}

void ComponentsTest::sizeClasses()
{
    // What each size class lays out is checked on the page and the columns below.
    QFETCH(double, width);
    QFETCH(bool, regular);
    QCOMPARE(ComponentRules::isRegular(width), regular);
}

void ComponentsTest::progressClampsAndRounds_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<QString>("text");
    QTest::newRow("below 0") << -0.2 << 0.0 << "0%";
    QTest::newRow("above 1") << 1.7 << 1.0 << "100%";
    QTest::newRow("half a percent rounds up") << 0.005 << 0.005 << "1%";
    QTest::newRow("0.456") << 0.456 << 0.456 << "46%";
    QTest::newRow("0.994") << 0.994 << 0.994 << "99%";
    QTest::newRow("not a number") << std::nan("") << 0.0 << "0%";
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 1.0 << "100%";
}

void ComponentsTest::progressClampsAndRounds()
{
    QFETCH(double, value);
    QFETCH(double, fraction);
    QFETCH(QString, text);
    QCOMPARE(ComponentRules::progressFraction(value), fraction);
    QCOMPARE(ComponentRules::percentText(value), text);
}

void ComponentsTest::percentInEnglish()
{
    // The key's own placeholder survives the English table and takes the number.
    LanguageScope english("en_US");
    QCOMPARE(ComponentRules::percentText(0.456), QStringLiteral("46%"));
    QCOMPARE(ComponentRules::routeLabel(QStringLiteral("ZSPD"), QStringLiteral("RJTT")),
             QStringLiteral("ZSPD → RJTT"));
    QCOMPARE(ComponentRules::dateText(std::nullopt), QStringLiteral("—"));
}

void ComponentsTest::dateTexts_data()
{
    QTest::addColumn<double>("timestamp");
    QTest::addColumn<double>("sameInstant"); // NaN: the text is the dash
    const double none = std::nan("");
    QTest::newRow("missing") << none << none;
    QTest::newRow("zero") << 0.0 << none;
    QTest::newRow("negative") << -1.0 << none;
    QTest::newRow("seconds and milliseconds") << 1700000000.0 << 1700000000000.0;
    QTest::newRow("milliseconds from 1e12") << 1e12 << 1e9;
}

void ComponentsTest::dateTexts()
{
    QFETCH(double, timestamp);
    QFETCH(double, sameInstant);
    const QString text = ComponentRules::dateText(timestamp);
    if (std::isnan(sameInstant)) {
        QCOMPARE(text, QStringLiteral("—"));
        return;
    }
    QVERIFY(text != QStringLiteral("—"));
    QCOMPARE(text, ComponentRules::dateText(sameInstant));
}

void ComponentsTest::infoTileValueLines_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<int>("shownLines");
    QTest::newRow("free height ignores lines") << QByteArray("lines: 5") << 2;
    QTest::newRow("fixed height, three lines") << QByteArray("tileHeight: 90; lines: 3") << 3;
    QTest::newRow("fixed height, no lines still shows one") << QByteArray("tileHeight: 90; lines: 0") << 1;
}

void ComponentsTest::infoTileValueLines()
{
    // A long value shows as many lines as its tile allows and no more.
    QFETCH(QByteArray, settings);
    QFETCH(int, shownLines);
    const QString value = QStringLiteral("很长的涂装名称").repeated(12);
    Views views;
    const auto grid =
        views.make("InfoGrid { width: 400; " + settings + "; items: [InfoItem { title: \"涂装\"; value: \""
                   + value.toUtf8() + "\" }] }");
    QVERIFY(grid);
    QQuickWindow window;
    window.resize(400, 300);
    grid->setParentItem(window.contentItem());
    window.show(); // the tile's texts take their width before a frame
    const QList<QQuickItem *> shown = visibleTexts(grid.get(), value);
    QCOMPARE(shown.size(), 1);
    QTRY_COMPARE(shown.constFirst()->property("lineCount").toInt(), shownLines);
    QVERIFY(views.warnings().isEmpty());
}

void ComponentsTest::routeTexts_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("fromName");
    QTest::addColumn<QString>("toName");
    QTest::addColumn<bool>("reserves");
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("namesShown");
    QTest::newRow("everything") << "2 小时 5 分"
                                << "上海浦东"
                                << "东京羽田" << false << "2 小时 5 分, 上海浦东, 东京羽田" << true;
    QTest::newRow("nothing") << ""
                             << ""
                             << "" << false << "" << false;
    QTest::newRow("nothing, line reserved") << ""
                                            << ""
                                            << "" << true << "" << true;
    QTest::newRow("arrival only") << ""
                                  << ""
                                  << "东京羽田" << false << "东京羽田" << true;
    QTest::newRow("caption only") << "45 分"
                                  << ""
                                  << "" << false << "45 分" << false;
}

void ComponentsTest::routeTexts()
{
    QFETCH(QString, caption);
    QFETCH(QString, fromName);
    QFETCH(QString, toName);
    QFETCH(bool, reserves);
    QFETCH(QString, description);
    QFETCH(bool, namesShown);
    QCOMPARE(ComponentRules::routeDescription(caption, fromName, toName), description);
    QCOMPARE(ComponentRules::showsRouteNames(fromName, toName, reserves), namesShown);
}

void ComponentsTest::widestWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("widest"); // the part whose width it is
    QTest::newRow("two words") << "Pending review"
                               << "Pending";
    QTest::newRow("the longer word last") << "Not approved"
                                          << "approved";
    QTest::newRow("one word") << "Inquiry"
                              << "Inquiry";
    QTest::newRow("Chinese breaks between characters") << "待审核"
                                                       << "待";
    QTest::newRow("a hyphen may end a line") << "Sign-in"
                                             << "Sign-";
    QTest::newRow("nothing") << ""
                             << "";
}

// Regression: the logbook's filters broke inside their words ("Pendin", "g rev…"): a segment is never
// narrower than the widest part of its title that a line may not break inside.
void ComponentsTest::widestWords()
{
    QFETCH(QString, text);
    QFETCH(QString, widest);
    QFont font;
    font.setPixelSize(12);
    font.setWeight(QFont::DemiBold);
    QCOMPARE(ComponentRules::widestWord(text, font),
             std::ceil(QFontMetricsF(font).horizontalAdvance(widest)));
}

void ComponentsTest::lengthCounts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("over");
    QTest::newRow("far from the limit") << QString(399, u'字') << 500 << QString() << false;
    QTest::newRow("within a fifth") << QString(400, u'字') << 500 << QString("400/500") << false;
    QTest::newRow("at the limit") << QString(500, u'字') << 500 << QString("500/500") << false;
    QTest::newRow("past it") << QString(501, u'x') << 500 << QString("501/500") << true;
    // An emoji with its skin tone is one character to the reader, two code points, four UTF-16 units.
    QTest::newRow("as a reader counts")
        << QString(399, u'x') + QStringLiteral("👍🏽") << 500 << QString("400/500") << false;
    QTest::newRow("no limit") << QString(5000, u'x') << 0 << QString() << false;
}

void ComponentsTest::lengthCounts()
{
    QFETCH(QString, text);
    QFETCH(int, limit);
    QFETCH(QString, count);
    QFETCH(bool, over);
    QCOMPARE(ComponentRules::lengthCount(text, limit), count);
    QCOMPARE(ComponentRules::overLimit(text, limit), over);
    QCOMPARE(ComponentRules::lengthCountDescription(text, limit).isEmpty(), count.isEmpty());
}

void ComponentsTest::arrowOutline_data()
{
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<QPointF>("onBar");
    QTest::addColumn<QPointF>("offBar");
    QTest::newRow("wide") << QRectF(0, 0, 100, 10) << QPointF(50, 5) << QPointF(50, 2);
    QTest::newRow("4 wide: only the head, reaching past the left edge")
        << QRectF(0, 0, 4, 10) << QPointF(-3, 5) << QPointF(-6, 5);
}

void ComponentsTest::arrowOutline()
{
    QFETCH(QRectF, rect);
    QFETCH(QPointF, onBar);
    QFETCH(QPointF, offBar);
    const QPainterPath arrow = ComponentRules::arrowOutline(rect);
    QVERIFY(arrow.contains(onBar));
    QVERIFY(!arrow.contains(offBar));
    // The head: 9 long, 10 high, its tip on the right edge at mid height.
    const QRectF bounds = arrow.boundingRect();
    QCOMPARE(bounds.right(), rect.right());
    QCOMPARE(bounds.top(), rect.center().y() - 5);
    QCOMPARE(bounds.bottom(), rect.center().y() + 5);
    QCOMPARE(bounds.left(), std::min(rect.left(), rect.right() - 9));
    QVERIFY(arrow.contains(QPointF(rect.right() - 1, rect.center().y())));
    QVERIFY(!arrow.contains(QPointF(rect.right() - 5, rect.center().y() - 4.5)));
}

void ComponentsTest::columnCells_data()
{
    QTest::addColumn<QList<double>>("heights");
    QTest::addColumn<int>("columns");
    QTest::addColumn<ColumnsLayout::RowFit>("fit");
    QTest::addColumn<QList<QRectF>>("cells");
    QTest::newRow("two columns, odd count, top aligned")
        << QList<double>{40, 60, 30} << 2 << ColumnsLayout::Top
        << QList<QRectF>{{0, 0, 95, 40}, {105, 0, 95, 60}, {0, 70, 95, 30}};
    QTest::newRow("two columns, centred rows") << QList<double>{40, 60} << 2 << ColumnsLayout::Centre
                                               << QList<QRectF>{{0, 10, 95, 40}, {105, 0, 95, 60}};
    // Cards of a row end together; the odd one keeps its column's width.
    QTest::newRow("two columns, filled rows")
        << QList<double>{40, 60, 30} << 2 << ColumnsLayout::Fill
        << QList<QRectF>{{0, 0, 95, 60}, {105, 0, 95, 60}, {0, 70, 95, 30}};
    QTest::newRow("one column stacks") << QList<double>{40, 60} << 1 << ColumnsLayout::Top
                                       << QList<QRectF>{{0, 0, 200, 40}, {0, 50, 200, 60}};
    QTest::newRow("no columns counts as one")
        << QList<double>{5} << 0 << ColumnsLayout::Top << QList<QRectF>{{0, 0, 200, 5}};
    QTest::newRow("nothing") << QList<double>{} << 2 << ColumnsLayout::Top << QList<QRectF>{};
}

void ComponentsTest::columnCells()
{
    QFETCH(QList<double>, heights);
    QFETCH(int, columns);
    QFETCH(ColumnsLayout::RowFit, fit);
    QFETCH(QList<QRectF>, cells);
    QCOMPARE(ColumnsLayout::arrange(heights, 200, columns, 10, 10, fit), cells);
}

void ComponentsTest::columnsLayOutTheirChildren()
{
    ColumnsLayout layout;
    layout.setWidth(310);
    layout.setSpacing(10);
    layout.setRowSpacing(12);
    QQuickItem a(&layout), b(&layout), hidden(&layout), c(&layout);
    a.setImplicitHeight(30);
    b.setImplicitHeight(50);
    hidden.setImplicitHeight(500);
    hidden.setVisible(false);
    c.setImplicitHeight(20);
    layout.layoutChildren();
    QCOMPARE(QRectF(a.position(), a.size()), QRectF(0, 0, 150, 30));
    QCOMPARE(QRectF(b.position(), b.size()), QRectF(160, 0, 150, 50));
    QCOMPARE(QRectF(c.position(), c.size()), QRectF(0, 62, 150, 20));
    QCOMPARE(layout.implicitHeight(), 82.0); // a hidden child takes no place

    layout.setColumns(1);
    layout.layoutChildren();
    QCOMPARE(QRectF(b.position(), b.size()), QRectF(0, 42, 310, 50));
    QCOMPARE(layout.implicitHeight(), 30 + 12 + 50 + 12 + 20.0);
}

void ComponentsTest::revealedOffsets_data()
{
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("bottom");
    QTest::addColumn<double>("offset"); // from 100, in a view 400 high, with 16 around
    QTest::newRow("in view: no move") << 200.0 << 250.0 << 100.0;
    QTest::newRow("below: its foot comes up") << 600.0 << 650.0 << 266.0;
    QTest::newRow("above: its head comes down") << 50.0 << 80.0 << 34.0;
    QTest::newRow("taller than the view: its head") << 300.0 << 800.0 << 284.0;
}

void ComponentsTest::revealedOffsets()
{
    QFETCH(double, top);
    QFETCH(double, bottom);
    QFETCH(double, offset);
    QCOMPARE(ComponentRules::revealedOffset(100, 400, top, bottom, 16), offset);
}

// Regression: a row brought into view put the inbox's first card against its top edge: the list's gap above
// its rows (its top margin) was taken for content to scroll past.
void ComponentsTest::revealKeepsAListsTopGap()
{
    Views views;
    const auto list =
        views.make("ListView { width: 300; height: 200; topMargin: 12; bottomMargin: 24; spacing: 8;"
                   " model: 8; delegate: Rectangle { required property int index;"
                   " objectName: 'row' + index; width: 300; height: 50 } }");
    QVERIFY2(list, qPrintable(views.warnings().join('\n')));
    QQuickWindow window;
    window.resize(300, 200);
    QVERIFY(showActive(window, list.get()));
    QVERIFY(QQuickTest::qWaitForPolish(&window));
    const auto row = [&list](const QString &name) -> QQuickItem * {
        const QList<QQuickItem *> rows = list->property("contentItem").value<QQuickItem *>()->childItems();
        for (QQuickItem *item : rows) {
            if (item->objectName() == name)
                return item;
        }
        return nullptr;
    };
    QVERIFY(row("row0"));
    list->setProperty("contentY", 100);
    ComponentRules::revealIn(list.get(), row("row0"));
    QCOMPARE(list->property("contentY").toDouble(), -12.0);
    // At the far end the bottom margin is room to scroll into: the last row's foot 16 points above the
    // view's.
    QMetaObject::invokeMethod(list.get(), "positionViewAtEnd");
    QVERIFY(QQuickTest::qWaitForPolish(&window));
    QVERIFY(row("row7"));
    list->setProperty("contentY", 0);
    ComponentRules::revealIn(list.get(), row("row7"));
    QCOMPARE(list->property("contentY").toDouble(), 8 * 50 + 7 * 8 + 16 - 200.0);
}

void ComponentsTest::scrollingKeys_data()
{
    // A view of 400 over 1000 of content, scrolled to 100.
    QTest::addColumn<int>("key");
    QTest::addColumn<double>("offset");
    QTest::addColumn<double>("expected");
    QTest::newRow("page down keeps a tenth in sight") << int(Qt::Key_PageDown) << 100.0 << 460.0;
    QTest::newRow("page down stops at the end") << int(Qt::Key_PageDown) << 500.0 << 600.0;
    QTest::newRow("page up stops at the top") << int(Qt::Key_PageUp) << 100.0 << 0.0;
    QTest::newRow("page up") << int(Qt::Key_PageUp) << 600.0 << 240.0;
    QTest::newRow("home") << int(Qt::Key_Home) << 300.0 << 0.0;
    QTest::newRow("end") << int(Qt::Key_End) << 0.0 << 600.0;
    QTest::newRow("another key does not scroll") << int(Qt::Key_Down) << 100.0 << -1.0;
}

void ComponentsTest::scrollingKeys()
{
    QFETCH(int, key);
    QFETCH(double, offset);
    QFETCH(double, expected);
    QCOMPARE(ComponentRules::keyedOffset(key, offset, 400, 1000).value_or(-1), expected);
    // Content shorter than its view never scrolls.
    if (expected >= 0)
        QCOMPARE(ComponentRules::keyedOffset(key, 0, 400, 300), std::optional<double>(0));
}

void ComponentsTest::avatarCrops_data()
{
    QTest::addColumn<QSizeF>("picture");
    QTest::addColumn<QRectF>("crop");
    QTest::newRow("landscape keeps the middle") << QSizeF(400, 200) << QRectF(100, 0, 200, 200);
    QTest::newRow("portrait keeps the middle") << QSizeF(120, 300) << QRectF(0, 90, 120, 120);
    QTest::newRow("square keeps all") << QSizeF(64, 64) << QRectF(0, 0, 64, 64);
}

void ComponentsTest::avatarCrops()
{
    QFETCH(QSizeF, picture);
    QFETCH(QRectF, crop);
    QCOMPARE(AvatarPicture::squareCrop(picture), crop);
}

void ComponentsTest::avatarChoosesItsPicture()
{
    AvatarPicture avatar;
    avatar.setSize(QSizeF(40, 40));
    static_cast<QQmlParserStatus &>(avatar).componentComplete();
    QVERIFY(avatar.empty());

    // A bundled picture at an address.
    avatar.setSource(QUrl(QStringLiteral("qrc:/qt/qml/Vorna/Ui/brand/BrandMark.svg")));
    QVERIFY(!avatar.empty());
    // An address that leads nowhere, or a remote one, leaves the placeholder.
    avatar.setSource(QUrl(QStringLiteral("qrc:/no/such/picture.png")));
    QVERIFY(avatar.empty());
    avatar.setSource(QUrl(QStringLiteral("https://example.org/avatar.png")));
    QVERIFY(avatar.empty());

    // A picture in memory wins over the address, and is drawn into the circle only.
    QImage wide(80, 40, QImage::Format_ARGB32_Premultiplied);
    wide.fill(Qt::red);
    QPainter(&wide).fillRect(QRect(0, 0, 20, 40), Qt::blue); // cropped away
    QSignalSpy shown(&avatar, &AvatarPicture::shownChanged);
    avatar.setImage(QVariant(wide));
    QVERIFY(!avatar.empty());
    QCOMPARE(shown.size(), 1);
    QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    avatar.paint(&painter);
    painter.end();
    QCOMPARE(canvas.pixelColor(20, 20), QColor(Qt::red));
    QCOMPARE(canvas.pixelColor(2, 20), QColor(Qt::red)); // the blue strip lies outside the square crop
    QCOMPARE(canvas.pixelColor(1, 1).alpha(), 0);        // outside the circle
    avatar.setImage(QVariant());
    QVERIFY(avatar.empty());
    avatar.setImage(QVariant(QStringLiteral("not a picture")));
    QVERIFY(avatar.empty());
}

void ComponentsTest::everyComponentBuilds_data()
{
    QTest::addColumn<QByteArray>("qml");
    QTest::newRow("Page") << QByteArray("Page { width: 400; height: 300; Card { Text { text: \"a\" } } }");
    QTest::newRow("Card") << QByteArray("Card { padding: 18; spacing: 4; Text { text: \"a\" } }");
    QTest::newRow("SectionHeading") << QByteArray(
        "SectionHeading { title: \"t\"; subtitle: \"s\"; Text {} }");
    QTest::newRow("ErrorNotice") << QByteArray("ErrorNotice { message: \"m\"; retryable: true }");
    QTest::newRow("PressableStyle") << QByteArray("PressableStyle { contentItem: Card {} }");
    QTest::newRow("GlassButton") << QByteArray(
        "GlassButton { text: \"b\"; prominent: true; symbol: \"plus\" }");
    QTest::newRow("Chip") << QByteArray("Chip { text: \"c\"; symbol: \"clock\"; tint: Theme.approved }");
    QTest::newRow("StatusPill") << QByteArray(
        "StatusPill { statusTitle: \"已批准\"; verdictColor: Theme.Approved }");
    QTest::newRow("DetailSection") << QByteArray(
        "DetailSection { title: \"t\"; symbol: \"doc.text\"; Text {} }");
    QTest::newRow("FormHeader") << QByteArray("FormHeader { title: \"t\"; symbol: \"airplane\" }");
    QTest::newRow("Metric") << QByteArray("Metric { title: \"t\"; value: \"12\"; symbol: \"clock\" }");
    QTest::newRow("InfoGrid") << QByteArray(
        "InfoGrid { width: 300; items: [InfoItem { title: \"a\"; value: \"b\" }] }");
    QTest::newRow("RowLabel") << QByteArray(
        "RowLabel { title: \"t\"; symbol: \"bell\"; value: \"v\"; chevron: true }");
    QTest::newRow("AccountAvatar") << QByteArray("AccountAvatar { size: 40 }");
    QTest::newRow("DateValue") << QByteArray("DateValue { timestamp: 1700000000 }");
    QTest::newRow("AdaptiveColumns") << QByteArray("AdaptiveColumns { width: 300; Item {} Item {} }");
    QTest::newRow("ProgressBar") << QByteArray("ProgressBar { value: 0.4 }");
    QTest::newRow("RouteLine") << QByteArray("RouteLine { from: \"ZSPD\"; to: \"RJTT\"; caption: \"c\" }");
    QTest::newRow("RouteArrow") << QByteArray("RouteArrow { width: 40; height: 10; color: Theme.accent }");
    QTest::newRow("HeroBackground") << QByteArray("HeroBackground { width: 200; height: 80; radius: 20 }");
    QTest::newRow("BrandLoader") << QByteArray("BrandLoader { size: 200; caption: \"c\" }");
    QTest::newRow("InlineLoader") << QByteArray("InlineLoader {}");
    QTest::newRow("ToggleSwitch") << QByteArray("ToggleSwitch { text: \"s\"; checked: true }");
    QTest::newRow("NoteField") << QByteArray(
        "NoteField { width: 300; maximumLength: 10; text: \"0123456789x\" }");
    QTest::newRow("MenuRow") << QByteArray("import QtQuick.Controls\nMenuRow { action: Action { text: "
                                           "\"&Quit\"; shortcut: StandardKey.Quit } }");
    QTest::newRow("BrandStage") << QByteArray("BrandStage { width: 400; height: 300; Text {} }");
    QTest::newRow("BrandIntro") << QByteArray("BrandIntro { width: 400; height: 300 }");
    QTest::newRow("BrandWaitingView")
        << QByteArray("BrandWaitingView { width: 400; height: 300; message: \"m\" }");
    QTest::newRow("BrandLogo") << QByteArray("BrandLogo { size: 64 }");
    QTest::newRow("SegmentedPicker") << QByteArray(
        "SegmentedPicker { options: [{title: \"全部\", value: 0}, {title: \"最近 30 天\", value: 1}] }");
    QTest::newRow("FilterRow") << QByteArray("FilterRow { title: \"时间范围\"; Text { text: \"a\" } }");
    QTest::newRow("EmptyState") << QByteArray(
        "EmptyState { symbol: \"trophy\"; title: \"暂无排名\"; description: \"d\" }");
}

void ComponentsTest::everyComponentBuilds()
{
    QFETCH(QByteArray, qml);
    Views views;
    const auto item = views.make(qml);
    QVERIFY2(item, qPrintable(views.warnings().join('\n')));
    QVERIFY2(views.warnings().isEmpty(), qPrintable(views.warnings().join('\n')));
    QVERIFY(item->implicitWidth() > 0 || item->width() > 0);
}

void ComponentsTest::pageCapsItsColumn_data()
{
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<double>("columnWidth");
    QTest::newRow("wide window: capped at 1100 with 24 each side") << 1500 << 1100.0 - 48;
    QTest::newRow("regular: the window less 24 each side") << 900 << 900.0 - 48;
    QTest::newRow("compact: the window less 16 each side") << 600 << 600.0 - 32;
}

void ComponentsTest::pageCapsItsColumn()
{
    QFETCH(int, windowWidth);
    QFETCH(double, columnWidth);
    Views views;
    QQuickWindow window;
    window.resize(windowWidth, 500);
    const auto page = views.make("Page { Card { objectName: \"card\" } }");
    QVERIFY(page);
    page->setParentItem(window.contentItem());
    page->setSize(window.size());
    window.show(); // layouts settle before a frame
    auto *card = page->findChild<QQuickItem *>(QStringLiteral("card"));
    QVERIFY(card);
    QTRY_COMPARE(card->width(), columnWidth);
    // The column stands in the middle.
    const QPointF left = card->mapToItem(page.get(), QPointF(0, 0));
    QCOMPARE(left.x(), (windowWidth - columnWidth) / 2);
    QVERIFY(views.warnings().isEmpty());
}

void ComponentsTest::buttonsCentreTheirLabel_data()
{
    QTest::addColumn<QByteArray>("qml");
    // A label stretched across the button: its symbol and title stand together in the middle, not the symbol
    // at the leading edge and the title in the middle of the rest.
    QTest::newRow("glass, stretched")
        << QByteArray("GlassButton { width: 420; text: \"编辑个人资料\"; symbol: \"pencil\" }");
    QTest::newRow("bordered, stretched")
        << QByteArray("BorderedButton { width: 420; text: \"上传头像\"; symbol: \"photo\" }");
    // At its own width the title stands whole: the layout around it rounds the room it gives down, and a
    // title a fraction of a pixel wider was cut.
    QTest::newRow("bordered, its own width")
        << QByteArray("BorderedButton { text: \"Use a saved account\" }");
    QTest::newRow("glass, its own width")
        << QByteArray("GlassButton { text: \"Use a saved account\"; symbol: \"person.crop.circle\" }");
}

// The title whole, and the label (symbol and title) centred on the button.
void ComponentsTest::buttonsCentreTheirLabel()
{
    QFETCH(QByteArray, qml);
    Views views;
    QQuickWindow window;
    window.resize(600, 200);
    const auto button = views.make(qml);
    QVERIFY(button);
    button->setParentItem(window.contentItem());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, TestSupport::patience)); // laid out before its first frame
    const QString title = button->property("text").toString();
    const QList<QQuickItem *> titles = visibleTexts(button.get(), title);
    QCOMPARE(titles.size(), 1);
    QQuickItem *text = titles.constFirst();
    QTRY_VERIFY2(!text->property("truncated").toBool(), qPrintable(title + " is cut"));
    // Where the label draws: the symbol's box, if it has one, to the title's glyphs.
    const double glyphs = text->property("contentWidth").toReal();
    double left = text->mapToItem(button.get(), QPointF((text->width() - glyphs) / 2, 0)).x();
    const double right = left + glyphs;
    const QString symbol = button->property("symbol").toString();
    const QList<QQuickItem *> symbols =
        symbol.isEmpty() ? QList<QQuickItem *>() : visibleTexts(button.get(), Symbols().glyph(symbol));
    QCOMPARE(symbols.size(), symbol.isEmpty() ? 0 : 1);
    if (!symbols.isEmpty())
        left = std::min(left, symbols.constFirst()->mapToItem(button.get(), QPointF(0, 0)).x());
    QVERIFY2(std::abs((left + right) / 2 - button->width() / 2) < 1.5,
             qPrintable(
                 QStringLiteral("the label spans %1 to %2 of %3").arg(left).arg(right).arg(button->width())));
}

void ComponentsTest::adaptiveColumnsFollowTheWindow_data()
{
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("columns");
    QTest::newRow("regular") << 1000 << 760 << 2;
    QTest::newRow("regular, just room for two") << 1000 << 696 << 2;
    // Regression: a 760-point window's pane beside the sidebar cut the event cards' codes, dates and answers.
    QTest::newRow("regular, too narrow a pane") << 760 << 500 << 1;
    QTest::newRow("compact") << 600 << 760 << 1;
}

void ComponentsTest::adaptiveColumnsFollowTheWindow()
{
    QFETCH(int, windowWidth);
    QFETCH(int, width);
    QFETCH(int, columns);
    Views views;
    QQuickWindow window;
    window.resize(windowWidth, 500);
    const auto item = views.make("AdaptiveColumns { width: " + QByteArray::number(width) + " }");
    QVERIFY(item);
    item->setParentItem(window.contentItem());
    window.show();
    QTRY_COMPARE(item->property("columns").toInt(), columns);
}

void ComponentsTest::routeLineNamesLine()
{
    Views views;
    // The line asks the airport tables itself; "XXXX" is no airport.
    const auto line = [&views](const QByteArray &from, const QByteArray &to, const QByteArray &more) {
        return views.make("RouteLine { id: r; width: 320; from: \"" + from + "\"; to: \"" + to
                          + "\"; "
                            "property string label: r.Accessible.name; "
                            "property string value: r.Accessible.description; "
                          + more + " }");
    };
    const auto bare = line("XXXX", "XXXX", "");
    const auto reserved = line("XXXX", "XXXX", "reservesNames: true");
    const auto named = line("ZSPD", "RJTT", "caption: \"2 小时\"");
    const auto arrivalOnly = line("XXXX", "RJTT", "");
    QVERIFY(bare && reserved && named && arrivalOnly);
    const QString pudong = AirportNames::name("ZSPD").value_or(QString());
    const QString haneda = AirportNames::name("RJTT").value_or(QString());
    QVERIFY(pudong.contains("浦东") && haneda.contains("羽田"));

    // A reserved, blank names line keeps rows with and without names equally high.
    QVERIFY(bare->implicitHeight() < reserved->implicitHeight());
    QCOMPARE(reserved->implicitHeight(), arrivalOnly->implicitHeight());
    QCOMPARE(visibleTexts(arrivalOnly.get(), haneda).size(), 1);
    QCOMPARE(visibleTexts(named.get(), pudong).size(), 1);
    QCOMPARE(named->property("label").toString(), QStringLiteral("ZSPD → RJTT"));
    QCOMPARE(named->property("value").toString(), "2 小时, " + pudong + ", " + haneda);
    QCOMPARE(bare->property("value").toString(), QString());
    QVERIFY(views.warnings().isEmpty());
}

void ComponentsTest::errorNoticeRetry()
{
    Views views;
    const auto plain = views.make("ErrorNotice { width: 400; message: \"加载失败\" }");
    const auto retrying = views.make("ErrorNotice { width: 400; message: \"加载失败\"; retryable: true }");
    QVERIFY(plain && retrying);
    QVERIFY(visibleTexts(plain.get(), QStringLiteral("重试")).isEmpty());
    QList<QQuickItem *> buttons;
    for (QQuickItem *item : visibleTexts(retrying.get(), QStringLiteral("重试"))) {
        if (item->inherits("QQuickAbstractButton"))
            buttons.append(item);
    }
    QCOMPARE(buttons.size(), 1);
    // Without a retry there is no room left for the button.
    QVERIFY(plain->implicitHeight() + 20 < retrying->implicitHeight());

    QSignalSpy retried(retrying.get(), SIGNAL(retry()));
    QVERIFY(QMetaObject::invokeMethod(buttons.constFirst(), "clicked"));
    QCOMPARE(retried.size(), 1);
    QVERIFY(views.warnings().isEmpty());
}

void ComponentsTest::infoGridFixedTiles()
{
    Views views;
    const auto grid =
        views.make("InfoGrid { width: 400; tileHeight: 70; items: ["
                   "InfoItem { title: \"机型\"; value: \"A350-900\" },"
                   "InfoItem { title: \"航段\"; value: \"很长很长很长很长很长很长很长很长的文字\" },"
                   "InfoItem { title: \"时长\"; value: \"2 小时\" }] }");
    QVERIFY(grid);
    auto *layout = qobject_cast<ColumnsLayout *>(grid.get());
    QVERIFY(layout);
    layout->layoutChildren();
    QList<QQuickItem *> tiles;
    for (QQuickItem *child : layout->childItems()) {
        if (!child->inherits("QQuickRepeater"))
            tiles.append(child);
    }
    QCOMPARE(tiles.size(), 3);
    for (QQuickItem *tile : tiles)
        QCOMPARE(tile->height(), 70.0);
    QCOMPARE(tiles.at(2)->x(), 0.0); // the odd one starts a row of its own
    QCOMPARE(tiles.at(2)->y(), 80.0);
    QVERIFY(views.warnings().isEmpty());
}

void ComponentsTest::returnPressesAFocusedButton_data()
{
    QTest::addColumn<QByteArray>("qml");
    QTest::addColumn<bool>("takesReturn");
    QTest::newRow("GlassButton") << QByteArray("GlassButton { text: \"参加\" }") << true;
    QTest::newRow("BorderedButton") << QByteArray("BorderedButton { text: \"重试\" }") << true;
    QTest::newRow("PressableStyle") << QByteArray(
        "PressableStyle { contentItem: Card { Text { text: \"卡片\" } } }")
                                    << true;
    QTest::newRow("a row with a ring") << QByteArray(
        "import QtQuick.Controls\nItemDelegate { id: row; text: \"首页\"; focusPolicy: Qt.StrongFocus;"
        " background: Rectangle { FocusRing { control: row } } }")
                                       << true;
    QTest::newRow("a switch keeps Return for its form")
        << QByteArray("import QtQuick.Controls\nSwitch { id: s; text: \"保持登录\";"
                      " FocusRing { control: s; pressesOnReturn: false } }")
        << false;
}

void ComponentsTest::returnPressesAFocusedButton()
{
    // Guards controls that showed no focus from the keyboard and ignored Return, as Space alone pressed them.
    QFETCH(QByteArray, qml);
    QFETCH(bool, takesReturn);
    Views views;
    QQuickWindow window;
    window.resize(320, 200);
    const auto control = views.make(qml);
    QVERIFY(control);
    control->setPosition(QPointF(20, 20));
    QVERIFY(showActive(window, control.get()));
    QQuickItem *ring = nullptr;
    for (QQuickItem *item : control->findChildren<QQuickItem *>()) {
        if (item->property("pressesOnReturn").isValid())
            ring = item;
    }
    QVERIFY(ring);
    QSignalSpy clicked(control.get(), SIGNAL(clicked()));

    // Focus from a click shows no ring; from Tab it does.
    control->forceActiveFocus(Qt::MouseFocusReason);
    QVERIFY(!ring->isVisible());
    control->setFocus(false);
    QVERIFY(!control->hasActiveFocus());
    QTest::keyClick(&window, Qt::Key_Tab);
    QVERIFY(control->hasActiveFocus());
    QVERIFY(ring->isVisible());

    QTest::keyClick(&window, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(clicked.size(), takesReturn ? 2 : 0);
    QTest::keyClick(&window, Qt::Key_Return, Qt::ShiftModifier); // left to whoever wants it
    QCOMPARE(clicked.size(), takesReturn ? 2 : 0);
    QTest::keyClick(&window, Qt::Key_Space);
    QCOMPARE(clicked.size(), takesReturn ? 3 : 1);
    QVERIFY(views.warnings().isEmpty());
}

void ComponentsTest::removingTheIntroFinishesIt()
{
    // The window root takes the intro down when its play ends; one removed early must still say so.
    Views views;
    auto intro = views.make("BrandIntro { width: 400; height: 300 }");
    QVERIFY(intro);
    QSignalSpy finished(intro.get(), SIGNAL(finished()));
    intro.reset();
    QCOMPARE(finished.size(), 1);
    QVERIFY(views.warnings().isEmpty());
}

namespace {

// A picker of three options whose values are not their places, so a mix-up of the two shows.
const QByteArray picker = "SegmentedPicker { width: 360; current: 7; onChosen: value => current = value;"
                          " options: [{title: \"全部\", value: 4}, {title: \"最近 30 天\", value: 7},"
                          " {title: \"本周\", value: 9}] }";

// The segments, left to right, found through the item tree.
QList<QQuickItem *> segmentsOf(QQuickItem *picker)
{
    QList<QQuickItem *> segments;
    QList<QQuickItem *> below = picker->childItems();
    while (!below.isEmpty()) {
        QQuickItem *item = below.takeFirst();
        if (item->inherits("QQuickAbstractButton"))
            segments.append(item);
        below.append(item->childItems());
    }
    std::sort(segments.begin(), segments.end(), [](QQuickItem *a, QQuickItem *b) { return a->x() < b->x(); });
    return segments;
}

} // namespace

void ComponentsTest::segmentedPickerArrowKeys()
{
    Views views;
    QQuickWindow window;
    window.resize(400, 120);
    const auto control = views.make(picker);
    QVERIFY(control);
    QVERIFY(showActive(window, control.get()));
    QList<QQuickItem *> segments;
    QTRY_COMPARE((segments = segmentsOf(control.get())).size(), 3);
    QAccessibleInterface *named = QAccessible::queryAccessibleInterface(segments.at(1));
    QVERIFY(named);
    QCOMPARE(named->role(), QAccessible::PageTab);
    QCOMPARE(named->text(QAccessible::Name), QStringLiteral("最近 30 天"));
    segments.at(1)->forceActiveFocus(Qt::TabFocusReason);

    // Each arrow chooses the neighbour and takes the focus, with its ring, there; at an end nothing moves.
    const struct
    {
        Qt::Key key;
        int current;
        int focused;
    } steps[] = {{Qt::Key_Right, 9, 2},
                 {Qt::Key_Right, 9, 2},
                 {Qt::Key_Left, 7, 1},
                 {Qt::Key_Left, 4, 0},
                 {Qt::Key_Left, 4, 0}};
    for (const auto &step : steps) {
        QTest::keyClick(&window, step.key);
        QCOMPARE(control->property("current").toInt(), step.current);
        QVERIFY(segments.at(step.focused)->hasActiveFocus());
        QVERIFY(segments.at(step.focused)->property("visualFocus").toBool());
    }
    // Space still chooses the focused segment, and Tab still reaches the next one.
    QTest::keyClick(&window, Qt::Key_Tab);
    QVERIFY(segments.at(1)->hasActiveFocus());
    QTest::keyClick(&window, Qt::Key_Space);
    QCOMPARE(control->property("current").toInt(), 7);

    // Regression: the chosen segment's ring lay a point outside its accent outline and hardly showed. It
    // stands as far out as every control's ring, above the segments beside it.
    QQuickItem *ring = nullptr;
    QList<QQuickItem *> below = segments.at(1)->childItems();
    while (!below.isEmpty() && !ring) {
        QQuickItem *item = below.takeFirst();
        if (item->isVisible() && QByteArray(item->metaObject()->className()).startsWith("FocusRing_QMLTYPE"))
            ring = item;
        below.append(item->childItems());
    }
    QVERIFY2(ring, "the focused segment shows no ring");
    const QRectF segment = segments.at(1)->mapRectToScene(QRectF(QPointF(), segments.at(1)->size()));
    const QRectF ringBox = ring->mapRectToScene(QRectF(QPointF(), ring->size()));
    QCOMPARE(ringBox, segment.marginsAdded(QMarginsF(3, 3, 3, 3)));
    QVERIFY(segments.at(1)->z() > segments.at(0)->z() && segments.at(1)->z() > segments.at(2)->z());
    QVERIFY(views.warnings().isEmpty());
}

void ComponentsTest::menuOfChoicesKeepsItsMark_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("pressedBy"); // how the member takes the entry the keyboard is on
    QTest::newRow("the first, by Return") << 0 << "Return";
    QTest::newRow("the last, by Space") << 2 << "Space";
    QTest::newRow("in the middle, by a click") << 1 << "click";
}

// Regression: choosing the entry already chosen took its check mark off for good (×1.875 chosen again: the
// menu opened next with nothing checked), and the menu opened with the keyboard on its first entry rather
// than on the chosen one.
void ComponentsTest::menuOfChoicesKeepsItsMark()
{
    QFETCH(int, chosen);
    QFETCH(QString, pressedBy);
    Views views;
    QQuickWindow window;
    window.resize(400, 300);
    const auto row =
        views.make("PickerRow { width: 360; title: '倍数'; current: " + QByteArray::number(chosen * 2)
                   + "; options: [{title: '×1', value: 0}, {title: '×1.5', value: 2},"
                     " {title: '×1.875', value: 4}]; onChosen: value => current = value }");
    QVERIFY2(row, qPrintable(views.warnings().join('\n')));
    QVERIFY(showActive(window, row.get()));
    QQuickItem *button = nullptr;
    for (QQuickItem *item : row->childItems()) {
        if (item->inherits("QQuickAbstractButton"))
            button = item;
    }
    QVERIFY(button);
    const QStringList titles{"×1", "×1.5", "×1.875"};
    const auto focusedEntry = [&window] {
        QQuickItem *focused = window.activeFocusItem();
        return focused && focused->inherits("QQuickMenuItem") ? focused : nullptr;
    };
    const auto checkedTitles = [&window] {
        QStringList checked;
        for (QQuickItem *item : window.contentItem()->childItems()) {
            for (QQuickItem *entry : item->findChildren<QQuickItem *>()) {
                if (entry->inherits("QQuickMenuItem") && entry->isVisible()
                    && entry->property("checked").toBool())
                    checked.append(entry->property("text").toString());
            }
        }
        return checked;
    };
    for (int time = 1; time <= 2; ++time) {
        button->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(&window, Qt::Key_Space);
        QTRY_VERIFY(focusedEntry());
        QCOMPARE(focusedEntry()->property("text").toString(), titles.at(chosen));
        QCOMPARE(checkedTitles(), QStringList{titles.at(chosen)});
        if (pressedBy == "click") {
            QQuickItem *entry = focusedEntry();
            QTest::mouseClick(&window, Qt::LeftButton, {},
                              entry->mapToScene(QPointF(entry->width() / 2, entry->height() / 2)).toPoint());
        } else {
            QTest::keyClick(&window, pressedBy == "Space" ? Qt::Key_Space : Qt::Key_Return);
        }
        QTRY_COMPARE(window.activeFocusItem(), button);
        QCOMPARE(row->property("current").toInt(), chosen * 2);
    }
    // The arrows go on from the chosen entry.
    QTest::keyClick(&window, Qt::Key_Space);
    QTRY_VERIFY(focusedEntry());
    QTest::keyClick(&window, chosen == 2 ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(focusedEntry()->property("text").toString(), titles.at(chosen == 2 ? 1 : chosen + 1));
    QTest::keyClick(&window, Qt::Key_Escape);
    QTRY_COMPARE(window.activeFocusItem(), button);
    QVERIFY2(views.warnings().isEmpty(), qPrintable(views.warnings().join('\n')));
}

void ComponentsTest::segmentedPickerFillsTheChoice_data()
{
    QTest::addColumn<QString>("appearance");
    QTest::newRow("light") << QStringLiteral("light");
    QTest::newRow("dark") << QStringLiteral("dark");
}

void ComponentsTest::segmentedPickerFillsTheChoice()
{
    // Guards a choice shown only by a bolder label, which the dark palette all but hid.
    QFETCH(QString, appearance);
    Views views;
    const auto control = views.make(
        "Item { property alias picker: p; Component.onCompleted: Theme.appearance = \"" + appearance.toUtf8()
        + "\"\n" + QByteArray(picker).replace("SegmentedPicker {", "SegmentedPicker { id: p;") + " }");
    QVERIFY2(control, qPrintable(views.warnings().join('\n')));
    auto *pickerItem = control->property("picker").value<QQuickItem *>();
    QVERIFY(pickerItem);
    QList<QQuickItem *> segments;
    QTRY_COMPARE((segments = segmentsOf(pickerItem)).size(), 3);
    const QColor base = pickerItem->property("color").value<QColor>();
    // The segment's fill as it shows over the picker.
    const auto shown = [&base](QQuickItem *segment) {
        const QColor fill =
            segment->property("background").value<QQuickItem *>()->property("color").value<QColor>();
        const double a = fill.alphaF();
        return QColor::fromRgbF(fill.redF() * a + base.redF() * (1 - a),
                                fill.greenF() * a + base.greenF() * (1 - a),
                                fill.blueF() * a + base.blueF() * (1 - a));
    };
    const auto distance = [](const QColor &a, const QColor &b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
    };
    QCOMPARE(shown(segments.at(0)), base);
    QCOMPARE(shown(segments.at(2)), base);
    QVERIFY2(distance(shown(segments.at(1)), base) >= 40,
             qPrintable(shown(segments.at(1)).name() + " on " + base.name()));
    QVERIFY(views.warnings().isEmpty());
}

void ComponentsTest::controlStatesStandOut_data()
{
    QTest::addColumn<QString>("appearance");
    QTest::addColumn<bool>("checked");
    QTest::newRow("light, off") << "light" << false;
    QTest::newRow("light, on") << "light" << true;
    QTest::newRow("dark, off") << "dark" << false;
    QTest::newRow("dark, on") << "dark" << true;
}

void ComponentsTest::controlStatesStandOut()
{
    // Regression: the sign-in form's off switch showed its thumb against the card at about 1.1:1. A switch's
    // track stands out from the card, and its thumb from the track, by 3:1 or more; so does the outline of
    // a picker's chosen segment from the picker.
    QFETCH(QString, appearance);
    QFETCH(bool, checked);
    Views views;
    const auto control = views.make(
        "Rectangle { property alias toggle: t; property alias picker: p; color: Theme.surface;"
        " Component.onCompleted: Theme.appearance = \""
        + appearance.toUtf8()
        + "\"\n ToggleSwitch { id: t; text: \"s\"; checked: " + (checked ? "true" : "false") + " }\n"
        + QByteArray(picker).replace("SegmentedPicker {", "SegmentedPicker { id: p; y: 60;") + " }");
    QVERIFY2(control, qPrintable(views.warnings().join('\n')));
    const QColor card = control->property("color").value<QColor>();
    auto *track =
        control->property("toggle").value<QQuickItem *>()->property("indicator").value<QQuickItem *>();
    QVERIFY(track && !track->childItems().isEmpty());
    const QColor trackColour = track->property("color").value<QColor>();
    const QColor thumb = track->childItems().constFirst()->property("color").value<QColor>();
    QVERIFY2(contrast(trackColour, card) >= 3, qPrintable(trackColour.name() + " on " + card.name()));
    QVERIFY2(contrast(thumb, trackColour) >= 3, qPrintable(thumb.name() + " on " + trackColour.name()));

    auto *pickerItem = control->property("picker").value<QQuickItem *>();
    QList<QQuickItem *> segments;
    QTRY_COMPARE((segments = segmentsOf(pickerItem)).size(), 3);
    const QColor base = pickerItem->property("color").value<QColor>();
    auto *chosen = segments.at(1)->property("background").value<QQuickItem *>();
    const QColor outline = chosen->property("border").value<QObject *>()->property("color").value<QColor>();
    QVERIFY2(contrast(outline, base) >= 3, qPrintable(outline.name() + " on " + base.name()));
    QVERIFY(views.warnings().isEmpty());
}

void ComponentsTest::slateTextStandsOut_data()
{
    QTest::addColumn<QString>("appearance");
    QTest::newRow("light") << "light";
    QTest::newRow("dark") << "dark";
}

void ComponentsTest::slateTextStandsOut()
{
    // Regression: a Live schedule's crew, tinted slate, read at about 1.6:1 on a dark card, as slate is the
    // same in both appearances. A text in slate's text colour reads at 4.5:1 or more on a card and on the
    // chip it tints.
    QFETCH(QString, appearance);
    Views views;
    const auto card = views.make("Rectangle { property alias chip: c; color: Theme.surface;"
                                 " Component.onCompleted: Theme.appearance = \""
                                 + appearance.toUtf8()
                                 + "\"\n Chip { id: c; text: \"机长 lichen\"; tint: Theme.slateText } }");
    QVERIFY2(card, qPrintable(views.warnings().join('\n')));
    const QColor surface = card->property("color").value<QColor>();
    auto *chip = card->property("chip").value<QQuickItem *>();
    const QColor text = chip->property("tint").value<QColor>();
    QVERIFY2(contrast(text, surface) >= 4.5, qPrintable(text.name() + " on " + surface.name()));
    const QColor behind = chip->childItems().constFirst()->property("color").value<QColor>();
    const auto over = [&surface](const QColor &top) {
        const auto mix = [&top](double a, double b) { return top.alphaF() * a + (1 - top.alphaF()) * b; };
        return QColor::fromRgbF(mix(top.redF(), surface.redF()), mix(top.greenF(), surface.greenF()),
                                mix(top.blueF(), surface.blueF()));
    };
    QVERIFY2(contrast(text, over(behind)) >= 4.5, qPrintable(text.name() + " on " + over(behind).name()));
    QVERIFY(views.warnings().isEmpty());
}

void ComponentsTest::statusPillFollowsTheAppearance_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("light to dark") << "light"
                                   << "dark";
    QTest::newRow("dark to light") << "dark"
                                   << "light";
}

// Regression: a report's status kept the colour of the appearance it was drawn in; after a switch to dark, a
// held report's pill stayed in the light accent.
void ComponentsTest::statusPillFollowsTheAppearance()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    Views views;
    const auto item =
        views.make("Item { property alias pill: p; property color accent: Theme.accent\n"
                   " function appear(choice) { Theme.appearance = choice }\n"
                   " Component.onCompleted: appear(\""
                   + from.toUtf8()
                   + "\")\n"
                     " StatusPill { id: p; statusTitle: \"待补充\"; verdictColor: Theme.Accent } }");
    QVERIFY2(item, qPrintable(views.warnings().join('\n')));
    auto *pill = item->property("pill").value<QQuickItem *>();
    const QColor before = pill->property("tint").value<QColor>();
    QCOMPARE(before, item->property("accent").value<QColor>());
    QMetaObject::invokeMethod(item.get(), "appear", Q_ARG(QVariant, to));
    QVERIFY(item->property("accent").value<QColor>() != before);
    QCOMPARE(pill->property("tint").value<QColor>(), item->property("accent").value<QColor>());
    QVERIFY(views.warnings().isEmpty());
}

void ComponentsTest::waitingScreenReadsClearOfItsArt_data()
{
    QTest::addColumn<QString>("appearance");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("message");
    const QString shortText = QStringLiteral("账号状态暂时不可用，请重试。");
    const QString longText =
        QStringLiteral("The account check could not reach the member service in time. Try "
                       "again in a moment, or sign in again.");
    QTest::newRow("light, 760 × 500") << "light" << QSize(760, 500) << shortText;
    QTest::newRow("dark, 760 × 500") << "dark" << QSize(760, 500) << shortText;
    QTest::newRow("light, 1100 × 680, a long message") << "light" << QSize(1100, 680) << longText;
    QTest::newRow("dark, 760 × 500, a long message") << "dark" << QSize(760, 500) << longText;
}

// Regression: on the waiting screen after a failed account check, the notice read dark grey on the dark
// stage and stood over the brand animation, and "重新登录" was drawn light in the light appearance.
void ComponentsTest::waitingScreenReadsClearOfItsArt()
{
    QFETCH(QString, appearance);
    QFETCH(QSize, size);
    QFETCH(QString, message);
    Views views;
    const auto stage = views.make(
        "BrandWaitingView { property alias notice: n; property alias button: b; width: "
        + QByteArray::number(size.width()) + "; height: " + QByteArray::number(size.height())
        + "; message: \"正在确认账号要求\"; Component.onCompleted: Theme.appearance = \""
        + appearance.toUtf8()
        + "\"\n ErrorNotice { id: n; width: parent.width; retryable: true; alert: true;"
          " darkScheme: true; message: \""
        + message.toUtf8()
        + "\" }\n BorderedButton { id: b;"
          " anchors.horizontalCenter: parent.horizontalCenter; darkScheme: true; text: \"重新登录\" } }");
    QVERIFY2(stage, qPrintable(views.warnings().join('\n')));
    auto *notice = stage->property("notice").value<QQuickItem *>();
    auto *button = stage->property("button").value<QQuickItem *>();
    QQuickItem *loader = nullptr;
    for (QQuickItem *child : stage->childItems()) {
        if (child->property("once").isValid()) // the loader, beside the footer
            loader = child;
    }
    QVERIFY(loader);
    // The art's frame ends above the first of what stands under it.
    const QRectF art = loader->mapRectToItem(stage.get(), QRectF(0, 0, loader->width(), loader->height()));
    for (QQuickItem *under : {notice, button}) {
        const QRectF rect = under->mapRectToItem(stage.get(), QRectF(0, 0, under->width(), under->height()));
        QVERIFY2(!art.intersects(rect), qPrintable(QStringLiteral("art %1,%2 %3x%4, under it from %5")
                                                       .arg(art.x())
                                                       .arg(art.y())
                                                       .arg(art.width())
                                                       .arg(art.height())
                                                       .arg(rect.y())));
    }
    QVERIFY(art.width() > 100);

    const QColor slate = stage->property("color").value<QColor>();
    const auto over = [](const QColor &base, const QColor &top, double alpha) {
        const auto mix = [alpha](double a, double b) { return alpha * a + (1 - alpha) * b; };
        return QColor::fromRgbF(mix(top.redF(), base.redF()), mix(top.greenF(), base.greenF()),
                                mix(top.blueF(), base.blueF()));
    };
    // The notice's panel: its tint, faint, over the stage.
    QQuickItem *panel = notice->childItems().constFirst();
    const QColor behind = over(slate, panel->property("color").value<QColor>(), panel->opacity());
    QQuickItem *text = nullptr;
    for (QQuickItem *item : notice->findChildren<QQuickItem *>()) {
        if (item->property("text").toString() == message && item->inherits("QQuickText"))
            text = item;
    }
    QVERIFY(text);
    const QColor ink = text->property("color").value<QColor>();
    QVERIFY2(contrast(ink, behind) >= 4.5, qPrintable(ink.name() + " on " + behind.name()));
    // The button in the dark scheme in either appearance: a light title on a dark face.
    const QColor face =
        button->property("background").value<QQuickItem *>()->property("color").value<QColor>();
    QQuickItem *label = nullptr;
    for (QQuickItem *item : button->findChildren<QQuickItem *>()) {
        if (item->inherits("QQuickText") && item->property("text").toString() == QStringLiteral("重新登录"))
            label = item;
    }
    QVERIFY(label);
    const QColor title = label->property("color").value<QColor>();
    QVERIFY2(luminance(title) > luminance(face) && contrast(title, face) >= 4.5,
             qPrintable(title.name() + " on " + face.name()));
    QVERIFY(views.warnings().isEmpty());
}

void ComponentsTest::menuKeysOpenTheMenu()
{
    // Regression: neither Alt nor F10 reached the window's menu.
    Views views;
    const auto item = views.make("Item { id: root; property alias keys: k; property int asked: 0\n"
                                 " MenuKeys { id: k; onActivated: root.asked += 1 } }");
    QVERIFY2(item, qPrintable(views.warnings().join('\n')));
    QQuickWindow window;
    window.resize(200, 100);
    item->property("keys").value<QObject *>()->setProperty("window", QVariant::fromValue(&window));
    QVERIFY(showActive(window, item.get()));
    const auto asked = [&item] { return item->property("asked").toInt(); };

    QTest::keyClick(&window, Qt::Key_Alt, Qt::AltModifier); // pressed and let go on its own
    QCOMPARE(asked(), 1);
    QTest::keyClick(&window, Qt::Key_F10);
    QCOMPARE(asked(), 2);
    // Alt held for another key, or for a click, is a modifier: no menu.
    QTest::keyPress(&window, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_Tab, Qt::AltModifier);
    QTest::keyRelease(&window, Qt::Key_Alt);
    QTest::keyPress(&window, Qt::Key_Alt, Qt::AltModifier);
    QTest::mouseClick(&window, Qt::LeftButton, Qt::AltModifier, QPoint(5, 5));
    QTest::keyRelease(&window, Qt::Key_Alt);
    QTest::keyClick(&window, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(asked(), 2);
}

void ComponentsTest::listKeysFollowTheKeyboard_data()
{
    QTest::addColumn<int>("reason");  // how the row that goes last got the keyboard
    QTest::addColumn<bool>("ringed"); // whether the row taking its place shows the keyboard's ring
    QTest::newRow("the arrows") << int(Qt::TabFocusReason) << true;
    QTest::newRow("given back by a closing menu") << int(Qt::PopupFocusReason) << true;
    QTest::newRow("a pointer's press") << int(Qt::MouseFocusReason) << false;
}

// Regression: the arrows moved a list's current row without its ring, from the first row whatever row Tab
// had reached; a row that went under the keyboard (a notice marked read from its menu) left the next one
// with the focus but no ring.
void ComponentsTest::listKeysFollowTheKeyboard()
{
    QFETCH(int, reason);
    QFETCH(bool, ringed);
    Views views;
    const auto scene = views.make(
        "import QtQuick.Controls\n"
        "Item { width: 240; height: 320; property alias list: list; property alias outside: outside\n"
        " function drop(index) { list.model.remove(index) }\n"
        " Button { id: outside; text: \"外\" }\n"
        " ListKeys { view: list }\n"
        " ListView { id: list; y: 40; width: 240; height: 280\n"
        "  model: ListModel { ListElement { name: \"a\" } ListElement { name: \"b\" } ListElement { name: "
        "\"c\" }"
        " ListElement { name: \"d\" } ListElement { name: \"e\" } }\n"
        "  delegate: ItemDelegate { id: row; required property string name; width: 240; height: 40; text: "
        "name;"
        " focusPolicy: Qt.StrongFocus; background: Rectangle { FocusRing { control: row } } } } }");
    QVERIFY2(scene, qPrintable(views.warnings().join('\n')));
    QQuickWindow window;
    window.resize(240, 320);
    QVERIFY(showActive(window, scene.get()));
    auto *list = scene->property("list").value<QQuickItem *>();
    const auto row = [list](int index) {
        QQuickItem *item = nullptr;
        QMetaObject::invokeMethod(list, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, item), Q_ARG(int, index));
        return item;
    };
    QTRY_VERIFY(row(4));

    // Down goes on from the row Tab reached, and the row it reaches has the keyboard and the only ring.
    row(1)->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(&window, Qt::Key_Down);
    QCOMPARE(list->property("currentIndex").toInt(), 2);
    QCOMPARE(window.activeFocusItem(), row(2));
    QVERIFY(row(2)->property("visualFocus").toBool());
    // The rings shown, through the item tree: a list's rows are not its QObject children.
    const std::function<int(QQuickItem *)> rings = [&rings](QQuickItem *item) {
        int count = item->property("pressesOnReturn").isValid() && item->isVisible() ? 1 : 0;
        for (QQuickItem *child : item->childItems())
            count += rings(child);
        return count;
    };
    QCOMPARE(rings(list), 1);

    if (reason == Qt::PopupFocusReason) {
        scene->property("outside").value<QQuickItem *>()->forceActiveFocus(Qt::TabFocusReason);
        row(2)->forceActiveFocus(Qt::PopupFocusReason);
    } else if (reason == Qt::MouseFocusReason) {
        QTest::mouseClick(&window, Qt::LeftButton, {}, row(2)->mapToScene(QPointF(20, 20)).toPoint());
    }
    QCOMPARE(window.activeFocusItem(), row(2));
    const QPointer<QQuickItem> gone = row(2);
    QMetaObject::invokeMethod(scene.get(), "drop", Q_ARG(QVariant, 2));
    QTRY_VERIFY(gone.isNull() || gone->parentItem() != row(0)->parentItem());
    QTRY_COMPARE(window.activeFocusItem(), row(2));
    QCOMPARE(row(2)->property("text").toString(), QString("d"));
    QCOMPARE(row(2)->property("visualFocus").toBool(), ringed);
    QVERIFY(views.warnings().isEmpty());
}

QTEST_MAIN(ComponentsTest)
#include "tst_components.moc"
