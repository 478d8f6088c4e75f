#include "spectroscopy/Nkd_Eye.h"

#include "catalogs/RecordCodec.h"

namespace qnr {

namespace {
constexpr auto Visit = [](auto& v, NakedEyeStar& s) { VisitNakedEyeStar(v, s); };
}

Bytes EncodeNakedEyeStars(const std::vector<NakedEyeStar>& stars) { return EncodeRecords(stars, Visit); }

std::vector<NakedEyeStar> DecodeNakedEyeStars(const Bytes& bytes) {
    return DecodeRecords<NakedEyeStar>(bytes, NakedEyeRecordSize, Visit);
}

}  // namespace qnr
