// EFLAGS is reached through PUSHF/POPF inside single asm statements, so no
// compiler-generated access runs while a test bit (alignment check above
// all) is flipped. On x86-64 the statements step below the red zone first.
#include "cpu/X86Processor.h"

#include <cpuid.h>
#include <x86intrin.h>

#include <cstdint>

#if defined(__x86_64__)
#define MORV_ENTER_STACK "sub $128, %%rsp\n\t"
#define MORV_LEAVE_STACK "add $128, %%rsp\n\t"
#define MORV_PUSHF "pushfq\n\t"
#define MORV_POPF "popfq\n\t"
#elif defined(__i386__)
#define MORV_ENTER_STACK ""
#define MORV_LEAVE_STACK ""
#define MORV_PUSHF "pushfl\n\t"
#define MORV_POPF "popfl\n\t"
#else
#error "x86 only"
#endif

namespace {

using Flags = std::uintptr_t;

constexpr Flags kIdFlag = 1u << 21;
constexpr Flags kAlignmentFlag = 1u << 18;
constexpr Flags kHighNibble = 0xF000u;

// Writes (EFLAGS & ~clear) ^ invert, reads EFLAGS back and restores it.
Flags WriteFlagsAndReadBack(Flags clear, Flags invert) {
  Flags original;
  Flags readBack;
  asm volatile(MORV_ENTER_STACK MORV_PUSHF
               "pop %0\n\t"
               "mov %0, %1\n\t"
               "and %2, %1\n\t"
               "xor %3, %1\n\t"
               "push %1\n\t" MORV_POPF MORV_PUSHF
               "pop %1\n\t"
               "push %0\n\t" MORV_POPF MORV_LEAVE_STACK
               : "=&r"(original), "=&r"(readBack)
               : "r"(~clear), "r"(invert)
               : "cc", "memory");
  return readBack;
}

bool CanInvert(Flags bit) {
  const Flags before = WriteFlagsAndReadBack(0, 0);
  return ((WriteFlagsAndReadBack(0, bit) ^ before) & bit) != 0;
}

Flags DisableInterrupts() {
  Flags saved;
  asm volatile(MORV_ENTER_STACK MORV_PUSHF "pop %0\n\tcli\n\t" MORV_LEAVE_STACK
               : "=r"(saved)
               :
               : "memory");
  return saved;
}

void RestoreFlags(Flags saved) {
  asm volatile(MORV_ENTER_STACK "push %0\n\t" MORV_POPF MORV_LEAVE_STACK
               :
               : "r"(saved)
               : "cc", "memory");
}

void Out8(std::uint16_t port, std::uint8_t value) {
  asm volatile("outb %0, %1" : : "a"(value), "Nd"(port) : "memory");
}

std::uint8_t In8(std::uint16_t port) {
  std::uint8_t value;
  asm volatile("inb %1, %0" : "=a"(value) : "Nd"(port) : "memory");
  return value;
}

// Five signed divisions by 1 and one LOOP per iteration.
void DivisionLoop(std::uint32_t iterations) {
  if (iterations == 0) return;  // LOOP with a zero count would run 2^32 times
  std::uintptr_t count = iterations;
  asm volatile(
      "1:\n\t"
      "mov $1, %%eax\n\tcltd\n\tidivl %1\n\t"
      "mov $1, %%eax\n\tcltd\n\tidivl %1\n\t"
      "mov $1, %%eax\n\tcltd\n\tidivl %1\n\t"
      "mov $1, %%eax\n\tcltd\n\tidivl %1\n\t"
      "mov $1, %%eax\n\tcltd\n\tidivl %1\n\t"
      "loop 1b"
      : "+c"(count)
      : "r"(1)
      : "eax", "edx", "cc");
}

}  // namespace

bool X86Processor::CanToggleIdFlag() { return CanInvert(kIdFlag); }

bool X86Processor::CanToggleAlignmentFlag() { return CanInvert(kAlignmentFlag); }

unsigned X86Processor::FlagsHighNibbleAfterWrite(unsigned nibble) {
  const Flags wanted = static_cast<Flags>(nibble & 0xFu) << 12;
  return static_cast<unsigned>((WriteFlagsAndReadBack(kHighNibble, wanted) >> 12) & 0xFu);
}

bool X86Processor::DivisionKeepsFlags() {
  std::uint32_t ax;
  asm volatile(
      "xor %%eax, %%eax\n\t"
      "sahf\n\t"
      "mov $5, %%eax\n\t"
      "mov $2, %%cl\n\t"
      "divb %%cl\n\t"
      "lahf\n\t"
      : "=a"(ax)
      :
      : "ecx", "cc");
  return ((ax >> 8) & 0xFFu) == 0x02u;
}

CpuidRegisters X86Processor::Cpuid(std::uint32_t leaf) {
  CpuidRegisters r;
  __cpuid_count(leaf, 0, r.eax, r.ebx, r.ecx, r.edx);
  return r;
}

std::uint64_t X86Processor::ReadTimeStampCounter() { return __rdtsc(); }

std::uint16_t X86Processor::MachineStatusWord() {
  std::uintptr_t msw;
  asm volatile("smsw %0" : "=r"(msw));
  return static_cast<std::uint16_t>(msw);
}

std::uint8_t X86Processor::ReadConfigRegister(std::uint8_t index) {
  if (!HasIoPrivilege()) return 0xFF;
  const Flags saved = DisableInterrupts();
  Out8(0x22, index);
  const std::uint8_t value = In8(0x23);
  RestoreFlags(saved);
  return value;
}

void X86Processor::WriteConfigRegister(std::uint8_t index, std::uint8_t value) {
  if (!HasIoPrivilege()) return;
  const Flags saved = DisableInterrupts();
  Out8(0x22, index);
  Out8(0x23, value);
  RestoreFlags(saved);
}

PitReading X86Processor::TimeDivisionLoop(std::uint32_t iterations) {
  PitReading reading;
  if (!HasIoPrivilege()) return reading;
  const Flags saved = DisableInterrupts();
  Out8(0x61, In8(0x61) & 0xFE);  // gate off
  Out8(0x43, 0xB0);              // channel 2, lobyte/hibyte, mode 0
  Out8(0x42, 0xFF);
  Out8(0x42, 0xFF);
  Out8(0x61, In8(0x61) | 0x01);  // gate on: counting starts
  DivisionLoop(iterations);
  Out8(0x61, In8(0x61) & 0xFE);  // gate off
  Out8(0x43, 0xC8);              // read-back: count and status of channel 2
  const std::uint8_t status = In8(0x42);
  const std::uint8_t low = In8(0x42);
  const std::uint8_t high = In8(0x42);
  Out8(0x43, 0xB6);
  Out8(0x42, 0);
  Out8(0x42, 0);
  RestoreFlags(saved);
  reading.out = (status & 0x80) != 0;
  reading.count = static_cast<std::uint16_t>(low | (high << 8));
  return reading;
}
