#include "common/Ini.h"

#include "common/FileUtil.h"
#include "common/TextUtil.h"

namespace vx {

static bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

TIniFile TIniFile::Load(std::string fileName) {
  TIniFile ini;
  ini.FileName_ = std::move(fileName);
  ini.Reload();
  return ini;
}

void TIniFile::Reload() {
  auto text = ReadWholeFile(FileName_, size_t(16) << 20);
  LoadFromText(text ? *text : std::string());
}

void TIniFile::LoadFromText(std::string_view text) {
  Lines_.clear();
  std::string section;
  for (std::string_view raw : SplitLines(text)) {
    Line l;
    l.text = std::string(raw);
    std::string_view t = Trim(raw);
    if (!t.empty() && t.front() == '[') {
      size_t close = t.find(']');
      section = std::string(Trim(t.substr(1, close == std::string_view::npos ? t.size() - 1 : close - 1)));
      l.header = true;
    } else if (!t.empty() && t.front() != ';') {
      size_t eq = t.find('=');
      if (eq != std::string_view::npos) l.key = std::string(Trim(t.substr(0, eq)));
    }
    l.section = section;
    Lines_.push_back(std::move(l));
  }
}

std::string TIniFile::ToText() const {
  std::string out;
  for (const Line& l : Lines_) {
    out += l.text;
    out += "\r\n";
  }
  return out;
}

bool TIniFile::UpdateFile() const {
  if (FileName_.empty()) return false;
  MakeDirectories(FolderOf(FileName_));
  return WriteFileAtomic(FileName_, ToText());
}

int TIniFile::FindHeader(std::string_view section) const {
  for (size_t i = 0; i < Lines_.size(); ++i)
    if (Lines_[i].header && SameName(Lines_[i].section, section)) return static_cast<int>(i);
  return -1;
}

int TIniFile::FindKey(std::string_view section, std::string_view key) const {
  for (size_t i = 0; i < Lines_.size(); ++i) {
    const Line& l = Lines_[i];
    if (!l.header && !l.key.empty() && SameName(l.section, section) && SameName(l.key, key)) return static_cast<int>(i);
  }
  return -1;
}

bool TIniFile::SectionExists(std::string_view section) const { return FindHeader(section) >= 0; }

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const { return FindKey(section, key) >= 0; }

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  int i = FindKey(section, key);
  if (i < 0) return std::string(def);
  std::string_view t = Lines_[i].text;
  std::string_view v = Trim(t.substr(t.find('=') + 1));
  // Windows strips one pair of surrounding quotes.
  if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

long long TIniFile::ReadInteger(std::string_view section, std::string_view key, long long def) const {
  std::string s = ReadString(section, key);
  std::string_view v = Trim(s);
  if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
    long long r = 0;
    for (char c : v.substr(2)) {
      int d = (c >= '0' && c <= '9')   ? c - '0'
              : (c >= 'a' && c <= 'f') ? c - 'a' + 10
              : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                       : -1;
      if (d < 0 || r > (0x7fffffffffffffffLL >> 4)) return def;
      r = r * 16 + d;
    }
    return r;
  }
  auto n = ParseInt(v);
  return n ? *n : def;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string text = std::string(key) + "=" + std::string(value);
  int i = FindKey(section, key);
  if (i >= 0) {
    // Keep the key's spelling as it stands in the file.
    Lines_[i].text = Lines_[i].key + "=" + std::string(value);
    return;
  }
  int h = FindHeader(section);
  Line l;
  l.text = text;
  l.key = std::string(key);
  if (h < 0) {
    Line hdr;
    hdr.text = "[" + std::string(section) + "]";
    hdr.section = std::string(section);
    hdr.header = true;
    Lines_.push_back(hdr);
    l.section = hdr.section;
    Lines_.push_back(l);
    return;
  }
  l.section = Lines_[h].section;
  // After the section's last non-blank line.
  size_t at = h + 1, last = h + 1;
  for (; at < Lines_.size() && !Lines_[at].header; ++at)
    if (!Trim(Lines_[at].text).empty()) last = at + 1;
  Lines_.insert(Lines_.begin() + last, l);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, long long value) {
  WriteString(section, key, FormatInt(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  int i = FindKey(section, key);
  if (i >= 0) Lines_.erase(Lines_.begin() + i);
}

void TIniFile::EraseSection(std::string_view section) {
  std::vector<Line> kept;
  for (Line& l : Lines_)
    if (!SameName(l.section, section)) kept.push_back(std::move(l));
  Lines_ = std::move(kept);
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  for (const Line& l : Lines_)
    if (!l.header && !l.key.empty() && SameName(l.section, section)) keys.push_back(l.key);
  return keys;
}

}  // namespace vx
