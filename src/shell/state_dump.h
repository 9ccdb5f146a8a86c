// The game's state as one JSON object, for the test runner's dumps.
#pragma once

#include <string>

namespace shell {

std::string StateDumpJson();

}  // namespace shell
