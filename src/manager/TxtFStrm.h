// TTextFileStream: a read-only file stream that hands out lines. Each ReadLn
// looks at no more than 1024 bytes, so a longer line arrives in 1024-byte
// pieces, and it returns the line with its line-end characters attached; the
// callbook builders rely on both (their offsets count every byte).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class TTextFileStream {
 public:
  static constexpr size_t kLineWindow = 1024;

  // Throws std::runtime_error naming the file when it cannot be opened.
  explicit TTextFileStream(const std::string& fileName);
  ~TTextFileStream();
  TTextFileStream(const TTextFileStream&) = delete;
  TTextFileStream& operator=(const TTextFileStream&) = delete;

  int64_t Size() const { return Size_; }
  int64_t Position() const { return Pos_; }

  void ReadLn(std::string& line) { line.assign(ReadLnView()); }
  // The same line without a copy; valid until the next call.
  std::string_view ReadLnView();

 private:
  void Fill(size_t need);

  std::FILE* File_ = nullptr;
  std::string FileName_;
  int64_t Size_ = 0;
  int64_t Pos_ = 0;       // logical position: first byte not yet returned
  int64_t BufStart_ = 0;  // file offset of Buf_[0]
  size_t BufLen_ = 0;
  std::vector<char> Buf_;
};

// The end of the first line of a window of bytes, as ReadLn finds it: the
// first CR or LF, then every following copy of the other one of the pair.
// Returns the window length when the line runs to the window's end.
size_t LineLength(std::string_view window);

}  // namespace vx
