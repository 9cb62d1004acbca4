// Start-up and memory of tavlin.exe against the same window made naively
// (naive_window.exe) and a bare window, in one run. Each program is started in
// turn, round after round, and timed from CreateProcess:
//   - until its window is visible and painted: the window is shown, the program
//     has answered a message (so it has reached its message loop) and no window
//     of it is still waiting for a paint;
//   - until its 17 tooltip windows exist (tavlin.exe makes them right after its
//     first paint; the naive window before it shows);
// and its peak working set is read once it has gone idle. Prints the medians,
// the worst tip latency and the ratios against the goals.
// usage: bench_startup.exe [RUNS]
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kTips = 17;

struct Sample {
  double painted = 0;     // seconds from start to the visible, painted window
  double tipsAfter = -1;  // seconds from that paint until every tip window exists
  double peakMiB = 0;
  bool ok = false;
};

std::wstring Folder() {
  std::wstring path(4096, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

struct Windows {
  DWORD pid;
  HWND main = nullptr;
  int tips = 0;
};
BOOL CALLBACK Each(HWND h, LPARAM lp) {
  auto* w = reinterpret_cast<Windows*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != w->pid) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (std::wstring(cls) == TOOLTIPS_CLASSW)
    ++w->tips;
  else if (!w->main && IsWindowVisible(h) && !GetWindow(h, GW_OWNER))
    w->main = h;
  return TRUE;
}
Windows Scan(DWORD pid) {
  Windows w{pid};
  EnumWindows(&Each, reinterpret_cast<LPARAM>(&w));
  return w;
}

BOOL CALLBACK ChildPending(HWND h, LPARAM lp) {
  if (IsWindowVisible(h) && GetUpdateRect(h, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(lp) = true;
    return FALSE;
  }
  return TRUE;
}
bool PaintPending(HWND main) {
  bool pending = GetUpdateRect(main, nullptr, FALSE) != FALSE;
  if (!pending) EnumChildWindows(main, &ChildPending, reinterpret_cast<LPARAM>(&pending));
  return pending;
}

Sample Run(const std::wstring& exe, bool hasTips) {
  Sample s;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"";
  const double t0 = Now();
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return s;
  const double deadline = t0 + 30;
  HWND main = nullptr;
  while (!main && Now() < deadline && WaitForSingleObject(pi.hProcess, 1) == WAIT_TIMEOUT)
    main = Scan(pi.dwProcessId).main;
  // A message sent from here is handled at the program's next message fetch.
  bool painted = false;
  while (main && !painted && Now() < deadline) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored)) break;
    painted = !PaintPending(main);
  }
  const double t1 = Now();
  if (painted && hasTips) {
    while (Scan(pi.dwProcessId).tips < kTips && Now() < t1 + 10)
      WaitForSingleObject(pi.hProcess, 1);
    if (Scan(pi.dwProcessId).tips == kTips) s.tipsAfter = Now() - t1;
  }
  WaitForInputIdle(pi.hProcess, 10000);
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc))
    s.peakMiB = static_cast<double>(pmc.PeakWorkingSetSize) / 1048576.0;
  s.painted = t1 - t0;
  s.ok = painted && (!hasTips || s.tipsAfter >= 0);
  if (main) PostMessageW(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return s;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const std::wstring folder = Folder();
  struct Program {
    const char* name;
    std::wstring exe;
    bool hasTips;
    std::vector<double> painted, tips, memory;
  } programs[3] = {{"bare window", folder + L"bare_window.exe", false, {}, {}, {}},
                   {"naive window", folder + L"naive_window.exe", true, {}, {}, {}},
                   {"tavlin.exe", folder + L"tavlin.exe", true, {}, {}, {}}};
  for (Program& p : programs) Run(p.exe, p.hasTips);  // warm the file cache and the Wine server
  for (int i = 0; i < runs; ++i) {
    for (Program& p : programs) {
      const Sample s = Run(p.exe, p.hasTips);
      if (!s.ok) {
        std::printf("run %d of %s failed\n", i, p.name);
        return 1;
      }
      p.painted.push_back(s.painted);
      p.memory.push_back(s.peakMiB);
      if (p.hasTips) p.tips.push_back(s.tipsAfter);
    }
  }
  const Program &bare = programs[0], &naive = programs[1], &tavlin = programs[2];
  const double tb = Median(bare.painted), tn = Median(naive.painted), tt = Median(tavlin.painted);
  const double mb = Median(bare.memory), mn = Median(naive.memory), mt = Median(tavlin.memory);
  const double worstTips = *std::max_element(tavlin.tips.begin(), tavlin.tips.end());
  std::printf("%d rounds, the three programs in turn; medians\n\n", runs);
  std::printf("| measure | bare window | naive window | tavlin.exe | tavlin / naive | goal |\n");
  std::printf("|---|---|---|---|---|---|\n");
  std::printf("| start to visible, painted window | %.1f ms | %.1f ms | %.1f ms | %.3f | 0.75 |\n",
              tb * 1e3, tn * 1e3, tt * 1e3, tt / tn);
  std::printf(
      "| 17 tip windows exist, after that paint | - | %.1f ms | %.1f ms (worst %.1f) | - | "
      "300 ms |\n",
      Median(naive.tips) * 1e3, Median(tavlin.tips) * 1e3, worstTips * 1e3);
  std::printf("| peak working set | %.2f MiB | %.2f MiB | %.2f MiB | %.3f | 1.00 |\n", mb, mn, mt,
              mt / mn);
  std::printf("\nagainst the bare window: naive %.2fx, tavlin.exe %.2fx the time\n", tn / tb,
              tt / tb);
  return 0;
}
