#pragma once
// qnrtool datatree check: the data tree's checks on an installed tree.
namespace qnr::tool { class Registry; }

namespace qnr::datatree_cli {
void RegisterCommands(tool::Registry& registry);
}
