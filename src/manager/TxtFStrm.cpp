#include "manager/TxtFStrm.h"

#include <sys/stat.h>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace vx {

namespace {
// Refills read this much at a time; lines are cut from the buffer in place.
constexpr size_t kBufferSize = size_t(1) << 20;
}  // namespace

size_t LineLength(std::string_view w) {
  const size_t n = w.size();
  const char* p = w.data();
  const void* lf = std::memchr(p, '\n', n);
  const size_t lfAt = lf ? static_cast<size_t>(static_cast<const char*>(lf) - p) : n;
  const void* cr = std::memchr(p, '\r', lfAt);
  size_t i;
  char other;
  if (cr) {
    i = static_cast<size_t>(static_cast<const char*>(cr) - p);
    other = '\n';
  } else if (lf) {
    i = lfAt;
    other = '\r';
  } else {
    return n;
  }
  size_t j = i + 1;
  while (j < n && p[j] == other) ++j;
  return j;  // j == n: the line is the whole window
}

TTextFileStream::TTextFileStream(const std::string& fileName) : FileName_(fileName) {
  File_ = std::fopen(fileName.c_str(), "rb");
  if (!File_) throw std::runtime_error("Cannot open file \"" + fileName + "\": " + std::strerror(errno));
  struct stat st {};
  if (::fstat(fileno(File_), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(File_);
    File_ = nullptr;
    throw std::runtime_error("Cannot open file \"" + fileName + "\": not a regular file");
  }
  Size_ = static_cast<int64_t>(st.st_size);
  Buf_.resize(kBufferSize);
}

TTextFileStream::~TTextFileStream() {
  if (File_) std::fclose(File_);
}

void TTextFileStream::Fill(size_t need) {
  // Keep the unread tail, then read behind it.
  const size_t keep = BufLen_ - static_cast<size_t>(Pos_ - BufStart_);
  std::memmove(Buf_.data(), Buf_.data() + (BufLen_ - keep), keep);
  BufStart_ = Pos_;
  BufLen_ = keep;
  while (BufLen_ < need) {
    const size_t got = std::fread(Buf_.data() + BufLen_, 1, Buf_.size() - BufLen_, File_);
    if (got == 0) {
      if (std::ferror(File_)) throw std::runtime_error("Read error in \"" + FileName_ + "\"");
      break;  // the file shrank under us: deliver what there is
    }
    BufLen_ += got;
  }
}

std::string_view TTextFileStream::ReadLnView() {
  const int64_t left = Size_ - Pos_;
  if (left <= 0) return {};
  const size_t want = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(kLineWindow)));
  if (static_cast<size_t>(Pos_ - BufStart_) + want > BufLen_) Fill(want);
  const size_t at = static_cast<size_t>(Pos_ - BufStart_);
  const size_t have = std::min(want, BufLen_ - at);
  if (have == 0) {
    Pos_ = Size_;  // truncated under us; end the caller's loop
    return {};
  }
  std::string_view window(Buf_.data() + at, have);
  const size_t len = LineLength(window);
  Pos_ += static_cast<int64_t>(len);
  return window.substr(0, len);
}

}  // namespace vx
