// A small INI file in the Windows layout: "[Section]" headers and "Key=Value"
// lines, CR LF line ends. Look-ups ignore ASCII case as Windows does, but
// section and key names are written back exactly as they were first written,
// and lines the module does not understand (comments) are kept in place.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx {

class TIniFile {
 public:
  TIniFile() = default;
  // Reads the named file; a missing file gives an empty INI that UpdateFile
  // will create.
  static TIniFile Load(std::string fileName);

  // Reads the file again; a missing file gives an empty INI.
  void Reload();
  // Parses text in memory (for tests and for files read elsewhere).
  void LoadFromText(std::string_view text);
  std::string ToText() const;
  // Writes the whole file (atomically). False when it cannot be written.
  bool UpdateFile() const;

  const std::string& FileName() const { return FileName_; }

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def = {}) const;
  // Decimal (or "0x" hex) integer; the default for anything else.
  long long ReadInteger(std::string_view section, std::string_view key, long long def) const;
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, long long value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void DeleteKey(std::string_view section, std::string_view key);
  void EraseSection(std::string_view section);
  std::vector<std::string> ReadSection(std::string_view section) const;  // key names

 private:
  struct Line {
    std::string text;     // the raw line as read or written
    std::string section;  // the section it belongs to (header: its own name)
    bool header = false;
    std::string key;  // empty unless a key line
  };
  int FindKey(std::string_view section, std::string_view key) const;
  int FindHeader(std::string_view section) const;

  std::string FileName_;
  std::vector<Line> Lines_;
};

}  // namespace vx
