#pragma once
#include <optional>
#include <string>
#include <vector>

// What morv-agent was asked to do.
struct AgentOptions {
  int detailMode = 1;
  std::optional<std::string> deviceId;  // default: the computer name
  std::string documentPath = "AgentHardwareAsset.XML";
  bool createStaging = true;  // "Results\Backup" beside the agent
  int runs = 1;
  bool show = false;  // print the document at documentPath; no inventory
};

struct ParsedOptions {
  std::optional<AgentOptions> options;  // empty: bad arguments or --help
  std::string error;                    // set for bad arguments
};

ParsedOptions ParseAgentOptions(const std::vector<std::string>& args);

extern const char kAgentUsage[];
