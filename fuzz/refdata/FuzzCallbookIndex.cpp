// Any bytes as a callbook index: the first byte gives the length of the call
// searched (the bytes after it), the rest is the index. The search must stay
// inside the file, read few records, and return only the call asked for; the
// same bytes as a detail line must give a one-line source text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "refdata/CbReader.h"
#include "refdata/DxPlace.h"

using namespace vx;

static void Check(bool ok) {
  if (!ok) __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const size_t callLen = std::min<size_t>(static_cast<uint8_t>(all[0]) % 16, size - 1);
  const std::string_view call = all.substr(1, callLen);
  const std::string_view index = all.substr(1 + callLen);
  int reads = 0;
  const TCallbookLookup r = FindInIndex(
      index.size(),
      [&](uint64_t at, char* out, size_t n) -> size_t {
        ++reads;
        Check(at % 32 == 0 && n == 32 && at + n <= index.size());
        std::copy_n(index.data() + at, n, out);
        return n;
      },
      call, "Fuzz.idx");
  Check(reads <= 64 + 16);
  Check((r.Status == TCallbookStatus::cbFound) == r.Entry.has_value());
  Check((r.Status == TCallbookStatus::cbRefused) == !r.Note.empty());
  if (r.Entry) {
    Check(r.Entry->CallText() == call);
    Check(r.Entry->Call[0] <= 15 && r.Entry->Region[0] <= 7 && r.Entry->DatOffset >= 0);
    if (auto at = CallbookLocation(*r.Entry)) Check(at->Y >= -16200 && at->Y <= 16200);
  }
  TCallbookEntry e;
  e.SetCall(call);
  for (TCallbookKind kind : {TCallbookKind::ckFcc, TCallbookKind::ckRac, TCallbookKind::ckRda}) {
    const std::string text = CallbookSource(kind, e, index);
    Check(text.size() < 64 && text.find_first_of("\r\n") == std::string::npos);
  }
  return 0;
}
