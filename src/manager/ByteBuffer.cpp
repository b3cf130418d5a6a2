#include "manager/ByteBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace vx {

TByteBuffer::~TByteBuffer() { std::free(Data_); }

TByteBuffer::TByteBuffer(TByteBuffer&& other) noexcept
    : Data_(std::exchange(other.Data_, nullptr)),
      Size_(std::exchange(other.Size_, 0)),
      Capacity_(std::exchange(other.Capacity_, 0)) {}

TByteBuffer& TByteBuffer::operator=(TByteBuffer&& other) noexcept {
  if (this != &other) {
    std::free(Data_);
    Data_ = std::exchange(other.Data_, nullptr);
    Size_ = std::exchange(other.Size_, 0);
    Capacity_ = std::exchange(other.Capacity_, 0);
  }
  return *this;
}

void TByteBuffer::clear() {
  std::free(Data_);
  Data_ = nullptr;
  Size_ = Capacity_ = 0;
}

void TByteBuffer::reserve(size_t n) {
  if (n <= Capacity_) return;
  void* p = std::realloc(Data_, n);
  if (!p) throw std::bad_alloc();
  Data_ = static_cast<char*>(p);
  Capacity_ = n;
}

char* TByteBuffer::Prepare(size_t n) {
  if (Capacity_ - Size_ < n) reserve(std::max({Size_ + n, Capacity_ + Capacity_ / 4, size_t(1) << 16}));
  return Data_ + Size_;
}

void TByteBuffer::append(std::string_view bytes) {
  if (bytes.empty()) return;
  std::memcpy(Prepare(bytes.size()), bytes.data(), bytes.size());
  Commit(bytes.size());
}

}  // namespace vx
