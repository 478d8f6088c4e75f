#pragma once
// Who and where the program is, from Qt's application and system information.
#include "platform/Identity.h"

namespace qnr::ui {

class QtIdentity final : public platform::Identity {
public:
    std::string loginName() override;
    std::string programFolder() override;
    std::string userDataLocation() override;
    std::string platformName() override;
    int platformMajorVersion() override;
};

}  // namespace qnr::ui
