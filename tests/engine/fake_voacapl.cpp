// A stand-in for the Linux port of the propagation program, for tests. Same
// command line (-s FOLDER IN OUT, or -s FOLDER area calc SUB/F.voa); reads the
// deck and writes an output in the real program's column layout. Knobs come
// from the environment:
//   VOACAP_FAKE_EXIT=N         exit code (default 0)
//   VOACAP_FAKE_DELAY_MS=N     sleep before writing the output
//   VOACAP_FAKE_OUTPUT=missing|truncated|malformed|nofreq
//   VOACAP_FAKE_LOG=FILE       append the arguments and working folder
//   VOACAP_FAKE_PIDS=DIR       create DIR/<pid> at start (to find the children)
//   VOACAP_FAKE_EXCLUSIVE=1    end with code 3, writing nothing, when another
//                              run is under way in the same data folder (as
//                              two real runs there would spoil each other)
//   VOACAP_FAKE_READY=FILE     once running (and holding the folder), write
//                              FILE holding the process id: a test waits for
//                              it instead of guessing when the run is under way
//   VOACAP_FAKE_HOLD=FILE      before writing the output, wait until FILE
//                              exists: the run lasts until the test lets it end
// A deck naming an antenna file that does not exist makes it wait on standard
// input, as the real program does, and then end with code 0 and no output.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "FakeModel.h"

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string Fmt(const char* f, double v) {
  char b[64];
  std::snprintf(b, sizeof b, f, v);
  return b;
}

std::vector<std::string> ReadLines(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  ok = bool(in);
  std::vector<std::string> lines;
  std::string l;
  while (std::getline(in, l)) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  return lines;
}

// Every bracketed antenna name of the deck must exist below antennas/.
bool AntennasPresent(const std::string& folder, const std::vector<std::string>& deck) {
  for (const auto& l : deck) {
    size_t a = l.find('['), b = l.find(']');
    if (a == std::string::npos || b == std::string::npos || b < a) continue;
    std::string name = l.substr(a + 1, b - a - 1);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    std::ifstream f(folder + "antennas/" + name);
    if (!f) {
      std::cout << " Antenna file not found: " << name << "\n PAUSE\n" << std::flush;
      std::string answer;
      std::getline(std::cin, answer);  // a Fortran PAUSE waits here
      return false;
    }
  }
  return true;
}

double Radians(double d) { return d * M_PI / 180.0; }

// Reads "CIRCUIT" into degrees and the path letter.
bool Circuit(const std::vector<std::string>& deck, double c[4], char& path) {
  for (const auto& l : deck) {
    if (l.rfind("CIRCUIT", 0) != 0 || l.size() < 49) continue;
    for (int k = 0; k < 4; ++k) {
      std::string num = l.substr(9 + 10 * k, 6);
      char hemi = l[15 + 10 * k];
      c[k] = std::atof(num.c_str()) * ((hemi == 'S' || hemi == 'W') ? -1 : 1);
    }
    path = l[48];
    return true;
  }
  return false;
}

int IntAfter(const std::vector<std::string>& deck, const std::string& key, size_t col, size_t len) {
  for (const auto& l : deck)
    if (l.rfind(key, 0) == 0 && l.size() >= col + len) return std::atoi(l.substr(col, len).c_str());
  return 0;
}

std::string PointOutput(const std::vector<std::string>& deck) {
  double c[4] = {0, 0, 0, 0};
  char path = 'S';
  Circuit(deck, c, path);
  double d = std::acos(std::sin(Radians(c[0])) * std::sin(Radians(c[2])) +
                       std::cos(Radians(c[0])) * std::cos(Radians(c[2])) * std::cos(Radians(c[3] - c[1]))) *
             6371.0;
  const bool longModel = path == 'L' || d > 10000.0;
  const int ssn = IntAfter(deck, "SUNSPOT", 11, 3);

  std::ostringstream o;
  o << "  IONOSPHERIC COMMUNICATIONS ANALYSIS AND PREDICTION PROGRAM\n"
       "                     VOACAP   VERSION 16.1207W\n\n\n";
  for (const auto& l : deck) o << " " << l << "\n";
  const int sweepFirst[3] = {2, 11, 21}, sweepCount[3] = {9, 10, 10};
  int page = 1;
  for (int s = 0; s < 3; ++s) {
    o << "\f     CCIR Coefficients        ~METHOD 23   VOACAP " << (longModel ? 'L' : 'S') << " 16.1207W  PAGE"
      << Fmt("%4.0f", page++) << "\n\n\n";
    for (int h = 1; h <= 24; ++h) {
      const double muf = fake::Muf(h, ssn);
      std::string freq = Fmt("%6.1f", h) + Fmt("%5.1f", muf);
      for (int k = 0; k < 11; ++k) freq += Fmt("%5.1f", k < sweepCount[s] ? sweepFirst[s] + k : 0.0);
      o << freq << " FREQ\n";
      const bool mufNA = muf > 30.0;
      std::vector<std::string> tags = {"MODE  ", "TANGLE"};
      if (longModel) tags.push_back("RANGLE");
      tags.push_back("SNR   ");
      for (const auto& tag : tags) {
        std::string line = "      ";
        int mufMHz = static_cast<int>(muf);
        if (mufNA) {
          line += "  0NA";
        } else if (tag == "MODE  ") {
          line += fake::Mode(mufMHz, h, longModel);
        } else if (tag == "SNR   ") {
          line += Fmt("%5.0f", fake::Snr(mufMHz, h, longModel));
        } else {
          line += Fmt("%5.1f", fake::Angle(mufMHz, h));
        }
        for (int k = 0; k < 11; ++k) {
          if (k >= sweepCount[s]) {
            line += "   - ";
            continue;
          }
          int f = sweepFirst[s] + k;
          if (tag == "MODE  ")
            line += fake::Mode(f, h, longModel);
          else if (tag == "SNR   ")
            line += Fmt("%5.0f", fake::Snr(f, h, longModel));
          else if (tag == "RANGLE")
            line += Fmt("%5.1f", 3.0);
          else
            line += Fmt("%5.1f", fake::Angle(f, h));
        }
        o << line << " " << tag << "\n";
      }
      o << "\n";
    }
  }
  o << " *****END OF RUN*****     VOACAP 16.1207W\n";
  return o.str();
}

std::string AreaOutput(const std::vector<std::string>& deck) {
  const int n = IntAfter(deck, "Gridsize", 10, 5);
  const int hour = IntAfter(deck, "Hours", 10, 7);
  std::ostringstream o;
  o << "VOACAPL Version 16.1207W\n";
  o << "HOME [ISOTROPE ] 100W 0deg " << hour << "ut 14.000MHz Mar 50ssn\n";
  o << Fmt("%3.0f", n) << Fmt("%3.0f", n)
    << "  Latitude Longitude   MUF  MODE ANGLE DELAY VHITE MUFda  LOSS   DBU  SDBW  NDBW   SNR RPWRG   REL MPROB "
       "SPROB TGAIN RGAIN SNRxx    DU    DL SIGLW SIGUP PWRCTANGLER\n";
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i <= n; ++i) {
      double lat = -90.0 + (j - 1) * 180.0 / (n - 1);
      double lon = (j == 1 || j == n) ? 0.0 : -180.0 + (i - 1) * 360.0 / (n - 1);
      char mode[8];
      std::snprintf(mode, sizeof mode, "%6s", fake::AreaMode(i, j));
      o << Fmt("%3.0f", i) << Fmt("%3.0f", j) << Fmt("%10.4f", lat) << Fmt("%10.4f", lon)
        << Fmt("%6.2f", fake::AreaMuf(i, j)) << mode << Fmt("%6.2f", fake::AreaAngle(i, j)) << " 52.00 296.8 0.551"
        << " 174.6 -24.5" << Fmt("%6.1f", -150.0 - (i % 20)) << "-163.2" << Fmt("%6.1f", fake::AreaSnr(i, j, hour))
        << "  85.2 0.001 0.000 0.007  0.00  0.00 -18.2  9.59  5.75 25.00 23.99 0.000  3.00\n";
    }
  return o.str();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!Env("VOACAP_FAKE_LOG").empty()) {
    std::ofstream log(Env("VOACAP_FAKE_LOG"), std::ios::app);
    char cwd[4096] = {};
    if (!getcwd(cwd, sizeof cwd)) cwd[0] = 0;
    for (const auto& a : args) log << a << ' ';
    log << "| " << cwd << "\n";
  }
  size_t at = 0;
  while (at < args.size() && !args[at].empty() && args[at][0] == '-') ++at;  // options
  if (at >= args.size()) {
    std::cout << "usage: voacapl [-s] ITSHFBC IN OUT\n";
    return 1;
  }
  std::string folder = args[at++];
  if (folder.back() != '/') folder += '/';
  const bool area = at < args.size() && args[at] == "area";
  std::string deckPath, outPath;
  if (area) {
    if (at + 2 >= args.size()) return 1;
    deckPath = folder + "areadata/" + args[at + 2];
    outPath = deckPath.substr(0, deckPath.size() - 3) + "vg1";
  } else {
    if (at + 1 >= args.size()) return 1;
    deckPath = folder + "run/" + args[at];
    outPath = folder + "run/" + args[at + 1];
  }

  if (!Env("VOACAP_FAKE_PIDS").empty()) std::ofstream(Env("VOACAP_FAKE_PIDS") + "/" + std::to_string(getpid()));
  // The real program's scratch files have fixed names in the run folder.
  const std::string busy = folder + "run/fake-busy";
  const bool exclusive = Env("VOACAP_FAKE_EXCLUSIVE") == "1";
  if (exclusive) {
    const int fd = open(busy.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
    if (fd < 0) return 3;
    close(fd);
  }
  struct TBusyMark {
    std::string Name;
    ~TBusyMark() {
      if (!Name.empty()) unlink(Name.c_str());
    }
  } mark{exclusive ? busy : std::string()};

  if (!Env("VOACAP_FAKE_READY").empty()) {
    // Written whole, then renamed: whoever sees the file reads the id.
    const std::string ready = Env("VOACAP_FAKE_READY");
    std::ofstream(ready + ".tmp") << getpid() << "\n";
    std::rename((ready + ".tmp").c_str(), ready.c_str());
  }
  if (!Env("VOACAP_FAKE_HOLD").empty()) {
    // Polled, with a bound, so that a test that fails to let go leaves no
    // stand-in behind for long.
    const std::string hold = Env("VOACAP_FAKE_HOLD");
    for (int i = 0; i < 120 * 100 && access(hold.c_str(), F_OK) != 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!Env("VOACAP_FAKE_DELAY_MS").empty())
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(Env("VOACAP_FAKE_DELAY_MS").c_str())));

  bool ok = false;
  std::vector<std::string> deck = ReadLines(deckPath, ok);
  if (!ok) return 0;  // the real program ends quietly without an output
  if (!AntennasPresent(folder, deck)) return 0;

  std::string out = area ? AreaOutput(deck) : PointOutput(deck);
  const std::string how = Env("VOACAP_FAKE_OUTPUT");
  if (how == "truncated") {
    // Cut inside a block: right after a FREQ line or in a grid line.
    size_t cut = area ? out.size() / 2 : out.find(" FREQ\n", out.size() / 2) + 6;
    out.resize(cut);
  } else if (how == "malformed") {
    // An unreadable SNR in the first grid line of row 2, or in the first
    // frequency slot of the first SNR line.
    size_t lineStart = area ? out.find("\n  1  2") + 1 : out.rfind('\n', out.find(" SNR   \n")) + 1;
    out.replace(lineStart + (area ? 87 : 11), 4, "x?y!");
  } else if (how == "nofreq") {
    out = " *****END OF RUN*****\n";
  }
  if (how != "missing") {
    std::ofstream f(outPath, std::ios::binary);
    f << out;
  }
  return std::atoi(Env("VOACAP_FAKE_EXIT").c_str());
}
