#include "refdata/AlStrLst.h"

#include <algorithm>
#include <filesystem>

#include "common/FileUtil.h"
#include "common/TextUtil.h"

namespace fs = std::filesystem;

namespace vx {

// std::string compares with char_traits<char>, which compares as unsigned
// bytes: exactly the ordinal order wanted here.
static bool Less(const std::string& a, std::string_view b) { return std::string_view(a) < b; }

size_t TAlStringList::Add(std::string line) {
  if (!Sorted_) {
    Lines_.push_back(std::move(line));
    return Lines_.size() - 1;
  }
  size_t i = 0;
  Find(line, i);
  Lines_.insert(Lines_.begin() + i, std::move(line));
  return i;
}

void TAlStringList::Delete(size_t index) {
  if (index < Lines_.size()) Lines_.erase(Lines_.begin() + index);
}

int TAlStringList::IndexOf(std::string_view s) const {
  if (Sorted_) {
    size_t i;
    return Find(s, i) ? static_cast<int>(i) : -1;
  }
  for (size_t i = 0; i < Lines_.size(); ++i)
    if (Lines_[i] == s) return static_cast<int>(i);
  return -1;
}

void TAlStringList::SetSorted(bool sorted) {
  if (sorted && !Sorted_) Sort();
  Sorted_ = sorted;
}

void TAlStringList::Sort() { std::stable_sort(Lines_.begin(), Lines_.end()); }

bool TAlStringList::Find(std::string_view s, size_t& index) const {
  auto it = std::lower_bound(Lines_.begin(), Lines_.end(), s, Less);
  index = static_cast<size_t>(it - Lines_.begin());
  return it != Lines_.end() && *it == s;
}

bool TAlStringList::LoadFromFile(const std::string& fileName) {
  Lines_.clear();
  // Call lists of every active call sign stay within a few megabytes.
  constexpr size_t kMaxListBytes = size_t(64) << 20;
  auto text = ReadWholeFile(fileName, kMaxListBytes);
  if (!text) return false;
  SetText(*text);
  return true;
}

void TAlStringList::SetText(std::string_view text) {
  Lines_.clear();
  // Blank lines carry nothing; keeping them would make memory follow the
  // bytes read instead of the lines kept.
  ForEachLine(text, [&](std::string_view l) {
    if (!l.empty()) Lines_.emplace_back(l);
  });
  if (Sorted_) Sort();
}

static bool StartsWith(std::string_view s, std::string_view p) {
  return s.size() >= p.size() && s.substr(0, p.size()) == p;
}

// Whether line sorts before key + sep, without building that probe text
// (FindLine runs on every keystroke).
static bool LessThanProbe(std::string_view line, std::string_view key, char sep) {
  int c = line.substr(0, key.size()).compare(key);
  if (c != 0) return c < 0;
  if (line.size() == key.size()) return true;  // a proper prefix of the probe
  return static_cast<unsigned char>(line[key.size()]) < static_cast<unsigned char>(sep);
}

std::string TAlStringList::FindLine(std::string_view key) {
  SetSorted(true);
  for (char sep : {' ', '='}) {
    auto it = std::lower_bound(Lines_.begin(), Lines_.end(), key,
                               [sep](const std::string& l, std::string_view k) { return LessThanProbe(l, k, sep); });
    if (it != Lines_.end() && it->size() > key.size() && StartsWith(*it, key) && (*it)[key.size()] == sep) return *it;
  }
  return {};
}

std::string TAlStringList::FindLineSingleProbe(std::string_view key) {
  SetSorted(true);
  size_t i = 0;
  Find(key, i);
  if (i >= Lines_.size()) return {};
  const std::string& l = Lines_[i];
  if (l.size() >= key.size() + 2 && StartsWith(l, key) && (l[key.size()] == ' ' || l[key.size()] == '=')) return l;
  return {};
}

std::string TAlStringList::ValueOf(std::string_view key) {
  std::string line = FindLine(key);
  if (line.empty()) return {};
  return std::string(Trim(std::string_view(line).substr(key.size() + 1)));
}

// Windows wildcard match of a bare name: '*' any run, '?' one character,
// case ignored; "*.*" matches every name, with or without a dot.
static bool WildMatch(std::string_view pat, std::string_view name) {
  if (pat == "*.*" || pat == "*") return true;
  size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
  while (n < name.size()) {
    if (p < pat.size() && (pat[p] == '?' || up(pat[p]) == up(name[n]))) {
      ++p, ++n;
    } else if (p < pat.size() && pat[p] == '*') {
      starP = p++, starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1, n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pat.size() && pat[p] == '*') ++p;
  return p == pat.size();
}

void TAlStringList::LoadFileNames(const std::string& wildcardPath) {
  Lines_.clear();
  std::string folder = FolderOf(wildcardPath);
  std::string pattern = wildcardPath.substr(folder.size());
  if (folder.empty()) folder = "./";
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    if (!it->is_regular_file(ec2)) continue;
    std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;  // hidden
    if (WildMatch(pattern, name)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    std::string ua = UpperAscii(a), ub = UpperAscii(b);
    return ua != ub ? ua < ub : a < b;
  });
  for (auto& n : names) Lines_.push_back(std::move(n));
  if (Sorted_) Sort();
}

void TAlStringList::RemoveAll(const TAlStringList& other) {
  SetSorted(true);
  for (const std::string& s : other.Lines_) {
    size_t i;
    if (Find(s, i)) Lines_.erase(Lines_.begin() + i);
  }
}

void TAlStringList::SetDelimitedItems(std::string_view text) {
  Lines_.clear();
  size_t i = 0;
  const size_t n = text.size();
  auto skipCtl = [&] {
    while (i < n && text[i] >= 1 && text[i] <= 31) ++i;
  };
  skipCtl();
  while (i < n) {
    std::string item;
    if (text[i] == '"') {
      item = ReadQuotedItem(text, i);
      // Anything after the closing quote up to the delimiter belongs to no item.
      while (i < n && static_cast<unsigned char>(text[i]) >= 32 && text[i] != Delimiter) ++i;
    } else {
      while (i < n && static_cast<unsigned char>(text[i]) >= 32 && text[i] != Delimiter) item += text[i++];
    }
    Lines_.push_back(std::move(item));
    skipCtl();
    if (i < n && text[i] == Delimiter) {
      ++i;
      skipCtl();
    } else if (i < n && text[i] == '\0') {
      break;  // the text ends at a NUL, as a C string would
    }
  }
  if (Sorted_) Sort();
}

}  // namespace vx
