#include "link_log.h"

#include <fstream>

namespace roomsim {

bool AppendLinkLog(const std::string& path, std::string_view link) {
  std::ofstream log(path, std::ios::binary | std::ios::app);
  log.write(link.data(), static_cast<std::streamsize>(link.size()));
  log.put('\n');
  log.close();
  return !log.fail();
}

}  // namespace roomsim
