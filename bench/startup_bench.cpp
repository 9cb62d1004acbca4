// Start-up and memory of tavlin.exe against the same window made naively
// (naive_window.exe) and a bare window, in one run. Round after round, each
// program is started in turn and timed from CreateProcess:
//   - until its window is visible and painted and it is ready for input;
//   - until its 17 tooltip windows exist (tavlin.exe makes them right after its
//     first paint, the naive window before it shows);
// and its peak working set is read once it has gone idle. Prints the medians,
// the worst tip latency and the ratios against the goals.
// usage: bench_startup.exe [RUNS] [-v]   (-v: every run's figures as well)
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

BOOL CALLBACK CountTip(HWND h, LPARAM lp) {
  wchar_t cls[64] = {};
  if (GetClassNameW(h, cls, 64) && std::wstring(cls) == TOOLTIPS_CLASSW)
    ++*reinterpret_cast<int*>(lp);
  return TRUE;
}
// The tooltip windows of the program's thread. (Its own windows only: a look
// over every window of the desktop would ask the Wine server far more often,
// and slow down the program it is watching.)
int Tips(DWORD thread) {
  int tips = 0;
  EnumThreadWindows(thread, &CountTip, reinterpret_cast<LPARAM>(&tips));
  return tips;
}

BOOL CALLBACK ChildPending(HWND h, LPARAM lp) {
  if (IsWindowVisible(h) && GetUpdateRect(h, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(lp) = true;
    return FALSE;
  }
  return TRUE;
}
// Whether the window, or any visible window inside it, still waits for a paint.
bool PaintPending(HWND main) {
  bool pending = GetUpdateRect(main, nullptr, FALSE) != FALSE;
  if (!pending) EnumChildWindows(main, &ChildPending, reinterpret_cast<LPARAM>(&pending));
  return pending;
}

Sample Run(const std::wstring& exe, const wchar_t* mainClass, bool hasTips) {
  Sample s;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"";
  const double t0 = Now();
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return s;
  const double deadline = t0 + 30;
  // The main window, as soon as it is made (still hidden). One cheap look every
  // few milliseconds: each look asks the Wine server, which the program starting
  // up needs as well.
  HWND main = nullptr;
  while (!main && Now() < deadline && WaitForSingleObject(pi.hProcess, 2) == WAIT_TIMEOUT) {
    main = FindWindowW(mainClass, nullptr);
    DWORD pid = 0;
    if (main && (GetWindowThreadProcessId(main, &pid), pid != pi.dwProcessId)) main = nullptr;
  }
  // A message sent to the window is answered at the program's next message
  // fetch, before anything posted. One is kept waiting all the time, so the
  // program answers as soon as it reaches its message loop, ahead of any work
  // it has posted to itself (tavlin.exe's tips). The first answer after which
  // the window is visible with no paint of it left waiting is the moment the
  // window is on the screen, painted and ready for input. The checks come after
  // the answer and are not counted.
  bool painted = false;
  double t1 = 0;
  while (main && !painted && Now() < deadline) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored)) break;
    t1 = Now();
    painted = IsWindowVisible(main) && !PaintPending(main);
  }
  if (painted && hasTips) {
    // Counted at the end of the look that finds them all: a little late, never early.
    int tips = 0;
    while ((tips = Tips(pi.dwThreadId)) < kTips && Now() < t1 + 10)
      WaitForSingleObject(pi.hProcess, 10);
    if (tips == kTips) s.tipsAfter = Now() - t1;
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
  const bool verbose = argc > 2 && std::string(argv[2]) == "-v";
  const std::wstring folder = Folder();
  struct Program {
    const char* name;
    std::wstring exe;
    const wchar_t* mainClass;
    bool hasTips;
    std::vector<double> painted, tips, memory;
  } programs[3] = {{"bare window", folder + L"bare_window.exe", L"BareWindow", false, {}, {}, {}},
                   {"naive window", folder + L"naive_window.exe", L"NaiveMain", true, {}, {}, {}},
                   {"tavlin.exe", folder + L"tavlin.exe", L"TavlinMain", true, {}, {}, {}}};
  // Warm the file cache and the Wine server.
  for (Program& p : programs) Run(p.exe, p.mainClass, p.hasTips);
  std::vector<double> timeRatio, memoryRatio;  // tavlin.exe / naive window, round by round
  for (int i = 0; i < runs; ++i) {
    // Each round starts with the next program, so that none always follows the same one.
    for (int k = 0; k < 3; ++k) {
      Program& p = programs[(i + k) % 3];
      // What the last program left to tidy up (its windows, its process) is done first.
      Sleep(300);
      const Sample s = Run(p.exe, p.mainClass, p.hasTips);
      if (!s.ok) {
        std::printf("run %d of %s failed\n", i, p.name);
        return 1;
      }
      if (verbose)
        std::printf("round %2d %-12s painted %7.1f ms  tips after %6.1f ms  peak %.2f MiB\n", i,
                    p.name, s.painted * 1e3, s.tipsAfter * 1e3, s.peakMiB);
      p.painted.push_back(s.painted);
      p.memory.push_back(s.peakMiB);
      if (p.hasTips) p.tips.push_back(s.tipsAfter);
    }
    timeRatio.push_back(programs[2].painted.back() / programs[1].painted.back());
    memoryRatio.push_back(programs[2].memory.back() / programs[1].memory.back());
  }
  const Program &bare = programs[0], &naive = programs[1], &tavlin = programs[2];
  const double tb = Median(bare.painted), tn = Median(naive.painted), tt = Median(tavlin.painted);
  const double worstTips = *std::max_element(tavlin.tips.begin(), tavlin.tips.end());
  std::printf("%d rounds of the three programs, each round starting with the next; medians.\n",
              runs);
  std::printf("tavlin / naive: the median of the ratios within each round.\n\n");
  std::printf("| measure | bare window | naive window | tavlin.exe | tavlin / naive | goal |\n");
  std::printf("|---|---|---|---|---|---|\n");
  std::printf("| start to visible, painted window | %.1f ms | %.1f ms | %.1f ms | %.3f | 0.75 |\n",
              tb * 1e3, tn * 1e3, tt * 1e3, Median(timeRatio));
  std::printf(
      "| all 17 tip windows exist, after that paint | - | %.1f ms | %.1f ms (worst %.1f) "
      "| - | 300 ms |\n",
      Median(naive.tips) * 1e3, Median(tavlin.tips) * 1e3, worstTips * 1e3);
  std::printf("| peak working set | %.2f MiB | %.2f MiB | %.2f MiB | %.3f | 1.00 |\n",
              Median(bare.memory), Median(naive.memory), Median(tavlin.memory),
              Median(memoryRatio));
  // The fastest run of each: what the program needs when nothing else wants the
  // machine (the medians also carry whatever else ran at the time).
  const auto fastest = [](const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
  };
  std::printf("| fastest run to that window | %.1f ms | %.1f ms | %.1f ms | %.3f | - |\n",
              fastest(bare.painted) * 1e3, fastest(naive.painted) * 1e3,
              fastest(tavlin.painted) * 1e3, fastest(tavlin.painted) / fastest(naive.painted));
  std::printf("\nagainst the bare window: naive %.2fx, tavlin.exe %.2fx the time\n", tn / tb,
              tt / tb);
  return 0;
}
