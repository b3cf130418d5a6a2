// The bitmap reader on arbitrary bytes: a decoded picture must match its
// header's size, and encoding it again must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "views/BmpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto img = vx::DecodeBmp(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!img) return 0;
  if (img->Bytes.size() != size_t(img->Width) * img->Height * 3) std::abort();
  if (img->Width * img->Height <= 4096) {
    auto again = vx::DecodeBmp(vx::EncodeBmp24(*img));
    if (!again || !(*again == *img)) std::abort();
  }
  return 0;
}
