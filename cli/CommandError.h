#pragma once
// Errors a subcommand reports to the user: one line on stderr and a
// non-zero exit status. Usage errors also point at the command's help.

#include <stdexcept>
#include <string>

class CommandError : public std::runtime_error {
  public:
    explicit CommandError(const std::string& message) : std::runtime_error(message) {}
};

class UsageError : public CommandError {
  public:
    explicit UsageError(const std::string& message) : CommandError(message) {}
};

// Exit statuses of every subcommand.
constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;
