#include "platform/dos/namelist.h"

namespace platform::dos {

std::vector<std::string> SplitNameList(const std::string& list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start < list.size() && list[start] != '\0') {
    size_t end = list.find('\0', start);
    if (end == std::string::npos) end = list.size();
    names.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace platform::dos
