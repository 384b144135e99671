#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The ten summary values of a run, in document order.
struct InventorySummary {
  std::int32_t processorCount = 0;
  std::string osCaption;
  std::string cpuName;
  std::string memoryTotal;  // decimal bytes
  std::string diskTotal;    // decimal bytes
  std::string diskFree;     // decimal bytes
  std::vector<std::string> videoNames;
  std::vector<std::string> monitorNames;
  std::vector<std::string> cdromNames;
  std::vector<std::string> soundNames;
};

// Power-policy time-outs in seconds; 0 means never or not configured.
struct PowerRecord {
  std::uint32_t Monitor_Ac = 0;
  std::uint32_t Monitor_Dc = 0;
  std::uint32_t Harddisk_Ac = 0;
  std::uint32_t Harddisk_Dc = 0;
  std::uint32_t Sleep_Ac = 0;
  std::uint32_t Sleep_Dc = 0;
  std::uint32_t Hibernate_Ac = 0;
  std::uint32_t Hibernate_Dc = 0;
};
