#pragma once
// For tests only: points programFolder() at another folder (with trailing '/'); empty restores the
// real one. Programs never call this, so users cannot move the program folder.

#include <string>

namespace platform::testing {

void setProgramFolder(const std::string& folder);

} // namespace platform::testing
