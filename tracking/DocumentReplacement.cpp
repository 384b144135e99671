#include "tracking/DocumentReplacement.h"

#include <cstdint>

#include "document/AssetDocumentBuilder.h"
#include "entry/ResultCodes.h"
#include "platform/FileSystem.h"
#include "platform/VersionInfo.h"
#include "tracking/ChangeComparison.h"

namespace {

bool NothingAt(std::uint32_t error) {
  return error == file_error::kFileNotFound || error == file_error::kPathNotFound;
}

// Without MoveFileExA: the old document is renamed aside, the new one into
// place, and the old one deleted. A failing rename undoes the one before
// it. A process stopped between the two renames leaves no document at the
// path (the old one aside, the new one at the side path); the next run then
// finds none, builds afresh and deletes the stale copy first. Stopped after
// them, it leaves only the stale copy.
bool MoveOverInSteps(IFileSystem& files, const std::string& side, const std::string& documentPath) {
  const std::string aside = AsidePathOf(documentPath);
  files.DeleteFile(aside);
  const bool hadDocument = files.MoveFile(documentPath, aside);
  if (!hadDocument && !NothingAt(files.GetLastError())) return false;
  if (!files.MoveFile(side, documentPath)) {
    if (hadDocument) files.MoveFile(aside, documentPath);
    return false;
  }
  if (hadDocument) files.DeleteFile(aside);
  return true;
}

// The Windows 95 family has no MoveFileExA (its export is a stub failing
// with ERROR_CALL_NOT_IMPLEMENTED), and an NT system that answers so is
// treated alike.
bool MoveOver(const DocumentServices& services, const std::string& side,
              const std::string& documentPath) {
  IFileSystem& files = services.files;
  const bool nt = IsNtFamily(services.version.GetVersion());
  if (nt && files.ReplaceFile(side, documentPath)) return true;
  const bool moved = (!nt || files.GetLastError() == file_error::kCallNotImplemented) &&
                     MoveOverInSteps(files, side, documentPath);
  if (!moved) files.DeleteFile(side);
  return moved;
}

}  // namespace

std::string SidePathOf(const std::string& documentPath) { return documentPath + ".tmp"; }

std::string AsidePathOf(const std::string& documentPath) { return documentPath + ".old"; }

bool ReplaceWithCopyOf(const DocumentServices& services, const std::string& source,
                       const std::string& documentPath) {
  const std::string side = SidePathOf(documentPath);
  if (!services.files.CopyFile(source, side, false)) {
    services.files.DeleteFile(side);
    return false;
  }
  return MoveOver(services, side, documentPath);
}

int BuildFreshDocument(CMorvApp& app, const std::string& documentPath,
                       const DocumentServices& services) {
  const std::string side = SidePathOf(documentPath);
  const int built = BuildAssetDocument(app, side, services.dom, services.clock);
  if (built == result::kSaveFailed) services.files.DeleteFile(side);
  if (built != result::kOk) return built;
  return MoveOver(services, side, documentPath) ? result::kOk : result::kSaveFailed;
}
