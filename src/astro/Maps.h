#pragma once
// The arithmetic of the whole-sky oval map of the radio telescope: the
// equal-area projection, its frame in pixels, the grid lines, the labels and
// the bookkeeping of the pointing marker. Drawing is left to the window.
#include <optional>
#include <string>
#include <vector>

#include "astro/Types.h"

namespace qnr {

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PixelRect&) const = default;
};

struct MapPoint {
    Extended x = 0;
    Extended y = 0;
};

// k for the aspect pair p:q.
Extended AitoffFactor(Extended p, Extended q);
// phi latitude, lambda longitude from the central meridian, radians.
MapPoint AitoffProject(Extended phi, Extended lambda, Extended k);
// The whole multiple of 4 hours nearest the sidereal time (24 becomes 0).
int AitoffCentralHour(Extended lst);
// The longitude from the central meridian of a right ascension, radians in (-pi, pi].
Extended AitoffLongitude(Extended raHours, int centralHour);

struct MapLabel {
    std::string text;
    PixelPoint at;
};

class AitoffGeometry {
public:
    static constexpr int Margin = 20;

    // Frame from the paint box size, the scale and the central hour.
    void Init(Extended p, Extended q, int width, int height, Extended lst);

    MapPoint Project(Extended phi, Extended lambda) const { return AitoffProject(phi, lambda, k); }
    // The pixel of an unscaled map point: each product rounded.
    PixelPoint ToPixel(const MapPoint& m) const;
    // The pixel of a sky point, dec in degrees, ra in hours.
    PixelPoint SkyToPixel(Extended decDeg, Extended raHours) const;

    // Grid polylines in pixels. Each parallel starts at longitude -180; each
    // meridian starts at the north pole and ends at the south pole.
    std::vector<std::vector<PixelPoint>> Parallels() const;
    std::vector<std::vector<PixelPoint>> Meridians() const;
    // "N", "S", "W", "E" and the latitude labels, then the hour labels.
    std::vector<MapLabel> Labels() const;

    // The squares to invert for a marker at the sky point: first the old square
    // to restore, then the new one; neither when it is already there.
    struct MarkerChange {
        std::optional<PixelRect> restore;
        std::optional<PixelRect> draw;
    };
    MarkerChange MarkPosition(Extended decDeg, Extended raHours);
    // After the background was copied over the screen.
    void ForgetMarker() { markerDrawn = false; }

    int width = 0, height = 0;  // paint box
    int W = 0, H = 0;           // frame
    int cx = 0, cy = 0;
    int right = 0, bottom = 0;
    Extended k = 0;
    Extended s = 0;
    int centralHour = 0;
    PixelRect marker;
    bool markerDrawn = false;
};

}  // namespace qnr
