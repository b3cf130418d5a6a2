// TByteBuffer: the body of a download as it arrives. It grows by a quarter
// at a time and moves with realloc, which for large blocks remaps the pages
// instead of copying them; so a body of unknown length never takes much
// more memory than its own size, not even at the moment it grows.
#pragma once

#include <cstddef>
#include <string_view>

namespace vx {

class TByteBuffer {
 public:
  TByteBuffer() = default;
  ~TByteBuffer();
  TByteBuffer(TByteBuffer&& other) noexcept;
  TByteBuffer& operator=(TByteBuffer&& other) noexcept;
  TByteBuffer(const TByteBuffer&) = delete;
  TByteBuffer& operator=(const TByteBuffer&) = delete;

  size_t size() const { return Size_; }
  size_t capacity() const { return Capacity_; }
  bool empty() const { return Size_ == 0; }
  const char* data() const { return Data_; }
  std::string_view view() const { return {Data_ ? Data_ : "", Size_}; }
  operator std::string_view() const { return view(); }

  // Empties the buffer and gives its memory back.
  void clear();
  // Room for exactly n bytes in all (for a body whose length is known).
  // Throws std::bad_alloc.
  void reserve(size_t n);
  // Room for n more bytes at the end, growing by at least a quarter; the
  // bytes count once Commit is called with how many were written.
  char* Prepare(size_t n);
  void Commit(size_t n) { Size_ += n; }
  void append(std::string_view bytes);

 private:
  char* Data_ = nullptr;
  size_t Size_ = 0, Capacity_ = 0;
};

}  // namespace vx
