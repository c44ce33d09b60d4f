#include "stools/streampresenter.h"

int32_t StreamPresenter::Show(const char* Text, const char* Caption, int32_t /*Flags*/) {
  std::fprintf(m_stream, "%s: %s\n", Caption, Text);
  std::fflush(m_stream);
  return IDOK;
}
