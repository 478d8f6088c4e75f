#pragma once
namespace qnr::tool { class Registry; }

namespace qnr::observatory {
// qnrtool commands of the observatory ("hotlist show", "hotlist add").
void RegisterCommands(tool::Registry& registry);
// "sky": a target's altitude and azimuth at a telescope's site.
void RegisterSkyCommand(tool::Registry& registry);
}  // namespace qnr::observatory
