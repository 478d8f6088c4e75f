// Writes the instrument panel's digit pictures and sound effects into a
// folder (the build passes the program folder).
#include <iostream>
#include <string>

#include "panelart/Glyphs.h"
#include "panelart/Synth.h"
#include "panelart/Wav.h"
#include "platform/FileSystem.h"
#include "ui/panel/SegmentShapes.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: qnr_makepanelart <folder>\n";
        return 2;
    }
    qnr::platform::StdFileSystem files;
    const std::string folder = qnr::platform::WithTrailingSlash(argv[1]);
    if (files.makeFolders(folder) != 0) {
        std::cerr << "qnr_makepanelart: cannot create " << folder << "\n";
        return 1;
    }
    int failed = 0;
    auto write = [&](const std::string& name, const qnr::Bytes& bytes) {
        if (files.writeFileAtomic(folder + name, bytes) != 0) {
            std::cerr << "qnr_makepanelart: cannot write " << folder + name << "\n";
            ++failed;
        }
    };
    for (char c : qnr::ui::segments::Characters)
        write(qnr::ui::segments::GlyphFileName(c), qnr::panelart::GlyphPicture(c));
    for (const auto& sound : qnr::panelart::PanelSounds())
        write(sound.file, qnr::panelart::EncodeWav(qnr::panelart::Synthesize(sound.file)));
    return failed == 0 ? 0 : 1;
}
