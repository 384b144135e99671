#include "AssetDocumentChecks.h"

#include <array>
#include <cstdio>
#include <map>
#include <pugixml.hpp>

// The format written out here independently of the product's tables, so a
// wrong row there shows up as a failure.

namespace {

const std::vector<std::string> kClassOrder = {
    "TCO_Summary",           "Win32_OperatingSystem",
    "Win32_Processor",       "Win32_PhysicalMemory",
    "Win32_VideoController", "Win32_DesktopMonitor",
    "Win32_NetworkAdapter",  "Win32_NetworkAdapterConfiguration",
    "Win32_DiskDrive",       "Win32_LogicalDisk",
    "Win32_CDROMDrive",      "Win32_SoundDevice",
    "Win32_PowerOption"};

const std::map<std::string, std::vector<std::string>> kInstanceProperties = {
    {"Win32_OperatingSystem",
     {"Caption", "Version", "BuildNumber", "CSDVERSION", "ServicePackMajorVersion",
      "ServicePackMinorVersion", "OSType", "OSLanguage", "SerialNumber", "Locale", "CodeSet",
      "CurrentTimeZone", "InstallDate", "SystemDrive", "SystemDirectory"}},
    {"Win32_Processor",
     {"Caption", "Name", "ProcessorId", "Manufacturer", "MaxClockSpeed", "L2CacheSize"}},
    {"Win32_PhysicalMemory",
     {"Caption", "BankLabel", "Capacity", "FormFactor", "SerialNumber", "Manufacturer"}},
    {"Win32_VideoController",
     {"Caption", "VideoProcessor", "InstalledDisplayDrivers", "DriverVersion", "AdapterRAM"}},
    {"Win32_DesktopMonitor", {"Caption", "ScreenHeight", "ScreenWidth", "MonitorManufacturer"}},
    {"Win32_NetworkAdapter",
     {"Name", "Caption", "Index", "MACAddress", "NetworkAddresses", "AdapterType", "Manufacturer"}},
    {"Win32_NetworkAdapterConfiguration",
     {"IPAddress", "Index", "DHCPEnabled", "IPSubnet", "DefaultIPGateway"}},
    {"Win32_DiskDrive",
     {"Caption", "InterfaceType", "Manufacturer", "Model", "Size", "Partitions"}},
    {"Win32_LogicalDisk",
     {"Caption", "VolumeName", "Size", "Description", "FileSystem", "FreeSpace", "Name",
      "DriveType"}},
    {"Win32_CDROMDrive", {"Name", "Description", "Manufacturer", "Drive"}},
    {"Win32_SoundDevice", {"Caption", "Manufacturer"}},
    {"Win32_PowerOption",
     {"Monitor_Ac", "Monitor_Dc", "Harddisk_Ac", "Harddisk_Dc", "Sleep_Ac", "Sleep_Dc",
      "Hibernate_Ac", "Hibernate_Dc"}},
};

const std::vector<std::string> kSummarySingles = {
    "Win32_OperatingSystem.Caption", "Win32_Processor.Name",
    "Win32_Processor.Count",         "Win32_PhysicalMemory.TotalCapacity",
    "Win32_DiskDrive.TotalSize",     "Win32_DiskDrive.TotalFreeSize"};
const std::vector<std::string> kSummaryLists = {
    "Win32_VideoController.Caption", "Win32_DesktopMonitor.Caption", "Win32_CDROMDrive.Name",
    "Win32_SoundDevice.Caption"};

std::string Attribute(const pugi::xml_node& node, const char* name, const char* absent = "") {
  const pugi::xml_attribute a = node.attribute(name);
  return a ? a.value() : absent;
}

std::string SummaryViolations(const ClassOutline& summary) {
  const auto& p = summary.properties;
  if (p.empty()) return {};
  if (p.size() < kSummarySingles.size()) return "summary has fewer than six single values";
  for (std::size_t i = 0; i < kSummarySingles.size(); ++i) {
    if (p[i].name != kSummarySingles[i] || p[i].index != "1") {
      return "summary single value " + std::to_string(i) + " is " + p[i].name;
    }
  }
  std::size_t next = kSummarySingles.size();
  for (const std::string& list : kSummaryLists) {
    for (int index = 1; next < p.size() && p[next].name == list; ++index, ++next) {
      if (p[next].index != std::to_string(index)) return list + " numbered " + p[next].index;
    }
  }
  if (next != p.size()) return "unexpected summary property " + p[next].name;
  for (const PropertyOutline& property : p) {
    if (property.changed != "0" && property.changed != "1") return "summary mark missing";
  }
  return {};
}

std::string InstanceViolations(const ClassOutline& c) {
  const std::vector<std::string>& names = kInstanceProperties.at(c.id);
  if (c.properties.size() % names.size() != 0) return c.id + ": incomplete instance";
  for (std::size_t i = 0; i < c.properties.size(); ++i) {
    const PropertyOutline& p = c.properties[i];
    if (p.name != names[i % names.size()]) return c.id + ": property " + p.name + " out of order";
    if (p.index != c.properties[i - i % names.size()].index) return c.id + ": split instance";
    if (p.changed != "-") return c.id + ": instance property with a mark";
    if (c.id == "Win32_PowerOption" && p.index != "1") return "power index " + p.index;
  }
  return {};
}

}  // namespace

const ClassOutline* DocumentOutline::Find(const std::string& id) const {
  for (const ClassOutline& c : classes) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const PropertyOutline* DocumentOutline::Summary(const std::string& name,
                                                const std::string& index) const {
  const ClassOutline* summary = Find("TCO_Summary");
  if (!summary) return nullptr;
  for (const PropertyOutline& p : summary->properties) {
    if (p.name == name && p.index == index) return &p;
  }
  return nullptr;
}

DocumentOutline ReadOutline(const std::string& path) {
  DocumentOutline outline;
  pugi::xml_document doc;
  if (!doc.load_file(path.c_str(), pugi::parse_default | pugi::parse_declaration)) return outline;
  outline.loaded = true;
  if (doc.first_child().type() == pugi::node_declaration) {
    for (pugi::xml_attribute a : doc.first_child().attributes()) {
      outline.declaration +=
          std::string(outline.declaration.empty() ? "" : " ") + a.name() + "='" + a.value() + "'";
    }
  }
  const pugi::xml_node device = doc.child("TS_Root").child("Device");
  const pugi::xml_node hardware = device.child("HardwareAsset");
  outline.deviceId = Attribute(device, "id", "-");
  outline.version = Attribute(hardware, "version");
  outline.currentTimestamp = Attribute(hardware, "currentTimestamp");
  outline.previousTimestamp = Attribute(hardware, "previousTimestamp");
  for (pugi::xml_node c : hardware.children("Class")) {
    ClassOutline cls{Attribute(c, "id"), Attribute(c, "wmi"), Attribute(c, "changed"), {}};
    for (pugi::xml_node p : c.children("Property")) {
      cls.properties.push_back({Attribute(p, "index"), Attribute(p, "name"),
                                Attribute(p, "changed", "-"), p.text().get()});
    }
    outline.classes.push_back(cls);
  }
  return outline;
}

bool ConformsToSchema(const std::string& path, std::string& report) {
  const std::string command = "xmllint --noout --schema '" MORV_SOURCE_DIR
                              "/document/AssetDocument.xsd' '" +
                              path + "' 2>&1";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return false;
  std::array<char, 512> buffer;
  while (std::fgets(buffer.data(), buffer.size(), pipe)) report += buffer.data();
  return ::pclose(pipe) == 0;
}

std::string OrderViolations(const DocumentOutline& outline) {
  if (!outline.loaded) return "not well-formed";
  if (outline.declaration != "version='1.0' encoding='UTF-8' standalone='yes'") {
    return "declaration: " + outline.declaration;
  }
  std::size_t next = 0;
  for (const ClassOutline& c : outline.classes) {
    while (next < kClassOrder.size() && kClassOrder[next] != c.id) ++next;
    if (next == kClassOrder.size()) return "class " + c.id + " out of order";
    ++next;
    const bool own = c.id == "TCO_Summary" || c.id == "Win32_PowerOption";
    if (c.wmi != (own ? "false" : "true")) return c.id + ": wmi " + c.wmi;
    if (c.changed != (c.id == "TCO_Summary" ? "0" : "1")) return c.id + ": changed " + c.changed;
    const std::string problem =
        c.id == "TCO_Summary" ? SummaryViolations(c) : InstanceViolations(c);
    if (!problem.empty()) return problem;
  }
  if (outline.classes.empty() || outline.classes[0].id != "TCO_Summary") return "no summary first";
  if (outline.classes.size() != 1 && outline.classes.size() != kClassOrder.size()) {
    return "class count " + std::to_string(outline.classes.size());
  }
  return {};
}

std::string DocumentProblems(const std::string& path) {
  std::string report;
  if (!ConformsToSchema(path, report)) return "schema: " + report;
  return OrderViolations(ReadOutline(path));
}
