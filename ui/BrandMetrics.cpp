#include "BrandMetrics.h"

#include "BrandArt.h"
#include "L.h"

#include <algorithm>

namespace BrandLayout {

double frameHeight(double size, bool tile)
{
    return tile ? size : size * BrandArt::boardHeight / BrandArt::boardWidth;
}

double tileRadius(double size) { return size * 0.225; }

double stageSide(double width, double height)
{
    return std::max(std::min({width * 0.64, height * 0.64, 540.0}), 0.0);
}

double stageLoaderSize(double width, double height) { return stageSide(width, height) / 0.84; }

double stageFooterInset(double height) { return std::max(height, 0.0) * 0.12; }

QRectF stageLoaderFrame(double width, double height, double footerTop)
{
    constexpr double margin = 16;
    const double full = stageLoaderSize(width, height);
    const double room = std::max(footerTop - 2 * margin, 0.0);
    const double size = full * std::min(1.0, room / std::max(frameHeight(full, false), 1.0));
    const double frame = frameHeight(size, false);
    const double y = std::min((height - frame) / 2, footerTop - margin - frame);
    return {(width - size) / 2, std::max(y, margin), size, frame};
}

QString loaderLabel(const QString &caption) { return caption.isEmpty() ? L("正在加载") : caption; }

} // namespace BrandLayout
