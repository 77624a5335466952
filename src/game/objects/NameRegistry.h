// The shape both registries share: an ordered map from a name (compared exactly)
// to a function, filled from rows in order, where a name listed twice keeps its
// first row and a name without a row gives null.
#pragma once

#include <map>
#include <span>
#include <string>

template <typename Fn>
class NameRegistry {
 public:
  struct Row {
    const char* name;
    Fn function;
  };

  // Every row, by name.
  const std::map<std::string, Fn>& GetRows() const { return m_rows; }

 protected:
  // Filling again with the same rows changes nothing.
  void Insert(std::span<const Row> rows) {
    for (const Row& row : rows) m_rows.insert({row.name, row.function});
  }
  Fn Find(const std::string& name) const {
    auto found = m_rows.find(name);
    return found == m_rows.end() ? nullptr : found->second;
  }

 private:
  std::map<std::string, Fn> m_rows;
};
