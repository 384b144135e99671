// The contract tests over MSXML 3.0, inside one single-threaded apartment.
#include <gtest/gtest.h>

#include "document/DomContract.h"
#include "document/win/MsxmlDom.h"
#include "platform/win/Windows.h"
//
#include <objbase.h>

namespace {

class ComApartment final : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr))); }
  void TearDown() override { ::CoUninitialize(); }
};

[[maybe_unused]] ::testing::Environment* const kApartment =
    ::testing::AddGlobalTestEnvironment(new ComApartment);

}  // namespace

IDomFactory& ContractDomFactory() {
  static MsxmlDomFactory factory;
  return factory;
}

std::string ContractAnsiText() {
  char text[8] = {};
  ::WideCharToMultiByte(CP_ACP, 0, L"\u00e9\u00fc", -1, text, sizeof text, nullptr, nullptr);
  return text;
}
