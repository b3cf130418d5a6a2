#include "manager/Unzipper.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "common/DayCount.h"
#include "common/LittleEndian.h"

namespace vx {

namespace {

constexpr uint32_t kLocalHeader = 0x04034B50;
constexpr uint32_t kCentralHeader = 0x02014B50;
constexpr uint32_t kEndOfCentral = 0x06054B50;
constexpr size_t kFixedHeader = 26;  // after the signature

}  // namespace

double DosDateTimeToDays(uint16_t date, uint16_t time) {
  const int year = 1980 + (date >> 9);
  const unsigned month = (date >> 5) & 15, day = date & 31;
  const unsigned hour = time >> 11, minute = (time >> 5) & 63, second = (time & 31) * 2;
  static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59) return 0;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return 0;
  return EncodeDayCount({year, static_cast<int>(month), static_cast<int>(day), static_cast<int>(hour),
                         static_cast<int>(minute), static_cast<double>(second)});
}

void TUnZipper::Open(std::string_view bytes) {
  Input_ = bytes;
  Open_ = true;
  Files_.clear();
  const auto* base = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  size_t pos = 0;
  while (pos < size) {
    if (size - pos < 4) break;
    const uint32_t sig = GetLE32(base + pos);
    pos += 4;
    if (sig == kCentralHeader || sig == kEndOfCentral) break;  // the listing is complete
    if (sig != kLocalHeader) break;                            // not an archive (any more)
    if (size - pos < kFixedHeader) break;
    const unsigned char* h = base + pos;
    pos += kFixedHeader;
    const uint16_t nameLen = GetLE16(h + 22), extraLen = GetLE16(h + 24);
    if (size - pos < nameLen) break;
    std::string stored(bytes.substr(pos, nameLen));
    pos += nameLen;
    std::replace(stored.begin(), stored.end(), '/', '\\');
    // Sizes are read unsigned for skipping, so a negative-looking compressed
    // size can never move the cursor backwards.
    const uint32_t compressed = GetLE32(h + 14);
    const auto uncompressed = static_cast<int32_t>(GetLE32(h + 18));
    if (uncompressed > 0) {
      TZippedFileInfo fi;
      const size_t cut = stored.rfind('\\');
      if (cut == std::string::npos) {
        fi.Name = std::move(stored);
      } else {
        fi.Path = stored.substr(0, cut + 1);
        fi.Name = stored.substr(cut + 1);
      }
      fi.Flags = GetLE16(h + 2);
      fi.Encrypted = (fi.Flags & 1) != 0;
      fi.Method = GetLE16(h + 4);
      fi.DateTime = DosDateTimeToDays(GetLE16(h + 8), GetLE16(h + 6));
      fi.Crc32 = GetLE32(h + 10);
      fi.CompressedSize = compressed;
      fi.Size = uncompressed;
      fi.DataOffset = static_cast<uint32_t>(std::min<size_t>(pos + extraLen, UINT32_MAX));
      Files_.push_back(std::move(fi));
    }
    const uint64_t skip = static_cast<uint64_t>(extraLen) + compressed;
    if (skip > size - pos) break;
    pos += static_cast<size_t>(skip);
  }
}

int TUnZipper::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < Files_.size(); ++i)
    if (Files_[i].Name == name) return static_cast<int>(i);
  return -1;
}

std::string TUnZipper::Extract(int index) const {
  std::string out;
  ExtractTo(index, [&](std::string_view chunk) {
    // The header's size is only trusted as an upper bound: deflate cannot
    // expand more than 1032:1, so a tiny member claiming gigabytes gets a
    // small buffer that grows only as real data arrive.
    if (out.empty()) {
      const TZippedFileInfo& fi = Files_[static_cast<size_t>(index)];
      const uint64_t plausible = static_cast<uint64_t>(fi.CompressedSize) * 1032 + 65536;
      out.reserve(static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(fi.Size), plausible)));
    }
    out.append(chunk);
  });
  return out;
}

void TUnZipper::ExtractTo(int index, const TChunkSink& sink) const {
  if (!Open_) throw EZipError("Zip file not open");
  if (index < 0 || static_cast<size_t>(index) >= Files_.size())
    throw EZipError("Zip file has no member " + std::to_string(index));
  const TZippedFileInfo& fi = Files_[static_cast<size_t>(index)];
  if (Input_.size() < static_cast<uint64_t>(fi.DataOffset) + fi.CompressedSize) throw EZipError("Zip file corrupt");
  // Without the password the data would come out as garbage at best.
  if (fi.Encrypted) throw EZipError("Zip file corrupt: \"" + fi.Name + "\" is encrypted");
  const auto want = static_cast<uint64_t>(fi.Size);
  // A header that carries its CRC (no trailing data descriptor) lets damaged
  // data be refused instead of being written to a reference file. The CRC is
  // taken piece by piece while the bytes are still in the cache.
  const bool checkCrc = (fi.Flags & 8) == 0;
  uLong crc = crc32(0L, Z_NULL, 0);
  auto deliver = [&](const char* p, size_t n) {
    if (n == 0) return;
    if (checkCrc) crc = crc32(crc, reinterpret_cast<const Bytef*>(p), static_cast<uInt>(n));
    sink(std::string_view(p, n));
  };
  constexpr size_t kPiece = size_t(1) << 18;

  if (fi.Method == 0) {
    // Stored: the data are the bytes themselves.
    if (fi.CompressedSize < want) throw EZipError("Zip file corrupt");
    const std::string_view data = Input_.substr(fi.DataOffset, static_cast<size_t>(want));
    for (size_t at = 0; at < data.size(); at += kPiece) deliver(data.data() + at, std::min(kPiece, data.size() - at));
  } else {
    z_stream zs{};
    if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) throw EZipError("Zip file corrupt: zlib init failed");
    // inflateEnd however the loop is left, a throwing sink included.
    struct TEnd {
      z_stream& Z;
      ~TEnd() { inflateEnd(&Z); }
    } end{zs};
    std::string piece(kPiece, '\0');
    const std::string_view in = Input_.substr(fi.DataOffset);
    size_t fed = 0;
    uint64_t produced = 0;
    while (produced < want) {
      if (zs.avail_in == 0 && fed < in.size()) {
        const size_t chunk = std::min<size_t>(in.size() - fed, 1u << 30);
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data() + fed));
        zs.avail_in = static_cast<uInt>(chunk);
        fed += chunk;
      }
      const size_t room = static_cast<size_t>(std::min<uint64_t>(kPiece, want - produced));
      zs.next_out = reinterpret_cast<Bytef*>(piece.data());
      zs.avail_out = static_cast<uInt>(room);
      const int rc = inflate(&zs, Z_NO_FLUSH);
      const size_t got = room - zs.avail_out;
      produced += got;
      deliver(piece.data(), got);
      if (rc == Z_STREAM_END) {
        if (produced < want) throw EZipError("Zip file corrupt: \"" + fi.Name + "\" is shorter than its header says");
        break;
      }
      if (rc == Z_BUF_ERROR && zs.avail_in == 0 && fed >= in.size())
        throw EZipError("Zip file corrupt: \"" + fi.Name + "\" is truncated");
      if (rc != Z_OK && rc != Z_BUF_ERROR)
        throw EZipError(std::string("Zip file corrupt: ") + (zs.msg ? zs.msg : "data error"));
    }
  }

  if (checkCrc && static_cast<uint32_t>(crc) != fi.Crc32)
    throw EZipError("Zip file corrupt: CRC error in \"" + fi.Name + "\"");
}

}  // namespace vx
