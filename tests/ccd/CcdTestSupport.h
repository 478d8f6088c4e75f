#pragma once
// Small camera set-ups shared by the CCD tests.
#include <optional>
#include <string>
#include <vector>

#include "app/Options.h"
#include "catalogs/FieldObject.h"
#include "catalogs/Star_Cat.h"
#include "platform/FileChooser.h"

namespace qnr::test {

// A 9144 mm telescope with 1.8" seeing and no magnitude offset; a small
// camera with a flat background (no read noise, liquid nitrogen).
inline app::OptsRec CameraOpts(int size = 128) {
    app::OptsRec o;
    for (auto& t : o.telescopes) {
        t.name = "Test Telescope";
        t.siteName = "Nat'l. Test Site";
        t.focalLength = 9144.0f;
        t.seeingDisk = 1.8f;
        t.scopeFactor = 0.0f;
    }
    o.camera.name = "Test Chip";
    o.camera.imageWidth = o.camera.imageHeight = size;
    o.camera.readNoise = 0;
    o.camera.cooling = 1;
    o.camera.positionNoise = false;
    return o;
}

inline FieldObject Star(const std::string& name, double ra, double dec, Single v, Single bv = 0.0f,
                        std::uint8_t kind = KindStar) {
    FieldObject o;
    o.name = name;
    o.ra = ra;
    o.dec = dec;
    o.V = v;
    o.BV = bv;
    o.kind = kind;
    return o;
}

inline void AddObject(FieldObjectList& list, const FieldObject& o) {
    list.GoLast();
    list.InsertAfterCurrent(o);
    list.Reset();
}

// Save dialogs answered from a script; every choice offered is kept.
class SaveChooser final : public platform::FileChooser {
public:
    std::vector<std::optional<std::string>> answers;
    std::vector<platform::FileChoice> saves;
    std::optional<std::string> openFile(const platform::FileChoice&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const platform::FileChoice& c) override {
        saves.push_back(c);
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return std::nullopt; }
};

}  // namespace qnr::test
