#pragma once

#include <QColor>
#include <QHash>
#include <QObject>
#include <QQmlEngine>
#include <QString>
#include <QUrl>

// A symbol name written in C++; the symbol check finds every name written this way.
#define SYMBOL(name) QStringLiteral(name)

// The symbol names of the app (and those the member service sends) drawn with the bundled icon font, or,
// where the font has no glyph that says the same, with a vector of our own on a 24-point grid.
class Symbols : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString fontFamily READ fontFamily CONSTANT)

public:
    explicit Symbols(QObject *parent = nullptr);

    // The glyph for a symbol name; empty (draws nothing) for a name without one, or drawn as a vector.
    Q_INVOKABLE QString glyph(const QString &name) const;
    // Whether the symbol is drawn as a vector of our own, and that vector as a picture in the colour: an SVG
    // document (a data: address) that an Image draws at any size. Empty for the font's symbols.
    Q_INVOKABLE bool isVector(const QString &name) const { return m_vectors.contains(name); }
    Q_INVOKABLE QUrl picture(const QString &name, const QColor &color) const;
    Q_INVOKABLE bool has(const QString &name) const;
    // A ".badge" variant draws its symbol's glyph with a badge dot that the view adds in a colour of its own.
    Q_INVOKABLE bool badged(const QString &name) const;
    QString fontFamily() const { return m_fontFamily; }

    // Every name that has a glyph of the font, and every name drawn as a vector.
    QStringList names() const { return m_codePoints.keys(); }
    QStringList vectorNames() const { return m_vectors.keys(); }
    char32_t codePoint(const QString &name) const { return m_codePoints.value(name); }

private:
    struct Vector
    {
        QString path;
        bool evenOdd = false;
    };

    QHash<QString, char32_t> m_codePoints;
    QHash<QString, Vector> m_vectors;
    QString m_fontFamily;
};
