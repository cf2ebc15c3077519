#include "LegalTexts.h"

#include "AppLanguage.h"
#include "L.h"
#include "ServiceHosts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantMap>

namespace LegalTexts {

namespace {

std::optional<QString> text(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isString() ? std::optional(value.toString()) : std::nullopt;
}

std::optional<Document> document(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto title = text(object, "title");
    const auto intro = text(object, "intro");
    const QJsonValue sections = object.value(QLatin1String("sections"));
    if (!title || !intro || !sections.isArray())
        return std::nullopt;
    Document result{*title, *intro, {}};
    for (const QJsonValue &entry : sections.toArray()) {
        if (!entry.isObject())
            return std::nullopt;
        const auto sectionTitle = text(entry.toObject(), "title");
        const auto body = text(entry.toObject(), "body");
        if (!sectionTitle || !body)
            return std::nullopt;
        result.sections.append({*sectionTitle, *body});
    }
    return result;
}

} // namespace

std::optional<Table> decode(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !parsed.isObject())
        return std::nullopt;
    Table table;
    const QJsonObject languages = parsed.object();
    for (auto language = languages.begin(); language != languages.end(); ++language) {
        if (!language.value().isObject())
            return std::nullopt;
        const QJsonObject documents = language.value().toObject();
        for (auto entry = documents.begin(); entry != documents.end(); ++entry) {
            const std::optional<Document> decoded = document(entry.value());
            if (!decoded)
                return std::nullopt;
            table[language.key()].insert(entry.key(), *decoded);
        }
    }
    return table;
}

QString resourcePath() { return QStringLiteral(":/qt/qml/Vorna/Account/app-legal.json"); }

const Table &bundled()
{
    static const Table table = [] {
        QFile file(resourcePath());
        if (!file.open(QIODevice::ReadOnly))
            return Table();
        return decode(file.readAll()).value_or(Table());
    }();
    return table;
}

QStringList languageCodes() { return {"zh-Hans", "zh-HK", "zh-TW", "en"}; }

} // namespace LegalTexts

LegalTextModel::LegalTextModel(QObject *parent)
    : QObject(parent)
    , m_language(std::max(0, int(LegalTexts::languageCodes().indexOf(AppLanguage::current()))))
{
}

LegalTextModel::LegalTextModel(LegalTexts::Table table, QObject *parent)
    : LegalTextModel(parent)
{
    m_table = std::move(table);
}

void LegalTextModel::setDocument(int document)
{
    if (m_document == document)
        return;
    m_document = document;
    Q_EMIT changed();
}

void LegalTextModel::setLanguage(int language)
{
    if (m_language == language || language < 0 || language >= LegalTexts::languageCodes().size())
        return;
    m_language = language;
    Q_EMIT changed();
}

QVariantList LegalTextModel::languages() const
{
    const QStringList names{L(QStringLiteral("简体")), L(QStringLiteral("繁體（香港）")),
                            L(QStringLiteral("繁體（台灣）")), QStringLiteral("English")};
    QVariantList options;
    for (int i = 0; i < names.size(); ++i)
        options.append(QVariantMap{{"title", names.at(i)}, {"value", i}});
    return options;
}

QString LegalTextModel::pageTitle() const
{
    return m_document == 1 ? L(QStringLiteral("隐私说明")) : L(QStringLiteral("使用条款"));
}

const LegalTexts::Document *LegalTextModel::shown() const
{
    const LegalTexts::Table &table = m_table ? *m_table : LegalTexts::bundled();
    const auto language = table.constFind(LegalTexts::languageCodes().value(m_language));
    if (language == table.constEnd())
        return nullptr;
    const auto document =
        language->constFind(m_document == 1 ? QStringLiteral("privacy") : QStringLiteral("terms"));
    return document == language->constEnd() ? nullptr : &*document;
}

QString LegalTextModel::title() const { return shown() ? shown()->title : QString(); }
QString LegalTextModel::intro() const { return shown() ? shown()->intro : QString(); }

QVariantList LegalTextModel::sections() const
{
    QVariantList list;
    if (const LegalTexts::Document *document = shown()) {
        for (const LegalTexts::Section &section : document->sections)
            list.append(QVariantMap{{"title", section.title}, {"body", section.body}});
    }
    return list;
}

QString LegalTextModel::unavailableMessage() const
{
    return L(QStringLiteral("条款文本暂时无法读取，请访问 %@ 查看。"),
             QString::fromLatin1(ServiceHosts::memberHost));
}
