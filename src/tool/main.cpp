// qnrtool: the instructor's command-line companion, on the same core as the
// observatory. Each subsystem adds its commands here with one line.
#include <iostream>

#include "app/cli/AppCommands.h"
#include "catalogs/cli/CatalogCommands.h"
#include "ccd/cli/CcdCommand.h"
#include "astro/cli/AstroCommands.h"
#include "datatree/cli/DataTreeCommands.h"
#include "observatory/cli/HotListCommands.h"
#include "photometry/cli/PhotometerCommand.h"
#include "photometry/cli/ResultsCommands.h"
#include "radio/cli/RadioCommands.h"
#include "platform/Headless.h"
#include "tool/Registry.h"

int main(int argc, char** argv) {
    qnr::tool::Registry registry;
    qnr::app::RegisterCommands(registry);
    qnr::catalogs_cli::RegisterCommands(registry);
    qnr::astro_cli::RegisterCommands(registry);
    qnr::observatory::RegisterCommands(registry);
    qnr::observatory::RegisterSkyCommand(registry);
    qnr::datatree_cli::RegisterCommands(registry);
    qnr::photometry::RegisterCommands(registry);
    qnr::photometry::RegisterPhotometerCommand(registry);
    qnr::ccd::RegisterCommands(registry);
    qnr::radio::RegisterCommands(registry);

    qnr::platform::HeadlessServices platform;
    qnr::tool::Context context{std::cout, std::cerr, platform.services()};
    return registry.dispatch(std::vector<std::string>(argv + 1, argv + argc), context);
}
