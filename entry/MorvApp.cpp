#include "entry/MorvApp.h"

#include <algorithm>
#include <cstring>

#include "platform/HostProcess.h"

CMorvApp::CMorvApp() = default;

CMorvApp::~CMorvApp() { ClearStore(); }

int CMorvApp::InitInstance(IHostProcess& host) {
  const std::string dir = HostDirectoryOf(host.ExecutablePath(sizeof m_szHostDir));
  std::memset(m_szHostDir, 0, sizeof m_szHostDir);
  std::memcpy(m_szHostDir, dir.data(), std::min(dir.size(), sizeof m_szHostDir - 1));
  m_pSummary = std::make_unique<InventorySummary>();
  m_pPower = std::make_unique<PowerRecord>();
  return 1;
}

int CMorvApp::ExitInstance() {
  ClearStore();
  return 0;
}

void CMorvApp::ClearStore() {
  m_listOs.Clear();
  m_listProcessor.Clear();
  m_listMemory.Clear();
  m_listDiskDrive.Clear();
  m_listLogicalDisk.Clear();
  m_listVideo.Clear();
  m_listMonitor.Clear();
  m_listNetworkAdapter.Clear();
  m_listNetworkConfig.Clear();
  m_listCdrom.Clear();
  m_listSound.Clear();
  m_pSummary.reset();
  m_pPower.reset();
}

void CMorvApp::BeginRun() {
  ClearStore();
  m_pSummary = std::make_unique<InventorySummary>();
  m_pPower = std::make_unique<PowerRecord>();
}

std::string HostDirectoryOf(const std::string& executablePath) {
  const auto cut = executablePath.find_last_of('\\');
  return cut == std::string::npos ? executablePath : executablePath.substr(0, cut);
}
