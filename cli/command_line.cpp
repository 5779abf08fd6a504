#include "cli/command_line.h"

#include <iostream>
#include <utility>

#include "app/version.h"

namespace velmara::cli {

constexpr int kExitClean = 0;
constexpr int kExitUsage = 2;

std::string VersionLine(const std::string& program) {
  return program + " (Detector Velmara) " VELMARA_VERSION;
}

CommandLine::CommandLine(std::string program, std::string usage, std::string about)
    : program_(std::move(program)), usage_(std::move(usage)), about_(std::move(about)) {
  Flag("help", 'h', "show this help and exit", nullptr);
  Flag("version", 0, "show the version and exit", nullptr);
}

void CommandLine::Flag(std::string longName, char shortName, std::string help, std::function<void()> apply) {
  options_.push_back({std::move(longName), shortName, {}, std::move(help), std::move(apply), nullptr,
                      std::exchange(pendingSection_, {})});
}

void CommandLine::Value(std::string longName, char shortName, std::string valueName, std::string help,
                        std::function<bool(const std::string&)> apply) {
  options_.push_back({std::move(longName), shortName, std::move(valueName), std::move(help), nullptr,
                      std::move(apply), std::exchange(pendingSection_, {})});
}

void CommandLine::Section(std::string title) { pendingSection_ = std::move(title); }

const CommandLine::Option* CommandLine::FindLong(const std::string& name) const {
  for (const Option& option : options_)
    if (!option.longName.empty() && option.longName == name) return &option;
  return nullptr;
}

const CommandLine::Option* CommandLine::FindShort(char name) const {
  for (const Option& option : options_)
    if (option.shortName != 0 && option.shortName == name) return &option;
  return nullptr;
}

bool CommandLine::TakesNextArgument(const std::string& arg) const {
  if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
    const Option* option = arg.find('=') == std::string::npos ? FindLong(arg.substr(2)) : nullptr;
    return option != nullptr && !option->valueName.empty();
  }
  if (arg.size() < 2 || arg[0] != '-') return false;
  // The last of grouped short flags takes the next argument when it wants a value and nothing
  // is glued to it.
  for (std::size_t k = 1; k < arg.size(); ++k) {
    const Option* option = FindShort(arg[k]);
    if (option == nullptr) return false;
    if (!option->valueName.empty()) return k + 1 == arg.size();
  }
  return false;
}

std::optional<int> CommandLine::UsageError(const std::string& message) const {
  std::cerr << program_ << ": " << message << "\nTry '" << program_ << " --help' for more information.\n";
  return kExitUsage;
}

std::optional<int> CommandLine::Parse(int argc, char** argv, std::vector<std::string>& operands) {
  return Parse(std::vector<std::string>(argv + 1, argv + argc), operands);
}

std::optional<int> CommandLine::Parse(const std::vector<std::string>& args, std::vector<std::string>& operands) {
  auto run = [&](const Option& option, const std::string& shown, const std::optional<std::string>& value)
      -> std::optional<int> {
    if (option.longName == "help") {
      std::cout << Help();
      return kExitClean;
    }
    if (option.longName == "version") {
      std::cout << VersionLine(program_) << '\n';
      return kExitClean;
    }
    if (option.valueName.empty()) {
      if (value) return UsageError("option '" + shown + "' takes no value");
      if (option.flag) option.flag();
      return std::nullopt;
    }
    if (!value) return UsageError("option '" + shown + "' needs a value (" + option.valueName + ")");
    if (option.value && !option.value(*value)) {
      std::cerr << "Try '" << program_ << " --help' for more information.\n";
      return kExitUsage;
    }
    return std::nullopt;
  };

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto next = [&]() -> std::optional<std::string> {
      if (i + 1 < args.size()) return args[++i];
      return std::nullopt;
    };
    if (arg == "--") {
      operands.insert(operands.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
      break;
    }
    if (arg.size() < 2 || arg[0] != '-') {
      operands.push_back(arg);
      continue;
    }
    if (arg[1] == '-') {
      const std::size_t equals = arg.find('=');
      const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
      const Option* option = FindLong(name);
      if (option == nullptr) return UsageError("unknown option '--" + name + "'");
      std::optional<std::string> value;
      if (equals != std::string::npos) value = arg.substr(equals + 1);
      else if (!option->valueName.empty()) value = next();
      if (auto stop = run(*option, "--" + name, value)) return stop;
      continue;
    }
    for (std::size_t k = 1; k < arg.size(); ++k) {
      const Option* option = FindShort(arg[k]);
      if (option == nullptr) return UsageError(std::string("unknown option '-") + arg[k] + "'");
      if (option->valueName.empty()) {
        if (auto stop = run(*option, std::string("-") + arg[k], std::nullopt)) return stop;
        continue;
      }
      const std::optional<std::string> value = k + 1 < arg.size() ? std::optional<std::string>(arg.substr(k + 1)) : next();
      if (auto stop = run(*option, std::string("-") + arg[k], value)) return stop;
      break;
    }
  }
  return std::nullopt;
}

std::string CommandLine::Help() const {
  std::string text = "usage: " + usage_ + "\n";
  if (!about_.empty()) text += "\n" + about_ + "\n";
  text += "\nOptions:\n";
  for (const Option& option : options_) {
    if (!option.section.empty()) text += "\n" + option.section + ":\n";
    std::string left = "  ";
    left += option.shortName != 0 ? std::string("-") + option.shortName : "  ";
    if (!option.longName.empty()) left += std::string(option.shortName != 0 ? ", " : "  ") + "--" + option.longName;
    if (!option.valueName.empty()) left += (option.longName.empty() ? " " : "=") + option.valueName;
    if (left.size() < 28) left.append(28 - left.size(), ' ');
    else left += "\n" + std::string(28, ' ');
    text += left + option.help + "\n";
  }
  return text;
}

}  // namespace velmara::cli
