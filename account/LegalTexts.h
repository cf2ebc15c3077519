#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QQmlEngine>
#include <QString>
#include <QVariantList>

#include <optional>

// The terms of use and the privacy statement, carried in "app-legal.json" in four languages:
// language code → document key ("terms", "privacy") → {title, intro, sections: [{title, body}]}. The file is
// decoded as a whole; one malformed document or section anywhere makes it unusable.
namespace LegalTexts {

struct Section
{
    QString title;
    QString body;
    bool operator==(const Section &) const = default;
};

struct Document
{
    QString title;
    QString intro;
    QList<Section> sections;
    bool operator==(const Document &) const = default;
};

using Table = QHash<QString, QHash<QString, Document>>;

// None when the bytes do not have the fixed shape.
std::optional<Table> decode(const QByteArray &json);
// The bundled texts, read once per run; empty when the resource is missing or unusable.
const Table &bundled();
QString resourcePath();

// The language choices in picker order.
QStringList languageCodes();

} // namespace LegalTexts

// One legal page: the document, the language picked on it (the app's language at first) and what it shows.
class LegalTextModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    // 0: terms, 1: privacy.
    Q_PROPERTY(int document READ document WRITE setDocument NOTIFY changed)
    // An index into the language choices.
    Q_PROPERTY(int language READ language WRITE setLanguage NOTIFY changed)
    // [{title, value}] for the segmented picker.
    Q_PROPERTY(QVariantList languages READ languages CONSTANT)
    Q_PROPERTY(QString pageTitle READ pageTitle NOTIFY changed)
    Q_PROPERTY(bool found READ found NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString intro READ intro NOTIFY changed)
    // [{title, body}]
    Q_PROPERTY(QVariantList sections READ sections NOTIFY changed)
    Q_PROPERTY(QString unavailableMessage READ unavailableMessage CONSTANT)

public:
    explicit LegalTextModel(QObject *parent = nullptr);
    // A table of its own, for tests.
    LegalTextModel(LegalTexts::Table table, QObject *parent = nullptr);

    int document() const { return m_document; }
    void setDocument(int document);
    int language() const { return m_language; }
    void setLanguage(int language);
    QVariantList languages() const;
    QString pageTitle() const;
    bool found() const { return shown() != nullptr; }
    QString title() const;
    QString intro() const;
    QVariantList sections() const;
    QString unavailableMessage() const;

Q_SIGNALS:
    void changed();

private:
    const LegalTexts::Document *shown() const;

    std::optional<LegalTexts::Table> m_table;
    int m_document = 0;
    int m_language = 0;
};
