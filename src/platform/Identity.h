#pragma once
// Who and where the program is.
#include <string>

namespace qnr::platform {

class Identity {
public:
    virtual ~Identity() = default;
    // The user's login name; empty when it cannot be had.
    virtual std::string loginName() = 0;
    // Folder of the running executable, "/"-separated, ending in "/".
    virtual std::string programFolder() = 0;
    // The per-user data location (generic data location), ending in "/".
    virtual std::string userDataLocation() = 0;
    // Platform family and major version, for the parts that ask.
    virtual std::string platformName() = 0;
    virtual int platformMajorVersion() = 0;
};

}  // namespace qnr::platform
