#pragma once
#include <string>

class CMorvApp;
class IFileSystem;
struct DocumentServices;

// The document at the agent's path is never written in place: a new one is
// written beside it and moved over it in one step, so a run stopped at any
// point leaves the old or the new document, each complete.

// Where a new document is written before it replaces `documentPath`.
std::string SidePathOf(const std::string& documentPath);

// Copies `source` beside `documentPath` and moves the copy over it. On
// failure nothing at `documentPath` changes and no side file is left.
bool ReplaceWithCopyOf(IFileSystem& files, const std::string& source,
                       const std::string& documentPath);

// A first run's document: built beside `documentPath`, then moved over it.
// Returns what the builder returns, and -1 when the move fails.
int BuildFreshDocument(CMorvApp& app, const std::string& documentPath,
                       const DocumentServices& services);
