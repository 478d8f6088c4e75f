#include "app/cli/AppCommands.h"
#include "tool/Registry.h"
namespace qnr::app {
void RegisterCommands(tool::Registry&) {}
}
