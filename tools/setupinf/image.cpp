#include "tools/setupinf/image.h"

#include <cstdio>
#include <iostream>

#include "platform/platform.h"
#include "tools/setupinf/check.h"
#include "tools/setupinf/medium.h"

#ifndef _WIN32
#include <cerrno>
#include <cstring>

#include "platform/posix/child_process.h"
#include "platform/posix/host_files.h"
#endif

namespace {

constexpr size_t kVolumeIdLength = 32;  // the longest volume id ISO 9660 keeps

int Refuse(const std::string& why) {
  std::fprintf(stderr, "setupinf image: %s\n", why.c_str());
  return 1;
}

}  // namespace

std::string VolumeIdOf(const std::string& defaultDir) {
  std::string id;
  bool inCharacter = false;  // within the trailing bytes of a UTF-8 character
  for (const char ch : defaultDir) {
    const unsigned char c = static_cast<unsigned char>(ch);
    const bool trailing = (c & 0xC0) == 0x80;
    if (trailing && inCharacter) continue;
    inCharacter = c >= 0x80;
    if (c >= 'a' && c <= 'z') {
      id += static_cast<char>(c - 'a' + 'A');
    } else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') {
      id += static_cast<char>(c);
    } else {
      id += '_';
    }
  }
  if (id.size() > kVolumeIdLength) id.resize(kVolumeIdLength);
  return id.empty() ? "SETUP" : id;
}

#ifdef _WIN32

int RunImage(const std::vector<std::string>&) {
  return Refuse("not available on this system; make the image on Linux, where xorriso writes it");
}

#else

namespace {

// The image file given by the user as an absolute host path, its folder's
// links resolved; empty, with *why, when it cannot be one.
std::string ImageHostPath(const std::string& given, std::string* why) {
  const size_t slash = given.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : given.substr(0, slash);
  const std::string name = slash == std::string::npos ? given : given.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") {
    *why = "--out must name a file: " + given;
    return std::string();
  }
  const std::string hostDir = platform::posix::RealHostDirectory(dir);
  if (hostDir.empty()) {
    *why = "the folder of the image does not exist: " + dir;
    return std::string();
  }
  return (hostDir == "/" ? "" : hostDir) + "/" + name;
}

bool LiesBelow(const std::string& path, const std::string& dir) {
  return dir == "/" || (path.compare(0, dir.size(), dir) == 0 && path.size() > dir.size() && path[dir.size()] == '/');
}

}  // namespace

int RunImage(const std::vector<std::string>& args) {
  std::string mediumDir = ".";
  std::string out;
  bool haveMedium = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--out" && i + 1 < args.size()) {
      out = args[++i];
    } else if (!haveMedium && args[i].compare(0, 2, "--") != 0) {
      mediumDir = args[i];
      haveMedium = true;
    } else {
      return 2;
    }
  }
  if (out.empty()) return 2;

  Medium medium;
  std::string why;
  if (!medium.Open(mediumDir, &why)) return Refuse(why);
  const std::string imageHost = ImageHostPath(out, &why);
  if (imageHost.empty()) return Refuse(why);
  if (LiesBelow(imageHost, medium.hostDir())) {
    return Refuse("the image cannot be written into the medium it is made of: " + out);
  }
  platform::Platform& platform = medium.platform();
  const std::string imagePath = medium.HostToDos(imageHost);
  if (platform.IsDirectory(imagePath)) return Refuse(out + " is a folder");

  const int errors = ReportFindings(CheckMedium(medium), std::cout);
  if (errors > 0) return Refuse("the medium has " + std::to_string(errors) + " error(s); no image is written");
  SetupData data;
  if (medium.Load(&data) != SetupLoadResult::kLoaded) return Refuse("SETUP.INF cannot be read; no image is written");
  const std::string volumeId = VolumeIdOf(data.Boot.DefaultTargetSubdir);

  // Written beside the image and put in its place when complete, so that a
  // failed run leaves no image that looks whole.
  const std::string partHost = imageHost + ".new";
  const std::string partPath = medium.HostToDos(partHost);
  platform.RemoveFile(partPath);
  const platform::posix::ChildRun run =
      platform::posix::RunChild({"xorriso", "-as", "mkisofs", "-iso-level", "3", "-r", "-J", "-joliet-long", "-V",
                                 volumeId, "-o", partHost, medium.hostDir()});
  if (run.startError == ENOENT) {
    return Refuse(
        "xorriso, which writes the image, is not installed (on Debian: apt-get install xorriso); "
        "no image is written");
  }
  if (run.startError != 0) {
    return Refuse(std::string("xorriso cannot be started: ") + std::strerror(run.startError) + "; no image is written");
  }
  if (run.exitCode != 0) {
    std::fputs(run.output.c_str(), stderr);
    platform.RemoveFile(partPath);
    const std::string how = run.signal ? "was ended by signal " + std::to_string(run.signal)
                                       : "failed (exit " + std::to_string(run.exitCode) + ")";
    return Refuse("xorriso " + how + "; no image is written");
  }
  uint64_t size = 0;
  if (!platform.FileSizeOf(partPath, &size) || !platform.MoveEntry(partPath, imagePath, true)) {
    platform.RemoveFile(partPath);
    return Refuse("the image cannot be put in place as " + out + "; no image is written");
  }
  std::cout << out << ": " << size << " bytes, volume " << volumeId << ", ISO 9660 with Joliet and Rock Ridge names\n";
  return 0;
}

#endif
