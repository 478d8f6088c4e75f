#pragma once
namespace qnr::tool { class Registry; }

namespace qnr::app {
// qnrtool commands of the exercise-control subsystem ("options", ...).
void RegisterCommands(tool::Registry& registry);
}  // namespace qnr::app
