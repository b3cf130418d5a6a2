// TAlStringList: the keyed string list used by both programs. Sorting and
// searching always compare bytes (ordinal, case-sensitive), never by locale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx {

class TAlStringList {
 public:
  char Delimiter = '|';

  size_t Count() const { return Lines_.size(); }
  bool Empty() const { return Lines_.empty(); }
  const std::string& operator[](size_t i) const { return Lines_[i]; }
  const std::vector<std::string>& Lines() const { return Lines_; }

  void Clear() { Lines_.clear(); }
  // In sorted mode the line goes to its place (after any equal lines' first
  // position, duplicates kept); otherwise to the end. Returns its index.
  size_t Add(std::string line);
  void Delete(size_t index);
  int IndexOf(std::string_view s) const;  // -1 when absent

  bool Sorted() const { return Sorted_; }
  // Switching on sorts the lines.
  void SetSorted(bool sorted);
  void Sort();

  // Binary search (the list must be sorted): true when a line equals s;
  // index = first position whose line is not less than s.
  bool Find(std::string_view s, size_t& index) const;

  // Lines of a text file (CR LF, LF or CR); duplicates kept. False when the
  // file cannot be read; the list is then left empty.
  bool LoadFromFile(const std::string& fileName);
  void SetText(std::string_view text);

  // The line "Key value" or "Key=value" for Key (two probes, a space first),
  // or empty text. Switches the list to sorted mode.
  std::string FindLine(std::string_view key);
  // The reference-data manager's variant: one probe for Key itself; the line
  // found must be at least length(Key) + 2 long, begin with Key and have a
  // space or "=" right after it.
  std::string FindLineSingleProbe(std::string_view key);
  // FindLine without the key and the separator, trimmed.
  std::string ValueOf(std::string_view key);

  // Bare names of the ordinary, non-hidden files matching a wildcard path
  // such as "/folder/*.*" ("*.*" matches every name). Listed in name order,
  // ignoring ASCII case, so that the order is the same on every machine.
  void LoadFileNames(const std::string& wildcardPath);
  // Switches to sorted mode; removes one equal line per line of other.
  void RemoveAll(const TAlStringList& other);
  // Clear, then the items of text split at Delimiter (quoted items allowed).
  void SetDelimitedItems(std::string_view text);

 private:
  std::vector<std::string> Lines_;
  bool Sorted_ = false;
};

}  // namespace vx
