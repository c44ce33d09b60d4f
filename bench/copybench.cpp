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
// Usage: copybench [WORKDIR] [--rounds N] [--large-mib M] [--only NAME,...]
// (--only runs just the measures named, as the result lines name them).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "install/eventloop.h"
#include "install/installengine.h"
#include "install/kcfilegrep.h"
#include "install/manifest.h"
#include "install/sha256.h"
#include "platform/fault_platform.h"
#include "platform/forwarding_platform.h"
#include "platform/posix/posix_platform.h"
#include "setup/silentrun.h"
#include "setupdata/catalogue.h"
#include "setupdata/memini.h"
#include "stools/stools.h"

namespace {

using Clock = std::chrono::steady_clock;

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "copybench: command failed: %s\n", command.c_str());
    std::exit(1);
  }
}

void WriteFile(const std::string& path, const std::string& data) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || write(fd, data.data(), data.size()) != static_cast<ssize_t>(data.size())) {
    std::fprintf(stderr, "copybench: cannot write %s\n", path.c_str());
    std::exit(1);
  }
  close(fd);
}

void MakeMedium(const std::string& medium, int largeMiB) {
  std::printf("making the synthetic medium in %s ...\n", medium.c_str());
  std::fflush(stdout);
  Run("mkdir -p " + medium + "/small " + medium + "/large " + medium + "/tree");
  const std::string block(4096, 'x');
  for (int d = 0; d < 100; ++d) {
    const std::string dir = medium + "/small/d" + std::to_string(d);
    mkdir(dir.c_str(), 0755);
    for (int f = 0; f < 100; ++f) WriteFile(dir + "/f" + std::to_string(f) + ".dat", block);
  }
  Run("head -c " + std::to_string(largeMiB) + "M /dev/urandom > " + medium + "/large/big.dat");
  WriteFile(medium + "/SETUP.INF", "[Languages]\n1=L\n[L]\nTxt_001=LICENSE.TXT\nTxt_600=small\\;OUT\n");
  WriteFile(medium + "/LICENSE.TXT", "licence\n");
  // 100,000 entries: 10 x 10 x 10 folders (1,110 with their parents) holding
  // 98,890 empty files.
  int entries = 0;
  for (int a = 0; a < 10; ++a) {
    const std::string da = medium + "/tree/a" + std::to_string(a);
    mkdir(da.c_str(), 0755);
    ++entries;
    for (int b = 0; b < 10; ++b) {
      const std::string db = da + "/b" + std::to_string(b);
      mkdir(db.c_str(), 0755);
      ++entries;
      for (int c = 0; c < 10; ++c) {
        const std::string dc = db + "/c" + std::to_string(c);
        mkdir(dc.c_str(), 0755);
        ++entries;
        for (int f = 0; f < 99 && entries < 100000; ++f, ++entries) {
          WriteFile(dc + "/e" + std::to_string(f), "");
        }
      }
    }
  }
}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
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

// The checksum list of the synthetic medium's data sets (a) and (b).
MediumManifest MakeManifest(const std::string& medium) {
  std::vector<MediumManifest::Entry> entries;
  auto add = [&](const std::string& relative) {
    Sha256 hash;
    std::vector<char> buffer(1 << 20);
    const int fd = open((medium + "/" + relative).c_str(), O_RDONLY);
    for (ssize_t n; fd >= 0 && (n = read(fd, buffer.data(), buffer.size())) > 0;) {
      hash.Update(buffer.data(), static_cast<size_t>(n));
    }
    if (fd >= 0) close(fd);
    entries.push_back({relative, hash.HexDigest()});
  };
  for (int d = 0; d < 100; ++d) {
    for (int f = 0; f < 100; ++f) add("small/d" + std::to_string(d) + "/f" + std::to_string(f) + ".dat");
  }
  add("large/big.dat");
  std::vector<MediumManifest::BadLine> bad;
  return MediumManifest::Parse(MediumManifest::Format(entries), &bad);
}

double EngineCopy(const std::string& work, const std::string& group, const std::string& failAt = "",
                  bool flush = true, const MediumManifest* manifest = nullptr) {
  platform::posix::DriveTable drives({{'C', work + "/target", platform::kDriveFixed},
                                      {'D', work + "/medium", platform::kDriveCdRom}});
  platform::posix::PosixPlatform posix(drives, work + "/medium/SETUP.EXE");
  NoFlush noFlush(posix);
  platform::FaultPlatform platform(flush ? static_cast<platform::Platform&>(posix) : noFlush);
  if (!failAt.empty()) platform.Add({platform::FaultOp::kCopy, failAt + " ->"});
  TMemIniFile ini("[L]\nTxt_024=failed\nTxt_600=" + group + "\\;OUT\n");
  TextCatalogue texts(ini);
  texts.SetCurrentLanguage("L");
  Stopwatch watch;
  watch.watched = failAt.substr(failAt.find_last_of('\\') + 1);
  MessagePresenter* previous = SetMessagePresenter(&watch);
  InstallEngine engine(platform, watch, watch, texts, "D:", [] { return std::string("bench"); });
  engine.UseManifest(manifest);
  CopyRequest request;
  request.Sirel = true;
  request.SirelTargetBase = "C:\\";
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
  platform::posix::DriveTable drives({{'C', work + "/target", platform::kDriveFixed},
                                      {'D', work + "/medium", platform::kDriveCdRom}});
  platform::posix::PosixPlatform platform(drives, work + "/medium/SETUP.EXE");
  Stopwatch quiet;
  MessagePresenter* previous = SetMessagePresenter(&quiet);
  CommandLine options;
  std::string error;
  ParseCommandLine({"/S", "/ACCEPTLICENSE", "/SIREL=C:\\"}, &options, &error);
  const auto start = Clock::now();
  const int code = RunSilentInstall(platform, quiet, options);
  const double seconds = Seconds(start);
  SetMessagePresenter(previous);
  if (code != kExitInstalled) {
    std::fprintf(stderr, "copybench: the silent install ended with %d\n", code);
    std::exit(1);
  }
  return seconds;
}

double ToolCopy(const std::string& work, const std::string& group) {
  const auto start = Clock::now();
  Run("cp -r " + work + "/medium/" + group + " " + work + "/target/OUT && sync");
  return Seconds(start);
}

double EngineSearch(const std::string& work, size_t* found) {
  platform::posix::DriveTable drives({{'D', work + "/medium", platform::kDriveCdRom}});
  platform::posix::PosixPlatform platform(drives, work + "/medium/SETUP.EXE");
  DirectEventLoop loop;
  TKCFileGrep grep(platform, loop);
  grep.ThreadedSearch = false;
  grep.FileMasks = "*.*";
  grep.CaseSensitiveContent = false;
  size_t count = 0;
  grep.OnFound = [&](void*, const std::string&) { ++count; };
  grep.Dirs = "D:\\tree";
  const auto start = Clock::now();
  grep.Search();
  const double seconds = Seconds(start);
  *found = count;
  return seconds;
}

double ToolSearch(const std::string& work) {
  const auto start = Clock::now();
  Run("find " + work + "/medium/tree > /dev/null");
  return Seconds(start);
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
  if (work.empty()) {
    char pattern[] = "/tmp/copybench-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    work = pattern;
  }
  MakeMedium(work + "/medium", largeMiB);
  const MediumManifest manifest = MakeManifest(work + "/medium");

  struct Measure {
    const char* name;
    const char* tool;
    std::vector<double> engine;
    std::vector<double> reference;
  };
  Measure small{"small-files", "cp -r+sync", {}, {}};
  Measure large{"large-file", "cp -r+sync", {}, {}};
  Measure over{"over-existing", "fresh run", {}, {}};
  Measure durable{"durable", "no flush", {}, {}};
  Measure silent{"silent", "engine", {}, {}};
  std::vector<double> rollback;
  Measure search{"search", "find", {}, {}};
  Measure smallListed{"small-sum", "no list", {}, {}};
  Measure largeListed{"large-sum", "no list", {}, {}};
  size_t found = 0;
  const auto wanted = [&](const std::string& name) {
    return only.empty() || only.find("," + name + ",") != std::string::npos;
  };
  for (int r = 0; r < rounds; ++r) {
    for (Measure* m : {&small, &large}) {
      if (!wanted(m->name)) continue;
      const std::string group = m == &small ? "small" : "large";
      // An untimed copy first: the run after a change of data set pays for
      // it (cache and block allocation), whichever it is.
      Run("rm -rf " + work + "/target && mkdir -p " + work + "/target && sync");
      ToolCopy(work, group);
      // Alternate which goes first, so neither always meets a warmer cache.
      for (int turn = 0; turn < 2; ++turn) {
        // Writeback of the previous run must not land on the timed one.
        Run("rm -rf " + work + "/target && mkdir -p " + work + "/target && sync");
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
      Run("rm -rf " + work + "/target && mkdir -p " + work + "/target && sync");
      EngineCopy(work, group);  // untimed, as above
      for (int turn = 0; turn < 2; ++turn) {
        Run("rm -rf " + work + "/target && mkdir -p " + work + "/target && sync");
        if ((turn == 0) == (r % 2 == 0)) {
          m->engine.push_back(EngineCopy(work, group, "", true, &manifest));
        } else {
          m->reference.push_back(EngineCopy(work, group));
        }
      }
    }
    // (a) over the engine's own installation, against the fresh run.
    for (int turn = 0; turn < 2 && wanted(over.name); ++turn) {
      Run("rm -rf " + work + "/target && mkdir -p " + work + "/target && sync");
      if ((turn == 0) == (r % 2 == 0)) {
        EngineCopy(work, "small");
        Run("sync");
        over.engine.push_back(EngineCopy(work, "small"));
      } else {
        over.reference.push_back(EngineCopy(work, "small"));
      }
    }
    // (a) with and without the final flush.
    for (int turn = 0; turn < 2 && wanted(durable.name); ++turn) {
      Run("rm -rf " + work + "/target && mkdir -p " + work + "/target && sync");
      if ((turn == 0) == (r % 2 == 0)) {
        durable.engine.push_back(EngineCopy(work, "small"));
      } else {
        durable.reference.push_back(EngineCopy(work, "small", "", false));
      }
    }
    // (a) through the silent install against the engine alone.
    for (int turn = 0; turn < 2 && wanted(silent.name); ++turn) {
      Run("rm -rf " + work + "/target && mkdir -p " + work + "/target && sync");
      if ((turn == 0) == (r % 2 == 0)) {
        silent.engine.push_back(SilentCopy(work));
      } else {
        silent.reference.push_back(EngineCopy(work, "small"));
      }
    }
    // (a) failing at its last file, over an earlier installation: all of
    // it is put back.
    if (wanted("rollback")) {
      Run("rm -rf " + work + "/target && mkdir -p " + work + "/target && sync");
      EngineCopy(work, "small");
      Run("sync");
      rollback.push_back(EngineCopy(work, "small", "d99\\f99.dat"));
    }
    if (wanted(search.name) && r % 2 == 0) {
      search.engine.push_back(EngineSearch(work, &found));
      search.reference.push_back(ToolSearch(work));
    } else if (wanted(search.name)) {
      search.reference.push_back(ToolSearch(work));
      search.engine.push_back(EngineSearch(work, &found));
    }
  }
  Run("rm -rf " + work);

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
    std::printf("%-12s engine %.3f s, %s %.3f s (medians); rounds:", m->name, Median(m->engine),
                m->tool, Median(m->reference));
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
