#include "ZipWriter.h"

#include <zlib.h>

#include <stdexcept>

#include "common/LittleEndian.h"

namespace vx::gen {

uint32_t Crc32(std::string_view data) {
  uLong c = crc32(0L, Z_NULL, 0);
  size_t at = 0;
  while (at < data.size()) {
    const size_t n = std::min<size_t>(data.size() - at, 1u << 30);
    c = crc32(c, reinterpret_cast<const Bytef*>(data.data() + at), static_cast<uInt>(n));
    at += n;
  }
  return static_cast<uint32_t>(c);
}

std::string DeflateRaw(std::string_view data, int level) {
  z_stream zs{};
  if (deflateInit2(&zs, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2 failed");
  std::string out(deflateBound(&zs, static_cast<uLong>(data.size())), '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate failed");
  return out;
}

std::string DeflateRepeated(std::string_view pattern, uint64_t bytes, int level, uint32_t& crc) {
  if (pattern.empty()) throw std::runtime_error("empty pattern");
  // A block of whole copies, fed again and again.
  std::string block;
  while (block.size() < (1u << 20)) block += pattern;
  z_stream zs{};
  if (deflateInit2(&zs, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2 failed");
  std::string out, buf(1 << 20, '\0');
  uLong c = crc32(0L, Z_NULL, 0);
  uint64_t left = bytes;
  int rc = Z_OK;
  do {
    // Whole copies, so the next block starts where a copy starts.
    const size_t take = left >= block.size() ? block.size() - block.size() % pattern.size() : static_cast<size_t>(left);
    zs.next_in = reinterpret_cast<Bytef*>(block.data());
    zs.avail_in = static_cast<uInt>(take);
    c = crc32(c, reinterpret_cast<const Bytef*>(block.data()), static_cast<uInt>(take));
    left -= take;
    const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
    do {
      zs.next_out = reinterpret_cast<Bytef*>(buf.data());
      zs.avail_out = static_cast<uInt>(buf.size());
      rc = deflate(&zs, flush);
      out.append(buf.data(), buf.size() - zs.avail_out);
    } while (zs.avail_out == 0);
  } while (left > 0);
  deflateEnd(&zs);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate failed");
  crc = static_cast<uint32_t>(c);
  return out;
}

std::string TZipWriter::Build(int level) const {
  std::string zip, central;
  for (const TZipMember& m : Members_) {
    uint32_t crc = 0;
    const std::string packed = m.RepeatTo                     ? DeflateRepeated(m.Data, m.RepeatTo, level, crc)
                               : m.Deflate && !m.Data.empty() ? DeflateRaw(m.Data, level)
                                                              : m.Data;
    const uint16_t method = m.RepeatTo || (m.Deflate && !m.Data.empty()) ? 8 : 0;
    const uint16_t flags = m.DataDescriptor ? 8 : 0;
    if (!m.RepeatTo) crc = Crc32(m.Data);
    const auto size = static_cast<uint32_t>(m.RepeatTo ? m.RepeatTo : m.Data.size());
    const auto offset = static_cast<uint32_t>(zip.size());
    AppendLE32(zip, 0x04034B50);
    AppendLE16(zip, 20);
    AppendLE16(zip, flags);
    AppendLE16(zip, method);
    AppendLE16(zip, m.DosTime);
    AppendLE16(zip, m.DosDate);
    AppendLE32(zip, m.DataDescriptor ? 0 : crc);
    AppendLE32(zip, m.DataDescriptor ? 0 : static_cast<uint32_t>(packed.size()));
    AppendLE32(zip, m.DataDescriptor ? 0 : size);
    AppendLE16(zip, static_cast<uint32_t>(m.Name.size()));
    AppendLE16(zip, 0);
    zip += m.Name;
    zip += packed;
    if (m.DataDescriptor) {
      AppendLE32(zip, 0x08074B50);
      AppendLE32(zip, crc);
      AppendLE32(zip, static_cast<uint32_t>(packed.size()));
      AppendLE32(zip, size);
    }
    AppendLE32(central, 0x02014B50);
    AppendLE16(central, 20);
    AppendLE16(central, 20);
    AppendLE16(central, flags);
    AppendLE16(central, method);
    AppendLE16(central, m.DosTime);
    AppendLE16(central, m.DosDate);
    AppendLE32(central, crc);
    AppendLE32(central, static_cast<uint32_t>(packed.size()));
    AppendLE32(central, size);
    AppendLE16(central, static_cast<uint32_t>(m.Name.size()));
    AppendLE16(central, 0);
    AppendLE16(central, 0);
    AppendLE16(central, 0);
    AppendLE16(central, 0);
    AppendLE32(central, 0);
    AppendLE32(central, offset);
    central += m.Name;
  }
  const auto cdOffset = static_cast<uint32_t>(zip.size());
  zip += central;
  AppendLE32(zip, 0x06054B50);
  AppendLE16(zip, 0);
  AppendLE16(zip, 0);
  AppendLE16(zip, static_cast<uint32_t>(Members_.size()));
  AppendLE16(zip, static_cast<uint32_t>(Members_.size()));
  AppendLE32(zip, static_cast<uint32_t>(central.size()));
  AppendLE32(zip, cdOffset);
  AppendLE16(zip, 0);
  return zip;
}

}  // namespace vx::gen
