#include "install/sha256.h"

#include <gtest/gtest.h>

namespace {

TEST(Sha256Test, KnownDigestsWholeAndInPieces) {
  struct Case {
    std::string data;
    const char* digest;
  };
  std::string bytes(300, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + 3);
  const Case cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      // Every byte value, several whole blocks and a part (from an independent SHA-256).
      {bytes, "04773f8726c81cafcfa1a09a82664b98b00d2021031a1715bca1154f2dad3472"},
  };
  // The processor's rounds, where it has them, and the portable ones give the
  // same digests.
  for (const bool processor : {true, false}) {
    Sha256::UseProcessorRounds(processor);
    for (const Case& c : cases) {
      EXPECT_EQ(Sha256::Of(c.data), c.digest) << c.data.size() << " processor " << processor;
      // Pieces of every length up to a block and a half land on the same digest.
      for (const size_t piece : {size_t{1}, size_t{63}, size_t{64}, size_t{65}, size_t{97}, size_t{200}}) {
        Sha256 h;
        for (size_t at = 0; at < c.data.size(); at += piece) h.Update(c.data.substr(at, piece));
        EXPECT_EQ(h.HexDigest(), c.digest) << c.data.size() << " in pieces of " << piece << " processor " << processor;
      }
    }
  }
  Sha256::UseProcessorRounds(true);
}

}  // namespace
