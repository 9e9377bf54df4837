// The command line of quirlex-cli: a subcommand, its operands and options.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quirlex::cli {

struct OptionDefinition {
  std::vector<std::string> names;  // e.g. {"-o", "--output"}; the first is the key
  bool takes_value = false;
};

struct Arguments {
  std::vector<std::string> operands;
  std::map<std::string, std::string> values;  // by the option's first name: its last value
  // Every value of an option given more than once, in order.
  std::map<std::string, std::vector<std::string>> all_values;
  std::set<std::string> flags;                // by the option's first name

  bool has(const std::string& name) const { return flags.count(name) || values.count(name); }
  std::optional<std::string> value(const std::string& name) const;
  std::vector<std::string> every_value(const std::string& name) const;
};

// Parses `words` against `definitions`; "--name=value" and "--name value" both
// work, "--" ends the options. Returns an error text for an unknown option
// or a missing value.
std::optional<std::string> parse_arguments(const std::vector<std::string>& words,
                                           const std::vector<OptionDefinition>& definitions,
                                           Arguments& out);

// Reads a decimal number from 0 to 4294967295.
std::optional<std::uint32_t> parse_seed(const std::string& text);

}  // namespace quirlex::cli
