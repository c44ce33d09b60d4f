#include "install/hashpipe.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

TEST(HashPipeTest, DigestOfAnyLengthFedInAnyPieces) {
  std::string data(5 * 1048576 + 7, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 2654435761u) >> 13);
  // Around the first MiB (hashed at once) and the buffers of the thread.
  for (const size_t size : {size_t{0}, size_t{1048576}, size_t{1048577}, size_t{4 * 1048576}, data.size()}) {
    for (const size_t piece : {size_t{1000}, size_t{65536}, size_t{3 * 1048576}}) {
      const std::string part = data.substr(0, size);
      HashPipe pipe;
      for (size_t at = 0; at < part.size(); at += piece) {
        pipe.Update(part.data() + at, std::min(piece, part.size() - at));
      }
      EXPECT_EQ(pipe.HexDigest(), Sha256::Of(part)) << size << " in pieces of " << piece;
    }
  }
  HashPipe dropped;  // ends its thread without being asked for the digest
  dropped.Update(data.data(), data.size());
}

}  // namespace
