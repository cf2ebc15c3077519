#pragma once

#include <QObject>
#include <QQmlEngine>
#include <QRectF>
#include <QString>

// The sizes of the brand views: the loader's frame and tile, the stage's loader and footer.
namespace BrandLayout {

// The loader's frame height: square on a tile, the art board's proportion when bare.
double frameHeight(double size, bool tile);
double tileRadius(double size);
// The art's width on a stage: 64 % of the smaller side, at most 540.
double stageSide(double width, double height);
// The loader's size on a stage, so that its art (84 % of the frame) spans the stage side.
double stageLoaderSize(double width, double height);
double stageFooterInset(double height);
// The loader's frame on a stage whose footer begins at `footerTop`: centred at the stage size, unless it
// would then come nearer the footer than a margin; then it stands above the footer, as near the centre as
// it can, and smaller where the room above is less than its height.
QRectF stageLoaderFrame(double width, double height, double footerTop);
// The loader's accessibility label: its caption, else the text of "正在加载".
QString loaderLabel(const QString &caption);

} // namespace BrandLayout

class BrandMetrics : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    Q_INVOKABLE double frameHeight(double size, bool tile) const
    {
        return BrandLayout::frameHeight(size, tile);
    }
    Q_INVOKABLE double tileRadius(double size) const { return BrandLayout::tileRadius(size); }
    Q_INVOKABLE double stageLoaderSize(double width, double height) const
    {
        return BrandLayout::stageLoaderSize(width, height);
    }
    Q_INVOKABLE double stageFooterInset(double height) const { return BrandLayout::stageFooterInset(height); }
    Q_INVOKABLE QRectF stageLoaderFrame(double width, double height, double footerTop) const
    {
        return BrandLayout::stageLoaderFrame(width, height, footerTop);
    }
    Q_INVOKABLE QString loaderLabel(const QString &caption) const
    {
        return BrandLayout::loaderLabel(caption);
    }
};
