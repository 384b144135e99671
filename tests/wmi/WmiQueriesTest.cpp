#include <gtest/gtest.h>

#include "tests/wmi/WmiTestSupport.h"

namespace {

using Texts = std::vector<std::string>;

TEST_F(WmiTest, WorkstationFillsEveryListAndTheSummary) {
  LoadFile("workstation.wmi");
  ASSERT_EQ(wmi_.Collect(), 0);

  const auto os = Records(app_.m_listOs);
  ASSERT_EQ(os.size(), 1u);
  EXPECT_EQ(os[0].ordinal, 1);
  EXPECT_EQ(os[0].CSDVERSION, "Service Pack 3");
  EXPECT_EQ(os[0].ServicePackMajorVersion, "3");
  EXPECT_EQ(os[0].OSLanguage, "1033");
  EXPECT_EQ(os[0].CurrentTimeZone, "-300");
  EXPECT_EQ(os[0].SystemDirectory, "C:\\WINDOWS\\system32");

  const auto cpus = Records(app_.m_listProcessor);
  ASSERT_EQ(cpus.size(), 2u);
  EXPECT_EQ(cpus[0].MaxClockSpeed, "2992");
  EXPECT_EQ(cpus[1].MaxClockSpeed, "4294967295");
  EXPECT_EQ(cpus[1].ProcessorId, "");
  EXPECT_EQ(cpus[1].ordinal, 2);

  const auto video = Records(app_.m_listVideo);
  ASSERT_EQ(video.size(), 1u);  // the query asks for controllers with a colour depth
  EXPECT_EQ(video[0].AdapterRAM, "4293918720");  // 4 GiB less 1 MiB, written unsigned

  const auto memory = Records(app_.m_listMemory);
  ASSERT_EQ(memory.size(), 2u);
  EXPECT_EQ(memory[0].SerialNumber, "");
  EXPECT_EQ(memory[1].Caption, "");
  EXPECT_EQ(memory[1].FormFactor, "8");

  const auto cdroms = Records(app_.m_listCdrom);
  ASSERT_EQ(cdroms.size(), 1u);
  EXPECT_EQ(cdroms[0].Manufacturer, "");
  EXPECT_EQ(cdroms[0].Drive, "D:");

  const InventorySummary& s = Summary();
  EXPECT_EQ(s.osCaption, "Microsoft Windows XP Professional");
  EXPECT_EQ(s.cpuName, "INTEL(R) PENTIUM(R) 4 CPU 3.00GHZ");
  EXPECT_EQ(s.processorCount, 2);
  EXPECT_EQ(s.memoryTotal, "1610612736");
  EXPECT_EQ(s.diskTotal, "80023749120");  // removable and external drives left out
  EXPECT_EQ(s.diskFree, "12345679901");   // every logical disk that reports free space
  EXPECT_EQ(s.videoNames, Texts{"NVIDIA GeForce 6600"});
  EXPECT_EQ(s.monitorNames, (Texts{"Plug and Play Monitor"}));
  EXPECT_EQ(s.cdromNames, Texts{"HL-DT-ST DVD-RAM GSA-H10N"});
  EXPECT_EQ(s.soundNames, (Texts{"Realtek AC'97 Audio", "Virtual Audio Cable"}));
  EXPECT_EQ(service_.live, 0);
}

TEST_F(WmiTest, QueriesRunInOrderWithTheirFlagsAndTimeOut) {
  LoadFile("workstation.wmi");
  ASSERT_EQ(wmi_.Collect(), 0);
  const Texts expected = {
      "CreateLocator",
      "ConnectServer(ROOT\\CIMV2)",
      "SetProxyBlanket",
      "SELECT * FROM Win32_OperatingSystem",
      "SELECT Caption, Name, ProcessorId, Manufacturer, MaxClockSpeed, L2CacheSize FROM "
      "Win32_Processor",
      "SELECT Caption, BankLabel, Capacity, FormFactor, SerialNumber, Manufacturer FROM "
      "Win32_PhysicalMemory",
      "SELECT Caption, InterfaceType, Manufacturer, Model, Size, Partitions, MediaType FROM "
      "Win32_DiskDrive",
      "SELECT Caption, VolumeName, Size, Description, FileSystem, FreeSpace, Name, DriveType FROM "
      "Win32_LogicalDisk",
      "SELECT * FROM Win32_VideoController where CurrentBitsPerPixel != NULL",
      "SELECT Caption, ScreenHeight, ScreenWidth, MonitorManufacturer FROM Win32_DesktopMonitor "
      "where ScreenWidth != NULL",
      "SELECT Name, Caption, Index, MACAddress, NetworkAddresses, AdapterType, Manufacturer, "
      "PNPDeviceID FROM Win32_NetworkAdapter",
      "SELECT IPAddress, Index, DHCPEnabled, IPSubnet, DefaultIPGateway FROM "
      "Win32_NetworkAdapterConfiguration WHERE Index='2'",
      "SELECT IPAddress, Index, DHCPEnabled, IPSubnet, DefaultIPGateway FROM "
      "Win32_NetworkAdapterConfiguration WHERE Index='7'",
      "SELECT Name, Description, Manufacturer, Drive FROM Win32_CDROMDrive",
      "SELECT Caption, Manufacturer FROM Win32_SoundDevice",
  };
  EXPECT_EQ(service_.calls, expected);
  EXPECT_EQ(service_.connectFlags, wmi::kConnectUseMaxWait);
  for (std::int32_t flags : service_.queryFlags) EXPECT_EQ(flags, 0x30);
  ASSERT_FALSE(service_.timeouts.empty());
  for (std::uint32_t timeout : service_.timeouts) EXPECT_EQ(timeout, 30000u);
}

TEST_F(WmiTest, DeliveredOnlyWhenReadExactlySucceedsWithAValue) {
  const struct {
    const char* caption;  // the fixture's value of Caption
    const char* field;    // what the record holds
    bool named;           // whether soundNames received it
  } cases[] = {
      {"string \"Audio\"", "Audio", true},
      {"string \"\"", "", true},
      {"string \"Audio\" hr 0x1", "", false},
      {"string \"Audio\" hr 0x80041002", "", false},
      {"hresult 0x80041002", "", false},
      {"null", "", false},
      {"empty", "", false},
      {"int32 5", "", false},
  };
  for (const auto& c : cases) {
    app_.BeginRun();
    service_.fixture = {};
    Load(std::string("[Win32_SoundDevice]\nCaption = ") + c.caption + "\n");
    ASSERT_EQ(wmi_.QuerySoundDevice(Connection()), 0);
    const auto records = Records(app_.m_listSound);
    ASSERT_EQ(records.size(), 1u) << c.caption;  // a record even when nothing is delivered
    EXPECT_EQ(records[0].ordinal, 1);
    EXPECT_EQ(records[0].Caption, c.field) << c.caption;
    EXPECT_EQ(Summary().soundNames.size(), c.named ? 1u : 0u) << c.caption;
  }
}

TEST_F(WmiTest, ProcessorNamingAndCounting) {
  const struct {
    const char* what;
    Texts names;  // "-" for a processor that reports no name
    const char* cpuName;
    int count;
  } cases[] = {
      {"same name, other case", {"Intel P4", "intel p4"}, "intel p4", 2},
      {"different names", {"Intel P4", "AMD K7"}, "Intel P4", 1},
      {"first without a name", {"-", "AMD K7"}, "AMD K7", 1},
      {"others left out", {"A", "B", "a"}, "a", 2},
      {"no processor", {}, "", 0},
  };
  for (const auto& c : cases) {
    app_.BeginRun();
    Summary().cpuName = "from an earlier query";
    Summary().processorCount = 9;
    std::string fixture;
    for (const std::string& name : c.names)
      fixture += "[Win32_Processor]\n" + (name == "-" ? "" : "Name = string \"" + name + "\"\n");
    service_.fixture = {};
    Load(fixture);
    ASSERT_EQ(wmi_.QueryProcessor(Connection()), 0);
    EXPECT_EQ(Summary().cpuName, c.cpuName) << c.what;
    EXPECT_EQ(Summary().processorCount, c.count) << c.what;
    EXPECT_EQ(app_.m_listProcessor.NodeCount(), c.names.size()) << c.what;
  }
}

TEST_F(WmiTest, RefusedProcessorQueryStillResetsTheName) {
  Load("!refuse Win32_Processor 0x80041017\n[Win32_Processor]\nName = string \"X\"\n");
  Summary().cpuName = "old";
  Summary().processorCount = 3;
  EXPECT_EQ(wmi_.QueryProcessor(Connection()), -102);
  EXPECT_EQ(Summary().cpuName, "");
  EXPECT_EQ(Summary().processorCount, 0);
  EXPECT_TRUE(app_.m_listProcessor.Empty());
}

TEST_F(WmiTest, SumsOfTextsReadAsNumbers) {
  const struct {
    const char* what;
    const char* fixture;
    const char* memoryTotal;
  } cases[] = {
      {"no module", "", "0"},
      {"two modules", "[M]\nCapacity = string \"1073741824\"\n[M]\nCapacity = string \"536870912\"",
       "1610612736"},
      {"leading digits only", "[M]\nCapacity = string \"12abc\"\n[M]\nCapacity = string \"x\"",
       "12"},
      {"not delivered adds nothing", "[M]\nCapacity = null\n[M]\nCapacity = string \"5\" hr 0x1",
       "0"},
      {"negative wraps as unsigned", "[M]\nCapacity = string \"-1\"", "18446744073709551615"},
  };
  for (const auto& c : cases) {
    app_.BeginRun();
    service_.fixture = {};
    std::string text = c.fixture;
    for (std::size_t at; (at = text.find("[M]")) != std::string::npos;)
      text.replace(at, 3, "[Win32_PhysicalMemory]");
    Load(text);
    ASSERT_EQ(wmi_.QueryPhysicalMemory(Connection()), 0);
    EXPECT_EQ(Summary().memoryTotal, c.memoryTotal) << c.what;
  }
}

TEST_F(WmiTest, OnlyFixedMediaCountTowardsTheDiskTotal) {
  const struct {
    const char* mediaType;
    const char* size;
    const char* diskTotal;
  } cases[] = {
      {"string \"Fixed hard disk media\"", "string \"100\"", "100"},
      {"string \"fixed hard disk\"", "string \"100\"", "100"},
      {"string \"Removable Media\"", "string \"100\"", "0"},
      {"string \"External hard disk media\"", "string \"100\"", "0"},
      {"null", "string \"100\"", "0"},
      {"string \"Fixed hard disk media\"", "null", "0"},
  };
  for (const auto& c : cases) {
    app_.BeginRun();
    service_.fixture = {};
    Load(std::string("[Win32_DiskDrive]\nSize = ") + c.size + "\nMediaType = " + c.mediaType +
         "\nPartitions = int32 2\n[Win32_DiskDrive]\nSize = string \"7\"\n");
    ASSERT_EQ(wmi_.QueryDiskDrive(Connection()), 0);
    EXPECT_EQ(Summary().diskTotal, c.diskTotal) << c.mediaType << " " << c.size;
    EXPECT_EQ(Records(app_.m_listDiskDrive)[0].Partitions, "2");
  }
}

TEST_F(WmiTest, SizeIsReadBeforeTheMediaType) {
  Load("[Win32_DiskDrive]\n");
  ASSERT_EQ(wmi_.QueryDiskDrive(Connection()), 0);
  EXPECT_EQ(service_.reads, (Texts{"Caption", "InterfaceType", "Manufacturer", "Model", "Size",
                                   "MediaType", "Partitions"}));
}

TEST_F(WmiTest, AdapterFilterKeepsPciAndPcmciaAndNumbersTheKeptOnes) {
  Load(R"([Win32_NetworkAdapter]
Name = string "software"
PNPDeviceID = string "ROOT\\MS_PPTPMINIPORT\\0000"
[Win32_NetworkAdapter]
Name = string "pci"
PNPDeviceID = string "PCI\\VEN_8086&DEV_1050"
[Win32_NetworkAdapter]
Name = string "no id"
[Win32_NetworkAdapter]
Name = string "null id"
PNPDeviceID = null
[Win32_NetworkAdapter]
Name = string "card"
PNPDeviceID = string "pcmcia\\xircom\\1"
[Win32_NetworkAdapter]
Name = string "usb"
PNPDeviceID = string "USB\\VID_0B95"
)");
  ASSERT_EQ(wmi_.QueryNetworkAdapter(Connection()), 0);
  const auto adapters = Records(app_.m_listNetworkAdapter);
  ASSERT_EQ(adapters.size(), 2u);
  EXPECT_EQ(adapters[0].Name, "pci");
  EXPECT_EQ(adapters[0].ordinal, 1);
  EXPECT_EQ(adapters[1].Name, "card");
  EXPECT_EQ(adapters[1].ordinal, 2);
  EXPECT_EQ(service_.reads.front(), "PNPDeviceID");  // the filter comes before the record
}

TEST_F(WmiTest, ConfigurationsCarryTheAdapterOrdinal) {
  LoadFile("workstation.wmi");
  ASSERT_EQ(wmi_.Collect(), 0);
  const auto adapters = Records(app_.m_listNetworkAdapter);
  ASSERT_EQ(adapters.size(), 2u);  // the software adapter is not kept
  EXPECT_EQ(adapters[0].Index, "2");
  EXPECT_EQ(adapters[0].NetworkAddresses, "00:0C:F1:AA:BB:CC");
  EXPECT_EQ(adapters[1].NetworkAddresses, "");

  const auto configs = Records(app_.m_listNetworkConfig);
  ASSERT_EQ(configs.size(), 2u);
  EXPECT_EQ(configs[0].ordinal, 1);
  EXPECT_EQ(configs[0].IPAddress, "192.168.1.20");
  EXPECT_EQ(configs[0].Index, "2");
  EXPECT_EQ(configs[0].DHCPEnabled, "-1");
  EXPECT_EQ(configs[0].IPSubnet, "255.255.255.0");
  EXPECT_EQ(configs[0].DefaultIPGateway, "192.168.1.1");
  EXPECT_EQ(configs[1].ordinal, 2);
  EXPECT_EQ(configs[1].Index, "7");
  EXPECT_EQ(configs[1].DHCPEnabled, "0");
  EXPECT_EQ(configs[1].IPAddress, "");
  EXPECT_EQ(configs[1].IPSubnet, "");
  EXPECT_EQ(configs[1].DefaultIPGateway, "");
}

TEST_F(WmiTest, ConfigurationQueryTakesTheIndexTextUnchanged) {
  Load("[Win32_NetworkAdapterConfiguration]\nIndex = int32 4\n");
  ASSERT_EQ(wmi_.QueryNetworkAdapterConfiguration(Connection(), "", 3), 0);
  ASSERT_EQ(wmi_.QueryNetworkAdapterConfiguration(Connection(), "4", 5), 0);
  EXPECT_EQ(service_.calls.back(),
            "SELECT IPAddress, Index, DHCPEnabled, IPSubnet, DefaultIPGateway FROM "
            "Win32_NetworkAdapterConfiguration WHERE Index='4'");
  EXPECT_NE(service_.calls.end()[-2].find("WHERE Index=''"), std::string::npos);
  const auto configs = Records(app_.m_listNetworkConfig);
  ASSERT_EQ(configs.size(), 1u);
  EXPECT_EQ(configs[0].ordinal, 5);
}

TEST_F(WmiTest, NoKeptAdapterMeansNoConfigurationQuery) {
  Load(R"([Win32_NetworkAdapter]
PNPDeviceID = string "ROOT\\NET\\0000"
Index = int32 1
)");
  ASSERT_EQ(wmi_.Collect(), 0);
  for (const std::string& call : service_.calls)
    EXPECT_EQ(call.find("Win32_NetworkAdapterConfiguration"), std::string::npos);
  EXPECT_NE(service_.calls.end()[-2].find("Win32_CDROMDrive"), std::string::npos);
}

TEST_F(WmiTest, RefusedQueryStopsTheCollectionWithItsCode) {
  const struct {
    const char* className;
    int code;
  } cases[] = {
      {"Win32_OperatingSystem", -116},
      {"Win32_Processor", -117},
      {"Win32_PhysicalMemory", -118},
      {"Win32_DiskDrive", -119},
      {"Win32_LogicalDisk", -120},
      {"Win32_VideoController", -121},
      {"Win32_DesktopMonitor", -122},
      {"Win32_NetworkAdapter", -123},
      {"Win32_NetworkAdapterConfiguration", -124},
      {"Win32_CDROMDrive", -125},
      {"Win32_SoundDevice", -126},
  };
  for (const auto& c : cases) {
    app_.BeginRun();
    service_ = FakeWmiService();
    LoadFile("workstation.wmi");
    Load(std::string("!refuse ") + c.className + " 0x80041001\n");
    EXPECT_EQ(wmi_.Collect(), c.code) << c.className;
    // The refused query is the last one asked; the lists it feeds stay empty.
    EXPECT_NE(service_.calls.back().find(std::string("FROM ") + c.className + ""),
              std::string::npos)
        << c.className;
    EXPECT_EQ(service_.live, 0) << c.className;
  }
  // Records of the queries before the refusal stay.
  EXPECT_EQ(app_.m_listOs.NodeCount(), 1u);
  EXPECT_EQ(app_.m_listCdrom.NodeCount(), 1u);
  EXPECT_TRUE(app_.m_listSound.Empty());
}

TEST_F(WmiTest, RefusedConfigurationStopsAtTheFirstAdapter) {
  LoadFile("workstation.wmi");
  Load("!refuse Win32_NetworkAdapterConfiguration 0x80041017\n");
  EXPECT_EQ(wmi_.Collect(), -124);
  EXPECT_NE(service_.calls.back().find("WHERE Index='2'"), std::string::npos);
  EXPECT_TRUE(app_.m_listNetworkConfig.Empty());
  EXPECT_TRUE(app_.m_listCdrom.Empty());
}

// A failing enumerator ends the results and keeps what came before; a
// time-out fails the query and keeps nothing of it.
TEST_F(WmiTest, ResultsEndingEarly) {
  const struct {
    const char* directive;
    int result;
    std::size_t kept;
    const char* diskFree;
    std::size_t soundNames;  // 2 when the collection went on
  } cases[] = {
      {"!fail Win32_LogicalDisk after 1", 0, 1, "12345678901", 2},
      {"!fail Win32_LogicalDisk after 0", 0, 0, "0", 2},
      {"!hang Win32_LogicalDisk after 2", -120, 0, "", 0},
      {"!hang Win32_LogicalDisk after 0", -120, 0, "", 0},
  };
  for (const auto& c : cases) {
    app_.BeginRun();
    service_ = FakeWmiService();
    LoadFile("workstation.wmi");
    Load(c.directive);
    EXPECT_EQ(wmi_.Collect(), c.result) << c.directive;
    EXPECT_EQ(app_.m_listLogicalDisk.NodeCount(), c.kept) << c.directive;
    EXPECT_EQ(Summary().diskFree, c.diskFree) << c.directive;
    EXPECT_FALSE(service_.waitedForever) << c.directive;
    EXPECT_EQ(Summary().soundNames.size(), c.soundNames) << c.directive;
    EXPECT_EQ(service_.live, 0) << c.directive;
  }
}

TEST_F(WmiTest, WithoutSummaryRecordsAreStillAppended) {
  LoadFile("workstation.wmi");
  app_.m_pSummary.reset();
  ASSERT_EQ(wmi_.Collect(), 0);
  EXPECT_EQ(app_.m_listProcessor.NodeCount(), 2u);
  EXPECT_EQ(app_.m_listSound.NodeCount(), 2u);
}

TEST_F(WmiTest, NameListsAreAppendedTo) {
  Load("[Win32_CDROMDrive]\nName = string \"DVD\"\n");
  Summary().cdromNames = {"earlier"};
  ASSERT_EQ(wmi_.QueryCDROMDrive(Connection()), 0);
  EXPECT_EQ(Summary().cdromNames, (Texts{"earlier", "DVD"}));
}

}  // namespace
