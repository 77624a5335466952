// The settings tests and tools give the game through the environment. A value that is
// not one the setting takes stops the program with a message naming the setting and
// the value: a typo must never quietly mean something else (no frame limit, another
// seed).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace platform {

// `text` as a whole decimal number from `lowest` to `highest`: digits, after a '-' for
// a negative number, and nothing else (no blanks, sign '+', exponent or hex).
std::optional<long long> ParseSettingNumber(std::string_view text, long long lowest,
                                            long long highest);

// The setting `name` as such a number; nothing when it is not set.
std::optional<long long> WholeNumberSetting(const char* name, long long lowest, long long highest);
// The setting `name` as a comma-separated list of such numbers; empty when it is not set.
std::vector<long long> WholeNumberListSetting(const char* name, long long lowest,
                                              long long highest);

// The items of a comma-separated setting, empty ones (a stray comma) included, so
// the caller refuses them.
std::vector<std::string_view> SettingListItems(std::string_view text);

// Stops the program, naming both settings, when `name` is set but `needed`, without
// which it does nothing, is not (or is empty).
void RequireSettingWith(const char* name, const char* needed);

}  // namespace platform
