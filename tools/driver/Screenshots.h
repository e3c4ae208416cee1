#pragma once
// The program's windows in each state, as PNG files: what the README shows and what the
// visual regression check compares.
#include <string>
#include <vector>

namespace bw::driver {

// Starts `exe` (with `arguments`, e.g. a skin) several times and writes into `folder`:
// language, main-idle, folder-question, run, summary, gallery-menu and mdi, each name
// followed by `suffix` and ".png". Prints what it writes; false (with the reason in error)
// at the first state that could not be reached.
bool TakeScreenshots(const std::string& exe, const std::string& folder, const std::string& suffix,
                     const std::vector<std::string>& arguments, std::string& error);

}  // namespace bw::driver
