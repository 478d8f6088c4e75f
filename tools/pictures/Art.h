#pragma once
// The observatory's logo, title screen and radio telescope picture, drawn with
// fixed seeds and fonts.
// Each drawing can report where its texts and its stars went, so that a test
// can see that no star covers a text.
#include <QImage>
#include <QRectF>
#include <vector>

namespace qnr::pictures {

struct PictureLayout {
    std::vector<QRectF> texts;  // each text with its shadow
    std::vector<QRectF> stars;  // each star with its cross of light
};

QImage Logo(PictureLayout* layout = nullptr);
QImage Title(PictureLayout* layout = nullptr);
QImage RadioTelescope(PictureLayout* layout = nullptr);

}  // namespace qnr::pictures
