// The shape both registries share: one program-wide ordered map from a name
// (compared exactly) to a function, filled from rows in order, where a name listed
// twice keeps its first row and a name without a row gives null.
#pragma once

#include <map>
#include <span>
#include <string>

template <typename Registry, typename Fn>
class NameRegistry {
 public:
  struct Row {
    const char* name;
    Fn function;
  };

  static const Registry& GetRegistry() { return Instance(); }

  // Every row, by name.
  const std::map<std::string, Fn>& GetRows() const { return m_rows; }

  // Inserts the rows in order; filling again with the same rows changes nothing.
  static void Fill(std::span<const Row> rows) {
    for (const Row& row : rows) Instance().m_rows.insert({row.name, row.function});
  }

 protected:
  static Fn Find(const std::string& name) {
    const auto& rows = Instance().m_rows;
    auto found = rows.find(name);
    return found == rows.end() ? nullptr : found->second;
  }

 private:
  static Registry& Instance() {
    static Registry registry;
    return registry;
  }

  std::map<std::string, Fn> m_rows;
};
