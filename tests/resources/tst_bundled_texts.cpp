// What the code names must exist in what the app carries: every text key in the English table (and so in
// the generated Traditional Chinese ones), every symbol name in the icon font.
#include "L.h"
#include "LanguageScope.h"
#include "ResourcePaths.h"
#include "Symbols.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImageReader>
#include <QRawFont>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
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

// Each text a language's tables give a key, with the file that gives it.
using TableTexts = QMap<QString, QList<QPair<QString, QString>>>;

// The messages of a Linguist table: a key's plural forms are one text, joined by " | ".
bool readTable(const QString &path, TableTexts &texts)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader xml(&file);
    QString key;
    QString text;
    QStringList forms;
    bool inTranslation = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const bool translation = xml.name() == QLatin1String("translation");
        if (xml.isStartElement() && xml.name() == QLatin1String("source")) {
            key = xml.readElementText();
        } else if (xml.isStartElement() && translation) {
            inTranslation = true;
            text.clear();
            forms.clear();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("numerusform")) {
            forms.append(xml.readElementText());
        } else if (xml.isCharacters() && inTranslation) {
            text += xml.text();
        } else if (xml.isEndElement() && translation) {
            inTranslation = false;
            texts[key].append(
                {forms.isEmpty() ? text : forms.join(QStringLiteral(" | ")), QFileInfo(path).fileName()});
        }
    }
    return !xml.hasError();
}

// The lines "key<TAB>text" of an overrides file, escapes as the generator reads them.
bool readOverrides(const QString &path, TableTexts &texts)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        // "=" begins a word written otherwise in every text, not a key's text.
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u'='))
            continue;
        texts[unescape(line.section(u'\t', 0, 0))].append(
            {unescape(line.section(u'\t', 1)), QFileInfo(path).fileName()});
    }
    return true;
}

QStringList englishTables()
{
    const QDir folder(sourceDir() + QStringLiteral("/resources/i18n/en"));
    QStringList paths;
    for (const QString &name : folder.entryList({QStringLiteral("*.ts")}, QDir::Files, QDir::Name))
        paths.append(folder.filePath(name));
    return paths;
}

// The rows of the symbol table: symbol name and icon name ("@name" for a vector of our own).
QList<QPair<QString, QString>> symbolRows()
{
    QList<QPair<QString, QString>> rows;
    QFile file(sourceDir() + QStringLiteral("/resources/symbols/symbols.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    static const QRegularExpression space(QStringLiteral("\\s+"));
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QStringList fields = line.section(u'#', 0, 0).split(space, Qt::SkipEmptyParts);
        if (fields.size() == 2)
            rows.append({fields.at(0), fields.at(1)});
    }
    return rows;
}

} // namespace

class BundledTextsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyKeyHasEnglish();
    void traditionalTablesCoverEveryKey();
    void chineseTablesReadChinese();
    void keysReadAsTheirLanguageShowsThem_data();
    void keysReadAsTheirLanguageShowsThem();
    void oneTextPerKey_data();
    void oneTextPerKey();
    void englishHasNoFullWidthPunctuation();
    void everySymbolNameHasAGlyph();
    void everySymbolTheServiceSendsHasAGlyph();
    void unknownSymbolDrawsNothing();
    void badgeVariantsCarryTheirBadge();
    void symbolsKeepTheirParts_data();
    void symbolsKeepTheirParts();

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

// Regression: a key that is a word of English ("Logbook") was shown in English in the Traditional Chinese
// tables. The Simplified Chinese one shows such a key as it stands (below).
void BundledTextsTest::chineseTablesReadChinese()
{
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    static const QRegularExpression word(QStringLiteral("^[A-Za-z][a-z]+$"));
    for (const char *language : {"zh-HK", "zh-TW"}) {
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

void BundledTextsTest::keysReadAsTheirLanguageShowsThem_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    // Regression: the Simplified Chinese table renamed the logbook "飞行日志" and the appearances "浅色" and
    // "深色"; it shows them as their keys are written.
    QTest::newRow("zh_CN: the logbook") << QByteArray("zh_CN") << "Logbook"
                                        << "Logbook";
    QTest::newRow("zh_CN: the system's appearance") << QByteArray("zh_CN") << "跟随系统"
                                                    << "跟随系统";
    QTest::newRow("zh_CN: the light appearance") << QByteArray("zh_CN") << "白色"
                                                 << "白色";
    QTest::newRow("zh_CN: the dark appearance") << QByteArray("zh_CN") << "黑色"
                                                << "黑色";
    // The Traditional Chinese tables keep what they showed.
    for (const QByteArray &traditional : {QByteArray("zh_HK"), QByteArray("zh_TW")}) {
        const auto row = [&](const char *name) -> QTestData & {
            return QTest::addRow("%s: %s", traditional.constData(), name);
        };
        row("the logbook") << traditional << "Logbook"
                           << "飛行日誌";
        row("the system's appearance") << traditional << "跟随系统"
                                       << "跟隨系統";
        row("the light appearance") << traditional << "白色"
                                    << "淺色";
        row("the dark appearance") << traditional << "黑色"
                                   << "深色";
    }
    // Regression: Taiwan's Chinese wrote 賬號, where Taiwan writes 帳號; Hong Kong's keeps 賬號.
    QTest::newRow("zh_TW: the switcher's title") << QByteArray("zh_TW") << "切换账号"
                                                 << "切換帳號";
    QTest::newRow("zh_TW: the account set-up") << QByteArray("zh_TW") << "完成账号设置"
                                               << "完成帳號設定";
    QTest::newRow("zh_TW: an account, within a sentence") << QByteArray("zh_TW") << "还没有保存的账号"
                                                          << "還沒有儲存的帳號";
    QTest::newRow("zh_HK: the switcher's title") << QByteArray("zh_HK") << "切换账号"
                                                 << "切換賬號";
    QTest::newRow("en: the logbook") << QByteArray("en_US") << "Logbook"
                                     << "Logbook";
    QTest::newRow("en: the light appearance") << QByteArray("en_US") << "白色"
                                              << "Light";
}

// What the app shows for a key in each language, its table's entry or the key itself.
void BundledTextsTest::keysReadAsTheirLanguageShowsThem()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, key);
    QFETCH(QString, text);
    const TestSupport::LanguageScope scope(language);
    QCOMPARE(L(key), text);
}

void BundledTextsTest::oneTextPerKey_data()
{
    // The English tables as written; the Chinese ones as generated, with the overrides they are made from.
    const QString generated = qEnvironmentVariable("VORNA_TABLES_DIR");
    const QString overrides = sourceDir() + QStringLiteral("/resources/i18n/");
    QTest::addColumn<QStringList>("tables");
    QTest::addColumn<QStringList>("overrides");
    QTest::newRow("en") << englishTables() << QStringList();
    for (const char *language : {"zh_Hans", "zh_HK", "zh_TW"}) {
        QTest::newRow(language) << QStringList{generated + QStringLiteral("/vorna_%1.ts").arg(language)}
                                << QStringList{overrides + QStringLiteral("%1.tsv").arg(language)};
    }
}

// Regression: three keys had two English texts in two tables; with every key in one context, which of
// them showed was chance.
void BundledTextsTest::oneTextPerKey()
{
    QFETCH(QStringList, tables);
    QFETCH(QStringList, overrides);
    QVERIFY(!tables.isEmpty());
    TableTexts texts;
    for (const QString &path : std::as_const(tables))
        QVERIFY2(readTable(path, texts), qPrintable(path));
    // The Simplified Chinese table may hold nothing: its keys show as they are written.
    QVERIFY(!texts.isEmpty() || QByteArray(QTest::currentDataTag()) == "zh_Hans");
    for (const QString &path : std::as_const(overrides))
        QVERIFY2(readOverrides(path, texts), qPrintable(path));
    QStringList twice;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        QSet<QString> distinct;
        QStringList where;
        for (const auto &[text, file] : it.value()) {
            distinct.insert(text);
            where.append(QStringLiteral("%1 \"%2\"").arg(file, text));
        }
        if (distinct.size() > 1)
            twice.append(it.key() + QStringLiteral(": ") + where.join(QStringLiteral(", ")));
    }
    QVERIFY2(twice.isEmpty(), qPrintable(twice.join('\n')));
}

// Regression: English texts read the Chinese full-width colon. English punctuation is the ASCII one;
// typographic quotes and dashes are English too.
void BundledTextsTest::englishHasNoFullWidthPunctuation()
{
    static const QRegularExpression fullWidth(QStringLiteral("[：，。（）；！？、【】《》「」]"));
    TableTexts texts;
    for (const QString &path : englishTables())
        QVERIFY2(readTable(path, texts), qPrintable(path));
    QVERIFY(!texts.isEmpty());
    QStringList found;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        for (const auto &[text, file] : it.value()) {
            if (fullWidth.match(text).hasMatch())
                found.append(QStringLiteral("%1: %2 → %3").arg(file, it.key(), text));
        }
    }
    QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));
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
    // The vectors of our own draw: a shape in the colour asked for, inside their square.
    const QStringList vectors = symbols.vectorNames();
    QVERIFY(vectors.contains(QStringLiteral("hand.raised")));
    for (const QString &name : vectors) {
        const QUrl picture = symbols.picture(name, QColor(0x20, 0x60, 0xa0));
        QByteArray svg = QByteArray::fromBase64(picture.toString().section(',', 1).toLatin1());
        QBuffer buffer(&svg);
        QImageReader reader(&buffer, "svg");
        reader.setScaledSize(QSize(48, 48));
        const QImage drawn = reader.read();
        QVERIFY2(!drawn.isNull(), qPrintable(name + ": " + reader.errorString()));
        int inked = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x)
                inked +=
                    qAlpha(drawn.pixel(x, y)) == 255 && drawn.pixelColor(x, y) == QColor(0x20, 0x60, 0xa0);
        }
        QVERIFY2(inked > 48 * 48 / 10, qPrintable(name + " draws little or nothing"));
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

// Regression: a parked flight's phase, sent as "parkingsign.circle", drew no symbol: the table had only
// "parkingsign". Every symbol name in the sample service's answers (the flight phases) has a glyph.
void BundledTextsTest::everySymbolTheServiceSendsHasAGlyph()
{
    static const QRegularExpression sent(QStringLiteral(R"re("symbol"\s*:\s*"([^"]*)")re"));
    Symbols symbols;
    QStringList names;
    QStringList missing;
    QDirIterator it(sourceDir() + QStringLiteral("/tests/service/data"), {QStringLiteral("*.json")},
                    QDir::Files);
    while (it.hasNext()) {
        QFile file(it.next());
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = sent.globalMatch(text); match.hasNext();) {
            const QString name = match.next().captured(1);
            names.append(name);
            if (!symbols.has(name))
                missing.append(QStringLiteral("%1: no glyph for \"%2\"").arg(it.fileName(), name));
        }
    }
    QVERIFY2(names.contains(QStringLiteral("airplane")),
             "the scan found no phase symbol: is the pattern still right?");
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join('\n')));
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

// Guards symbols drawn without a part their name names (an airplane for "airplane.circle", a bare shield
// for "lock.shield"): a row whose name names a part maps to an icon whose name says it, or to a vector.
void BundledTextsTest::symbolsKeepTheirParts_data()
{
    QTest::addColumn<QString>("names");   // the symbol names that name the part
    QTest::addColumn<QString>("icons");   // icon names that draw it; empty: the font has none
    QTest::addColumn<QString>("example"); // a name the rule must cover
    QTest::newRow("circle") << R"((^|\.)circle(\.|$))"
                            << R"((^|-)circle(-|$))"
                            << "info.circle";
    QTest::newRow("seal") << R"((^|\.)seal(\.|$))" << QString() << "xmark.seal.fill";
    QTest::newRow("lock") << R"((^|\.)lock(\.|$))"
                          << R"((^|-)lock(-|$))"
                          << "lock.shield";
    QTest::newRow("shield") << R"((^|\.)shield(\.|$))"
                            << R"((^|-)shield(-|$))"
                            << "checkmark.shield";
    QTest::newRow("two people") << R"(^person\.2(\.|$))"
                                << R"(^account-multiple(-|$))"
                                << "person.2";
    QTest::newRow("three people") << R"(^person\.3(\.|$))"
                                  << R"(^account-group(-|$))"
                                  << "person.3.fill";
    QTest::newRow("more people") << R"(^person\.([4-9]|[1-9]\d+)(\.|$))" << QString() << "person.12";
    // A filled symbol is not an outline glyph.
    QTest::newRow("fill") << R"((^|\.)fill(\.|$))"
                          << R"(^(?!.*-outline(-|$)))"
                          << "questionmark.bubble.fill";
}

void BundledTextsTest::symbolsKeepTheirParts()
{
    QFETCH(QString, names);
    QFETCH(QString, icons);
    QFETCH(QString, example);
    const QRegularExpression covered(names);
    const QRegularExpression drawing(icons);
    QVERIFY(covered.isValid() && drawing.isValid());
    QVERIFY2(covered.match(example).hasMatch(), qPrintable(names + " misses " + example));
    const auto rows = symbolRows();
    QVERIFY2(rows.size() > 10, "the symbol table is missing or unreadable");
    QStringList lost;
    for (const auto &[symbol, icon] : rows) {
        if (!covered.match(symbol).hasMatch() || icon.startsWith(u'@'))
            continue;
        if (icons.isEmpty() || !drawing.match(icon).hasMatch())
            lost.append(QStringLiteral("%1 → %2").arg(symbol, icon));
    }
    QVERIFY2(lost.isEmpty(), qPrintable("drawn without what their name names:\n" + lost.join('\n')));
}

QTEST_MAIN(BundledTextsTest)
#include "tst_bundled_texts.moc"
