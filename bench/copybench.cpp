// Measures the engine against cp -r followed by sync (the engine ends with
// its files on stable storage) and find on the same data in the same run:
// (a) 10,000 files of 4 KiB in 100 folders, (b) one 1 GiB file, (c) a tree of
// 100,000 entries (search only). Rounds alternate engine and tool. Also: (a)
// again over the installation the engine has just made (every file replaced
// and journalled) against the fresh run, and the rollback of a run of (a)
// that fails at its last file, and (a) and (b) with the medium's checksum
// list (every file hashed as it is copied) against the same copy without.
// The medians and their ratios are printed, the ratios as the last lines.
//
// On Windows (under Wine in CI) the engine copies between folders of the
// system's own drives and the reference is xcopy (/E /I /Q /Y /K /H: the
// tree, attributes kept, hidden files too); the search's reference is
// dir /s /b. "sync" there is the host's sync where the program runs under
// Wine (the data of both lands in the host's page cache), nothing elsewhere.
//
// Usage: copybench [WORKDIR] [--rounds N] [--large-mib M] [--only NAME,...]
// (--only runs just the measures named, as the result lines name them).
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "install/eventloop.h"
#include "install/installengine.h"
#include "install/kcfilegrep.h"
#include "install/manifest.h"
#include "install/sha256.h"
#include "platform/fault_platform.h"
#include "platform/forwarding_platform.h"
#ifdef _WIN32
#include "platform/this_process.h"
#else
#include "platform/posix/posix_platform.h"
#endif
#include "setup/silentrun.h"
#include "setupdata/catalogue.h"
#include "setupdata/memini.h"
#include "stools/stools.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "copybench: command failed: %s\n", command.c_str());
    std::exit(1);
  }
}

// What differs between the systems: the separator, the platform the engine
// runs on and where the medium and the target lie for it, the reference
// tools, and the untimed handling of folders.
#ifdef _WIN32
constexpr char kSep = '\\';
constexpr const char* kCopyTool = "xcopy+sync";
constexpr const char* kSearchTool = "dir /s /b";

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The host's sync where the program runs under Wine, which starts a Linux
// program as it starts a Windows one; the command interpreter runs only
// names with an extension, so the work folder gets a copy as sync.exe.
// Elsewhere there is none and nothing happens.
std::string& SyncProgram() {
  static std::string program;
  return program;
}

void FindSync(const std::string& work) {
  std::ifstream in("Z:\\bin\\sync", std::ios::binary);
  if (!in) return;
  const std::string program = work + "\\sync.exe";
  std::ofstream out(program, std::ios::binary);
  if (out << in.rdbuf() && out.flush()) SyncProgram() = program;
}

void Sync() {
  if (!SyncProgram().empty()) std::system(("\"" + SyncProgram() + "\"").c_str());
}

void MakeFolder(const std::string& path) {
  static const std::unique_ptr<platform::Platform> system = platform::MakeProcessPlatform();
  if (!system->MakeDirectories(path)) {
    std::fprintf(stderr, "copybench: cannot make %s\n", path.c_str());
    std::exit(1);
  }
}

void ResetTarget(const std::string& work) {
  std::system(("if exist " + Quoted(work + "\\target") + " rmdir /s /q " + Quoted(work + "\\target")).c_str());
  MakeFolder(work + "\\target");
  Sync();
}

void RemoveWork(const std::string& work) { std::system(("rmdir /s /q " + Quoted(work)).c_str()); }

std::string NewWorkFolder() {
  const char* tmp = std::getenv("TEMP");
  const std::string work = std::string(tmp ? tmp : "C:\\windows\\temp") + "\\copybench-" +
                           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007);
  MakeFolder(work);
  return work;
}

// The engine's view: the real folders, the program on the medium.
struct EngineHost {
  explicit EngineHost(const std::string& work)
      : real(platform::MakeProcessPlatform()),
        program(*real, work + "\\medium\\SETUP.EXE"),
        medium(work + "\\medium"),
        target(work + "\\target") {}
  platform::Platform& Platform() { return program; }
  std::unique_ptr<platform::Platform> real;
  platform::ProgramAtPlatform program;
  std::string medium;  // as the engine names it
  std::string target;
};

void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary);
  if (!(out << data) || !out.flush()) {
    std::fprintf(stderr, "copybench: cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

void WriteRandomFile(const std::string& path, int mib) {
  std::ofstream out(path, std::ios::binary);
  std::string piece(size_t{1} << 20, '\0');
  uint64_t x = 0x9E3779B97F4A7C15ull;
  for (int m = 0; m < mib && out; ++m) {
    for (size_t i = 0; i < piece.size(); i += 8) {
      x ^= x << 13, x ^= x >> 7, x ^= x << 17;
      for (size_t k = 0; k < 8; ++k) piece[i + k] = static_cast<char>(x >> (8 * k));
    }
    out << piece;
  }
  if (!out.flush()) {
    std::fprintf(stderr, "copybench: cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

double ToolCopy(const std::string& work, const std::string& group) {
  const auto start = Clock::now();
  Run("xcopy " + Quoted(work + "\\medium\\" + group) + " " + Quoted(work + "\\target\\OUT") +
      " /E /I /Q /Y /K /H >NUL");
  Sync();
  return Seconds(start);
}

double ToolSearch(const std::string& work) {
  const auto start = Clock::now();
  Run("dir /s /b /a " + Quoted(work + "\\medium\\tree") + " >NUL");
  return Seconds(start);
}
#else
constexpr char kSep = '/';
constexpr const char* kCopyTool = "cp -r+sync";
constexpr const char* kSearchTool = "find";

void Sync() { Run("sync"); }

void MakeFolder(const std::string& path) { mkdir(path.c_str(), 0755); }

void ResetTarget(const std::string& work) { Run("rm -rf " + work + "/target && mkdir -p " + work + "/target && sync"); }

void RemoveWork(const std::string& work) { Run("rm -rf " + work); }

std::string NewWorkFolder() {
  char pattern[] = "/tmp/copybench-XXXXXX";
  if (!mkdtemp(pattern)) std::exit(1);
  return pattern;
}

// The engine's view: C: is the target folder, D: the medium.
struct EngineHost {
  explicit EngineHost(const std::string& work)
      : drives({{'C', work + "/target", platform::kDriveFixed}, {'D', work + "/medium", platform::kDriveCdRom}}),
        posix(drives, work + "/medium/SETUP.EXE") {}
  platform::Platform& Platform() { return posix; }
  platform::posix::DriveTable drives;
  platform::posix::PosixPlatform posix;
  std::string medium = "D:";
  std::string target = "C:\\";
};

void WriteFile(const std::string& path, const std::string& data) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || write(fd, data.data(), data.size()) != static_cast<ssize_t>(data.size())) {
    std::fprintf(stderr, "copybench: cannot write %s\n", path.c_str());
    std::exit(1);
  }
  close(fd);
}

void WriteRandomFile(const std::string& path, int mib) {
  Run("head -c " + std::to_string(mib) + "M /dev/urandom > " + path);
}

double ToolCopy(const std::string& work, const std::string& group) {
  const auto start = Clock::now();
  Run("cp -r " + work + "/medium/" + group + " " + work + "/target/OUT && sync");
  return Seconds(start);
}

double ToolSearch(const std::string& work) {
  const auto start = Clock::now();
  Run("find " + work + "/medium/tree > /dev/null");
  return Seconds(start);
}
#endif

std::string In(const std::string& folder, const std::string& name) { return folder + kSep + name; }

// The tree of (c) only when the search is measured.
void MakeMedium(const std::string& medium, int largeMiB, bool tree) {
  std::printf("making the synthetic medium in %s ...\n", medium.c_str());
  std::fflush(stdout);
  MakeFolder(medium);
  for (const char* part : {"small", "large", "tree"}) MakeFolder(In(medium, part));
  const std::string block(4096, 'x');
  for (int d = 0; d < 100; ++d) {
    const std::string dir = In(In(medium, "small"), "d" + std::to_string(d));
    MakeFolder(dir);
    for (int f = 0; f < 100; ++f) WriteFile(In(dir, "f" + std::to_string(f) + ".dat"), block);
  }
  WriteRandomFile(In(In(medium, "large"), "big.dat"), largeMiB);
  WriteFile(In(medium, "SETUP.INF"), "[Languages]\n1=L\n[L]\nTxt_001=LICENSE.TXT\nTxt_600=small\\;OUT\n");
  WriteFile(In(medium, "LICENSE.TXT"), "licence\n");
  // 100,000 entries: 10 x 10 x 10 folders (1,110 with their parents) holding
  // 98,890 empty files.
  int entries = 0;
  for (int a = 0; a < 10 && tree; ++a) {
    const std::string da = In(In(medium, "tree"), "a" + std::to_string(a));
    MakeFolder(da);
    ++entries;
    for (int b = 0; b < 10; ++b) {
      const std::string db = In(da, "b" + std::to_string(b));
      MakeFolder(db);
      ++entries;
      for (int c = 0; c < 10; ++c) {
        const std::string dc = In(db, "c" + std::to_string(c));
        MakeFolder(dc);
        ++entries;
        for (int f = 0; f < 99 && entries < 100000; ++f, ++entries) {
          WriteFile(In(dc, "e" + std::to_string(f)), "");
        }
      }
    }
  }
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Marks the moment the copy reaches a file, and the moment a message shows.
class Stopwatch : public EventLoop, public NullProgressView, public MessagePresenter {
 public:
  void ProcessMessages() override {
    if (label == watched) reached = Clock::now();
  }
  bool Terminating() override { return false; }
  void Synchronize(const std::function<void()>& call) override { call(); }
  void SetLabelFile(const std::string& Caption) override { label = Caption; }
  int32_t Show(const char*, const char*, int32_t) override {
    shown = Clock::now();
    return IDOK;
  }
  std::string label;
  std::string watched;
  Clock::time_point reached;
  Clock::time_point shown;
};

// Plans and copies one search group with the engine, as the wizard does.
// With failAt, the copy of that file fails; the result is then the time from
// reaching it to the failure message, which is the rollback.
// Without flush, the final flush of the target drives is left out, which
// shows what making the install durable costs.
class NoFlush : public platform::ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  bool FlushVolume(const std::string&) override { return true; }
};

// Where an engine run spends its time among the platform's calls: the
// calls a copy makes per file, each counted and timed; the rest of the run
// is the engine's own work.
struct Call {
  int count = 0;
  double seconds = 0;
};
using Profile = std::map<std::string, Call>;

class TimingPlatform : public platform::ForwardingPlatform {
  Profile& m_calls;

  template <typename F>
  auto Timed(const char* name, F call) {
    const auto start = Clock::now();
    auto result = call();
    Call& c = m_calls[name];
    ++c.count;
    c.seconds += Seconds(start);
    return result;
  }

 public:
  TimingPlatform(platform::Platform& inner, Profile& profile) : ForwardingPlatform(inner), m_calls(profile) {}

  std::string FullPath(const std::string& p) override {
    return Timed("FullPath", [&] { return m_inner.FullPath(p); });
  }
  bool IsFile(const std::string& p) override {
    return Timed("IsFile", [&] { return m_inner.IsFile(p); });
  }
  bool IsDirectory(const std::string& p) override {
    return Timed("IsDirectory", [&] { return m_inner.IsDirectory(p); });
  }
  uint32_t FileAttributes(const std::string& p) override {
    return Timed("FileAttributes", [&] { return m_inner.FileAttributes(p); });
  }
  bool SetAttributes(const std::string& p, uint32_t a) override {
    return Timed("SetAttributes", [&] { return m_inner.SetAttributes(p, a); });
  }
  std::string RealPath(const std::string& p) override {
    return Timed("RealPath", [&] { return m_inner.RealPath(p); });
  }
  bool MakeDirectories(const std::string& p) override {
    return Timed("MakeDirectories", [&] { return m_inner.MakeDirectories(p); });
  }
  bool MoveEntry(const std::string& from, const std::string& to, bool replace) override {
    return Timed("MoveEntry", [&] { return m_inner.MoveEntry(from, to, replace); });
  }
  bool Append(platform::AppendHandle h, const std::string& text, bool durable) override {
    return Timed("Append", [&] { return m_inner.Append(h, text, durable); });
  }
  platform::FindResult Enumerate(const std::string& pattern, const platform::FindCallback& visit,
                                 platform::FindDetail detail) override {
    return Timed("Enumerate", [&] { return m_inner.Enumerate(pattern, visit, detail); });
  }
  int ShellOperation(platform::ShellFunc func, const std::string& from, const std::string& to,
                     uint32_t flags) override {
    return Timed("ShellOperation", [&] { return m_inner.ShellOperation(func, from, to, flags); });
  }
  int CheckedCopy(const std::string& source, const std::string& target, platform::CopyCheck& check) override {
    return Timed("CheckedCopy", [&] { return m_inner.CheckedCopy(source, target, check); });
  }
  bool FlushVolume(const std::string& p) override {
    return Timed("FlushVolume", [&] { return m_inner.FlushVolume(p); });
  }
};

// The calls by time spent, and what the run spent beside them.
void PrintProfile(const Profile& profile, double runSeconds, int files) {
  std::vector<std::pair<std::string, Call>> calls(profile.begin(), profile.end());
  std::sort(calls.begin(), calls.end(),
            [](const auto& a, const auto& b) { return a.second.seconds > b.second.seconds; });
  double inCalls = 0;
  std::printf("profile of one run of (a): %.3f s, %.0f us per file\n", runSeconds, runSeconds / files * 1e6);
  for (const auto& [name, call] : calls) {
    inCalls += call.seconds;
    std::printf("  %-16s %7d calls %8.3f s %8.1f us per call %8.1f us per file\n", name.c_str(), call.count,
                call.seconds, call.seconds / call.count * 1e6, call.seconds / files * 1e6);
  }
  std::printf("  %-16s %8.3f s beside the calls, %.1f us per file\n", "the engine", runSeconds - inCalls,
              (runSeconds - inCalls) / files * 1e6);
}

// The checksum list of the synthetic medium's data sets (a) and (b).
MediumManifest MakeManifest(const std::string& medium) {
  std::vector<MediumManifest::Entry> entries;
  auto add = [&](const std::string& relative) {
    Sha256 hash;
    std::vector<char> buffer(1 << 20);
    std::string host = relative;
    std::replace(host.begin(), host.end(), '/', kSep);
    std::ifstream in(In(medium, host), std::ios::binary);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
      hash.Update(buffer.data(), static_cast<size_t>(in.gcount()));
    }
    entries.push_back({relative, hash.HexDigest()});
  };
  for (int d = 0; d < 100; ++d) {
    for (int f = 0; f < 100; ++f) add("small/d" + std::to_string(d) + "/f" + std::to_string(f) + ".dat");
  }
  add("large/big.dat");
  std::vector<MediumManifest::BadLine> bad;
  return MediumManifest::Parse(MediumManifest::Format(entries), &bad);
}

double EngineCopy(const std::string& work, const std::string& group, const std::string& failAt = "", bool flush = true,
                  const MediumManifest* manifest = nullptr, Profile* profile = nullptr) {
  EngineHost host(work);
  NoFlush noFlush(host.Platform());
  platform::Platform& base = flush ? host.Platform() : noFlush;
  std::unique_ptr<TimingPlatform> timing;
  if (profile) timing = std::make_unique<TimingPlatform>(base, *profile);
  platform::FaultPlatform platform(timing ? static_cast<platform::Platform&>(*timing) : base);
  if (!failAt.empty()) platform.Add({platform::FaultOp::kCopy, failAt + " ->"});
  TMemIniFile ini("[L]\nTxt_024=failed\nTxt_600=" + group + "\\;OUT\n");
  TextCatalogue texts(ini);
  texts.SetCurrentLanguage("L");
  Stopwatch watch;
  watch.watched = failAt.substr(failAt.find_last_of('\\') + 1);
  MessagePresenter* previous = SetMessagePresenter(&watch);
  InstallEngine engine(platform, watch, watch, texts, host.medium, [] { return std::string("bench"); });
  engine.UseManifest(manifest);
  CopyRequest request;
  request.Sirel = true;
  request.SirelTargetBase = host.target;
  const auto start = Clock::now();
  engine.BuildCopyPlan(request);
  const double seconds = Seconds(start);
  SetMessagePresenter(previous);
  if (!failAt.empty()) {
    if (engine.Outcome != InstallOutcome::kCopyFailed || !engine.LastRollback.complete()) {
      std::fprintf(stderr, "copybench: the failing run did not roll back completely\n");
      std::exit(1);
    }
    return std::chrono::duration<double>(watch.shown - watch.reached).count();
  }
  if (engine.InstallAborted) {
    std::fprintf(stderr, "copybench: the engine's copy of %s failed: %s\n", group.c_str(),
                 engine.FailureDetails.c_str());
    std::exit(1);
  }
  return seconds;
}

// The same copy of (a) through the install without a window (/S), as an
// administrator runs it: SETUP.INF, licence, targets, plan, copy.
double SilentCopy(const std::string& work) {
  EngineHost host(work);
  Stopwatch quiet;
  MessagePresenter* previous = SetMessagePresenter(&quiet);
  CommandLine options;
  std::string error;
  ParseCommandLine({"/S", "/ACCEPTLICENSE", "/SIREL=" + host.target}, &options, &error);
  const auto start = Clock::now();
  const int code = RunSilentInstall(host.Platform(), quiet, options);
  const double seconds = Seconds(start);
  SetMessagePresenter(previous);
  if (code != kExitInstalled) {
    std::fprintf(stderr, "copybench: the silent install ended with %d\n", code);
    std::exit(1);
  }
  return seconds;
}

double EngineSearch(const std::string& work, size_t* found) {
  EngineHost host(work);
  DirectEventLoop loop;
  TKCFileGrep grep(host.Platform(), loop);
  grep.ThreadedSearch = false;
  grep.FileMasks = "*.*";
  grep.CaseSensitiveContent = false;
  size_t count = 0;
  grep.OnFound = [&](void*, const std::string&) { ++count; };
  grep.Dirs = In(host.medium, "tree");
  const auto start = Clock::now();
  grep.Search();
  const double seconds = Seconds(start);
  *found = count;
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  std::string work;
  int rounds = 5;
  int largeMiB = 1024;
  std::string only;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--rounds" && i + 1 < argc) {
      rounds = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--large-mib" && i + 1 < argc) {
      largeMiB = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--only" && i + 1 < argc) {
      only = "," + std::string(argv[++i]) + ",";
    } else {
      work = a;
    }
  }
  if (work.empty()) work = NewWorkFolder();
#ifdef _WIN32
  FindSync(work);
  std::printf("sync: %s\n", SyncProgram().empty() ? "none" : SyncProgram().c_str());
#endif
  const auto wanted = [&](const std::string& name) {
    return only.empty() || only.find("," + name + ",") != std::string::npos;
  };
  MakeMedium(In(work, "medium"), largeMiB, wanted("search"));
  const MediumManifest manifest = MakeManifest(In(work, "medium"));

  struct Measure {
    const char* name;
    const char* tool;
    std::vector<double> engine;
    std::vector<double> reference;
  };
  Measure small{"small-files", kCopyTool, {}, {}};
  Measure large{"large-file", kCopyTool, {}, {}};
  Measure over{"over-existing", "fresh run", {}, {}};
  Measure durable{"durable", "no flush", {}, {}};
  Measure silent{"silent", "engine", {}, {}};
  std::vector<double> rollback;
  Measure search{"search", kSearchTool, {}, {}};
  Measure smallListed{"small-sum", "no list", {}, {}};
  Measure largeListed{"large-sum", "no list", {}, {}};
  size_t found = 0;
  for (int r = 0; r < rounds; ++r) {
    for (Measure* m : {&small, &large}) {
      if (!wanted(m->name)) continue;
      const std::string group = m == &small ? "small" : "large";
      // An untimed copy first: the run after a change of data set pays for
      // it (cache and block allocation), whichever it is.
      ResetTarget(work);
      ToolCopy(work, group);
      // Alternate which goes first, so neither always meets a warmer cache.
      for (int turn = 0; turn < 2; ++turn) {
        // Writeback of the previous run must not land on the timed one.
        ResetTarget(work);
        if ((turn == 0) == (r % 2 == 0)) {
          m->engine.push_back(EngineCopy(work, group));
        } else {
          m->reference.push_back(ToolCopy(work, group));
        }
      }
    }
    // (a) and (b) checked against the list, against the same copy without.
    for (Measure* m : {&smallListed, &largeListed}) {
      if (!wanted(m->name)) continue;
      const std::string group = m == &smallListed ? "small" : "large";
      ResetTarget(work);
      EngineCopy(work, group);  // untimed, as above
      for (int turn = 0; turn < 2; ++turn) {
        ResetTarget(work);
        if ((turn == 0) == (r % 2 == 0)) {
          m->engine.push_back(EngineCopy(work, group, "", true, &manifest));
        } else {
          m->reference.push_back(EngineCopy(work, group));
        }
      }
    }
    // (a) over the engine's own installation, against the fresh run.
    for (int turn = 0; turn < 2 && wanted(over.name); ++turn) {
      ResetTarget(work);
      if ((turn == 0) == (r % 2 == 0)) {
        EngineCopy(work, "small");
        Sync();
        over.engine.push_back(EngineCopy(work, "small"));
      } else {
        over.reference.push_back(EngineCopy(work, "small"));
      }
    }
    // (a) with and without the final flush.
    for (int turn = 0; turn < 2 && wanted(durable.name); ++turn) {
      ResetTarget(work);
      if ((turn == 0) == (r % 2 == 0)) {
        durable.engine.push_back(EngineCopy(work, "small"));
      } else {
        durable.reference.push_back(EngineCopy(work, "small", "", false));
      }
    }
    // (a) through the silent install against the engine alone.
    for (int turn = 0; turn < 2 && wanted(silent.name); ++turn) {
      ResetTarget(work);
      if ((turn == 0) == (r % 2 == 0)) {
        silent.engine.push_back(SilentCopy(work));
      } else {
        silent.reference.push_back(EngineCopy(work, "small"));
      }
    }
    // (a) failing at its last file, over an earlier installation: all of
    // it is put back.
    if (wanted("rollback")) {
      ResetTarget(work);
      EngineCopy(work, "small");
      Sync();
      rollback.push_back(EngineCopy(work, "small", "d99\\f99.dat"));
    }
    // Where (a) spends its time, once (not a comparison; only when asked).
    if (r == 0 && !only.empty() && wanted("profile")) {
      ResetTarget(work);
      EngineCopy(work, "small");  // untimed, as above
      ResetTarget(work);
      Profile profile;
      PrintProfile(profile, EngineCopy(work, "small", "", true, nullptr, &profile), 10000);
    }
    if (wanted(search.name) && r % 2 == 0) {
      search.engine.push_back(EngineSearch(work, &found));
      search.reference.push_back(ToolSearch(work));
    } else if (wanted(search.name)) {
      search.reference.push_back(ToolSearch(work));
      search.engine.push_back(EngineSearch(work, &found));
    }
  }
  RemoveWork(work);

  std::printf("rounds %d; large file %d MiB; search found %zu entries\n", rounds, largeMiB, found);
  if (!rollback.empty()) {
    std::printf("rollback     of (a) failing at its last file: %.3f s (median); rounds:", Median(rollback));
    for (double t : rollback) std::printf(" %.3f", t);
    std::printf("\n");
  }
  std::vector<const Measure*> all;
  for (const Measure* m : {&small, &large, &over, &durable, &silent, &search, &smallListed, &largeListed}) {
    if (!m->engine.empty()) all.push_back(m);
  }
  for (const Measure* m : all) {
    std::printf("%-12s engine %.3f s, %s %.3f s (medians); rounds:", m->name, Median(m->engine), m->tool,
                Median(m->reference));
    for (size_t i = 0; i < m->engine.size(); ++i) {
      std::printf(" %.3f/%.3f", m->engine[i], m->reference[i]);
    }
    std::printf("\n");
  }
  for (const Measure* m : all) {
    std::printf("ratio %s=%.2f\n", m->name, Median(m->engine) / Median(m->reference));
  }
  return 0;
}
