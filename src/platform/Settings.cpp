#include "platform/Settings.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {

namespace {

[[noreturn]] void Stop(const char* name, const char* value, std::string_view item, long long lowest,
                       long long highest) {
  const std::string which = item == value ? std::string() : ": \"" + std::string(item) + "\"";
  std::fprintf(stderr, "vantrel: %s=\"%s\"%s is not a whole number from %lld to %lld\n", name,
               value, which.c_str(), lowest, highest);
  std::exit(EXIT_FAILURE);
}

}  // namespace

std::optional<long long> ParseSettingNumber(std::string_view text, long long lowest,
                                            long long highest) {
  // from_chars takes a '-' and digits only; it stops at anything else, which is refused.
  long long value = 0;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(text.data(), last, value, 10);
  if (text.empty() || error != std::errc() || end != last) return std::nullopt;
  if (value < lowest || value > highest) return std::nullopt;
  return value;
}

std::optional<long long> WholeNumberSetting(const char* name, long long lowest, long long highest) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  const std::optional<long long> number = ParseSettingNumber(value, lowest, highest);
  if (!number) Stop(name, value, value, lowest, highest);
  return number;
}

std::vector<std::string_view> SettingListItems(std::string_view text) {
  std::vector<std::string_view> items;
  while (true) {
    const std::size_t comma = text.find(',');
    items.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return items;
    text.remove_prefix(comma + 1);
  }
}

std::vector<long long> WholeNumberListSetting(const char* name, long long lowest,
                                              long long highest) {
  std::vector<long long> numbers;
  const char* value = std::getenv(name);
  if (value == nullptr) return numbers;
  for (const std::string_view item : SettingListItems(value)) {
    const std::optional<long long> number = ParseSettingNumber(item, lowest, highest);
    if (!number) Stop(name, value, item, lowest, highest);
    numbers.push_back(*number);
  }
  return numbers;
}

void RequireSettingWith(const char* name, const char* needed) {
  const char* value = std::getenv(name);
  const char* other = std::getenv(needed);
  if (value == nullptr || (other != nullptr && *other != '\0')) return;
  std::fprintf(stderr, "vantrel: %s=\"%s\" does nothing without %s, which is %s\n", name, value,
               needed, other == nullptr ? "not set" : "empty");
  std::exit(EXIT_FAILURE);
}

}  // namespace platform
