#pragma once

#include <cstdint>
#include <string>

// Path and message helpers shared by every part of the wizard.

// Returns Path with one backslash appended, unless its last byte already is one.
std::string AddBackslash(const std::string& Path);

// Returns Path without its last byte when that byte is a backslash, else Path.
std::string RemoveBackslash(const std::string& Path);

// Message box style flags and results the wizard uses (the same values
// <windows.h> defines as macros, where it is included first).
#ifndef MB_OK
constexpr int32_t MB_OK = 0x00;
#endif
#ifndef MB_ICONERROR
constexpr int32_t MB_ICONERROR = 0x10;
#endif
#ifndef MB_ICONINFORMATION
constexpr int32_t MB_ICONINFORMATION = 0x40;
#endif
#ifndef IDOK
constexpr int32_t IDOK = 1;
#endif

// Shows modal message boxes for ShowMsgBox. The skins install their own; the
// default one writes the message to standard error and answers IDOK.
class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;
  // Blocks until the user closes the box; returns the button identifier.
  // Text and Caption are zero-terminated and at most 255 bytes long.
  virtual int32_t Show(const char* Text, const char* Caption, int32_t Flags) = 0;
};

// Installs Presenter (not owned) for every later ShowMsgBox; nullptr restores
// the default. Returns the presenter that was installed before.
MessagePresenter* SetMessagePresenter(MessagePresenter* Presenter);

// Shows a modal message box. Caption and Text are each cut at their first NUL
// byte and at 255 bytes; returns what the presenter returns.
int32_t ShowMsgBox(const std::string& Caption, const std::string& Text, int32_t Flags);
