#include "cli/arguments.h"

#include <cstdint>

namespace quirlex::cli {
namespace {

const OptionDefinition* find_definition(const std::vector<OptionDefinition>& definitions,
                                        const std::string& name) {
  for (const OptionDefinition& definition : definitions) {
    for (const std::string& alias : definition.names) {
      if (alias == name) return &definition;
    }
  }
  return nullptr;
}

}  // namespace

std::optional<std::string> Arguments::value(const std::string& name) const {
  const auto found = values.find(name);
  if (found == values.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string> Arguments::every_value(const std::string& name) const {
  const auto found = all_values.find(name);
  return found == all_values.end() ? std::vector<std::string>() : found->second;
}

std::optional<std::string> parse_arguments(const std::vector<std::string>& words,
                                           const std::vector<OptionDefinition>& definitions,
                                           Arguments& out) {
  bool options_ended = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (options_ended || word.size() < 2 || word[0] != '-') {
      out.operands.push_back(word);
      continue;
    }
    if (word == "--") {
      options_ended = true;
      continue;
    }
    std::string name = word;
    std::optional<std::string> inline_value;
    if (const auto equals = word.find('=');
        word.rfind("--", 0) == 0 && equals != std::string::npos) {
      name = word.substr(0, equals);
      inline_value = word.substr(equals + 1);
    }
    const OptionDefinition* definition = find_definition(definitions, name);
    if (definition == nullptr) return "unknown option '" + name + "'";
    const std::string& key = definition->names.front();
    if (!definition->takes_value) {
      if (inline_value) return "option '" + name + "' takes no value";
      out.flags.insert(key);
      continue;
    }
    if (!inline_value) {
      if (i + 1 >= words.size()) return "option '" + name + "' needs a value";
      inline_value = words[++i];
    }
    out.values[key] = *inline_value;
    out.all_values[key].push_back(*inline_value);
  }
  return std::nullopt;
}

std::optional<std::uint32_t> parse_seed(const std::string& text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > UINT32_MAX) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

}  // namespace quirlex::cli
