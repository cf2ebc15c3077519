#pragma once

#include <QQuickPaintedItem>

// The map's compass, for screens whose only map control it is. Our maps are north up and never turn, so it is
// the usual map compass as it shows on a north-up map: a round dial with its needle's red half pointing up
// at an "N", standing in the map's bottom-trailing corner. It tells nothing a press could change, so it
// takes no clicks and is not announced.
class MapCompass : public QQuickPaintedItem
{
    Q_OBJECT

public:
    // The dial's diameter and its distance from the map's edges, in points.
    static constexpr double side = 40;
    static constexpr double inset = 10;

    explicit MapCompass(QQuickItem *parent = nullptr);

    void setDark(bool dark);
    void paint(QPainter *painter) override;

private:
    bool m_dark = false;
};
