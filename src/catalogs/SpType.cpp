#include "catalogs/SpType.h"

#include <array>
#include <cctype>
#include <cmath>
#include <string_view>

#include "astro/StringUt.h"

namespace qnr {

namespace {

struct Named {
    std::string_view text;
    int code;
};

// Each table is searched in this order; the first match wins, so longer
// texts come before their own beginnings.
constexpr std::array<Named, 6> Prefixes{{{"sg", 21}, {"sd", 61}, {"c", 12}, {"g", 31}, {"d", 51}, {"w", 71}}};

constexpr std::array<Named, 20> Classes{{{"WR", 11}, {"WN", 12}, {"WC", 13}, {"DA", 81}, {"DB", 82},
                                         {"DC", 83}, {"DO", 84}, {"DZ", 85}, {"DQ", 86}, {"R", 71},
                                         {"N", 72},  {"S", 73},  {"W", 14},  {"O", 10},  {"B", 20},
                                         {"A", 30},  {"F", 40},  {"G", 50},  {"K", 60},  {"M", 70}}};
// B, A, F, G, K and M show a zero subclass ("B0"), the other classes do not.
constexpr std::size_t FirstZeroShowingClass = 14;

constexpr std::array<Named, 18> Luminosities{{{"III-IV", 35}, {"II-III", 25}, {"Ib-II", 17}, {"IV-V", 45},
                                              {"I-II", 16},   {"0-Ia", 9},    {"III", 30},   {"II", 20},
                                              {"Iab", 14},    {"Ia", 13},     {"Ib", 15},    {"IV", 40},
                                              {"VI", 60},     {"SD", 62},     {"WD", 70},    {"0", 8},
                                              {"I", 10},      {"V", 50}}};

constexpr std::array<Named, 16> Peculiarities{{{"nne", 30}, {"npe", 31}, {"pne", 32}, {"nn", 20},
                                               {"en", 21},  {"ne", 22},  {"pe", 23},  {"ep", 24},
                                               {"e", 10},   {"f", 11},   {"p", 12},   {"n", 13},
                                               {"s", 14},   {"k", 15},   {"m", 16},   {"w", 17}}};

template <std::size_t N>
const Named* ByCode(const std::array<Named, N>& table, int code) {
    for (const Named& n : table)
        if (n.code == code) return &n;
    return nullptr;
}

template <std::size_t N>
const Named* Starting(const std::array<Named, N>& table, std::string_view text) {
    for (const Named& n : table)
        if (text.substr(0, n.text.size()) == n.text) return &n;
    return nullptr;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void RemoveAll(std::string& s, std::string_view chars) {
    std::string out;
    for (char c : s)
        if (chars.find(c) == std::string_view::npos) out += c;
    s.swap(out);
}

}  // namespace

SpectralTypeParts SplitSpectralType(SpectralTypeCode code) {
    SpectralTypeParts p;
    p.C = code / 1000000;
    const int rest = code % 1000000;
    p.S = rest / 10000;
    const int low = rest % 10000;
    p.L = low / 100;
    p.P = low % 100;
    return p;
}

SpectralTypeCode MakeSpectralType(const SpectralTypeParts& p) {
    return p.C * 1000000 + p.S * 10000 + p.L * 100 + p.P;
}

std::string SpTypeText(SpectralTypeCode code) {
    if (code == 0) return {};
    const SpectralTypeParts p = SplitSpectralType(code);
    std::string out;
    const Named* prefix = ByCode(Prefixes, p.L);
    if (prefix) out += prefix->text;
    const Named* cls = nullptr;
    std::size_t classIndex = Classes.size();
    for (std::size_t i = 0; i < Classes.size(); ++i)
        if (Classes[i].code == p.C) {
            cls = &Classes[i];
            classIndex = i;
            break;
        }
    if (cls) out += cls->text;
    const bool showZero = !prefix && (!cls || classIndex >= FirstZeroShowingClass);
    if (p.S != NoSubclass) {
        const Extended s = static_cast<Extended>(p.S) / 10;
        if (showZero || s != 0) out += FixedStr(s, p.S % 10 == 0 ? 0 : 1);
    }
    if (showZero || p.L != 0)
        if (const Named* lum = ByCode(Luminosities, p.L)) out += lum->text;
    if (p.P != 0)
        if (const Named* pec = ByCode(Peculiarities, p.P)) out += pec->text;
    if (out.size() > 12) out.resize(12);
    return out;
}

SpectralTypeCode ParseSpType(const std::string& input) {
    std::string text = input;
    RemoveAll(text, " \t");
    if (text.empty()) return 0;
    RemoveAll(text, ":");

    SpectralTypeParts p;
    const Named* prefix = Starting(Prefixes, text);
    if (prefix) {
        p.L = prefix->code;
        text.erase(0, prefix->text.size());
    }

    const Named* cls = Starting(Classes, text);
    if (!cls) return 0;
    p.C = cls->code;
    text.erase(0, cls->text.size());

    p.S = NoSubclass;
    if (!text.empty() && IsDigit(text[0])) {
        std::size_t len = text.size() >= 3 && text[1] == '.' && IsDigit(text[2]) ? 3 : 1;
        Extended value = text[0] - '0';
        if (len == 3) value += static_cast<Extended>(text[2] - '0') / 10;
        p.S = static_cast<int>(std::nearbyint(value * 10));
        text.erase(0, len);
    }

    if (!prefix && !text.empty()) {
        if (text[0] == '-' || text[0] == '+') {
            std::size_t cut = 0;
            while (cut < text.size() && text[cut] != 'I' && text[cut] != 'V') ++cut;
            text.erase(0, cut);
        }
        const Named* lum = Starting(Luminosities, text);
        if (lum) {
            p.L = lum->code;
            // "IIIa-b" and the like: the a/b sub-classes are dropped and the
            // range read again.
            if (p.L >= 20 && text.find('-') != std::string::npos &&
                text.find_first_of("ab") != std::string::npos) {
                RemoveAll(text, "ab");
                if (const Named* again = Starting(Luminosities, text)) {
                    lum = again;
                    p.L = lum->code;
                }
            }
            if (text.compare(0, lum->text.size(), lum->text) == 0) text.erase(0, lum->text.size());
        }
    }

    if (!text.empty())
        for (const Named& pec : Peculiarities)
            if (text.find(pec.text) != std::string::npos) {
                p.P = pec.code;
                break;
            }
    return MakeSpectralType(p);
}

}  // namespace qnr
