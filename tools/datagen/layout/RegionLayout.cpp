#include "datagen/layout/RegionLayout.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "astro/Coords.h"
#include "astro/MathStd.h"

namespace qnr::datagen {

namespace {

constexpr double BandHeight = 7.5;


struct BandPlan {
    int rows = 0;
    std::vector<Cell> cells;
    std::vector<std::size_t> needed;  // indexes into cells
};

BandPlan PlanBand(const Band& band, int rows, const std::vector<const TargetBox*>& targets) {
    BandPlan plan{rows, LayBand(band, rows), {}};
    for (std::size_t i = 0; i < plan.cells.size(); ++i)
        for (const TargetBox* t : targets)
            if (RegionOverlaps(t->box, plan.cells[i].bounds)) {
                plan.needed.push_back(i);
                break;
            }
    return plan;
}

}  // namespace

const std::vector<Band>& Bands() {
    static const std::vector<Band> bands = [] {
        static const int Last[24] = {593,  1177, 1728, 2258, 2780, 3245, 3651, 4013, 4293, 4491, 4614, 4662,
                                     5259, 5837, 6411, 6988, 7522, 8021, 8463, 8839, 9133, 9345, 9489, 9537};
        std::vector<Band> out;
        int first = 1;
        for (int i = 0; i < 24; ++i) {
            Band b;
            b.first = first;
            b.last = Last[i];
            b.north = i < 12;
            const int k = i % 12;
            const double a = k * BandHeight, z = (k + 1) * BandHeight;
            b.lowDec = b.north ? a : -z;
            b.highDec = b.north ? z : -a;
            const int minutes = static_cast<int>(std::lround(a * 60));
            char name[8];
            name[0] = b.north ? 'N' : 'S';
            const int deg = minutes / 60, min = minutes % 60;
            name[1] = static_cast<char>('0' + deg / 10);
            name[2] = static_cast<char>('0' + deg % 10);
            name[3] = static_cast<char>('0' + min / 10);
            name[4] = static_cast<char>('0' + min % 10);
            name[5] = 0;
            b.name = name;
            out.push_back(b);
            first = Last[i] + 1;
        }
        return out;
    }();
    return bands;
}

std::vector<Cell> LayBand(const Band& band, int rows) {
    const double h = BandHeight / rows;
    std::vector<double> lo(static_cast<std::size_t>(rows)), hi(lo.size()), share(lo.size());
    double total = 0;
    for (int r = 0; r < rows; ++r) {
        // Rows from the equator outward.
        const double a = r * h, z = (r + 1) * h;
        const std::size_t i = static_cast<std::size_t>(r);
        lo[i] = band.north ? band.lowDec + a : band.highDec - z;
        hi[i] = band.north ? band.lowDec + z : band.highDec - a;
        share[i] = std::sin(hi[i] * static_cast<double>(DegToRad)) - std::sin(lo[i] * static_cast<double>(DegToRad));
        total += share[i];
    }
    // Largest remainder, at least one cell per row.
    std::vector<int> count(lo.size());
    std::vector<std::pair<double, int>> rest;
    int given = 0;
    for (std::size_t i = 0; i < lo.size(); ++i) {
        const double exact = band.count() * share[i] / total;
        count[i] = std::max(1, static_cast<int>(std::floor(exact)));
        given += count[i];
        rest.push_back({exact - std::floor(exact), static_cast<int>(i)});
    }
    std::stable_sort(rest.begin(), rest.end(), [](auto& a, auto& b) { return a.first > b.first; });
    for (std::size_t k = 0; given < band.count(); k = (k + 1) % rest.size(), ++given)
        ++count[static_cast<std::size_t>(rest[k].second)];
    // Rows raised to one cell may take the count past the band's; the widest give way.
    for (; given > band.count(); --given) --*std::max_element(count.begin(), count.end());

    std::vector<Cell> cells;
    int natural = band.first;
    for (std::size_t i = 0; i < lo.size(); ++i)
        for (int c = 0; c < count[i]; ++c) {
            Cell cell;
            cell.row = static_cast<int>(i);
            cell.natural = natural++;
            cell.bounds.lowRA = 24.0 * c / count[i];
            cell.bounds.highRA = c + 1 == count[i] ? 24.0 : 24.0 * (c + 1) / count[i];
            cell.bounds.lowDec = lo[i];
            cell.bounds.highDec = hi[i];
            cells.push_back(cell);
        }
    return cells;
}

int RegionLayout::RegionOf(double ra, double dec) const {
    // Only the band's own numbers are searched.
    for (const Band& b : Bands()) {
        const bool inBand = dec >= b.lowDec && (dec < b.highDec || (b.highDec == 90 && dec <= 90)) &&
                            !(b.lowDec == -90 && dec < -90);
        if (!inBand) continue;
        for (int n = b.first; n <= b.last; ++n) {
            const RegionRecord& r = regions[static_cast<std::size_t>(n - 1)];
            const bool inDec = dec >= r.lowDec && (dec < r.highDec || (r.highDec == 90 && dec <= 90));
            if (inDec && ra >= r.lowRA && (ra < r.highRA || (r.highRA == 24 && ra <= 24))) return n;
        }
    }
    return 0;
}

Expected<RegionLayout> LayOutRegions(const std::vector<TargetBox>& targets) {
    RegionLayout out;
    out.regions.assign(RegionCount, RegionRecord{});
    const std::vector<int>& exercise = ExerciseRegions();
    std::string problems;

    for (const Band& band : Bands()) {
        std::vector<int> numbers;
        for (int n : exercise)
            if (n >= band.first && n <= band.last) numbers.push_back(n);
        std::vector<const TargetBox*> inBand;
        for (const TargetBox& t : targets) {
            RegionRecord whole{0, 24, band.lowDec, band.highDec};
            if (RegionOverlaps(t.box, whole)) inBand.push_back(&t);
        }

        // The row count that needs the fewest cells; on a tie the first of
        // 4, 3, 5 (4 rows give the squarest cells in most bands).
        BandPlan plan;
        for (int rows : {4, 3, 5}) {
            BandPlan p = PlanBand(band, rows, inBand);
            if (plan.rows == 0 || p.needed.size() < plan.needed.size()) plan = std::move(p);
        }
        out.rowsOfBand.push_back(plan.rows);

        std::vector<int> number(plan.cells.size());
        for (std::size_t i = 0; i < plan.cells.size(); ++i) number[i] = plan.cells[i].natural;

        if (!inBand.empty()) {
            std::string names;
            std::set<std::string> named;
            for (const TargetBox* t : inBand)
                if (named.insert(t->name).second) names += (names.empty() ? "" : ", ") + t->name;
            if (plan.needed.size() > numbers.size()) {
                problems += "band " + band.name + ": the targets " + names + " need " +
                            std::to_string(plan.needed.size()) + " regions, the band has " +
                            std::to_string(numbers.size()) + " exercise regions\n";
            } else {
                // The spare exercise numbers go to the cells nearest the targets.
                std::set<std::size_t> chosen(plan.needed.begin(), plan.needed.end());
                std::vector<std::pair<double, std::size_t>> byDistance;
                for (std::size_t i = 0; i < plan.cells.size(); ++i) {
                    if (chosen.count(i)) continue;
                    const RegionRecord& r = plan.cells[i].bounds;
                    const double ra = (r.lowRA + r.highRA) / 2, dec = (r.lowDec + r.highDec) / 2;
                    double best = 1e9;
                    for (const TargetBox* t : inBand) best = std::min(best, SeparationDeg(ra, dec, t->ra, t->dec));
                    byDistance.push_back({best, i});
                }
                std::stable_sort(byDistance.begin(), byDistance.end(),
                                 [](auto& a, auto& b) { return a.first < b.first; });
                for (std::size_t k = 0; chosen.size() < numbers.size() && k < byDistance.size(); ++k)
                    chosen.insert(byDistance[k].second);

                // Exercise numbers to the chosen cells (both ascending); the
                // numbers those cells had go to the cells that had the
                // exercise numbers.
                std::vector<std::size_t> chosenCells(chosen.begin(), chosen.end());
                std::set<int> exerciseSet(numbers.begin(), numbers.end());
                std::vector<int> freed;
                for (std::size_t i : chosenCells)
                    if (!exerciseSet.count(plan.cells[i].natural)) freed.push_back(plan.cells[i].natural);
                std::vector<std::size_t> displaced;
                for (std::size_t i = 0; i < plan.cells.size(); ++i)
                    if (exerciseSet.count(plan.cells[i].natural) && !chosen.count(i)) displaced.push_back(i);
                for (std::size_t k = 0; k < chosenCells.size(); ++k) number[chosenCells[k]] = numbers[k];
                for (std::size_t k = 0; k < displaced.size(); ++k) number[displaced[k]] = freed[k];
                out.notes.push_back("band " + band.name + " (" + std::to_string(plan.rows) + " rows): " + names +
                                    " in " + std::to_string(plan.needed.size()) + " of " +
                                    std::to_string(numbers.size()) + " exercise regions");
            }
        }
        for (std::size_t i = 0; i < plan.cells.size(); ++i)
            out.regions[static_cast<std::size_t>(number[i] - 1)] = plan.cells[i].bounds;
    }
    if (!problems.empty()) return Fail(problems);
    return out;
}

}  // namespace qnr::datagen
