#pragma once
// Thrown inside the component when a handler sets Cancel: the run winds down quietly.
namespace qln::archive {
struct RunCancelled {};
}  // namespace qln::archive
