#pragma once
namespace qnr::tool { class Registry; }

namespace qnr::observatory {
// qnrtool commands of the observatory ("hotlist show", "hotlist add").
void RegisterCommands(tool::Registry& registry);
}  // namespace qnr::observatory
