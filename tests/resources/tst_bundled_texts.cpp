// What the code names must exist in what the app carries: every text key in the English table (and so in
// the generated Traditional Chinese ones), every symbol name in the icon font.
#include "L.h"
#include "ResourcePaths.h"
#include "Symbols.h"

#include <QDirIterator>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QRawFont>
#include <QRegularExpression>
#include <QTranslator>
#include <QtTest>

namespace {

QString sourceDir() { return qEnvironmentVariable("VORNA_SOURCE_DIR"); }

// The product's own sources; tests use made-up keys on purpose.
QStringList productFiles(const QStringList &patterns)
{
    QStringList files;
    QDirIterator it(sourceDir(), patterns, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(sourceDir()).relativeFilePath(path);
        if (relative.startsWith("tests/") || relative.startsWith("build") || relative.startsWith("tools/")
            || relative.startsWith('.'))
            continue;
        files.append(path);
    }
    return files;
}

QString unescape(const QString &literal)
{
    QString text;
    for (qsizetype i = 0; i < literal.size(); ++i) {
        if (literal.at(i) == '\\' && i + 1 < literal.size()) {
            const QChar next = literal.at(++i);
            text += next == 'n' ? QChar('\n') : next == 't' ? QChar('\t') : next;
        } else {
            text += literal.at(i);
        }
    }
    return text;
}

// Every literal captured by one of the patterns, with the file and line it stands on.
QList<QPair<QString, QString>> literals(const QStringList &files, const QList<QRegularExpression> &patterns)
{
    QList<QPair<QString, QString>> found;
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString content = QString::fromUtf8(file.readAll());
        for (const QRegularExpression &pattern : patterns) {
            auto matches = pattern.globalMatch(content);
            while (matches.hasNext()) {
                const auto match = matches.next();
                const int line = int(content.left(match.capturedStart(1)).count('\n')) + 1;
                found.append({unescape(match.captured(1)),
                              QString("%1:%2").arg(QDir(sourceDir()).relativeFilePath(path)).arg(line)});
            }
        }
    }
    return found;
}

// A string literal on one line, escapes allowed; the text is the first capture.
const QString literal = QString::fromLatin1("\"((?:[^\"\\\\\\n]|\\\\.)*)\"");

} // namespace

class BundledTextsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyKeyHasEnglish();
    void traditionalTablesCoverEveryKey();
    void chineseTablesReadChinese();
    void everySymbolNameHasAGlyph();
    void unknownSymbolDrawsNothing();
    void badgeVariantsCarryTheirBadge();

private:
    QStringList m_keys;
};

void BundledTextsTest::initTestCase()
{
    QVERIFY2(QFileInfo::exists(sourceDir() + "/CMakeLists.txt"),
             "VORNA_SOURCE_DIR must name the source tree");
    const QList<QRegularExpression> patterns{
        QRegularExpression(R"(\bLn?\(\s*(?:QStringLiteral\(\s*|u)?)" + literal), // L("…", …), Ln in C++
        QRegularExpression(R"(\bTEXT_KEY\(\s*)" + literal),                      // keys kept for later
        QRegularExpression(R"(\bL\.t\(\s*)" + literal),                          // L.t("…") in QML
    };
    for (const auto &[key, where] : literals(productFiles({"*.cpp", "*.h", "*.qml"}), patterns)) {
        if (!m_keys.contains(key))
            m_keys.append(key);
    }
    QVERIFY2(m_keys.size() >= 3, "the key scan found too few keys: is the pattern still right?");
}

void BundledTextsTest::everyKeyHasEnglish()
{
    QTranslator english;
    QVERIFY(english.load(ResourcePaths::stringTable("en")));
    QStringList missing;
    for (const QString &key : std::as_const(m_keys)) {
        if (english.translate("Vorna", key.toUtf8().constData()).isEmpty())
            missing.append(key);
    }
    QVERIFY2(missing.isEmpty(), qPrintable("keys without English: " + missing.join(" | ")));
}

void BundledTextsTest::traditionalTablesCoverEveryKey()
{
    for (const char *language : {"zh-HK", "zh-TW"}) {
        QTranslator table;
        QVERIFY(table.load(ResourcePaths::stringTable(language)));
        for (const QString &key : std::as_const(m_keys)) {
            const QString text = table.translate("Vorna", key.toUtf8().constData());
            QVERIFY2(!text.isEmpty(), qPrintable(QString("%1 lacks %2").arg(language, key)));
            QCOMPARE(text.count("%@"), key.count("%@")); // conversion keeps the placeholders
        }
    }
}

// Regression: a key that is a word of English ("Logbook") was shown in English in every Chinese table.
void BundledTextsTest::chineseTablesReadChinese()
{
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    static const QRegularExpression word(QStringLiteral("^[A-Za-z][a-z]+$"));
    for (const char *language : {"zh-Hans", "zh-HK", "zh-TW"}) {
        QTranslator table;
        QVERIFY(table.load(ResourcePaths::stringTable(language)));
        for (const QString &key : std::as_const(m_keys)) {
            // A product's name is its own in every language.
            if (han.match(key).hasMatch() || !word.match(key).hasMatch() || key == QLatin1String("Discord"))
                continue;
            const QString text = table.translate("Vorna", key.toUtf8().constData());
            QVERIFY2(han.match(text).hasMatch(),
                     qPrintable(QString("%1 shows %2 untranslated").arg(language, key)));
        }
    }
}

void BundledTextsTest::everySymbolNameHasAGlyph()
{
    Symbols symbols;
    QVERIFY(!symbols.fontFamily().isEmpty());
    const QRawFont font(ResourcePaths::symbolFont(), 16);
    QVERIFY(font.isValid());
    for (const QString &name : symbols.names()) {
        QVERIFY2(font.supportsCharacter(symbols.codePoint(name)),
                 qPrintable(name + " points at a code the font does not draw"));
    }

    const QList<QRegularExpression> patterns{
        QRegularExpression(R"(\bSymbol\s*\{[^{}]*?\bname\s*:\s*)" + literal), // Symbol { name: "…" }
        QRegularExpression(R"(\b(?:symbol|symbolName)\s*:\s*)" + literal),    // symbol: "…" in QML
        QRegularExpression(R"(\bSYMBOL\(\s*)" + literal),                     // SYMBOL("…") in C++
    };
    const auto used = literals(productFiles({"*.cpp", "*.h", "*.qml"}), patterns);
    QVERIFY2(!used.isEmpty(), "the symbol scan found nothing: is the pattern still right?");
    for (const auto &[name, where] : used)
        QVERIFY2(symbols.has(name), qPrintable(QString("%1: no glyph for \"%2\"").arg(where, name)));
}

void BundledTextsTest::unknownSymbolDrawsNothing()
{
    Symbols symbols;
    QVERIFY(symbols.glyph("no.such.symbol").isEmpty());
    QCOMPARE(symbols.glyph("airplane.arrival").size(), 1); // the font's code points lie in the BMP
    QVERIFY(!symbols.badged("no.such.badge"));
}

void BundledTextsTest::badgeVariantsCarryTheirBadge()
{
    // Guards the unread bell that showed no badge: "bell.badge" is the bell with a badge on it.
    Symbols symbols;
    QVERIFY(symbols.badged("bell.badge"));
    QCOMPARE(symbols.glyph("bell.badge"), symbols.glyph("bell"));
    QVERIFY(!symbols.badged("bell"));
    QVERIFY(!symbols.badged("person.badge.plus")); // a badge of its own glyph, not a dot
}

QTEST_MAIN(BundledTextsTest)
#include "tst_bundled_texts.moc"
