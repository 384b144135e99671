#include "tracking/DocumentReplacement.h"

#include "document/AssetDocumentBuilder.h"
#include "platform/FileSystem.h"
#include "tracking/ChangeComparison.h"

namespace {

bool MoveOver(IFileSystem& files, const std::string& side, const std::string& documentPath) {
  if (files.ReplaceFile(side, documentPath)) return true;
  files.DeleteFile(side);
  return false;
}

}  // namespace

std::string SidePathOf(const std::string& documentPath) { return documentPath + ".tmp"; }

bool ReplaceWithCopyOf(IFileSystem& files, const std::string& source,
                       const std::string& documentPath) {
  const std::string side = SidePathOf(documentPath);
  if (!files.CopyFile(source, side, false)) {
    files.DeleteFile(side);
    return false;
  }
  return MoveOver(files, side, documentPath);
}

int BuildFreshDocument(CMorvApp& app, const std::string& documentPath,
                       const DocumentServices& services) {
  const std::string side = SidePathOf(documentPath);
  const int built = BuildAssetDocument(app, side, services.dom, services.clock);
  if (built == build_result::kSaveFailed) services.files.DeleteFile(side);
  if (built != build_result::kSaved) return built;
  return MoveOver(services.files, side, documentPath) ? build_result::kSaved
                                                      : build_result::kSaveFailed;
}
