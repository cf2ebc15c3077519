#pragma once

class MapMarkerLayer;

// The marker layer as assistive technology sees it: a group whose children are the markers in view, in
// drawing order, each a button named "%@，%@，查看飞行详情" (callsign or "飞机", aircraft), whose press is a
// click on the marker. The children are interfaces made when asked for and kept only while their marker stays
// in view, so thousands of markers cost no item each.
namespace MapMarkerAccessibility {

// Installs the layer's interface factory (once).
void install();
// The markers in view, or the markers themselves, changed: the children are counted again when next asked.
void markersChanged(MapMarkerLayer *layer, bool rowsChanged);

} // namespace MapMarkerAccessibility
