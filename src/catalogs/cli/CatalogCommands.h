#pragma once
namespace qnr::tool { class Registry; }

namespace qnr::catalogs_cli {
// qnrtool commands of the sky catalogs: "field" and "asteroids".
void RegisterCommands(tool::Registry& registry);
}  // namespace qnr::catalogs_cli
