// Renders the observatory's own pictures into a folder (the build passes the
// program folder): the logo, the title screen, the radio telescope and the
// two cross-hair cursors.
// Fixed seeds and fonts, so that every build draws the same pictures.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <iostream>
#include <string>

#include "pictures/Art.h"
#include "pictures/Cursor.h"
#include "platform/FileSystem.h"

namespace {

qnr::platform::Bytes Encoded(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP")) return {};
    return qnr::platform::Bytes(data.begin(), data.end());
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: qnr_makepictures <folder>\n";
        return 2;
    }
    qnr::platform::StdFileSystem files;
    const std::string folder = qnr::platform::WithTrailingSlash(argv[1]);
    if (files.makeFolders(folder) != 0) {
        std::cerr << "qnr_makepictures: cannot create " << folder << "\n";
        return 1;
    }
    int failed = 0;
    auto write = [&](const std::string& name, const qnr::platform::Bytes& bytes) {
        if (bytes.empty() || files.writeFileAtomic(folder + name, bytes) != 0) {
            std::cerr << "qnr_makepictures: cannot write " << folder + name << "\n";
            ++failed;
        }
    };
    using qnr::pictures::CrossHair;
    using qnr::pictures::CrossHairHotSpot;
    using qnr::pictures::CrossHairStyle;
    write("ZARNLOGO.BMP", Encoded(qnr::pictures::Logo()));
    write("QNRTITLE.BMP", Encoded(qnr::pictures::Title()));
    write("RADIOTEL.BMP", Encoded(qnr::pictures::RadioTelescope()));
    write("WtXHAIR.CUR", qnr::pictures::EncodeCursor(CrossHair(CrossHairStyle::White), CrossHairHotSpot,
                                                     CrossHairHotSpot));
    write("XPXHAIR.CUR", qnr::pictures::EncodeCursor(CrossHair(CrossHairStyle::Outlined), CrossHairHotSpot,
                                                     CrossHairHotSpot));
    return failed == 0 ? 0 : 1;
}
