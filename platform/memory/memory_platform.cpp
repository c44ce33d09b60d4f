#include "platform/memory/memory_platform.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/dos/dospath.h"
#include "platform/dos/namelist.h"
#include "platform/dos/ntfsorder.h"
#include "platform/dos/wildcard.h"
#include "platform/englishdates.h"
#include "platform/filetime.h"
#include "platform/text/utf8.h"

namespace platform {

using dos::NormalizeDosPath;
using dos::SplitDosComponents;

struct MemoryPlatform::Node {
  enum class Kind { kFolder, kFile, kDevice, kLink };
  explicit Node(Kind k) : kind(k) {}
  Kind kind;
  uint32_t attributes = 0;  // the bits kept besides those the kind implies
  FileTime creation;
  FileTime lastAccess;
  FileTime lastWrite;
  std::string content;  // a file's data
  std::string target;   // a link's full DOS path
  Children children;    // a folder's entries
  int failListingAfter = -1;
};

namespace {

constexpr uint32_t kKeptBits = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
constexpr uint32_t kStructuralBits = kAttrDirectory | kAttrDevice | kAttrReparsePoint | kAttrVolume | kAttrNormal;
// Links followed in one walk before it counts as a loop (Linux's limit).
constexpr int kMaxLinkHops = 40;
constexpr uint64_t kDefaultFreeBytes = uint64_t{1} << 40;
constexpr uint64_t kDefaultUnit = 4096;

constexpr int kErrorFileNotFound = 2;
constexpr int kErrorPathNotFound = 3;
constexpr int kErrorAccessDenied = 5;
constexpr int kErrorInvalidParameter = 87;
constexpr int kErrorDiskFull = 112;
constexpr int kErrorDirectory = 267;

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

void AppendName(std::string* path, std::string_view name) {
  if (path->empty() || path->back() != '\\') *path += '\\';
  *path += name;
}

std::string Join(const std::string& dir, std::string_view name) {
  std::string out = dir;
  AppendName(&out, name);
  return out;
}

// The folder part of a full path ("C:\a" of "C:\a\b", "C:\" of "C:\a").
std::string DirOf(const std::string& full) {
  const size_t cut = full.rfind('\\');
  return cut <= 2 ? full.substr(0, 3) : full.substr(0, cut);
}

// The last name of a full path; empty for a drive root.
std::string LastComponent(const std::string& full) { return full.substr(full.rfind('\\') + 1); }

// True when path is already in the form NormalizeDosPath gives: "X:\" and
// components apart by one backslash, none empty or ending in a dot or blank.
bool IsNormalFull(std::string_view path) {
  if (path.size() < 3 || path[0] < 'A' || path[0] > 'Z' || path[1] != ':' || path[2] != '\\') {
    return false;
  }
  for (size_t pos = 3; pos < path.size();) {
    const size_t cut = std::min(path.find_first_of("\\/", pos), path.size());
    if (cut == pos || path[cut - 1] == '.' || path[cut - 1] == ' ') return false;
    if (cut == path.size()) break;
    if (path[cut] == '/' || cut + 1 == path.size()) return false;
    pos = cut + 1;
  }
  return true;
}

bool Full(const std::string& path, const std::string& currentDir, std::string* full) {
  if (path.find('\0') != std::string::npos) return false;
  // Most paths come normalised already; they need no second pass.
  if (IsNormalFull(path)) {
    *full = path;
    return true;
  }
  return NormalizeDosPath(path, currentDir, full);
}

}  // namespace

bool MemoryPlatform::NtfsLess::operator()(std::string_view a, std::string_view b) const {
  return dos::CompareNtfsOrder(a, b) < 0;
}

MemoryPlatform::MemoryPlatform(std::string programFileName, std::vector<DriveInfo> drives)
    : m_programFileName(std::move(programFileName)), m_clock(FileTimeFromUnix(1767225600, 0).ticks) {
  for (const DriveInfo& d : drives) AddDrive(d.letter, d.type);
  std::string full;
  if (Full(m_programFileName, "C:\\", &full) && m_drives.count(full[0])) {
    m_currentDir = DirOf(full);
  }
}

MemoryPlatform::~MemoryPlatform() = default;

void MemoryPlatform::AddDrive(char letter, uint32_t type) {
  Drive& drive = m_drives[UpperAscii(letter)];
  drive.type = type;
  if (!drive.root) {
    drive.root = std::make_shared<Node>(Node::Kind::kFolder);
    drive.root->creation = drive.root->lastAccess = drive.root->lastWrite = Tick();
    drive.capacity = kDefaultFreeBytes;
    drive.unit = kDefaultUnit;
  }
}

MemoryPlatform::Drive* MemoryPlatform::DriveOf(char letter) {
  const auto it = m_drives.find(UpperAscii(letter));
  return it == m_drives.end() ? nullptr : &it->second;
}

FileTime MemoryPlatform::Tick() {
  const FileTime now{m_clock};
  m_clock += 10000000;
  return now;
}

uint64_t MemoryPlatform::Allocated(const Drive& drive, uint64_t size) const {
  return (size + drive.unit - 1) / drive.unit * drive.unit;
}

uint64_t MemoryPlatform::Free(const Drive& drive) const {
  return drive.used >= drive.capacity ? 0 : drive.capacity - drive.used;
}

uint64_t MemoryPlatform::Held(const Drive& drive, const Node& node) const {
  if (node.kind == Node::Kind::kFile) return Allocated(drive, node.content.size());
  uint64_t sum = 0;
  for (const auto& child : node.children) sum += Held(drive, *child.second);
  return sum;
}

void MemoryPlatform::SetFreeSpace(char letter, uint64_t bytes, uint64_t unit) {
  Drive* drive = DriveOf(letter);
  if (!drive) return;
  drive->unit = unit == 0 ? 1 : unit;
  drive->used = Held(*drive, *drive->root);
  drive->capacity = drive->used + bytes;
}

MemoryPlatform::Walk MemoryPlatform::WalkPath(const std::string& path, bool followLast) const {
  std::string full;
  if (!Full(path, m_currentDir, &full)) return Walk();
  Walk w = WalkFull(full, followLast);
  // As on Windows, a name written with a trailing separator must be a folder.
  const char last = path.back();
  if ((last == '\\' || last == '/') && full.size() > 3 && w.node && w.node->kind != Node::Kind::kFolder) {
    w.node = nullptr;
  }
  return w;
}

MemoryPlatform::Children::iterator MemoryPlatform::FindChild(Node* folder, std::string_view name) {
  // Names equal but for case sit together in NTFS order, by their bytes.
  // The folded spelling lies among them or next to them (a capital can
  // have the greater code, as with Ÿ and ÿ), so look both ways.
  auto it = folder->children.lower_bound(text::FoldName(name));
  while (it != folder->children.begin() && text::SameName(std::prev(it)->first, name)) --it;
  if (it == folder->children.end() || !text::SameName(it->first, name)) {
    return folder->children.end();
  }
  for (auto same = it; same != folder->children.end() && text::SameName(same->first, name); ++same) {
    if (same->first == name) return same;
  }
  return it;
}

MemoryPlatform::Walk MemoryPlatform::WalkFull(std::string full, bool followLast) const {
  for (int hops = 0; hops <= kMaxLinkHops; ++hops) {
    const auto drive = m_drives.find(full[0]);
    if (drive == m_drives.end()) return Walk();
    Walk w;
    w.valid = true;
    w.drive = full[0];
    w.real.reserve(full.size() + 8);
    w.real.assign(full, 0, 3);
    Node* folder = drive->second.root.get();
    if (full.size() == 3) w.node = folder;
    const std::string_view path = full;
    std::string next;
    // A full path has one backslash between its components and none at the end.
    for (size_t pos = 3; pos < path.size();) {
      const size_t cut = std::min(path.find('\\', pos), path.size());
      const std::string_view part = path.substr(pos, cut - pos);
      const std::string_view after = cut < path.size() ? path.substr(cut + 1) : std::string_view();
      const bool last = cut == path.size();
      const auto it = FindChild(folder, part);
      if (it == folder->children.end()) {
        if (last) w.parent = folder;
        w.name = std::string(part);
        AppendName(&w.real, path.substr(pos));
        return w;
      }
      Node* child = it->second.get();
      if (child->kind == Node::Kind::kLink && (!last || followLast)) {
        next = child->target;
        if (!last) AppendName(&next, after);
        break;
      }
      AppendName(&w.real, it->first);
      if (last) {
        w.parent = folder;
        w.node = child;
        w.name = it->first;
      } else if (child->kind != Node::Kind::kFolder) {
        // A file where a folder must go: nothing below it exists.
        AppendName(&w.real, after);
        w.name = std::string(path.substr(path.rfind('\\') + 1));
        return w;
      } else {
        folder = child;
      }
      pos = cut + 1;
    }
    if (next.empty()) return w;
    full = std::move(next);
  }
  return Walk();
}

MemoryPlatform::Node* MemoryPlatform::Target(Node* node) const {
  if (node->kind != Node::Kind::kLink) return node;
  return WalkFull(node->target, true).node;
}

FindData MemoryPlatform::Describe(const Node& node, const std::string& name) const {
  FindData data;
  data.name = name;
  const Node* target = node.kind == Node::Kind::kLink ? WalkFull(node.target, true).node : &node;
  if (!target) {
    // A link that leads nowhere is listed as a plain file, as on Linux.
    data.attributes = kAttrArchive;
    data.creation = node.creation;
    data.lastAccess = node.lastAccess;
    data.lastWrite = node.lastWrite;
    return data;
  }
  uint32_t attributes = target->attributes;
  switch (target->kind) {
    case Node::Kind::kFolder:
      attributes |= kAttrDirectory;
      if (node.kind == Node::Kind::kLink) attributes |= kAttrReparsePoint;
      break;
    case Node::Kind::kDevice: attributes |= kAttrDevice; break;
    default:
      data.fullSize = target->content.size();
      data.size = static_cast<uint32_t>(data.fullSize);
      break;
  }
  data.attributes = attributes == 0 ? static_cast<uint32_t>(kAttrNormal) : attributes;
  data.creation = target->creation;
  data.lastAccess = target->lastAccess;
  data.lastWrite = target->lastWrite;
  return data;
}

MemoryPlatform::Node* MemoryPlatform::MakeFolders(const std::string& full) {
  Walk w = WalkFull(full, true);
  if (!w.valid) return nullptr;
  if (w.node) return w.node->kind == Node::Kind::kFolder ? w.node : nullptr;
  // One walk down: "real" is where "folder" really lies.
  std::string real = full.substr(0, 3);
  Node* folder = WalkFull(real, true).node;
  for (std::string_view part : SplitDosComponents(full)) {
    const auto it = FindChild(folder, part);
    if (it == folder->children.end()) {
      auto made = std::make_shared<Node>(Node::Kind::kFolder);
      made->creation = made->lastAccess = made->lastWrite = Tick();
      Node* parent = folder;
      folder = made.get();
      parent->children.emplace(std::string(part), std::move(made));
      AppendName(&real, part);
      m_changes.push_back(real);
      continue;
    }
    Node* child = it->second.get();
    Node* here = Target(child);
    // A file, or a link that leads nowhere or to a file, stops the walk.
    if (!here || here->kind != Node::Kind::kFolder) return nullptr;
    real = child == here ? Join(real, it->first) : WalkFull(child->target, true).real;
    folder = here;
  }
  return folder;
}

MemoryPlatform::Node* MemoryPlatform::Place(const std::string& full, std::shared_ptr<Node> entry, bool exactName) {
  Walk w = WalkFull(full, false);
  if (w.valid && !w.parent && full.size() > 3) {
    if (!MakeFolders(DirOf(full))) return nullptr;
    w = WalkFull(full, false);
  }
  if (exactName && w.node && w.name != LastComponent(full)) {
    // Another spelling of the name is another entry, as on Linux.
    w.node = nullptr;
    w.name = LastComponent(full);
    w.real = Join(DirOf(w.real), w.name);
  }
  if (!w.valid || !w.parent || (w.node && w.node->kind == Node::Kind::kFolder)) return nullptr;
  Drive& drive = m_drives[w.drive];
  const uint64_t before = w.node ? Held(drive, *w.node) : 0;
  drive.used = drive.used - std::min(drive.used, before) + Held(drive, *entry);
  Node* placed = entry.get();
  // An existing entry keeps its spelling, as a rename over it does.
  w.parent->children[w.name] = std::move(entry);
  m_changes.push_back(w.real);
  return placed;
}

bool MemoryPlatform::AddFile(const std::string& path, const std::string& content, uint32_t attributes) {
  std::string full;
  if (!Full(path, m_currentDir, &full)) return false;
  auto file = std::make_shared<Node>(Node::Kind::kFile);
  file->content = content;
  file->attributes = attributes & ~kStructuralBits;
  file->creation = file->lastAccess = file->lastWrite = Tick();
  return Place(full, std::move(file), true) != nullptr;
}

bool MemoryPlatform::AddFolder(const std::string& path, uint32_t attributes) {
  std::string full;
  if (!Full(path, m_currentDir, &full)) return false;
  Node* folder = MakeFolders(full);
  if (folder && (attributes & ~kStructuralBits)) {
    folder->attributes |= attributes & ~kStructuralBits;
    m_changes.push_back(WalkFull(full, true).real);
  }
  return folder != nullptr;
}

bool MemoryPlatform::AddDevice(const std::string& path) {
  std::string full;
  if (!Full(path, m_currentDir, &full)) return false;
  auto device = std::make_shared<Node>(Node::Kind::kDevice);
  device->attributes = kAttrArchive;
  device->creation = device->lastAccess = device->lastWrite = Tick();
  return Place(full, std::move(device), true) != nullptr;
}

bool MemoryPlatform::AddLink(const std::string& path, const std::string& target) {
  std::string full;
  std::string targetFull;
  if (!Full(path, m_currentDir, &full) || full.size() <= 3 || !Full(target, DirOf(full), &targetFull)) {
    return false;
  }
  auto link = std::make_shared<Node>(Node::Kind::kLink);
  link->target = targetFull;
  link->creation = link->lastAccess = link->lastWrite = Tick();
  return Place(full, std::move(link), true) != nullptr;
}

bool MemoryPlatform::FailListing(const std::string& path, int entries) {
  Walk w = WalkPath(path, true);
  if (!w.node || w.node->kind != Node::Kind::kFolder) return false;
  w.node->failListingAfter = entries < 0 ? -1 : entries;
  return true;
}

bool MemoryPlatform::Exists(const std::string& path) const { return WalkPath(path, false).node != nullptr; }

std::string MemoryPlatform::Content(const std::string& path) const {
  const Walk w = WalkPath(path, true);
  return w.node && w.node->kind == Node::Kind::kFile ? w.node->content : std::string();
}

std::string MemoryPlatform::FullPath(const std::string& path) {
  std::string full;
  return Full(path, m_currentDir, &full) ? full : std::string();
}

bool MemoryPlatform::IsFile(const std::string& path) {
  const Walk w = WalkPath(path, true);
  return w.node && w.node->kind != Node::Kind::kFolder;
}

bool MemoryPlatform::IsDirectory(const std::string& path) {
  const Walk w = WalkPath(path, true);
  return w.node && w.node->kind == Node::Kind::kFolder;
}

bool MemoryPlatform::ReadWholeFile(const std::string& path, std::string* contents) {
  const Walk w = WalkPath(path, true);
  if (!w.node || w.node->kind != Node::Kind::kFile) return false;
  *contents = w.node->content;
  return true;
}

ProbeHandle MemoryPlatform::ProbeCreate(const std::string& path) {
  const Walk w = WalkPath(path, false);
  if (!w.parent || w.node) return kNoProbe;
  auto file = std::make_shared<Node>(Node::Kind::kFile);
  file->attributes = kAttrArchive;
  file->creation = file->lastAccess = file->lastWrite = Tick();
  w.parent->children.emplace(w.name, std::move(file));
  m_changes.push_back(w.real);
  return m_nextHandle++;
}

// The probe file holds nothing open here.
void MemoryPlatform::ProbeClose(ProbeHandle /*handle*/) {}

bool MemoryPlatform::RemoveFile(const std::string& path) {
  const Walk w = WalkPath(path, false);
  if (!w.node || !w.parent || w.node->kind == Node::Kind::kFolder) return false;
  Drive& drive = m_drives[w.drive];
  drive.used -= std::min(drive.used, Held(drive, *w.node));
  w.parent->children.erase(w.name);
  m_changes.push_back(w.real);
  return true;
}

bool MemoryPlatform::MakeDirectories(const std::string& path) {
  std::string full;
  return Full(path, m_currentDir, &full) && MakeFolders(full) != nullptr;
}

bool MemoryPlatform::ChangeDirectory(const std::string& path) {
  std::string full;
  if (!Full(path, m_currentDir, &full)) return false;
  const Walk w = WalkFull(full, true);
  if (!w.node || w.node->kind != Node::Kind::kFolder) return false;
  m_currentDir = full;
  return true;
}

uint32_t MemoryPlatform::FileAttributes(const std::string& path) {
  const Walk w = WalkPath(path, false);
  return w.node ? Describe(*w.node, w.name).attributes : kInvalidAttributes;
}

bool MemoryPlatform::SetAttributes(const std::string& path, uint32_t attributes) {
  const Walk w = WalkPath(path, true);
  if (!w.node) return false;
  w.node->attributes = attributes & kKeptBits;
  m_changes.push_back(w.real);
  return true;
}

FindResult MemoryPlatform::Enumerate(const std::string& pattern, const FindCallback& visit, FindDetail /*detail*/) {
  const size_t cut = pattern.find_last_of("\\/");
  std::string dirPart;
  std::string mask;
  if (cut == std::string::npos) {
    const bool driveRelative = pattern.size() >= 2 && pattern[1] == ':';
    dirPart = driveRelative ? pattern.substr(0, 2) : std::string(".");
    mask = driveRelative ? pattern.substr(2) : pattern;
  } else {
    dirPart = pattern.substr(0, cut + 1);
    mask = pattern.substr(cut + 1);
  }
  std::string full;
  if (mask.empty() || !Full(dirPart, m_currentDir, &full)) return FindResult::kNoMatch;
  const Walk w = WalkFull(full, true);
  if (!w.node || w.node->kind != Node::Kind::kFolder) return FindResult::kNoMatch;
  const Node& folder = *w.node;

  int left = folder.failListingAfter;
  bool any = false;
  bool stopped = false;
  // False once the listing ends: the visitor stopped it or it failed.
  const auto deliver = [&](const FindData& data) {
    if (left == 0) return false;
    if (left > 0) --left;
    any = true;
    stopped = !visit(data);
    return !stopped;
  };
  bool going = true;
  // Windows reports "." and ".." first in every folder but a drive root.
  if (full.size() > 3) {
    if (dos::WildcardMatch(mask, ".")) going = deliver(Describe(folder, "."));
    if (going && dos::WildcardMatch(mask, "..")) {
      going = deliver(Describe(w.parent ? *w.parent : folder, ".."));
    }
  }
  for (auto it = folder.children.begin(); going && it != folder.children.end(); ++it) {
    if (dos::WildcardMatch(mask, it->first)) going = deliver(Describe(*it->second, it->first));
  }
  if (!stopped && left >= 0) return FindResult::kFailed;
  return any ? FindResult::kFound : FindResult::kNoMatch;
}

std::string MemoryPlatform::RealPath(const std::string& path) {
  const Walk w = WalkPath(path, true);
  return w.valid ? w.real : std::string();
}

bool MemoryPlatform::MoveEntry(const std::string& from, const std::string& to, bool replace) {
  std::string toFull;
  if (!Full(to, m_currentDir, &toFull)) return false;
  const Walk f = WalkPath(from, false);
  const Walk t = WalkFull(toFull, false);
  if (!f.node || !f.parent || !t.parent || f.drive != t.drive) return false;
  if (t.node && t.node != f.node) {
    if (!replace || t.node->kind == Node::Kind::kFolder) return false;
  }
  if (f.node->kind == Node::Kind::kFolder) {
    // A folder cannot go into itself or below itself.
    std::vector<const Node*> pending = {f.node};
    while (!pending.empty()) {
      const Node* n = pending.back();
      pending.pop_back();
      if (n == t.parent) return false;
      for (const auto& child : n->children) pending.push_back(child.second.get());
    }
  }
  std::shared_ptr<Node> entry = f.parent->children[f.name];
  f.parent->children.erase(f.name);
  std::string name = LastComponent(toFull);
  if (t.node && t.node != f.node) {
    Drive& drive = m_drives[t.drive];
    drive.used -= std::min(drive.used, Held(drive, *t.node));
    t.parent->children.erase(t.name);
    name = t.name;
  }
  t.parent->children[name] = std::move(entry);
  m_changes.push_back(f.real);
  m_changes.push_back(t.node == f.node ? Join(DirOf(t.real), name) : t.real);
  return true;
}

bool MemoryPlatform::RemoveDirectory(const std::string& path) {
  const Walk w = WalkPath(path, false);
  if (!w.node || !w.parent || w.node->kind != Node::Kind::kFolder || !w.node->children.empty()) {
    return false;
  }
  w.parent->children.erase(w.name);
  m_changes.push_back(w.real);
  return true;
}

bool MemoryPlatform::DiskSpace(const std::string& path, uint64_t* freeForUser, uint64_t* allocationUnit) {
  const Walk w = WalkPath(path, true);
  if (!w.valid) return false;
  const Drive& drive = m_drives[w.drive];
  *freeForUser = Free(drive);
  *allocationUnit = drive.unit;
  return true;
}

bool MemoryPlatform::FlushVolume(const std::string& path) {
  std::string full;
  if (!Full(path, m_currentDir, &full) || !DriveOf(full[0])) return false;
  ++m_flushes;
  return true;
}

std::string MemoryPlatform::StateDirectory() {
  const std::string state = "C:\\STATE";
  return MakeFolders(state) ? state : std::string();
}

AppendHandle MemoryPlatform::OpenAppend(const std::string& path) {
  const Walk w = WalkPath(path, false);
  if (!w.parent) return kNoAppend;
  std::shared_ptr<Node> file;
  if (w.node) {
    if (w.node->kind != Node::Kind::kFile) return kNoAppend;
    // One holder at a time, as the lock of the file on disk allows.
    for (const auto& open : m_appends) {
      if (open.second.file.get() == w.node) return kNoAppend;
    }
    file = w.parent->children[w.name];
  } else {
    file = std::make_shared<Node>(Node::Kind::kFile);
    file->attributes = kAttrArchive;
    file->creation = file->lastAccess = file->lastWrite = Tick();
    w.parent->children.emplace(w.name, file);
    m_changes.push_back(w.real);
  }
  const AppendHandle handle = m_nextHandle++;
  m_appends[handle] = Appending{std::move(file), w.drive, w.real};
  return handle;
}

bool MemoryPlatform::Append(AppendHandle handle, const std::string& text, bool /*durable*/) {
  const auto it = m_appends.find(handle);
  if (it == m_appends.end()) return false;
  Drive& drive = m_drives[it->second.drive];
  Node& file = *it->second.file;
  const uint64_t before = Allocated(drive, file.content.size());
  const uint64_t after = Allocated(drive, file.content.size() + text.size());
  if (after - before > Free(drive)) return false;
  drive.used += after - before;
  file.content += text;
  file.lastWrite = Tick();
  m_changes.push_back(it->second.path);
  return true;
}

void MemoryPlatform::CloseAppend(AppendHandle handle) { m_appends.erase(handle); }

uint32_t MemoryPlatform::LogicalDriveStrings(uint32_t bufferLength, char* buffer) {
  std::string letters;
  for (const auto& drive : m_drives) letters += drive.first;
  return dos::WriteDriveStrings(letters, bufferLength, buffer);
}

uint32_t MemoryPlatform::DriveTypeOf(const std::string& root) {
  if (root.size() < 2 || root[1] != ':') return kDriveNoRootDir;
  const Drive* drive = DriveOf(root[0]);
  return drive ? drive->type : kDriveNoRootDir;
}

int MemoryPlatform::CopyOne(const std::string& source, const std::string& target, CopyCheck* check) {
  const Walk s = WalkFull(source, true);
  if (!s.valid) return kErrorInvalidParameter;
  if (!s.node) return kErrorFileNotFound;
  // Only a regular file is copied; a folder or device is refused before any byte.
  if (s.node->kind != Node::Kind::kFile) return kErrorAccessDenied;

  std::string dst = target;
  Walk t = WalkFull(dst, true);
  if (t.node && t.node->kind == Node::Kind::kFolder) {
    // An existing folder as target receives the file under its own name.
    dst = Join(dst, LastComponent(source));
    t = WalkFull(dst, true);
    if (t.node && t.node->kind == Node::Kind::kFolder) return kErrorDirectory;
  }
  t = WalkFull(dst, false);
  if (!t.valid) return kErrorInvalidParameter;
  if (!t.parent) {
    if (!MakeFolders(DirOf(dst))) return kErrorPathNotFound;
    t = WalkFull(dst, false);
    if (!t.parent) return kErrorPathNotFound;
  }
  // The new data stands beside the old target until it takes its place.
  const uint64_t size = s.node->content.size();
  if (Allocated(m_drives[t.drive], size) > Free(m_drives[t.drive])) return kErrorDiskFull;
  if (m_writeLimit >= 0) {
    if (m_writeLimit == 0 || static_cast<uint64_t>(m_writeLimit) < size) {
      m_writeLimit = 0;
      return kErrorDiskFull;
    }
    m_writeLimit -= static_cast<int64_t>(size);
  }
  if (check) {
    const std::string& data = s.node->content;
    for (size_t at = 0; at < data.size(); at += size_t{64} << 10) {
      check->Piece(data.data() + at, std::min(data.size() - at, size_t{64} << 10));
    }
    if (!check->Accept()) return kErrorCopyRefused;
  }
  auto copy = std::make_shared<Node>(Node::Kind::kFile);
  copy->content = s.node->content;
  // Attributes and times travel with the data, as Windows copies them.
  copy->attributes = (s.node->attributes & kKeptBits) | kAttrArchive;
  copy->creation = Tick();
  copy->lastAccess = s.node->lastAccess;
  copy->lastWrite = s.node->lastWrite;
  return Place(dst, std::move(copy), false) ? 0 : kErrorPathNotFound;
}

int MemoryPlatform::DeleteEntry(const std::string& path) {
  const Walk w = WalkFull(path, false);
  if (!w.valid) return kErrorInvalidParameter;
  if (!w.node) return kErrorFileNotFound;
  if (!w.parent) return kErrorAccessDenied;
  Drive& drive = m_drives[w.drive];
  drive.used -= std::min(drive.used, Held(drive, *w.node));
  w.parent->children.erase(w.name);
  m_changes.push_back(w.real);
  return 0;
}

int MemoryPlatform::ShellOperation(ShellFunc func, const std::string& from, const std::string& to, uint32_t /*flags*/) {
  // Names are taken literally: this platform expands no wildcards.
  std::vector<std::string> sources;
  for (const std::string& name : dos::SplitNameList(from)) {
    std::string full;
    if (!Full(name, m_currentDir, &full)) return kErrorInvalidParameter;
    sources.push_back(full);
  }
  if (sources.empty()) return kErrorFileNotFound;
  if (func == kFoDelete) {
    for (const std::string& source : sources) {
      if (const int error = DeleteEntry(source)) return error;
    }
    return 0;
  }
  const std::vector<std::string> targets = dos::SplitNameList(to);
  std::string target;
  if (sources.size() != 1 || targets.size() != 1 || !Full(targets[0], m_currentDir, &target)) {
    return kErrorInvalidParameter;
  }
  if (func == kFoCopy) return CopyOne(sources[0], target);
  return MoveEntry(sources[0], target, true) ? 0 : kErrorAccessDenied;
}

int MemoryPlatform::CheckedCopy(const std::string& source, const std::string& target, CopyCheck& check) {
  std::string from;
  std::string to;
  if (!Full(source, m_currentDir, &from) || !Full(target, m_currentDir, &to)) return kErrorInvalidParameter;
  return CopyOne(from, to, &check);
}

bool MemoryPlatform::FileSizeOf(const std::string& path, uint64_t* size) {
  const Walk w = WalkPath(path, true);
  if (!w.node || w.node->kind != Node::Kind::kFile) return false;
  *size = w.node->content.size();
  return true;
}

bool MemoryPlatform::FileTimesOf(const std::string& path, FileTime* creation, FileTime* lastAccess,
                                 FileTime* lastWrite) {
  const Walk w = WalkPath(path, true);
  if (!w.node || w.node->kind == Node::Kind::kDevice) return false;
  if (creation) *creation = w.node->creation;
  if (lastAccess) *lastAccess = w.node->lastAccess;
  if (lastWrite) *lastWrite = w.node->lastWrite;
  return true;
}

bool MemoryPlatform::SetFileTimeOf(const std::string& path, Stamp which, FileTime utc) {
  const Walk w = WalkPath(path, true);
  if (!w.node || w.node->kind == Node::Kind::kDevice) return false;
  FileTime& slot = which == Stamp::kCreation     ? w.node->creation
                   : which == Stamp::kLastAccess ? w.node->lastAccess
                                                 : w.node->lastWrite;
  slot = utc;
  m_changes.push_back(w.real);
  return true;
}

std::string MemoryPlatform::ShellTypeName(const std::string& /*path*/) { return std::string(); }

LocaleDateData MemoryPlatform::LocaleDates() { return EnglishLocaleDates(); }

bool MemoryPlatform::SetThreadPriority(std::thread& /*thread*/, int /*priority*/) { return false; }

}  // namespace platform
