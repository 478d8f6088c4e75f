// The observatory's logo and title screen.
#include "pictures/Art.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "astro/Random.h"

namespace qnr::pictures {

namespace {

// The size of the main display the pictures are drawn on.
constexpr int Width = 476;
constexpr int Height = 356;
constexpr double Pi = 3.14159265358979323846;

using qnr::RandomGenerator;

QColor StarColour(RandomGenerator& rng) {
    // Mostly white, some blue-white and some yellow-orange, as a real sky.
    const double t = rng.real();
    if (t < 0.15) return QColor(170, 195, 255);
    if (t < 0.30) return QColor(255, 220, 170);
    if (t < 0.36) return QColor(255, 185, 140);
    return QColor(245, 245, 255);
}

// A text line of a picture, centred across it.
struct TextLine {
    QFont font;
    QColor colour;
    int y = 0;
    QString text;
};

// Where CentredText puts a text, its shadow included.
QRectF CentredTextBox(const QFont& font, int y, const QString& text) {
    const QRect box(0, y, Width, QFontMetrics(font).height());
    const QRectF drawn = QFontMetricsF(font).boundingRect(QRectF(box), Qt::AlignHCenter | Qt::AlignTop, text);
    return drawn.united(drawn.translated(2, 2));
}

std::vector<QRectF> TextBoxes(const std::vector<TextLine>& lines) {
    std::vector<QRectF> boxes;
    for (const TextLine& l : lines) boxes.push_back(CentredTextBox(l.font, l.y, l.text));
    return boxes;
}

// Stars are left out where they would touch a text (`clear`); every star
// still takes its draws, so the rest of the sky stays as it was.
void StarField(QPainter& p, std::uint32_t seed, int count, int bottom, const std::vector<QRectF>& clear,
               PictureLayout* layout) {
    RandomGenerator rng;
    rng.setSeed(seed);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const double x = rng.real() * Width;
        const double y = rng.real() * bottom;
        // Many faint stars, few bright ones.
        const double m = std::pow(rng.real(), 3.0);
        QColor c = StarColour(rng);
        c.setAlphaF(static_cast<float>(0.35 + 0.65 * std::min(1.0, m * 3)));
        p.setBrush(c);
        const double r = 0.45 + 1.6 * m;
        const double reach = m > 0.7 ? 4 * r : r;
        const QRectF covered(x - reach, y - reach, 2 * reach, 2 * reach);
        // A pixel's margin: antialiasing spreads a star a little beyond its radius.
        if (std::any_of(clear.begin(), clear.end(),
                        [&](const QRectF& t) { return covered.adjusted(-1, -1, 1, 1).intersects(t); }))
            continue;
        if (layout) layout->stars.push_back(covered);
        p.drawEllipse(QPointF(x, y), r, r);
        if (m > 0.7) {
            // A bright star gets a small cross of light.
            QColor glow = c;
            glow.setAlphaF(0.35f);
            p.setPen(QPen(glow, 0.8));
            p.drawLine(QPointF(x - 4 * r, y), QPointF(x + 4 * r, y));
            p.drawLine(QPointF(x, y - 4 * r), QPointF(x, y + 4 * r));
            p.setPen(Qt::NoPen);
        }
    }
}

// A faint band of light across the sky: many dim points about a line.
void MilkyWay(QPainter& p, std::uint32_t seed, QPointF from, QPointF to, double width, int count) {
    RandomGenerator rng;
    rng.setSeed(seed);
    p.setPen(Qt::NoPen);
    const QPointF along = to - from;
    const double length = std::hypot(along.x(), along.y());
    const QPointF across(-along.y() / length, along.x() / length);
    for (int i = 0; i < count; ++i) {
        const double t = rng.real();
        // A sum of uniforms falls off towards the band's edges.
        const double s = (rng.real() + rng.real() + rng.real() - 1.5) / 1.5 * width;
        const QPointF at = from + along * t + across * s;
        p.setBrush(QColor(200, 210, 255, 18 + static_cast<int>(rng.integer(30))));
        p.drawEllipse(at, 0.7, 0.7);
    }
}

QImage Sky(const QColor& top, const QColor& horizon) {
    QImage image(Width, Height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, Height);
    sky.setColorAt(0.0, top);
    sky.setColorAt(0.75, horizon);
    sky.setColorAt(1.0, horizon.darker(130));
    p.fillRect(image.rect(), sky);
    return image;
}

QFont Font(const char* family, double points, int weight, double spacing = 0) {
    QFont f(QString::fromLatin1(family));
    f.setPointSizeF(points);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferNoHinting);
    if (spacing != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return f;
}

void CentredText(QPainter& p, const TextLine& line, PictureLayout* layout, const QColor& shadow = QColor(0, 0, 0, 160)) {
    const QFont& font = line.font;
    const QColor& colour = line.colour;
    const QString& text = line.text;
    if (layout) layout->texts.push_back(CentredTextBox(font, line.y, text));
    p.setFont(font);
    const QRect box(0, line.y, Width, QFontMetrics(font).height());
    p.setPen(shadow);
    p.drawText(box.translated(2, 2), Qt::AlignHCenter | Qt::AlignTop, text);
    p.setPen(colour);
    p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, text);
}

// A face-on spiral galaxy of dots along two logarithmic arms.
void Galaxy(QPainter& p, QPointF centre, double size, double tilt, std::uint32_t seed) {
    RandomGenerator rng;
    rng.setSeed(seed);
    p.save();
    p.translate(centre);
    p.rotate(tilt);
    p.scale(1.0, 0.45);
    QRadialGradient core(QPointF(0, 0), size * 0.35);
    core.setColorAt(0, QColor(255, 240, 200, 230));
    core.setColorAt(1, QColor(255, 220, 160, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(core);
    p.drawEllipse(QPointF(0, 0), size * 0.35, size * 0.35);
    for (int i = 0; i < 2600; ++i) {
        const int arm = static_cast<int>(rng.integer(2));
        const double t = rng.real();
        const double angle = t * 3.2 * Pi + arm * Pi;
        const double radius = size * 0.12 * std::exp(0.55 * t * 3.2);
        const double spread = (rng.real() - 0.5) * size * 0.16 * (0.4 + t);
        const double x = radius * std::cos(angle) + spread * std::cos(angle + Pi / 2);
        const double y = radius * std::sin(angle) + spread * std::sin(angle + Pi / 2);
        const bool young = rng.real() < 0.25;
        p.setBrush(young ? QColor(160, 190, 255, 150) : QColor(235, 225, 210, 90));
        p.drawEllipse(QPointF(x, y), 0.9, 0.9);
    }
    p.restore();
}

}  // namespace

QImage Logo(PictureLayout* layout) {
    QImage image = Sky(QColor(4, 6, 22), QColor(28, 38, 82));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const std::vector<TextLine> texts = {
        {Font("DejaVu Serif", 34, QFont::Bold, 6), QColor(236, 220, 160), 22, QStringLiteral("QUENARA")},
        {Font("DejaVu Sans", 12, QFont::Normal, 8), QColor(190, 200, 235), 76, QStringLiteral("OBSERVATORY")},
        {Font("DejaVu Sans", 8.5, QFont::Normal, 1), QColor(150, 160, 200), Height - 24,
         QStringLiteral("File, Login... to begin")},
    };
    MilkyWay(p, 73, QPointF(-20, 250), QPointF(Width + 20, 30), 36, 2600);
    StarField(p, 20020414, 330, 300, TextBoxes(texts), layout);

    // Hills on the horizon.
    const QColor land(6, 8, 16);
    QPainterPath hills;
    hills.moveTo(0, Height);
    hills.lineTo(0, 292);
    hills.cubicTo(90, 268, 150, 300, 238, 290);
    hills.cubicTo(330, 280, 400, 262, Width, 284);
    hills.lineTo(Width, Height);
    hills.closeSubpath();
    p.fillPath(hills, land);

    // The observatory: a drum with a hemispherical dome, its slit open and a
    // telescope tube looking out.
    const QPointF centre(238, 236);
    const double r = 70;
    const QColor building(10, 12, 24);
    const QColor rim(70, 86, 150);
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(centre.x() - r - 4, centre.y(), 2 * r + 8, 60), building);
    QPainterPath dome;
    dome.moveTo(centre.x() - r, centre.y());
    dome.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 180, -180);
    dome.closeSubpath();
    p.fillPath(dome, building);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(rim, 1.6));
    p.drawPath(dome);
    p.drawLine(QPointF(centre.x() - r - 4, centre.y()), QPointF(centre.x() + r + 4, centre.y()));
    // The slit, with the sky seen through it.
    QPainterPath slit;
    slit.addRect(QRectF(centre.x() - 11, centre.y() - r - 2, 22, r + 2));
    QImage sky = Sky(QColor(4, 6, 22), QColor(28, 38, 82));
    p.save();
    p.setClipPath(dome.intersected(slit));
    p.drawImage(0, 0, sky);
    p.setPen(QPen(QColor(12, 14, 30), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(centre.x() + 2, centre.y() - 8), QPointF(centre.x() - 6, centre.y() - r + 4));
    p.restore();
    p.setPen(QPen(rim.darker(120), 1.2));
    p.drawLine(QPointF(centre.x() - 11, centre.y() - std::sqrt(r * r - 121)), QPointF(centre.x() - 11, centre.y()));
    p.drawLine(QPointF(centre.x() + 11, centre.y() - std::sqrt(r * r - 121)), QPointF(centre.x() + 11, centre.y()));
    // A lit door.
    p.fillRect(QRectF(centre.x() + 30, centre.y() + 26, 12, 20), QColor(200, 160, 80));
    p.fillRect(QRectF(centre.x() + 30, centre.y() + 26, 12, 20), QColor(0, 0, 0, 60));

    for (const TextLine& line : texts) CentredText(p, line, layout);
    return image;
}

QImage Title(PictureLayout* layout) {
    QImage image = Sky(QColor(2, 2, 10), QColor(12, 14, 40));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const std::vector<TextLine> texts = {
        {Font("DejaVu Serif", 15, QFont::Normal, 3), QColor(190, 200, 235), 28, QStringLiteral("T H E")},
        {Font("DejaVu Serif", 38, QFont::Bold, 3), QColor(236, 220, 160), 54, QStringLiteral("Durev")},
        {Font("DejaVu Serif", 20, QFont::Normal, 2), QColor(236, 220, 160), 116, QStringLiteral("for Quenara")},
        {Font("DejaVu Sans", 9.5, QFont::Normal, 1), QColor(170, 180, 215), 160,
         QStringLiteral("A virtual observatory for the astronomy laboratory")},
        {Font("DejaVu Sans", 9, QFont::Normal, 1), QColor(150, 160, 200), Height - 26,
         QStringLiteral("File, Run... starts the exercise")},
    };
    StarField(p, 19990321, 260, Height, TextBoxes(texts), layout);
    Galaxy(p, QPointF(360, 236), 120, -28, 4242);
    for (const TextLine& line : texts) CentredText(p, line, layout);
    return image;
}

// The radio telescope at dusk: a 100 m class dish on its wheeled alt-az
// mount, tipped up towards the sky, with the feed arm over the dish.
QImage RadioTelescope(PictureLayout* layout) {
    QImage image = Sky(QColor(10, 14, 44), QColor(150, 96, 92));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const std::vector<TextLine> texts = {
        {Font("DejaVu Sans", 9, QFont::Bold, 3), QColor(236, 220, 190), 16, QStringLiteral("RADIO TELESCOPE")},
    };
    StarField(p, 19671128, 140, 170, TextBoxes(texts), layout);

    // Wooded hills of the valley, two ranges.
    p.setPen(Qt::NoPen);
    QPainterPath far;
    far.moveTo(0, Height);
    far.lineTo(0, 262);
    far.cubicTo(80, 238, 160, 252, 240, 246);
    far.cubicTo(320, 240, 400, 230, Width, 250);
    far.lineTo(Width, Height);
    far.closeSubpath();
    p.fillPath(far, QColor(34, 30, 52));
    QPainterPath near;
    near.moveTo(0, Height);
    near.lineTo(0, 300);
    near.cubicTo(120, 286, 260, 304, 340, 296);
    near.cubicTo(400, 292, 440, 288, Width, 294);
    near.lineTo(Width, Height);
    near.closeSubpath();
    p.fillPath(near, QColor(16, 20, 22));

    const QColor steel(214, 218, 226), shade(150, 156, 170), dark(70, 74, 88);
    // The mount: a wide base on wheels and the truss tower with the elevation axle.
    const QPointF axle(236, 186);
    p.fillRect(QRectF(150, 286, 172, 12), dark);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(QColor(40, 42, 50));
        p.drawEllipse(QPointF(162 + i * 50, 300), 7, 7);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(shade, 3));
    p.drawLine(QPointF(160, 288), axle + QPointF(-14, 0));
    p.drawLine(QPointF(312, 288), axle + QPointF(14, 0));
    p.setPen(QPen(shade, 1.4));
    for (int i = 1; i < 6; ++i) {
        const double t = i / 6.0;
        const QPointF a = QPointF(160, 288) + (axle + QPointF(-14, 0) - QPointF(160, 288)) * t;
        const QPointF b = QPointF(312, 288) + (axle + QPointF(14, 0) - QPointF(312, 288)) * t;
        p.drawLine(a, b);
        if (i < 5) {
            const double u = (i + 1) / 6.0;
            p.drawLine(a, QPointF(312, 288) + (axle + QPointF(14, 0) - QPointF(312, 288)) * u);
        }
    }

    // The dish, tilted back: an ellipse for its rim, the surface shaded from
    // the sunset side, panel lines across it.
    p.save();
    p.translate(axle + QPointF(0, -40));
    p.rotate(-24);
    const QRectF rim(-150, -62, 300, 124);
    QRadialGradient surface(QPointF(40, 30), 190);
    surface.setColorAt(0, QColor(236, 226, 222));
    surface.setColorAt(0.6, QColor(196, 200, 212));
    surface.setColorAt(1, QColor(120, 126, 146));
    p.setPen(QPen(steel, 2.2));
    p.setBrush(surface);
    p.drawEllipse(rim);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 154, 170, 150), 0.8));
    for (int i = 1; i < 5; ++i) p.drawEllipse(QRectF(-150 * i / 5.0, -62 * i / 5.0, 300 * i / 5.0, 124 * i / 5.0));
    for (int i = 0; i < 12; ++i) {
        const double a = i * Pi / 6;
        p.drawLine(QPointF(0, 0), QPointF(150 * std::cos(a), 62 * std::sin(a)));
    }
    // The feed arm from the lower rim up over the dish, the receiver cabin at its end.
    p.setPen(QPen(steel, 4, Qt::SolidLine, Qt::RoundCap));
    const QPointF foot(118, 40), cabin(-6, -118);
    p.drawLine(foot, cabin);
    p.setPen(QPen(shade, 2));
    p.drawLine(QPointF(60, 56), cabin + QPointF(8, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(steel);
    p.drawRoundedRect(QRectF(cabin.x() - 11, cabin.y() - 8, 22, 16), 3, 3);
    p.restore();

    for (const TextLine& line : texts) CentredText(p, line, layout);
    return image;
}

}  // namespace qnr::pictures
