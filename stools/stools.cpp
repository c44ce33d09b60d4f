#include "stools/stools.h"

#include <cstdio>
#include <cstring>

std::string AddBackslash(const std::string& Path) {
  if (!Path.empty() && Path.back() == '\\') return Path;
  return Path + '\\';
}

std::string RemoveBackslash(const std::string& Path) {
  if (!Path.empty() && Path.back() == '\\') return Path.substr(0, Path.size() - 1);
  return Path;
}

namespace {

class StderrPresenter : public MessagePresenter {
 public:
  int32_t Show(const char* Text, const char* Caption, int32_t /*Flags*/) override {
    std::fprintf(stderr, "%s: %s\n", Caption, Text);
    return IDOK;
  }
};

StderrPresenter g_stderrPresenter;
MessagePresenter* g_presenter = &g_stderrPresenter;

// Copies at most 255 bytes of Source, stopping at a NUL, into a 256-byte buffer.
void CopyToBuffer(const std::string& Source, char (&Buffer)[256]) {
  size_t n = std::strlen(Source.c_str());
  if (n > sizeof(Buffer) - 1) n = sizeof(Buffer) - 1;
  std::memcpy(Buffer, Source.data(), n);
  Buffer[n] = '\0';
}

}  // namespace

MessagePresenter* SetMessagePresenter(MessagePresenter* Presenter) {
  MessagePresenter* previous = g_presenter == &g_stderrPresenter ? nullptr : g_presenter;
  g_presenter = Presenter ? Presenter : &g_stderrPresenter;
  return previous;
}

int32_t ShowMsgBox(const std::string& Caption, const std::string& Text, int32_t Flags) {
  char caption[256];
  char text[256];
  CopyToBuffer(Caption, caption);
  CopyToBuffer(Text, text);
  return g_presenter->Show(text, caption, Flags);
}
