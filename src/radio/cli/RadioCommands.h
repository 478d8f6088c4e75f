#pragma once
namespace qnr::tool {
class Arguments;
struct Context;
class Registry;
}  // namespace qnr::tool

namespace qnr::radio {
// qnrtool commands of the radio subsystem ("pulsar").
void RegisterCommands(tool::Registry& registry);
// "options show --radio [FILE]": every stored field of a radio options file
// (no FILE: the one the observatory would read) as "key = value" lines.
int ShowRadioOptions(tool::Arguments& args, tool::Context& ctx);
}  // namespace qnr::radio
