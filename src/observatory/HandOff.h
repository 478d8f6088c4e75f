#pragma once
// What an instrument (CCD camera, photometer, spectrometer) takes from the
// telescope window when it opens and while it observes.
#include <cstdint>
#include <optional>

#include "astro/Raster.h"
#include "astro/Types.h"
#include "catalogs/FieldObject.h"

namespace qnr { class SkyCatalogs; }

namespace qnr::observatory {

class TelescopeHandOff {
public:
    virtual ~TelescopeHandOff() = default;
    // The catalog object at the centre of the telescope view, refreshed on
    // request; nothing when the centre is empty sky.
    virtual std::optional<FieldObject> CurrentObject() = 0;
    // Red + green + blue summed over the 3 by 19 pixels around the view
    // centre, divided by 57 and rounded.
    virtual int CentreBrightness() = 0;
    // The created field's picture (stars and galaxies) and its galaxy layer;
    // null before the first field.
    virtual const Raster* FieldPicture() = 0;
    virtual const Raster* GalaxyLayer() = 0;
    // Pointing (J2000.0), telescope and its numbers.
    virtual Extended RightAscension() = 0;  // hours
    virtual Extended Declination() = 0;     // degrees
    virtual int Telescope() = 0;            // 0..2
    virtual Extended TelescopeBaseMagnitude() = 0;
    virtual Extended CameraFieldWidth() = 0;   // arcminutes
    virtual Extended CameraFieldHeight() = 0;  // arcminutes
    // The sky clock's Julian Date now.
    virtual Extended JulianDate() = 0;
    // The star and extended-object fields the telescope uses.
    virtual SkyCatalogs& Catalogs() = 0;
    // The photometer's aperture radius in view pixels (redraws the outline).
    virtual void SetPhotometerAperture(int radiusPixels) = 0;
    // The aperture as the view has it: radius in view pixels and in degrees.
    virtual int PhotometerApertureRadius() { return 10; }
    virtual Extended PhotometerApertureDegrees() { return 0; }
    // The photometer keeps the drive on while it is open; InstrumentClosed
    // gives the drive button back.
    virtual void DisableDrive() {}
    // An instrument window closed: its controls come back by the drive rule.
    virtual void InstrumentClosed() = 0;
    // The seed of the present field (the same for a field made again at the
    // same place), for numbers that must repeat with the field; the shared
    // generator is not reseeded by a field build.
    virtual std::uint32_t FieldSeed() { return 0; }
    // Whether the galaxy layer holds any galaxy.
    virtual bool GalaxiesDrawn() { return false; }
};

}  // namespace qnr::observatory
