// The stream that SFML reads sounds and music from must give back the file's
// own bytes however the reader cuts and seeks through it.
#include "RegularFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RegularFile, ReadsInAnyPiecesGiveTheFilesBytes) {
  std::string text;
  for (int i = 0; i < 50000; i++) {
    text += static_cast<char>('a' + i * 7 % 26);
  }
  qm::RegularFile file;
  ASSERT_EQ(file.open(qm_test::writeFile("bytes.bin", text)), 0);
  // Samples, a header, pieces bigger than any buffer, seeks back and ahead,
  // and the end.
  const struct {
    long long seek_to; // -1: read on from where the last read ended
    long long size;
  } reads[] = {{-1, 2}, {-1, 1},    {-1, 44}, {10, 3},    {-1, 20000}, {16380, 8},
               {-1, 2}, {0, 49990}, {-1, 2},  {49999, 5}, {60000, 4}};
  long long at = 0;
  for (const auto &read : reads) {
    if (read.seek_to >= 0) {
      ASSERT_EQ(file.seek(read.seek_to), read.seek_to);
      at = read.seek_to;
    }
    std::string got(static_cast<std::size_t>(read.size), '\0');
    const long long count = file.read(got.data(), read.size);
    const std::string expected =
        at < static_cast<long long>(text.size())
            ? text.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(read.size))
            : "";
    ASSERT_EQ(count, static_cast<long long>(expected.size())) << "at " << at;
    EXPECT_EQ(got.substr(0, expected.size()), expected) << "at " << at;
    at += count;
    EXPECT_EQ(file.tell(), at);
  }
}

} // namespace
