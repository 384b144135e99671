#pragma once
#include <string>

class CMorvApp;
class IClock;
class IDomFactory;
class IFileSystem;
class IVersionInfo;
struct InventorySummary;

// The services the document step uses, to build and to compare.
struct DocumentServices {
  IDomFactory* dom;  // may be null: no document can be made
  IClock& clock;
  IFileSystem& files;
  IVersionInfo& version;  // the family decides how the document is replaced
};

// Reads the previous document's currentTimestamp and its five compared
// summary values (the later of two equal names wins). Returns 0, -200,
// -203 (not loadable) or -205 (no summary class). Fields not found stay as
// they were.
int ReadPreviousSummary(const std::string& path, InventorySummary& previous,
                        std::string& previousTimestamp, IDomFactory* dom);

// Builds the new document in memory, marks the summary values that differ
// from the document at documentPath, saves it once to the staging file
// "<host dir>\Results\Backup\new_AgentHardwareAsset.XML" (whatever the
// file name of documentPath), sets app.m_nStatus to 1 (changed) or 0 and
// puts a copy of the staging file in place of documentPath
// (DocumentReplacement.h). When the previous document cannot be read or
// either has no summary class, the staging file gets the new document
// unmarked. Returns 0 when documentPath holds the new document; -1 (staging
// path too long, or the save failed), -200, -203, -205, or -206 when the
// replacement failed. m_nStatus is set only once both documents were read
// and the staging file saved; whichever step fails, documentPath holds the
// old or the new document, whole.
int CompareWithPrevious(CMorvApp& app, const std::string& documentPath,
                        const DocumentServices& services);
