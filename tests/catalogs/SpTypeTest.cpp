// Spectral type codes: text to code and back.
#include <gtest/gtest.h>

#include <string>

#include "catalogs/SpType.h"

namespace qnr {
namespace {

struct TypeRow {
    const char* text;
    SpectralTypeCode code;
    const char* shown;  // SpTypeText(code)
};

// Rows from the worked examples of the encoding (G2V, K0III, B1.5V, O5, M,
// g2v, gK0, K5III:) and one row per table the parser walks.
const TypeRow TypeRows[] = {
    {"G2V", 50205000, "G2V"},
    {"K0III", 60003000, "K0III"},
    {"B1.5V", 20155000, "B1.5V"},
    {"O5", 10500000, "O5"},
    {"M", 70990000, "M"},
    {"g2v", 0, ""},            // g is the giant prefix and no class follows
    {"gK0", 60003100, "gK"},   // with a prefix a zero subclass is not shown
    {"K5III:", 60503000, "K5III"},
    {" G 2 V ", 50205000, "G2V"},
    {"sgB1", 20102100, "sgB1"},
    {"DA2", 81200000, "DA2"},
    {"WN7", 12700000, "WN7"},
    {"G8III-IV", 50803500, "G8III-IV"},
    {"F5Ib-II", 40501700, "F5Ib-II"},
    {"O9.5Iab", 10951400, "O9.5Iab"},
    {"K2-III", 60203000, "K2III"},  // a leading dash before the class is dropped
    {"B2IVe", 20204010, "B2IVe"},
    {"A0pe", 30000023, "A0pe"},
    {"", 0, ""},
    {"   ", 0, ""},
    {"X5V", 0, ""},
};

TEST(SpectralType, ParsesAndShowsTheTables) {
    for (const TypeRow& row : TypeRows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ParseSpType(row.text), row.code);
        EXPECT_EQ(SpTypeText(row.code), row.shown);
        if (row.code != 0 && std::string(row.text) == row.shown) {
            EXPECT_EQ(ParseSpType(SpTypeText(row.code)), row.code) << "round trip";
        }
    }
}

TEST(SpectralType, ZeroSubclassShowsOnlyForTheCommonClasses) {
    EXPECT_EQ(SpTypeText(10000000), "O");   // O shows no zero subclass
    EXPECT_EQ(SpTypeText(20000000), "B0");  // B does
    EXPECT_EQ(SpTypeText(20102100), "sgB1");
}

TEST(SpectralType, TextIsCutToTwelveCharacters) {
    // WR + 9.5 + III-IV + nne would be 14 characters.
    EXPECT_EQ(SpTypeText(MakeSpectralType({11, 95, 35, 30})), "WR9.5III-IVn");
}

}  // namespace
}  // namespace qnr
