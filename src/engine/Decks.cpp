#include "engine/Decks.h"

#include <cstdlib>

#include "common/TextUtil.h"

namespace vx {

namespace {

// A coordinate in 1/180 degree as the deck prints it: unsigned, two decimals,
// six wide, then its hemisphere letter. The quotient is a 32-bit float first.
std::string Coordinate(int32_t units, char positive, char negative) {
  float q = static_cast<float>(std::llabs(static_cast<long long>(units))) / 180.0f;
  return FormatFixed(q, 6, 2) + (units < 0 ? negative : positive);
}

float Kilowatts(int32_t watts) { return static_cast<float>(watts) / 1000.0f; }

constexpr const char* kPointHead =
    "LINEMAX      99\r\n"
    "COEFFS    CCIR\r\n"
    "TIME          1   24    1    1\r\n"
    "SYSTEM       1. 145. 3.00  90. 67.0 3.00 0.10\r\n"
    "FPROB      1.00 1.00 1.00 0.00\r\n"
    "LABEL     HOME                DX\r\n";

constexpr const char* kPointTail =
    "FREQUENCY  -1\r\n"
    "METHOD       23    0\r\n"
    "BOTLINES      1   2   10\r\n"
    "EXECUTE\r\n"
    "QUIT";

// Frequency range (MHz) of each band's antenna line.
constexpr int kBandRange[kBandCount][2] = {{2, 5}, {5, 9}, {9, 12}, {12, 16}, {16, 20}, {20, 23}, {23, 26}, {26, 30}};

constexpr const char* kAreaHead =
    "Model    :VOACAP\r\n"
    "Area     :    -180.0     180.0     -90.0      90.0\r\n"
    "Method   :   30\r\n"
    "Coeffs   :CCIR\r\n"
    "Fprob    : 1.00 1.00 1.00 0.00\r\n"
    "System   :  145     3.000   90   67     3.000     0.100\r\n";

}  // namespace

std::optional<std::string> AntennaField(const TAlStringList& antennaFiles, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= antennaFiles.Count()) return std::nullopt;
  std::string field = kAntennaSubfolder + antennaFiles[static_cast<size_t>(index)];
  // A name cut to fit would make the program open another file, or none.
  if (field.size() > 21) return std::nullopt;
  field.resize(21, ' ');
  return field;
}

std::string DeckProblem(const TVoaInputs& in, const TAlStringList& antennaFiles, bool area) {
  if (area && (in.Band < 0 || in.Band >= kBandCount)) return "There is no band " + FormatInt(in.Band) + ".";
  for (int b = area ? in.Band : 0; b < (area ? in.Band + 1 : kBandCount); ++b)
    for (const int32_t index : {in.TxAntenna[b], in.RxAntenna[b]}) {
      if (index < 0 || static_cast<size_t>(index) >= antennaFiles.Count())
        return "The antenna chosen for " + FormatFixed(BandFrequency[b], 1, b == 0 ? 1 : 0) +
               " MHz is not in the antenna list.";
      const std::string& name = antennaFiles[static_cast<size_t>(index)];
      if (name.size() > kAntennaNameMax)
        return "The antenna file name \"" + name + "\" is too long for VOACAP: it has " +
               FormatInt(int64_t(name.size())) + " characters, VOACAP takes at most " +
               FormatInt(int64_t(kAntennaNameMax)) + ".";
    }
  return "";
}

std::optional<std::string> BuildPointDeck(const TVoaInputs& in, const TAlStringList& antennaFiles) {
  std::string d;
  d.reserve(1600);
  d += kPointHead;
  d += "CIRCUIT  " + Coordinate(in.TxLat, 'N', 'S') + "   " + Coordinate(in.TxLon, 'E', 'W') + "   " +
       Coordinate(in.RxLat, 'N', 'S') + "   " + Coordinate(in.RxLon, 'E', 'W') + "  " +
       (in.LongPath ? "L     1" : "S     0") + "\r\n";
  d += "MONTH      " + FormatInt(in.Year) + FormatFixed(static_cast<float>(in.Month), 5, 2) + "\r\n";
  d += "SUNSPOT    " + FormatInt(in.Ssn, 3) + ".\r\n";
  const std::string power = FormatFixed(Kilowatts(in.TxPower), 10, 4);
  for (int pass = 0; pass < 2; ++pass) {
    const bool transmit = pass == 0;
    for (int b = 0; b < kBandCount; ++b) {
      auto field = AntennaField(antennaFiles, transmit ? in.TxAntenna[b] : in.RxAntenna[b]);
      if (!field) return std::nullopt;
      d += "ANTENNA       " + std::string(transmit ? "1" : "2") + FormatInt(transmit ? b + 1 : b + 9, 5) +
           FormatInt(kBandRange[b][0], 5) + FormatInt(kBandRange[b][1], 5) + "     0.000[" + *field + "]  0.0";
      if (transmit) d += power;
      d += "\r\n";
    }
  }
  d += kPointTail;
  return d;
}

std::optional<std::string> BuildAreaDeck(const TVoaInputs& in, const TAlStringList& antennaFiles) {
  if (in.Band < 0 || in.Band >= kBandCount) return std::nullopt;
  auto rx = AntennaField(antennaFiles, in.RxAntenna[in.Band]);
  auto tx = AntennaField(antennaFiles, in.TxAntenna[in.Band]);
  if (!rx || !tx) return std::nullopt;
  std::string d;
  d.reserve(700);
  d += kAreaHead;
  d += "Transmit :" + Coordinate(in.TxLat, 'N', 'S') + "   " + Coordinate(in.TxLon, 'E', 'W') +
       "   HOME                 " + (in.LongPath ? "Long " : "Short") + "\r\n";
  d += "Gridsize :  " + FormatInt(in.GridSize, 3) + "    1\r\n";
  d += "Months   :  " + FormatInt(in.Month, 2) + ".00   0.00   0.00   0.00   0.00   0.00   0.00   0.00   0.00\r\n";
  d += "Ssns     :    " + FormatInt(in.Ssn, 3) + "      0      0      0      0      0      0      0      0\r\n";
  d += "Hours    :     " + FormatInt(in.Hour, 2) + "      0      0      0      0      0      0      0      0\r\n";
  d += "Freqs    : " + FormatFixed(BandFrequency[in.Band], 6, 3) +
       "  0.000  0.000  0.000  0.000  0.000  0.000  0.000  0.000\r\n";
  d += "Rec Ants :[" + *rx + "]  gain=   0.0   0.0\r\n";
  d += "Tx Ants  :[" + *tx + "]  0.000   0.0    " + FormatFixed(Kilowatts(in.TxPower), 7, 4) + "\r\n";
  return d;
}

}  // namespace vx
