#pragma once

#include <QFont>
#include <QObject>
#include <QQmlEngine>

// The one type scale of the app, in pixels: the desktop text styles every component and screen uses.
class Typography : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(int largeTitle MEMBER largeTitle CONSTANT)
    Q_PROPERTY(int title MEMBER title CONSTANT)
    Q_PROPERTY(int title2 MEMBER title2 CONSTANT)
    Q_PROPERTY(int title3 MEMBER title3 CONSTANT)
    Q_PROPERTY(int headline MEMBER headline CONSTANT)
    Q_PROPERTY(int body MEMBER body CONSTANT)
    Q_PROPERTY(int callout MEMBER callout CONSTANT)
    Q_PROPERTY(int subheadline MEMBER subheadline CONSTANT)
    Q_PROPERTY(int footnote MEMBER footnote CONSTANT)
    Q_PROPERTY(int caption MEMBER caption CONSTANT)
    Q_PROPERTY(int caption2 MEMBER caption2 CONSTANT)

public:
    using QObject::QObject;

    // The app's fonts at a size of the scale: the desktop's, then the Chinese and emoji fonts main/ adds,
    // which a text that sets a family of its own would lose. With `codes`, a fixed-pitch face comes first,
    // in which codes line up.
    Q_INVOKABLE static QFont font(int pixelSize, bool codes = false);

    // The desktop sizes of the text styles; the small ones are a point larger than on macOS, where
    // Chinese at 10 pixels stays legible only on a high-density screen.
    int largeTitle = 26;
    int title = 22;
    int title2 = 17;
    int title3 = 15;
    int headline = 13; // semibold
    int body = 13;
    int callout = 12;
    int subheadline = 12;
    int footnote = 11;
    int caption = 11;
    int caption2 = 10;
};
