#include <gtest/gtest.h>

#include <limits>

#include "doubles/WmiFixture.h"
#include "wmi/PropertyForms.h"

namespace {

WmiValue Value(WmiType type, std::int32_t number = 0, HResult result = hr::kOk) {
  WmiValue value;
  value.result = result;
  value.type = type;
  value.number = number;
  return value;
}

WmiValue Text(const std::string& text, HResult result = hr::kOk) {
  WmiValue value = Value(WmiType::String, 0, result);
  value.text = text;
  return value;
}

WmiValue Texts(std::vector<std::string> texts) {
  WmiValue value = Value(WmiType::StringArray);
  value.texts = std::move(texts);
  return value;
}

struct FormCase {
  const char* what;
  WmiValue value;
  Form form;
  std::optional<std::string> expected;
};

TEST(PropertyForms, EachFormOnItsBoundaries) {
  const FormCase cases[] = {
      {"text", Text("Realtek"), Form::Text, "Realtek"},
      {"empty text is delivered", Text(""), Form::Text, ""},
      {"time zone -300", Value(WmiType::Int16, -300), Form::Signed16, "-300"},
      {"16-bit minimum", Value(WmiType::Int16, -32768), Form::Signed16, "-32768"},
      {"true truth value", Value(WmiType::Bool, -1), Form::Signed16, "-1"},
      {"false truth value", Value(WmiType::Bool, 0), Form::Signed16, "0"},
      {"32-bit read as 16 keeps low half", Value(WmiType::Int32, 0x12345), Form::Signed16, "9029"},
      {"4 GiB-1 as %d", Value(WmiType::Int32, -1), Form::Signed, "-1"},
      {"4 GiB-1 as %u", Value(WmiType::Int32, -1), Form::Unsigned, "4294967295"},
      {"32-bit minimum", Value(WmiType::Int32, std::numeric_limits<std::int32_t>::min()),
       Form::Signed, "-2147483648"},
      {"16-bit widened for %d", Value(WmiType::Int16, -2), Form::Signed, "-2"},
      {"first element", Texts({"10.0.0.1", "fe80::1"}), Form::FirstElement, "10.0.0.1"},
      {"array without elements", Texts({}), Form::FirstElement, std::nullopt},
      {"S_FALSE read", Text("x", hr::kFalse), Form::Text, std::nullopt},
      {"not found", Text("x", wmi::kNotFound), Form::Text, std::nullopt},
      {"empty", Value(WmiType::Empty), Form::Text, std::nullopt},
      {"null", Value(WmiType::Null), Form::Signed, std::nullopt},
      {"number read as text", Value(WmiType::Int32, 5), Form::Text, std::nullopt},
      {"text read as number", Text("5"), Form::Signed, std::nullopt},
      {"text read as array", Text("5"), Form::FirstElement, std::nullopt},
      {"unreadable type", Value(WmiType::Other), Form::Unsigned, std::nullopt},
  };
  for (const FormCase& c : cases) {
    EXPECT_EQ(ApplyForm(c.value, c.form), c.expected) << c.what;
  }
}

TEST(PropertyForms, DecimalTextsReadAsTheRuntimeReadsThem) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  const struct {
    const char* text;
    std::int64_t expected;
  } cases[] = {
      {"", 0},
      {"abc", 0},
      {"536870912", 536870912},
      {"80023749120", 80023749120},
      {"123abc", 123},
      {"  42", 42},
      {"-5", -5},
      {"+7", 7},
      {"- 7", 0},
      {"9223372036854775807", kMax},
      {"99999999999999999999", kMax},
      {"-9223372036854775808", kMin},
      {"-99999999999999999999", kMin},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadDecimal64(c.text), c.expected) << '"' << c.text << '"';
}

TEST(PropertyForms, CaseRules) {
  EXPECT_EQ(UpperCased("Fixed hard disk media"), "FIXED HARD DISK MEDIA");
  EXPECT_TRUE(EqualsNoCase("Intel(R) Pentium(R) 4", "INTEL(r) pentium(R) 4"));
  EXPECT_FALSE(EqualsNoCase("Intel", "Intel "));
  EXPECT_FALSE(EqualsNoCase("AMD", "AMX"));
}

TEST(WmiFixtureFormat, ReadsTypedValues) {
  WmiFixture fixture;
  std::string error;
  ASSERT_TRUE(ParseWmiFixture(R"([Win32_Test]
# comment
A = int32 4294967295
B = int16 -300
C = bool true
D = strings "x" "y \"q\""
E = string "C:\\WINDOWS" hr 0x1
F = hresult 0x80041002
G = null
)",
                              fixture, error))
      << error;
  ASSERT_EQ(fixture.instances.size(), 1u);
  const WmiFixtureInstance& instance = fixture.instances[0];
  EXPECT_EQ(instance.Get("a").number, -1);
  EXPECT_EQ(instance.Get("B").type, WmiType::Int16);
  EXPECT_EQ(instance.Get("B").number, -300);
  EXPECT_EQ(instance.Get("C").number, -1);
  EXPECT_EQ(instance.Get("D").texts, (std::vector<std::string>{"x", "y \"q\""}));
  EXPECT_EQ(instance.Get("E").text, "C:\\WINDOWS");
  EXPECT_EQ(instance.Get("E").result, hr::kFalse);
  EXPECT_EQ(instance.Get("F").result, wmi::kNotFound);
  EXPECT_EQ(instance.Get("G").type, WmiType::Null);
  EXPECT_EQ(instance.Get("Missing").result, wmi::kNotFound);
}

TEST(WmiFixtureFormat, NamesTheBadLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"A = string \"x\"", "line 1: property before any [ClassName]"},
      {"[C]\nA = int16 70000", "line 2: expected a int16 number"},
      {"[C]\n\nA = float 1", "line 3: unknown type 'float'"},
      {"[C]\nA = string \"open", "line 2: expected a quoted string"},
      {"[C]\nA = int32 1 2", "line 2: unexpected text after the value"},
      {"!refuse C 0", "line 1: expected a failure code"},
      {"!fail C 2", "line 1: expected 'after N'"},
      {"[C", "line 1: expected [ClassName]"},
  };
  for (const auto& c : cases) {
    WmiFixture fixture;
    std::string error;
    EXPECT_FALSE(ParseWmiFixture(c.text, fixture, error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

}  // namespace
