// The commands of tvlc-cli. Each returns the exit status: 0 success, 1 a
// refused file or a failed command, 2 a usage error.
#pragma once

#include "cli/CliHost.h"
#include "cli/CliOptions.h"

namespace tvlc {

int ShapesCommand(const TCliOptions& options);
int ModulesCommand(const TCliOptions& options);
int EncodeCommand(const TCliOptions& options);

// A usage error: message and hint on stderr, status 2.
int UsageError(const std::string& message);

// The core of one command run with the modules beside the program.
struct TCliSession {
  TCliHost host;
  TMainCore core{host};
  TLogPrinter log{core};

  // Loads picture and map; a refusal prints the log to stderr. With echo the
  // load's log lines go to stdout.
  bool LoadInputs(const std::string& picture, const std::string& map, bool echo);
};

}  // namespace tvlc
