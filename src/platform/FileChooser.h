#pragma once
// Open, save and folder-browser dialogs.
#include <optional>
#include <string>

namespace qnr::platform {

struct FileChoice {
    std::string title;
    std::string startFolder;   // "/"-separated, ending in "/"
    std::string filter;        // e.g. "FITS Files (*.FIT);;All Files (*)"
    std::string defaultName;   // proposed file name (save) or empty
    std::string defaultExtension;  // without the dot, appended when the user typed none
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual std::optional<std::string> openFile(const FileChoice& choice) = 0;
    virtual std::optional<std::string> saveFile(const FileChoice& choice) = 0;
    // Returns the chosen folder ending in "/".
    virtual std::optional<std::string> chooseFolder(const std::string& title,
                                                    const std::string& startFolder) = 0;
};

}  // namespace qnr::platform
