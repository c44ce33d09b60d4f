#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "install/hashpipe.h"
#include "platform/platform.h"

// SETUP.SUM, the checksum list of a medium: one line per file as the
// sha256sum tool writes them, "<64 hex digits><two blanks><path>", the path
// relative to the medium with "/" between names, the lines sorted by path.
// It never lists itself.
class MediumManifest {
 public:
  static const char kFileName[];  // "SETUP.SUM"

  struct Entry {
    std::string path;    // "macros/a.mac"
    std::string digest;  // 64 lower-case hex digits
  };
  struct BadLine {
    int line = 0;
    std::string why;
  };

  // Reads the text of a list. A line that is not a checksum line, or names
  // a path a second time, is left out and reported in *bad.
  static MediumManifest Parse(const std::string& text, std::vector<BadLine>* bad);
  // The text of a list of entries: sorted by path (byte order), one line each.
  static std::string Format(std::vector<Entry> entries);

  const std::vector<Entry>& entries() const { return m_entries; }
  // The digest listed for a path relative to the medium, names matched as
  // the platform matches them; nullptr when the list does not name it.
  const std::string* DigestOf(const std::string& relative) const;

 private:
  std::vector<Entry> m_entries;
  std::unordered_map<std::string, size_t> m_index;  // folded path -> entry
};

enum class ManifestRead { kAbsent, kRead, kUnreadable };

// Reads SETUP.SUM from the medium folder, when there is one.
ManifestRead ReadManifest(platform::Platform& platform, const std::string& sourceDir, MediumManifest* manifest,
                          std::vector<MediumManifest::BadLine>* bad);

// A file's path as the list names it ("macros/a.mac"), from its full path
// and the medium's full path; empty when it does not lie below the medium.
std::string MediumRelativePath(const std::string& fullPath, const std::string& mediumDir);

// True when a path relative to the medium names SETUP.SUM itself.
bool IsManifestPath(const std::string& relative);

// The check of one copy against the digest the list gives for the file.
class DigestCheck : public platform::CopyCheck {
 public:
  explicit DigestCheck(std::string expected) : m_expected(std::move(expected)) {}
  void Piece(const char* data, size_t size) override { m_hash.Update(data, size); }
  bool Accept() override {
    m_refused = m_hash.HexDigest() != m_expected;
    return !m_refused;
  }
  // True when the whole file was read and its digest differs.
  bool Refused() const { return m_refused; }

 private:
  std::string m_expected;
  HashPipe m_hash;
  bool m_refused = false;
};
