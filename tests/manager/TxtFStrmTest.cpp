#include <gtest/gtest.h>

#include "ManagerTestUtil.h"
#include "common/TextUtil.h"
#include "manager/TxtFStrm.h"

using namespace vx;

namespace {
std::vector<std::string> ReadAll(const std::string& bytes) {
  const std::string f = test::FreshFolder("txt") + "t.txt";
  EXPECT_TRUE(WriteFileAtomic(f, bytes));
  TTextFileStream s(f);
  std::vector<std::string> lines;
  std::string l;
  while (s.Position() < s.Size()) {
    s.ReadLn(l);
    lines.push_back(l);
  }
  return lines;
}
using V = std::vector<std::string>;
}  // namespace

TEST(TextFileStream, LineEndsStayAttached) {
  EXPECT_EQ(ReadAll("a\r\nb\n\rc\nd"), (V{"a\r\n", "b\n\r", "c\n", "d"}));
  EXPECT_EQ(ReadAll("a\n\nb"), (V{"a\n", "\n", "b"}));                  // two LF: two lines
  EXPECT_EQ(ReadAll("a\r\n\n\nb\r\r"), (V{"a\r\n\n\n", "b\r", "\r"}));  // CR then LFs: one end
  EXPECT_EQ(ReadAll("x\ry\rz\r"), (V{"x\r", "y\r", "z\r"}));            // CR only
  EXPECT_EQ(ReadAll(""), V{});
}

TEST(TextFileStream, LongLinesComeInWindowPieces) {
  const std::string longLine(2500, 'L');
  auto lines = ReadAll(longLine + "\r\nnext\r\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].size(), 1024u);
  EXPECT_EQ(lines[1].size(), 1024u);
  EXPECT_EQ(lines[2], std::string(452, 'L') + "\r\n");
  EXPECT_EQ(lines[3], "next\r\n");
  // A CR LF split by the window end: the LF opens the next piece.
  lines = ReadAll(std::string(1023, 'a') + "\r\nb");
  EXPECT_EQ(lines, (V{std::string(1023, 'a') + "\r", "\n", "b"}));
}

TEST(TextFileStream, PositionsCountEveryByteAcrossRefills) {
  std::string text;
  std::vector<int64_t> starts;
  for (int i = 0; i < 200000; ++i) {
    starts.push_back(static_cast<int64_t>(text.size()));
    text += "line " + std::to_string(i) + (i % 3 ? "\r\n" : "\n");
  }
  const std::string f = test::FreshFolder("txt") + "big.txt";
  ASSERT_TRUE(WriteFileAtomic(f, text));
  TTextFileStream s(f);
  for (size_t i = 0; i < starts.size(); ++i) {
    ASSERT_EQ(s.Position(), starts[i]);
    ASSERT_EQ(Trim(s.ReadLnView()), "line " + std::to_string(i));
  }
  EXPECT_EQ(s.Position(), s.Size());
  EXPECT_THROW(TTextFileStream(f + ".missing"), std::runtime_error);
}
