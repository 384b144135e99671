#pragma once
#include <string>

class CMorvApp;
struct DocumentServices;

// The document at the agent's path is never written in place: a new one is
// written beside it and moved over it, in one step where the system can
// (MoveFileExA), else in renames that undo themselves when one fails.
// Either way a failing step leaves the old document at the path, whole.

// Where a new document is written before it replaces `documentPath`.
std::string SidePathOf(const std::string& documentPath);
// Where the old document waits while a system without MoveFileExA puts the
// new one in place.
std::string AsidePathOf(const std::string& documentPath);

// Copies `source` beside `documentPath` and moves the copy over it. On
// failure nothing at `documentPath` changes and no side file is left.
bool ReplaceWithCopyOf(const DocumentServices& services, const std::string& source,
                       const std::string& documentPath);

// A first run's document: built beside `documentPath`, then moved over it.
// Returns what the builder returns, and -1 when the move fails.
int BuildFreshDocument(CMorvApp& app, const std::string& documentPath,
                       const DocumentServices& services);
