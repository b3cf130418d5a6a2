#include "Gen.h"

#include <cctype>
#include <cstring>
#include <string_view>
#include <vector>

#include "ZipWriter.h"

namespace vx::gen {

namespace {

struct TRng {
  uint64_t S;
  uint64_t Next() {
    uint64_t z = (S += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
  double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
};

const char* const kStates[] = {"AL", "AK", "AZ", "AR", "CA", "CO", "CT", "DE", "FL", "GA", "HI", "ID", "IL",
                               "IN", "IA", "KS", "KY", "LA", "ME", "MD", "MA", "MI", "MN", "MS", "MO", "MT",
                               "NE", "NV", "NH", "NJ", "NM", "NY", "NC", "ND", "OH", "OK", "OR", "PA", "RI",
                               "SC", "SD", "TN", "TX", "UT", "VT", "VA", "WA", "WV", "WI", "WY"};
const char* const kFirst[] = {"JOHN",    "MARY",  "ROBERT",  "LINDA", "JAMES",   "SUSAN", "DAVID", "KAREN",
                              "MICHAEL", "NANCY", "WILLIAM", "LISA",  "RICHARD", "BETTY", "JOSEPH"};
const char* const kLast[] = {"SMITH",  "JOHNSON", "WILLIAMS", "BROWN",  "JONES",  "MILLER", "DAVIS",
                             "GARCIA", "WILSON",  "ANDERSON", "TAYLOR", "THOMAS", "MOORE",  "MARTIN"};
const char* const kCities[] = {"SPRINGFIELD", "RIVERSIDE", "FRANKLIN", "GREENVILLE", "BRISTOL",   "CLINTON",
                               "FAIRVIEW",    "SALEM",     "MADISON",  "GEORGETOWN", "ARLINGTON", "ASHLAND"};
const char* const kProvinces[] = {"ON", "QC", "BC", "AB", "MB", "SK", "NS", "NB", "NL", "PE", "NT", "YT", "NU"};

template <size_t N>
const char* Pick(TRng& r, const char* const (&a)[N]) {
  return a[r.Below(N)];
}

std::string Letters(TRng& r, size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += static_cast<char>('A' + r.Below(26));
  return s;
}

std::string Digits(TRng& r, size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += static_cast<char>('0' + r.Below(10));
  return s;
}

std::string Pad(std::string s, size_t width) {
  if (s.size() < width) s.append(width - s.size(), ' ');
  return s;
}

std::string Fixed(double v, int width, int prec) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%*.*f", width, prec, v);
  return buf;
}

std::string UsCall(TRng& r) {
  static const char* const kPre[] = {"K",  "W",  "N",  "KA", "KB", "KC", "KD", "KE", "KF", "KG", "KI", "KJ",
                                     "KK", "KN", "KO", "WA", "WB", "WD", "AA", "AB", "AC", "AD", "AE"};
  std::string c = Pick(r, kPre);
  c += static_cast<char>('0' + r.Below(10));
  c += Letters(r, 1 + r.Below(3));
  return c;
}

void AppendFccRecord(std::string& out, TRng& r, size_t seq, const TFccOptions& o) {
  const size_t zipIndex = r.Below(o.ZipCodes);
  std::string state = ZipState(zipIndex), zip = ZipCode(zipIndex) + Digits(r, 4);
  const size_t kind = r.Below(100);
  if (kind < 10) {
    state = Pick(r, kStates);  // the licensee's state disagrees with the ZIP's region
  } else if (kind < 18) {
    zip = ZipCode(zipIndex);
    zip[4] = static_cast<char>(zip[4] == '9' ? '8' : zip[4] + 1);  // between two listed codes
  } else if (kind < 21) {
    zip = ZipCode(zipIndex).substr(0, 4);  // only the beginning of a listed code
  } else if (kind < 23) {
    zip.clear();
  }
  std::string call = UsCall(r);
  if (r.Below(50) == 0)
    for (char& ch : call) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  std::string street = std::to_string(1 + r.Below(9999)) + " " + Pick(r, kLast) + " ST";
  if (r.Unit() < o.SplitShare) street += "\r\nAPT " + std::to_string(1 + r.Below(40));
  const std::string first = Pick(r, kFirst), last = Pick(r, kLast);
  const std::string fields[] = {"EN",
                                std::to_string(1000000 + seq),
                                "",
                                "",
                                call,
                                "L",
                                "L" + std::to_string(100000 + seq),
                                first + " " + last,
                                first,
                                Letters(r, 1),
                                last,
                                "",
                                "",
                                "",
                                "",
                                street,
                                Pick(r, kCities),
                                state,
                                zip,
                                "",
                                "",
                                "000",
                                "00" + Digits(r, 8),
                                "I",
                                "",
                                "",
                                "",
                                "",
                                "",
                                ""};
  for (size_t i = 0; i < std::size(fields); ++i) {
    if (i) out += '|';
    out += fields[i];
  }
  out += "\r\n";
}

}  // namespace

std::string ZipCode(size_t i) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%05zu", 1001 + 29 * i);
  return buf;
}

std::string ZipState(size_t i) { return kStates[(i / 60) % std::size(kStates)]; }

std::string GenerateZipList(size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    const double lat = 25.0 + static_cast<double>(i % 97) * 0.23 + 0.0037 * static_cast<double>(i % 7);
    const double lon = -124.0 + static_cast<double>(i % 89) * 0.61 + 0.0029 * static_cast<double>(i % 11);
    char region[16];
    std::snprintf(region, sizeof region, "%s%04zu", ZipState(i).c_str(), i % 10000);
    out += ZipCode(i) + " " + region + " " + Fixed(lat, 10, 4) + " " + Fixed(lon, 11, 4) + "\r\n";
  }
  return out;
}

std::string GenerateFccEn(const TFccOptions& o) {
  TRng r{o.Seed};
  std::string out;
  for (size_t i = 0; i < o.Records; ++i) AppendFccRecord(out, r, i, o);
  return out;
}

void WriteFccEn(const TFccOptions& o, std::FILE* f) {
  TRng r{o.Seed};
  std::string buf;
  for (size_t i = 0; i < o.Records; ++i) {
    AppendFccRecord(buf, r, i, o);
    if (buf.size() > (1u << 20)) {
      std::fwrite(buf.data(), 1, buf.size(), f);
      buf.clear();
    }
  }
  std::fwrite(buf.data(), 1, buf.size(), f);
}

std::string GenerateAmateurRpt(size_t records, uint64_t seed) {
  TRng r{seed};
  std::string out =
      "callsign;first name;surname;address line;city;prov_cd;postal_code;qual_a;qual_b;"
      "qual_c;qual_d;qual_e;club_name;club_name_2;club_address;club_city;club_prov_cd\r\n";
  for (size_t i = 0; i < records; ++i) {
    static const char* const kPre[] = {"VE1", "VE2", "VE3", "VE6", "VA3", "VA7", "VO1", "VY2"};
    std::string call = std::string(Pick(r, kPre)) + Letters(r, 2 + r.Below(2));
    if (r.Below(40) == 0) call[0] = 'v';  // not upper case: not a record
    std::string line = Pad(call, 7) + Pad(Pick(r, kFirst), 30) + Pad(Pick(r, kLast), 40) +
                       Pad(std::to_string(1 + r.Below(999)) + " " + Pick(r, kLast) + " AVE", 70) +
                       Pad(Pick(r, kCities), 39);
    line += Pick(r, kProvinces);  // columns 187-188
    std::string postal = " ";
    postal += Letters(r, 1);
    postal += Digits(r, 1);
    postal += Letters(r, 1);
    postal += ' ';
    postal += Digits(r, 1);
    postal += Letters(r, 1);
    postal += Digits(r, 1);
    line += Pad(postal, 269);  // up to column 457
    if (r.Below(10) == 0) {
      line += Pick(r, kProvinces);  // a club station: the club's province, columns 458-459
      line += "  RADIO CLUB";
    } else if (r.Below(2) == 0) {
      line += "   ";  // blank club columns
    } else {
      while (!line.empty() && line.back() == ' ') line.pop_back();  // shorter line
    }
    out += line + "\r\n";
  }
  return out;
}

std::string GenerateRdaList(size_t records, uint64_t seed) {
  TRng r{seed};
  std::string out = Pad("CALL      NAME", 70) + "RDA\r\n";
  for (size_t i = 0; i < records; ++i) {
    static const char* const kPre[] = {"UA1", "RA3", "RW6", "UA9", "R0", "RN4", "UA0"};
    std::string call = std::string(Pick(r, kPre)) + Letters(r, 2 + r.Below(2));
    std::string district = Letters(r, 2) + "-" + Digits(r, 2);
    out += Pad(call + " " + Pick(r, kLast), 70) + district + "  " + Digits(r, 4) + "\r\n";
  }
  return out;
}

std::string GenerateSpecialCalls(size_t records, uint64_t seed) {
  TRng r{seed};
  std::string out = "Call Sign;Organization;Year;Event;Contact;Dates;Period\r\n";
  std::vector<std::string> calls;
  for (size_t i = 0; i < records; ++i) {
    std::string call;
    if (!calls.empty() && r.Below(4) == 0) {
      call = calls[r.Below(calls.size())];  // several events of one call
    } else {
      call = std::string(r.Below(2) ? "VC" : "VX") + Digits(r, 1) + Letters(r, 1 + r.Below(3));
      calls.push_back(call);
    }
    const std::string year = std::to_string(2020 + r.Below(6));
    std::string dates = year.substr(2) + "/0" + std::to_string(1 + r.Below(9)) + "-" + year.substr(2) + "/1" +
                        std::to_string(r.Below(3));
    if (r.Below(8) == 0) dates = "from the first of the month until the end";  // too long: field 6 used
    out += call + ";" + Pick(r, kLast) + " Radio Club;" + year + "-" + std::to_string(r.Below(2)) + ";Anniversary of " +
           Pick(r, kCities) + ";" + Pick(r, kFirst) + ";" + dates + ";" + year + "\r\n";
    if (r.Below(20) == 0) out += "VC1;short call;2024;dropped;x;24/01-24/02;2024\r\n";
    if (r.Below(20) == 0) out += "VX9ZZ;five fields only;2024;dropped;x\r\n";
  }
  return out;
}

static std::string IotaRef(size_t i) {
  static const char* const kCont[] = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s-%03zu", kCont[i % 7], 1 + i / 7);
  return buf;
}

std::string GenerateIotaKml(size_t count, uint64_t seed) {
  TRng r{seed};
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
      "<Document><name>IOTA Groups</name>\n";
  for (size_t i = 0; i < count; ++i) {
    std::string group = std::string(Pick(r, kLast)) + " Islands";
    if (r.Below(10) == 0) group = std::string(Pick(r, kLast)) + " &amp; " + Pick(r, kCities) + " Islands";
    const double lon = -180.0 + r.Unit() * 360.0, lat = -80.0 + r.Unit() * 160.0;
    out += "<Placemark>\n<name>" + IotaRef(i) + "</name>\n<description><![CDATA[  " + group +
           " <br />Grid: " + Letters(r, 2) + Digits(r, 2) +
           "]]></description>\n<styleUrl>#grp</styleUrl>\n"
           "<Point>\n<coordinates>" +
           Fixed(lon, 0, 6) + "," + Fixed(lat, 0, 6) + ",0</coordinates>\n</Point>\n</Placemark>\n";
  }
  out += "</Document>\n</kml>\n";
  return out;
}

std::string GenerateIotaDxcc(size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    if (i % 9 == 4) continue;  // not every reference has an entry
    out += IotaRef(i) + (i % 2 ? "=" : " ") + std::to_string(1 + i % 12);
    if (i % 5 == 0) {
      out += ',';
      out += std::to_string(1 + (i + 3) % 12);
    }
    out += "\r\n";
  }
  return out;
}

std::string GeneratePrefixList() {
  std::string out = "Prefix list\r\ngenerated\r\n---\r\n";
  static const char* const kNames[] = {"Alpha Land", "Beta Isles", "Gamma",      "Delta Reef", "Epsilon", "Zeta Rock",
                                       "Eta",        "Theta Bank", "Iota Atoll", "Kappa",      "Lambda",  "Mu Cays"};
  for (size_t n = 0; n < std::size(kNames); ++n) {
    char pfx[8];
    std::snprintf(pfx, sizeof pfx, "X%c", static_cast<char>('A' + n));
    out += "0100|" + std::to_string(100 * n) + "|" + std::to_string(50 * n) + "|" + kNames[n] + "|" + pfx +
           "|c5|c6|c7|c8|" + std::to_string(n + 1) + "|c10|||" + pfx + "\r\n";
    out += "0201|||" + std::string(kNames[n]) + " north|" + pfx + "N|||||||||" + pfx + "1\r\n";
  }
  return out;
}

std::string ZipWith(const std::string& memberName, const std::string& data) {
  TZipWriter w;
  w.Add(memberName, data);
  return w.Build();
}

}  // namespace vx::gen
