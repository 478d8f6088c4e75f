#pragma once
namespace qnr::tool { class Registry; }

namespace qnr::astro_cli {
// qnrtool commands of the astronomical computation: the "astro" group (time,
// coordinates, the Sun, the sky map) and the "orbit" group.
void RegisterCommands(tool::Registry& registry);
}  // namespace qnr::astro_cli
