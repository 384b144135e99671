#pragma once
#include "document/DomFactory.h"

// The document model the contract tests run against in this build.
IDomFactory& ContractDomFactory();
