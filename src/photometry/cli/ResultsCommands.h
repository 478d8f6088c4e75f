#pragma once
namespace qnr::tool { class Registry; }

namespace qnr::photometry {
// qnrtool commands of the observational results ("results show").
void RegisterCommands(tool::Registry& registry);
}  // namespace qnr::photometry
