// Which renderer draws the window: the graphics device's when there is one, the software renderer when
// OpenGL would only be emulated, and whatever the environment names over both.
#include "AppComposition.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

using AppComposition::Renderer;

class RendererChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void followsTheGraphicsDevice();
    void environmentDecides_data();
    void environmentDecides();
};

namespace {

// A device folder holding these nodes.
QString devices(QTemporaryDir &folder, const QStringList &nodes)
{
    for (const QString &node : nodes) {
        QFile file(folder.filePath(node));
        if (!file.open(QIODevice::WriteOnly))
            return {};
    }
    return folder.path();
}

} // namespace

void RendererChoiceTest::followsTheGraphicsDevice()
{
    const QProcessEnvironment none;
    QTemporaryDir empty;
    QCOMPARE(AppComposition::chooseRenderer(none, devices(empty, {})), Renderer::Software);
    // A computer without the folder at all (a container, a virtual machine with no display device).
    QCOMPARE(AppComposition::chooseRenderer(none, empty.filePath(QStringLiteral("dri"))), Renderer::Software);
    // A display device that renders nothing (a virtual machine's frame buffer): OpenGL would be emulated.
    QTemporaryDir card;
    QCOMPARE(AppComposition::chooseRenderer(none, devices(card, {QStringLiteral("card0")})),
             Renderer::Software);
    QTemporaryDir render;
    QCOMPARE(AppComposition::chooseRenderer(
                 none, devices(render, {QStringLiteral("by-path"), QStringLiteral("card1"),
                                        QStringLiteral("renderD128")})),
             Renderer::Accelerated);
    QTemporaryDir other;
    QCOMPARE(AppComposition::chooseRenderer(none, devices(other, {QStringLiteral("by-path")})),
             Renderer::Software);
}

void RendererChoiceTest::environmentDecides_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("device");
    QTest::addColumn<Renderer>("expected");
    QTest::newRow("software named, device there")
        << QStringLiteral("QT_QUICK_BACKEND") << QStringLiteral("software") << true << Renderer::Software;
    QTest::newRow("another backend named, no device")
        << QStringLiteral("QT_QUICK_BACKEND") << QStringLiteral("rhi") << false << Renderer::Accelerated;
    QTest::newRow("OpenGL named, no device")
        << QStringLiteral("QSG_RHI_BACKEND") << QStringLiteral("opengl") << false << Renderer::Accelerated;
    QTest::newRow("OpenGL in software, device there")
        << QStringLiteral("LIBGL_ALWAYS_SOFTWARE") << QStringLiteral("1") << true << Renderer::Software;
    QTest::newRow("OpenGL in software switched off")
        << QStringLiteral("LIBGL_ALWAYS_SOFTWARE") << QStringLiteral("false") << true
        << Renderer::Accelerated;
    QTest::newRow("an empty name is no choice")
        << QStringLiteral("QT_QUICK_BACKEND") << QString() << false << Renderer::Software;
}

void RendererChoiceTest::environmentDecides()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(bool, device);
    QFETCH(Renderer, expected);
    QProcessEnvironment environment;
    environment.insert(name, value);
    QTemporaryDir folder;
    const QString nodes = devices(folder, device ? QStringList{QStringLiteral("renderD128")} : QStringList{});
    QCOMPARE(AppComposition::chooseRenderer(environment, nodes), expected);
}

QTEST_GUILESS_MAIN(RendererChoiceTest)
#include "tst_renderer_choice.moc"
