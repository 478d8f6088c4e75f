#pragma once
namespace qnr::tool { class Registry; }

namespace qnr::photometry {
// qnrtool photometry: the photometer's reading sequence at a pointing.
void RegisterPhotometerCommand(tool::Registry& registry);
}  // namespace qnr::photometry
