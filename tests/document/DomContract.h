#pragma once
#include <string>

#include "document/DomFactory.h"

// The document model the contract tests run against in this build.
IDomFactory& ContractDomFactory();
// "\u00e9\u00fc" as a text in this build's ANSI code page.
std::string ContractAnsiText();
