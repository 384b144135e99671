#pragma once
#include <string>

#include "platform/Clock.h"

class CMorvApp;
class DomAccess;
class IClock;
class IDomFactory;

// The run's timestamp: 14 digits, year to second.
std::string FormatTimestamp(const LocalTime& time);

// Builds the asset document of the store in `app` in `dom`, which creates
// a fresh document for it. Sets app.m_strTimestamp first, whatever follows.
// Returns 0 when built, -200 when no document object could be created.
int BuildAssetTree(CMorvApp& app, DomAccess& dom, IClock& clock);

// Builds the asset document and writes it to `path` (ANSI; its directory
// must exist). Returns 0 when saved, -1 when the save failed, -200 when no
// document object could be created (`dom` may be null: then nothing is
// written). Keeps nothing after the call.
int BuildAssetDocument(CMorvApp& app, const std::string& path, IDomFactory* dom, IClock& clock);
