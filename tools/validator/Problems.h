// The validator's findings: one line per problem, each starting with the file it is in.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace validator {

class Problems {
 public:
  void Add(const std::string& file, const std::string& problem) {
    m_lines.push_back(file + ": " + problem);
  }

  std::size_t Count() const { return m_lines.size(); }
  const std::vector<std::string>& Lines() const { return m_lines; }
  std::vector<std::string> Take() { return std::move(m_lines); }

 private:
  std::vector<std::string> m_lines;
};

// A name as the messages quote it.
inline std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// A number as the data files write it: "24", "0.5".
inline std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace validator
