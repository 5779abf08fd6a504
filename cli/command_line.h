#pragma once
// The command line of every program, read as getopt_long reads it: "--name VALUE" and
// "--name=VALUE" (the value may begin with "-": `--find -a` looks for "-a"), "-x VALUE" and
// "-xVALUE", short flags grouped ("-ab"), operands anywhere, "--" ends the options and "-" is an
// operand. --help (every option, from the same table) and --version are answered here.
// Each program declares its options; another option is one more line in its table.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmara::cli {

// "NAME (Detector Velmara) VERSION".
std::string VersionLine(const std::string& program);

class CommandLine {
 public:
  // `usage` is the synopsis after "usage: " (its lines after the first indented as given);
  // `about` one or more lines printed under it by --help.
  CommandLine(std::string program, std::string usage, std::string about);

  // An option without a value. `shortName` 0 when it has none, `longName` empty when it has none.
  void Flag(std::string longName, char shortName, std::string help, std::function<void()> apply);
  // An option with a value. `apply` returns false after telling what is wrong with the value.
  void Value(std::string longName, char shortName, std::string valueName, std::string help,
             std::function<bool(const std::string&)> apply);
  // A heading in --help before the options declared after it.
  void Section(std::string title);

  // Reads argv[1..]. Returns the exit status when the program should stop at once: 0 after
  // --help or --version, 2 after a usage error (told on standard error). Otherwise the operands
  // are in `operands`, in order.
  std::optional<int> Parse(int argc, char** argv, std::vector<std::string>& operands);
  std::optional<int> Parse(const std::vector<std::string>& args, std::vector<std::string>& operands);

  // Whether `arg`, standing as an option, takes the next argument as its value.
  bool TakesNextArgument(const std::string& arg) const;

  std::string Help() const;
  const std::string& program() const { return program_; }

 private:
  struct Option {
    std::string longName;
    char shortName = 0;
    std::string valueName;  // empty for a flag
    std::string help;
    std::function<void()> flag;
    std::function<bool(const std::string&)> value;
    std::string section;  // a heading printed before this option, or empty
  };
  const Option* FindLong(const std::string& name) const;
  const Option* FindShort(char name) const;
  std::optional<int> UsageError(const std::string& message) const;

  std::string program_;
  std::string usage_;
  std::string about_;
  std::vector<Option> options_;
  std::string pendingSection_;
};

}  // namespace velmara::cli
