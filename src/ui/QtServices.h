#pragma once
// One of each Qt platform service, handed to the core as platform::Services.
#include "platform/Services.h"
#include "ui/QtClock.h"
#include "ui/QtDialogs.h"
#include "ui/QtFileChooser.h"
#include "ui/QtIdentity.h"
#include "ui/QtPrinter.h"
#include "ui/QtProcesses.h"
#include "ui/QtSound.h"

namespace qnr::ui {

// Needs a QApplication for as long as it lives.
class QtServices {
public:
    QtServices() = default;
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    // Dialogs, file choosers and the print dialog are centred over `window`.
    void setMainWindow(QWidget* window);

    platform::Services services();
    // The pulsar sound's stream output (not part of Services).
    platform::PcmSink& pcmSink() { return pcm_; }

private:
    QtDialogs dialogs_;
    QtFileChooser chooser_;
    QtClock clock_;
    QtIdentity identity_;
    platform::StdFileSystem files_;
    QtSound sound_;
    QtPrinter printer_;
    QtProcesses processes_;
    QtPcmSink pcm_;
};

}  // namespace qnr::ui
