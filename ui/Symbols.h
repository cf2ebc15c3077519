#pragma once

#include <QHash>
#include <QObject>
#include <QQmlEngine>
#include <QString>

// A symbol name written in C++; the symbol check finds every name written this way.
#define SYMBOL(name) QStringLiteral(name)

// The symbol names of the app (and those the member service sends) drawn with the bundled icon font.
class Symbols : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString fontFamily READ fontFamily CONSTANT)

public:
    explicit Symbols(QObject *parent = nullptr);

    // The glyph for a symbol name; empty (draws nothing) for a name without one.
    Q_INVOKABLE QString glyph(const QString &name) const;
    Q_INVOKABLE bool has(const QString &name) const;
    // A ".badge" variant draws its symbol's glyph with a badge dot that the view adds in a colour of its own.
    Q_INVOKABLE bool badged(const QString &name) const;
    QString fontFamily() const { return m_fontFamily; }

    // Every name that has a glyph.
    QStringList names() const { return m_codePoints.keys(); }
    char32_t codePoint(const QString &name) const { return m_codePoints.value(name); }

private:
    QHash<QString, char32_t> m_codePoints;
    QString m_fontFamily;
};
