#pragma once

// The marker layer's drawing, internal to maps/ and no part of the QML module: the silhouette's cells and
// the software renderer's sprites (MarkerAtlas.h), the scene graph's material and node (MarkerMaterial.h),
// the software renderer's pictures painted on a worker thread (MarkerPicture.h) and the item the markers
// are drawn in (MarkerCanvas.h). These are the constants they share.
namespace MarkerDrawing {

inline constexpr double shadowBlur = 1.5;
// The Gaussian's standard deviation: half the blur radius, as CSS and SVG shadows have it.
inline constexpr double shadowSigma = shadowBlur / 2;
inline constexpr double shadowDrop = 1;
inline constexpr double shadowOpacity = 0.2;
// Beyond the drawn shadow's reach (two deviations) its alpha is below one step in 255.
inline constexpr double shadowReach = 2 * shadowSigma;
inline constexpr int atlasWidth = 1024;
// Sizes are drawn to the half point, so a zoom yields a few cells, not one per marker.
inline constexpr int largestHalfPoints = 400;

} // namespace MarkerDrawing
