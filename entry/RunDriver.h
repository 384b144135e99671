#pragma once
#include <string>

#include "platform/Platform.h"

class CMorvApp;
class IRunSteps;

// The services and steps one run uses.
struct RunContext {
  CMorvApp& app;
  IRunSteps& steps;
  IVersionInfo& version;
  IComRuntime& com;
  IFileSystem& files;
  IDebugOutput& debug;
};

// One inventory run; returns its result code.
int RunInventory(RunContext& run, const std::string& deviceId, const std::string& documentPath);

// The document step: a fresh build when nothing is at the path, else the
// comparison with what is there.
int WriteAssetDocument(RunContext& run, const std::string& documentPath);

// 1 when anything (a directory too) exists at the path, else 0.
int FileExists(IFileSystem& files, const std::string& path);
