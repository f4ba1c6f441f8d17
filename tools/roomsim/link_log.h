#pragma once
// The file that records every link roomsim receives, so that a test can see exactly what the
// shell handed over.

#include <string>
#include <string_view>

namespace roomsim {

// Appends the link and "\n" to the file, creating it if need be. The file is opened and closed
// for each link, so a reader sees every line at once. False when it could not be written.
bool AppendLinkLog(const std::string& path, std::string_view link);

}  // namespace roomsim
