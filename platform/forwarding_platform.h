#pragma once

#include <string>
#include <utility>

#include "platform/platform.h"

namespace platform {

// Passes every call to another platform; a base for platforms that change
// a few calls only (fault injection, a program path of the tools' choosing).
class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(Platform& inner) : m_inner(inner) {}

  std::string ProgramFileName() override { return m_inner.ProgramFileName(); }
  std::string FullPath(const std::string& path) override { return m_inner.FullPath(path); }
  std::string CommandLinePath(const std::string& path) override { return m_inner.CommandLinePath(path); }
  bool IsFile(const std::string& path) override { return m_inner.IsFile(path); }
  bool IsDirectory(const std::string& path) override { return m_inner.IsDirectory(path); }
  bool ReadWholeFile(const std::string& path, std::string* contents) override {
    return m_inner.ReadWholeFile(path, contents);
  }
  ProbeHandle ProbeCreate(const std::string& path) override { return m_inner.ProbeCreate(path); }
  void ProbeClose(ProbeHandle handle) override { m_inner.ProbeClose(handle); }
  bool RemoveFile(const std::string& path) override { return m_inner.RemoveFile(path); }
  bool MakeDirectories(const std::string& path) override { return m_inner.MakeDirectories(path); }
  bool ChangeDirectory(const std::string& path) override { return m_inner.ChangeDirectory(path); }
  std::string CurrentDirectory() override { return m_inner.CurrentDirectory(); }
  uint32_t FileAttributes(const std::string& path) override { return m_inner.FileAttributes(path); }
  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    return m_inner.SetAttributes(path, attributes);
  }
  FindResult Enumerate(const std::string& pattern, const FindCallback& visit,
                       FindDetail detail = FindDetail::kFull) override {
    return m_inner.Enumerate(pattern, visit, detail);
  }
  std::string RealPath(const std::string& path) override { return m_inner.RealPath(path); }
  bool MoveEntry(const std::string& from, const std::string& to, bool replace) override {
    return m_inner.MoveEntry(from, to, replace);
  }
  bool RemoveDirectory(const std::string& path) override { return m_inner.RemoveDirectory(path); }
  bool DiskSpace(const std::string& path, uint64_t* freeForUser, uint64_t* unit) override {
    return m_inner.DiskSpace(path, freeForUser, unit);
  }
  bool FlushVolume(const std::string& path) override { return m_inner.FlushVolume(path); }
  std::string StateDirectory() override { return m_inner.StateDirectory(); }
  AppendHandle OpenAppend(const std::string& path) override { return m_inner.OpenAppend(path); }
  bool Append(AppendHandle handle, const std::string& text, bool durable) override {
    return m_inner.Append(handle, text, durable);
  }
  void CloseAppend(AppendHandle handle) override { m_inner.CloseAppend(handle); }
  std::string ErrorText(int code) override { return m_inner.ErrorText(code); }
  std::string SettingsDirectory() override { return m_inner.SettingsDirectory(); }
  bool SameContent(const std::string& a, const std::string& b) override { return m_inner.SameContent(a, b); }
  FileTime ToLocalFileTime(FileTime utc) override { return m_inner.ToLocalFileTime(utc); }
  uint32_t LogicalDriveStrings(uint32_t length, char* buffer) override {
    return m_inner.LogicalDriveStrings(length, buffer);
  }
  uint32_t DriveTypeOf(const std::string& root) override { return m_inner.DriveTypeOf(root); }
  int ShellOperation(ShellFunc func, const std::string& from, const std::string& to, uint32_t flags) override {
    return m_inner.ShellOperation(func, from, to, flags);
  }
  int CheckedCopy(const std::string& source, const std::string& target, CopyCheck& check) override {
    return m_inner.CheckedCopy(source, target, check);
  }
  bool FileSizeOf(const std::string& path, uint64_t* size) override { return m_inner.FileSizeOf(path, size); }
  bool FileTimesOf(const std::string& path, FileTime* c, FileTime* a, FileTime* w) override {
    return m_inner.FileTimesOf(path, c, a, w);
  }
  bool SetFileTimeOf(const std::string& path, Stamp which, FileTime utc) override {
    return m_inner.SetFileTimeOf(path, which, utc);
  }
  std::string ShellTypeName(const std::string& path) override { return m_inner.ShellTypeName(path); }
  LocaleDateData LocaleDates() override { return m_inner.LocaleDates(); }
  bool SetThreadPriority(std::thread& thread, int priority) override {
    return m_inner.SetThreadPriority(thread, priority);
  }
  // The platform every call goes to.
  Platform& inner() const { return m_inner; }

 protected:
  Platform& m_inner;
};

// The platform with the program standing at a path of the caller's choosing,
// such as a medium's folder (the tools, tests and measurements).
class ProgramAtPlatform : public ForwardingPlatform {
 public:
  ProgramAtPlatform(Platform& inner, std::string program) : ForwardingPlatform(inner), m_program(std::move(program)) {}
  std::string ProgramFileName() override { return m_program; }

 private:
  std::string m_program;
};

}  // namespace platform
