// The naming rules row by row, beyond what the recorded processors reach.
#include <gtest/gtest.h>

#include "cpu/CrusoeProcessor.h"
#include "cpu/CyrixNames.h"
#include "cpu/IntelNames.h"
#include "doubles/ScriptedProcessor.h"

namespace {

struct IntelCase {
  unsigned family, model, stepping, brand;
  int cacheClass, nameClass;
  const char* expected;
};

// Family 6 model 9 is "Pentium M" only through a leaf 1 of that model too.
TEST(IntelNamesTest, FamilyModelAndBrandRules) {
  constexpr IntelCase kCases[] = {
      // F  M  S  brand cache name  expected
      {4, 0, 0, 0, 0, 0, "486 DX"},
      {4, 1, 0, 0, 0, 0, "486 DX"},
      {4, 2, 0, 0, 0, 0, "486 SX"},
      {4, 3, 0, 0, 0, 0, "486 DX2"},
      {4, 7, 0, 0, 0, 0, "486 DX2"},
      {4, 5, 0, 0, 0, 0, "486 SX2"},
      {4, 8, 0, 0, 0, 0, "486 DX4"},
      {4, 4, 0, 0, 0, 0, "486"},
      {4, 6, 0, 0, 0, 0, "486"},
      {4, 9, 0, 0, 0, 0, "486"},
      {4, 15, 0, 0, 0, 0, "486"},
      {5, 4, 0, 0, 0, 0, "Pentium MMX"},
      {5, 0, 0, 0, 0, 0, "Pentium"},
      {5, 15, 0, 0, 0, 0, "Pentium"},
      {6, 1, 0, 0, 0, 0, "Pentium Pro"},
      {6, 3, 0, 0, 0, 0, "Pentium II"},
      {6, 5, 0, 0, 1, 0, "Celeron"},
      {6, 5, 0, 0, 2, 0, "Pentium II Xeon"},
      {6, 5, 0, 0, 0, 0, "Pentium II"},
      {6, 6, 10, 0, 0, 0, "Pentium II"},
      {6, 6, 13, 0, 0, 0, "Pentium II"},
      {6, 6, 9, 0, 0, 0, "Celeron"},
      {6, 6, 14, 0, 0, 0, "Celeron"},
      {6, 7, 3, 0, 1, 0, "Celeron"},
      // Brand decoding: family 6 models 0, 2, 4, 8 to 15 and other families.
      {6, 8, 0, 1, 0, 0, "Celeron"},
      {6, 8, 0, 10, 0, 0, "Celeron"},
      {6, 8, 0, 2, 0, 0, "Pentium III"},
      {6, 8, 0, 4, 0, 0, "Pentium III"},
      {6, 11, 0, 3, 0, 0, "Celeron"},
      {6, 10, 0, 3, 0, 0, "Pentium III Xeon"},
      {6, 8, 0, 6, 0, 0, "Mobile Pentium III"},
      {6, 8, 0, 7, 0, 0, "Mobile Celeron"},
      {15, 0, 0, 8, 0, 0, "Pentium 4"},
      {15, 1, 0, 9, 0, 0, "Pentium 4"},
      {15, 3, 0, 8, 0, 0, "Unkown Processor"},
      {15, 2, 0, 11, 0, 0, "Pentium 4"},
      {15, 2, 0, 11, 0, 1, "Celeron"},
      {15, 2, 0, 11, 0, 2, "Xeon"},
      {15, 2, 0, 11, 0, 3, "Pentium 4"},
      {15, 2, 0, 12, 0, 0, "Xeon"},
      {15, 3, 0, 14, 0, 0, "Xeon"},
      {15, 2, 0, 15, 0, 0, "Mobile Pentium 4"},
      {15, 3, 0, 15, 0, 0, "Unkown Processor"},
      {6, 9, 0, 5, 0, 0, "Unkown Processor"},
      {6, 9, 0, 13, 0, 0, "Unkown Processor"},
      {6, 9, 0, 16, 0, 0, "Unkown Processor"},
      {6, 9, 0, 21, 0, 0, "Unkown Processor"},
      {6, 9, 0, 23, 0, 0, "Unkown Processor"},
      {6, 9, 0, 255, 0, 0, "Unkown Processor"},
      // Brand 0: only late models, by name class, then cache class.
      {6, 14, 8, 0, 0, 1, "Celeron"},
      {6, 14, 8, 0, 2, 3, "Pentium 4"},
      {6, 14, 8, 0, 2, 0, "Xeon"},
      {6, 14, 8, 0, 1, 0, "Celeron"},
      {6, 14, 7, 0, 1, 1, ""},
      {15, 4, 0, 0, 0, 0, "Pentium 4"},
      {15, 5, 0, 0, 0, 2, ""},
      {3, 0, 0, 0, 0, 0, ""},
      {0, 0, 0, 1, 0, 0, "Celeron"},
  };
  for (const IntelCase& c : kCases) {
    const CpuSignature s{c.stepping, c.model, c.family, 0};
    IntelNamingFacts facts;
    facts.brandIndex = c.brand;
    facts.cacheClass = c.cacheClass;
    facts.nameClass = c.nameClass;
    EXPECT_EQ(CCPUInfo().GetName(s, facts), c.expected)
        << "family " << c.family << " model " << c.model << " brand " << c.brand;
  }
}

TEST(IntelNamesTest, PentiumMNeedsTheMatchingLeaf) {
  const CpuSignature s{5, 9, 6, 0};
  IntelNamingFacts facts;
  facts.brandIndex = 22;
  facts.leaf1IsPentiumM = false;
  EXPECT_EQ(CCPUInfo().GetName(s, facts), "Mobile Pentium M");
  facts.leaf1IsPentiumM = true;
  EXPECT_EQ(CCPUInfo().GetName(s, facts), "Mobile Pentium M (Centrino)");
}

TEST(IntelNamesTest, OverDriveRows) {
  struct Case {
    unsigned family, model;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {4, 8, "486 DX4"},           {5, 1, "Pentium"},           {5, 3, "Pentium"},
      {5, 4, "Pentium MMX"},       {6, 3, "Pentium II"},        {4, 7, "Unknown Processor"},
      {5, 5, "Unknown Processor"}, {6, 5, "Unknown Processor"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(OverDriveName(CpuSignature{0, c.model, c.family, 1}), c.expected)
        << c.family << "/" << c.model;
  }
}

TEST(IntelNamesTest, CacheClassFromDescriptorBytes) {
  struct Case {
    std::uint32_t eax, ebx, ecx, edx;
    int expected;
  };
  constexpr Case kCases[] = {
      {0x03020101, 0, 0, 0x0C040840, 1},
      {0x40020101, 0, 0, 0, 1},  // upper byte of EAX counts
      {0x03020140, 0, 0, 0, 0},  // its lowest byte does not
      {0x03020101, 0x44000000, 0, 0, 2},
      {0x03020101, 0, 0x00450000, 0, 2},
      {0x03020101, 0, 0x00450000, 0x40, 1},  // 0x40 wins over 0x44/0x45
      {0x03020101, 0x43434343, 0x46464646, 0x41414141, 0},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CacheClassFromDescriptors(c.eax, c.ebx, c.ecx, c.edx), c.expected)
        << std::hex << c.eax << " " << c.ebx << " " << c.ecx << " " << c.edx;
  }
}

TEST(IntelNamesTest, NameClassIgnoresLetterCase) {
  struct Case {
    const char* name;
    int expected;
  };
  constexpr Case kCases[] = {
      {"Intel(R) Celeron(R) CPU 2.40GHz", 1},
      {"Intel(R) XEON(TM) CPU 3.00GHz", 2},
      {"Intel(R) Pentium(R) 4 CPU 3.00GHz", 3},
      {"Intel(R) Pentium(R) Xeon CELERON", 1},  // celeron is tested first
      {"Intel(R) Core(TM)2 CPU", 0},
      {"", 0},
  };
  for (const Case& c : kCases) EXPECT_EQ(NameClassFromProcessorName(c.name), c.expected) << c.name;
}

TEST(CyrixNamesTest, Dir0Table) {
  struct Case {
    std::uint8_t dir0, dir1;
    const char* expected;
  };
  constexpr Case kCases[] = {
      {0x00, 0, "Cx486SLC(tm)"},      {0x03, 0, "Cx486DLC2(tm)"},
      {0x07, 0, "Cx486DRx2(tm)"},     {0x08, 0, "Unknown Cyrix CPU"},
      {0x10, 0, "Cx486S(tm)"},        {0x13, 0, "Cx486S2e(tm)"},
      {0x14, 0, "Unknown Cyrix CPU"}, {0x1A, 0, "Cx486DX(tm)"},
      {0x1B, 0, "Cx486DX2(tm)"},      {0x1F, 0, "Cx486DX4(tm)"},
      {0x28, 0, "5x86(tm)"},          {0x2F, 0, "5x86(tm)"},
      {0x30, 0x21, "6x86(tm)"},       {0x37, 0x22, "6x86L(tm)"},
      {0x40, 0x30, "GXm(tm)"},        {0x47, 0x3F, "GXm(tm)"},
      {0x44, 0x41, "MediaGX(tm)"},    {0x44, 0x23, "MediaGX(tm)"},
      {0x50, 0, "6x86MX(tm)"},        {0x5F, 0, "6x86MX(tm)"},
      {0x60, 0, "Unknown Cyrix CPU"}, {0xFD, 1, "Cx486SLC/DLC(tm)"},
      {0xFE, 0, "Cx486Sa(tm)"},       {0xFF, 0, "UNKNOWN CPU Manufacturer"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CyrixNameFromDir({c.dir0, c.dir1}), c.expected) << std::hex << int(c.dir0);
  }
}

TEST(CyrixNamesTest, CoreClassesAndTimings) {
  struct Case {
    std::uint8_t dir0;
    int coreClass;
    unsigned divide, loop;
  };
  constexpr Case kCases[] = {
      {0x1A, 1, 40, 8}, {0x1B, 1, 40, 8}, {0x1F, 1, 40, 8}, {0xFF, 1, 40, 8}, {0x28, 2, 45, 2},
      {0x40, 3, 45, 2}, {0x30, 4, 17, 1}, {0x57, 5, 17, 1}, {0x00, 0, 46, 7}, {0xFD, 0, 46, 7},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CyrixCoreClass(c.dir0), c.coreClass) << std::hex << int(c.dir0);
    const CyrixTimings t = CyrixTimingsForClass(c.coreClass);
    EXPECT_EQ(t.divideCycles, c.divide);
    EXPECT_EQ(t.loopCycles, c.loop);
  }
}

TEST(CyrixNamesTest, CanonicalNamesKeepTheirSpelling) {
  EXPECT_STREQ(CanonicalCyrixName("cx486slc/dlc(TM)"), "Cx486SLC/DLC(tm)");
  EXPECT_STREQ(CanonicalCyrixName("GXM(TM)"), "GXm(tm)");
  EXPECT_EQ(CanonicalCyrixName("Unknown Cyrix"), nullptr);
  EXPECT_EQ(CanonicalCyrixName("6x86MX"), nullptr);
  EXPECT_EQ(CanonicalCyrixName(""), nullptr);
}

TEST(CrusoeTest, WithoutCpuidKeepsTheFixedNameAndSpeed) {
  ScriptedProcessor cpu;
  cpu.idFlag = false;
  Platform platform;
  platform.processor = &cpu;
  std::string name = "Crusoe CPU";
  int speed = 17;
  EXPECT_EQ(CCrusoeProcessor(platform).IdentifyCrusoe(name, speed), 0);
  EXPECT_EQ(name, "Transmeta<tm> Crusoe<tm> Processor");
  EXPECT_EQ(speed, 17);
  EXPECT_EQ(cpu.cpuidCalls, 0);
}

TEST(CrusoeTest, BrandStringStopsAfterALeafWithEmptyEdx) {
  ScriptedProcessor cpu;
  cpu.leaves[0x80000000u] = {0x80000004u, 0, 0, 0};
  cpu.SetBrand("Transmeta Crusoe TM5600 with a long tail text");
  cpu.leaves[0x80000002u].edx = 0;  // first leaf ends the string early
  Platform platform;
  platform.processor = &cpu;
  std::string name;
  int speed = 0;
  CCrusoeProcessor(platform).IdentifyCrusoe(name, speed);
  EXPECT_EQ(name, "Transmeta Cr");
}

}  // namespace
