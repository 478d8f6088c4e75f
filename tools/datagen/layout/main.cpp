// Lays out the program folder's data tree from the seeds and checks it:
//   qnr_datagen_layout SEEDS/ TARGETS.txt PROGRAM_FOLDER/ [STAMP]
// A failed check fails the build; the stamp is written only after success.
#include <chrono>
#include <fstream>
#include <iostream>

#include "datagen/layout/Layout.h"
#include "datatree/DataTree.h"
#include "platform/FileSystem.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: qnr_datagen_layout SEEDS/ TARGETS.txt PROGRAM_FOLDER/ [STAMP]\n";
        return 2;
    }
    auto slash = [](std::string s) { return s.empty() || s.back() == '/' ? s : s + "/"; };
    const auto start = std::chrono::steady_clock::now();
    const qnr::datagen::LayoutPaths paths{slash(argv[1]), argv[2], slash(argv[3])};
    auto laid = qnr::datagen::LayOutTree(paths);
    if (!laid) {
        std::cerr << "qnr_datagen_layout: " << laid.error() << "\n";
        return 1;
    }
    for (const std::string& line : laid->lines) std::cout << line << "\n";
    const auto written = std::chrono::steady_clock::now();

    qnr::platform::StdFileSystem files;
    const qnr::datatree::CheckReport report = qnr::datatree::CheckTree(paths.out, files);
    for (const std::string& line : report.notes) std::cout << "check: " << line << "\n";
    for (const std::string& line : report.problems) std::cerr << "qnr_datagen_layout: CHECK FAILED: " << line << "\n";
    const auto done = std::chrono::steady_clock::now();
    using ms = std::chrono::milliseconds;
    std::cout << "layout " << std::chrono::duration_cast<ms>(written - start).count() << " ms, checks "
              << std::chrono::duration_cast<ms>(done - written).count() << " ms\n";
    if (!report.ok()) return 1;
    if (argc > 4) std::ofstream(argv[4]) << "laid out and checked\n";
    return 0;
}
