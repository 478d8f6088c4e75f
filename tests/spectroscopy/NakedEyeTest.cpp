// The dome sky: selection window, projection, classes, identification and
// the file error, on star files written with the record writer.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/Coords.h"
#include "spectroscopy/Nkd_Eye.h"
#include "support/Fakes.h"

namespace qnr {
namespace {

// At the north pole the altitude of a star is its declination and, at
// J2000.0 itself, no precession moves it: edges can be placed exactly.
struct DomeSky : ::testing::Test {
    DomeSky() { services = fakes.services(); }
    void Write(const std::vector<NakedEyeStar>& stars) {
        services.files->writeFileAtomic(folder.path() + NakedEyeFileName, EncodeNakedEyeStars(stars));
    }
    // Right ascension due south of the pole site (hour angle 0 there).
    double South() const {
        return static_cast<double>(NormalizeHours(LocalSiderealTime(JD_J2000, 0)));
    }
    Horizontal Place(double ra, double dec) const {
        SkyPosition p;
        SetEquatorial(p, KindMean, EpochJ2000, JD_J2000);
        p.first = ra * 15 * DegToRad;
        p.second = dec * DegToRad;
        return HorizonPosition(pole, p, JD_J2000);
    }
    test::TempFolder folder;
    test::FakePlatform fakes;
    platform::Services services;
    Site pole{Pi / 2, 0};
};

TEST_F(DomeSky, SelectionEdgesAndClasses) {
    const double s = South();
    const double altOf15 = static_cast<double>(Place(s, 15).altitude * RadToDeg);
    ASSERT_NEAR(altOf15, 15, 1e-6) << "the pole site should give altitude = declination";
    Write({{s, 45, 5.5f},      // at the magnitude limit: in
           {s, 44, 5.51f},     // fainter: out
           {s, 14.9, 1.0f},    // below the band: out
           {s, 15.0001, 0.0f}, // on the lower edge: in
           {s, 50, -1.5f},
           {s, 75.2, 2.0f}});  // above the band: out
    NakedEyeSky sky(services, folder.path());
    ASSERT_TRUE(sky.Compute(pole, JD_J2000, std::nullopt));
    EXPECT_DOUBLE_EQ(sky.centreAzimuth(), 180);
    ASSERT_EQ(sky.stars().size(), 3u);
    // Classes: 5.5 -> 15 (drawn as 14), 0.0 -> 4, -1.5 -> 1.
    EXPECT_EQ(sky.stars()[0].k, 15);
    EXPECT_EQ(sky.stars()[1].k, 4);
    EXPECT_EQ(sky.stars()[2].k, 1);
    // 45 degrees lands on the middle row: P / 2 = (312 - 50) / 2.
    EXPECT_NEAR(sky.stars()[0].y, 131, 1e-6);
    // Within 0.05 pixel: the horizon place uses apparent sidereal time, South() the mean.
    EXPECT_NEAR(sky.stars()[0].x, 120, 0.05);
    sky.Render();
    EXPECT_EQ(sky.picture().width, 240);
    EXPECT_EQ(sky.picture().height, 302);
    EXPECT_GT(RedOf(sky.picture().at(120, 131)), 30);
}

TEST_F(DomeSky, WestOfMeridianDrawsRightAndPointingAtZeroHours) {
    const double s = South();
    // 0.2 h of hour angle west: azimuth just past 180, i.e. near -180.
    const double west = s - 0.2 < 0 ? s - 0.2 + 24 : s - 0.2;
    Write({{west, 45, 3.0f}});
    NakedEyeSky sky(services, folder.path());
    ASSERT_TRUE(sky.Compute(pole, JD_J2000, std::nullopt));
    ASSERT_EQ(sky.stars().size(), 1u);
    EXPECT_LT(sky.stars()[0].azimuth, -170);
    EXPECT_GT(sky.stars()[0].x, 120);
    // A real pointing at 0 h sets the centre azimuth from that pointing.
    NakedEyeSky pointed(services, folder.path());
    pointed.Compute(pole, JD_J2000, DomePointing{0, 45});
    EXPECT_NEAR(pointed.centreAzimuth(), static_cast<double>(Place(0, 45).azimuth * RadToDeg), 1e-9);
    EXPECT_GT(std::fabs(pointed.centreAzimuth() - 180), 1);
}

TEST_F(DomeSky, IdentifyWithinTenPixelsAndTexts) {
    const double s = South();
    Write({{s, 45, 2.0f}, {s, 45, 3.0f}});
    NakedEyeSky sky(services, folder.path());
    ASSERT_TRUE(sky.Compute(pole, JD_J2000, std::nullopt));
    const NakedEyeSelected& st = sky.stars()[0];
    ASSERT_TRUE(sky.Identify(st.x + 6, st.y + 7.9));
    EXPECT_EQ(*sky.Identify(st.x + 6, st.y + 7.9), 0u);  // the first of equal distances
    EXPECT_FALSE(sky.Identify(st.x + 6, st.y + 8));     // exactly 10 pixels: nothing
    NakedEyeSelected x;
    x.ra = 5.5;
    x.dec = -5.25;
    x.V = 1.234f;
    const NakedEyeSky::Texts t = NakedEyeSky::DataTexts(x);
    EXPECT_EQ(t.mag, "1.234");
    EXPECT_NE(t.ra.find("30m"), std::string::npos);
}

TEST_F(DomeSky, MissingFileIsReported) {
    NakedEyeSky sky(services, folder.path());
    EXPECT_FALSE(sky.Compute(pole, JD_J2000, std::nullopt));
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(fakes.dialogs.messages[0].caption, "Star Catalog File Error!");
    EXPECT_EQ(fakes.dialogs.messages[0].text.rfind("Unable to Open Naked Eye Data File!\r\n\r\nFile Name: ", 0), 0u);
    EXPECT_FALSE(sky.hasPicture());
}

}  // namespace
}  // namespace qnr
