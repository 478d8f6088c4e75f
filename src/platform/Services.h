#pragma once
// The platform services one running observatory (or one test) works with.
// Each member is owned elsewhere: by the application, qnrtool or a test fixture.
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileChooser.h"
#include "platform/FileSystem.h"
#include "platform/Identity.h"
#include "platform/Printing.h"
#include "platform/Processes.h"
#include "platform/Sound.h"

namespace qnr::platform {

struct Services {
    Dialogs* dialogs = nullptr;
    FileChooser* chooser = nullptr;
    Clock* clock = nullptr;
    Identity* identity = nullptr;
    FileSystem* files = nullptr;
    Sound* sound = nullptr;
    PcmSink* pcm = nullptr;
    Printer* printer = nullptr;
    Processes* processes = nullptr;
};

}  // namespace qnr::platform
