// The sidebar's rows for each role.
#include "SidebarModel.h"

#include <QtTest>

class SidebarTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sidebarRowsByRole_data();
    void sidebarRowsByRole();
};

void SidebarTest::sidebarRowsByRole_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("firstSymbol");
    QTest::newRow("member") << "member" << QStringList{"首页", "PIREP", "Live", "地图", "其他"} << "house";
    QTest::newRow("admin") << "admin" << QStringList{"审核", "Live", "地图", "其他"} << "checkmark.seal";
    QTest::newRow("developer") << "developer" << QStringList{"审核", "Live", "地图", "其他"}
                               << "checkmark.seal";
    QTest::newRow("Member is not member")
        << "Member" << QStringList{"审核", "Live", "地图", "其他"} << "checkmark.seal";
}

void SidebarTest::sidebarRowsByRole()
{
    QFETCH(QString, role);
    QFETCH(QStringList, titles);
    QFETCH(QString, firstSymbol);
    qputenv("LANGUAGE", "zh_CN");
    SidebarModel model;
    model.setUserRole(role);
    QStringList shown;
    for (int row = 0; row < model.rowCount(); ++row)
        shown << model.data(model.index(row), SidebarModel::TitleRole).toString();
    QCOMPARE(shown, titles);
    QCOMPARE(model.data(model.index(0), SidebarModel::SymbolRole).toString(), firstSymbol);
    QCOMPARE(model.data(model.index(0), SidebarModel::TabRole).value<MemberTab>(), MemberTab::Home);
    QCOMPARE(model.data(model.index(model.rowCount() - 1), SidebarModel::TabRole).value<MemberTab>(),
             MemberTab::Account);

    // "PIREP" and "Live" are names, the same in every language.
    qputenv("LANGUAGE", "en_US");
    const auto english = SidebarModel::rowsFor(role);
    QVERIFY(english.constLast().title != QString("其他"));
    QVERIFY(std::any_of(english.cbegin(), english.cend(),
                        [](const SidebarModel::Row &r) { return r.title == "Live"; }));
}

QTEST_MAIN(SidebarTest)
#include "tst_sidebar.moc"
