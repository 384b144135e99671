#pragma once
#include <cstdint>

struct OsEditionRow {
  std::int32_t code;
  const char* name;
};

// The edition names, one row per code, in code order.
inline constexpr OsEditionRow kOsEditions[] = {
    // code  name
    {3000, "Microsoft Windows 2000 Server Family"},
    {3001, "Microsoft Windows 2000 Professional"},
    {3002, "Microsoft Windows NT"},
    {3003, "Microsoft Windows 98"},
    {3004, "Microsoft Windows 95"},
    {3005, "Microsoft Windows 3.1"},
    {3006, "Microsoft Windows Me"},
    {3007, "Microsoft Windows XP Server"},
    {3008, "Microsoft Windows XP Professional"},
    {3009, "Microsoft Windows XP Home Edition"},
    {3010, "Unknown Windows"},
    {3011, "Microsoft Windows NT Workstation"},
    {3012, "Microsoft Windows NT Server"},
    {3013, "Microsoft Windows 2000 Advanced Server"},
    {3014, "Microsoft Windows NT Advanced Server"},
    {3015, "Microsoft Windows NT Domain controller"},
    {3016, "Microsoft Windows 2000 Tablet PC Edition"},
    {3017, "Microsoft Windows XP Tablet PC Edition"},
    {3018, "Microsoft Windows Server 2003 Standard Edition"},
    {3019, "Microsoft Windows Server 2003 Enterprise Edition"},
    {3020, "Microsoft Windows Server 2003 Web Edition"},
    {3021, "Microsoft Windows Vista"},
    {3022, "Microsoft Windows Server Longhorn"},
    {3023, "Microsoft Windows Server Longhorn Enterprise Edition"},
    {3024, "Microsoft Windows Server Longhorn Datacenter Edition"},
    {3025, "Windows 7"},
    {3026, "Windows Server 2008 R2"},
    {3027, "Windows Server 2008 R2 Enterprise Edition"},
    {3028, "Windows Server 2008 R2 Datacenter Edition"},
};
