#pragma once
// Runs a qnrtool command line in a test: its exit code, its output and its
// error text.
#include <sstream>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "tool/Registry.h"

namespace qnr::test {

struct ToolRun {
    int code = 0;
    std::string out, err;
};

inline ToolRun RunTool(const tool::Registry& registry, const platform::Services& services,
                       const std::vector<std::string>& argv) {
    std::ostringstream out, err;
    tool::Context ctx{out, err, services};
    ToolRun run;
    run.code = registry.dispatch(argv, ctx);
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace qnr::test
