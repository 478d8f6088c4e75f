#pragma once
// The exercise's phases, as the main display shows them.

namespace qnr::app {

// Logo at start, title once a group is logged in (or at once in Demonstration
// Mode), running after File, Run.
enum class DisplayPhase { Logo, Title, Running };

}  // namespace qnr::app
