#pragma once
// qnrtool ccd: the camera's image of a field, saved as FITS, with its answer key.
namespace qnr::tool { class Registry; }

namespace qnr::ccd {
void RegisterCommands(tool::Registry& registry);
}
