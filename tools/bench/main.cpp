// vantiq-bench: the control, hosted in the project's container and driven through its
// dual interface, timed against the common-controls progress bar in the same window
// (one with visual styles, one without), and the memory one control costs.
//   vantiq-bench.exe [--rounds N] [--updates N]
// The control comes from VantiqCtl.dll beside the program; nothing is registered.
// The sides of a comparison run in turn, each round starting one side further on, and
// the medians of the rounds are printed, per update or per paint, with their ratios.
// The visual-style state and the Windows version come first: they decide what the
// system bars and the system look draw.
#include <windows.h>
#include <commctrl.h>
#include <olectl.h>
#include <psapi.h>
#include <shlwapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "VantiqCtl.h"
#include "bench/runtime_allocations.h"
#include "common/gdi_objects.h"
#include "container/container.h"

namespace {

using vantiq::container::ComPtr;
using vantiq::container::ControlLibrary;
using vantiq::container::Frame;
using vantiq::container::Site;

struct Size {
  int width;
  int height;
};
constexpr Size kSizes[] = {{200, 20}, {600, 30}};

struct Look {
  const char* name;
  eProgressBarStyle style;
};
constexpr Look kLooks[] = {{"flat", eProgStandard}, {"thin", eProgThin}, {"xp", eProgXP}, {"system", eProgSystem}};

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

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Microseconds per call of `step(i)` over `count` calls.
double Time(int count, const std::function<void(int)>& step) {
  const double start = Now();
  for (int i = 0; i < count; ++i) step(i);
  return (Now() - start) * 1e6 / count;
}

using Step = std::function<void(int)>;

// Every side `rounds` times, each round starting one side further on (two sides swap
// every round), so that each takes every place in the order as often; the medians.
std::vector<double> CompareAll(int rounds, int count, const std::vector<Step>& sides) {
  for (const Step& side : sides) Time(count / 4 + 1, side);  // warm caches, fonts and DCs
  std::vector<std::vector<double>> times(sides.size());
  for (int r = 0; r < rounds; ++r)
    for (std::size_t k = 0; k < sides.size(); ++k) {
      const std::size_t s = (r + k) % sides.size();
      times[s].push_back(Time(count, sides[s]));
    }
  std::vector<double> medians;
  for (const auto& t : times) medians.push_back(Median(t));
  return medians;
}

struct Pair {
  double ours;
  double theirs;
};

Pair Compare(int rounds, int count, const Step& ours, const Step& theirs) {
  const std::vector<double> m = CompareAll(rounds, count, {ours, theirs});
  return {m[0], m[1]};
}

// A window that paints a memory bitmap of its size with one BitBlt into its own DC, as
// the control copies its back buffer: what a paint that only copies costs, messages
// included.
class BlitWindow {
 public:
  BlitWindow(HWND parent, int x, int y, int width, int height) : width_(width), height_(height) {
    static const ATOM registered = [] {
      WNDCLASSW wc{};
      wc.style = CS_OWNDC;
      wc.lpfnWndProc = &BlitWindow::Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"VantiqBenchBlit";
      return RegisterClassW(&wc);
    }();
    (void)registered;
    hwnd_ = CreateWindowExW(0, L"VantiqBenchBlit", L"", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                            nullptr, GetModuleHandleW(nullptr), this);
    dc_ = GetDC(hwnd_);
    memory_ = CreateCompatibleDC(dc_);
    bitmap_ = CreateCompatibleBitmap(dc_, width, height);
    old_ = SelectObject(memory_, bitmap_);
    PatBlt(memory_, 0, 0, width, height, WHITENESS);
  }
  ~BlitWindow() {
    SelectObject(memory_, old_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
    ReleaseDC(hwnd_, dc_);
    DestroyWindow(hwnd_);
  }
  HWND Hwnd() const { return hwnd_; }
  void Copy() const { BitBlt(dc_, 0, 0, width_, height_, memory_, 0, 0, SRCCOPY); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<BlitWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT && self && self->memory_) {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      self->Copy();
      EndPaint(hwnd, &ps);
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  HWND hwnd_ = nullptr;
  HDC dc_ = nullptr;
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int width_;
  int height_;
};

void Repaint(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
}

// Timing a call that failed would mean nothing.
void Require(HRESULT hr, const char* what) {
  if (SUCCEEDED(hr)) return;
  std::fprintf(stderr, "vantiq-bench: %s failed (0x%08lx)\n", what, static_cast<unsigned long>(hr));
  std::exit(1);
}

// 1..99 and round again: every update moves the bar and its percentage.
double ValueAt(int i) { return 1 + i % 99; }

// --- Visual styles and version ---------------------------------------------------

// `name` from `module` as a function of type F; null when it is not there.
template <typename F>
F Export(HMODULE module, const char* name) {
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// What the process sees: whether visual styles are on, the theme, the Windows version
// (GetVersionEx, as the control reads it, and the version beneath any manifest's say)
// and the common controls. False when visual styles are off.
bool PrintSystemState(HWND window) {
  const bool active = IsThemeActive() != FALSE;
  const bool themed = IsAppThemed() != FALSE;
  HTHEME progress = OpenThemeData(window, L"Progress");
  std::printf("visual styles: IsThemeActive %d, IsAppThemed %d, OpenThemeData(Progress) %s\n", active, themed,
              progress ? "yes" : "NULL");
  if (progress) CloseThemeData(progress);
  wchar_t file[MAX_PATH] = L"", color[64] = L"", size[64] = L"";
  if (SUCCEEDED(GetCurrentThemeName(file, MAX_PATH, color, 64, size, 64)))
    std::printf("theme: %ls (%ls, %ls)\n", file, color, size);
  else
    std::printf("theme: none\n");

  OSVERSIONINFOW seen{};
  seen.dwOSVersionInfoSize = sizeof seen;
  if (!GetVersionExW(&seen)) seen = OSVERSIONINFOW{};
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW beneath{};
  beneath.dwOSVersionInfoSize = sizeof beneath;
  const auto rtlGetVersion = Export<RtlGetVersionFn>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
  if (!rtlGetVersion || rtlGetVersion(&beneath) != 0) beneath = OSVERSIONINFOW{};
  std::printf("Windows %lu.%lu.%lu (GetVersionEx; RtlGetVersion %lu.%lu.%lu)\n", seen.dwMajorVersion,
              seen.dwMinorVersion, seen.dwBuildNumber, beneath.dwMajorVersion, beneath.dwMinorVersion,
              beneath.dwBuildNumber);

  // Wine 8's comctl32 answers 5.81 from either folder (and themes its bar in both); the
  // path tells whether the manifest's common controls 6 were loaded, as Windows needs.
  const HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  DLLVERSIONINFO dll{};
  dll.cbSize = sizeof dll;
  const auto getVersion = Export<DLLGETVERSIONPROC>(comctl, "DllGetVersion");
  if (getVersion) getVersion(&dll);
  wchar_t path[MAX_PATH] = L"";
  if (comctl) GetModuleFileNameW(comctl, path, MAX_PATH);
  std::printf("comctl32 %lu.%lu (%ls)\n", dll.dwMajorVersion, dll.dwMinorVersion, path);

  const bool on = active && themed && progress;
  if (!on)
    std::printf("WARNING: visual styles are off: the themed bar and the system look draw without the "
                "theme, and their figures mean nothing\n");
  return on;
}

// --- Speed -------------------------------------------------------------------------

// A common-controls progress bar of `size` at `y` in `parent`, range 0 to 100; without
// visual styles for `classic`.
HWND SystemBar(HWND parent, int y, const Size& size, bool classic) {
  HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, y, size.width, size.height, parent,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!bar) return nullptr;
  if (classic) SetWindowTheme(bar, L" ", L" ");
  SendMessageW(bar, PBM_SETRANGE32, 0, 100);
  return bar;
}

struct Row {
  std::string name;
  double ours;
  bool classic;      // compared with the classic bar, else with the themed one
  double bar;        // that bar's time
  double themedBar;  // the themed bar's time, for reference
};

void PrintRows(const char* title, const std::vector<Row>& rows) {
  std::printf("%-26s %9s %8s %9s %7s %13s\n", title, "Vantiq us", "bar", "bar us", "ratio", "(themed bar)");
  for (const Row& row : rows) {
    std::printf("%-26s %9.1f %8s %9.1f %7.2f", row.name.c_str(), row.ours, row.classic ? "classic" : "themed",
                row.bar, row.ours / row.bar);
    if (row.classic) {
      char reference[32];
      std::snprintf(reference, sizeof reference, "(%.2f)", row.ours / row.themedBar);
      std::printf(" %13s", reference);
    }
    std::printf("\n");
  }
}

int Speed(ControlLibrary& library, int rounds, int updates) {
  ComPtr<IClassFactory> factory;
  if (FAILED(library.GetClassFactory(CLSID_Vantiq, factory))) {
    std::fprintf(stderr, "vantiq-bench: VantiqCtl.dll gives no class factory\n");
    return 1;
  }
  Frame frame(640, 180, L"vantiq-bench");
  const bool styles = PrintSystemState(frame.Hwnd());
  std::printf("\n");
  std::vector<Row> plain, shadowed;
  std::vector<std::string> unchanged;
  for (const Size& size : kSizes) {
    // Two controls, the second with the shadow, timed in the same rounds as the bars,
    // so that what the shadow adds compares like with like.
    Site* sites[2] = {};
    ComPtr<_Vantiq> bars[2];
    for (int k = 0; k < 2; ++k) {
      const int y = 10 + k * (10 + size.height);
      sites[k] = frame.Add(factory.Get(), RECT{10, y, 10 + size.width, y + size.height});
      if (sites[k]) bars[k] = sites[k]->As<_Vantiq>(IID__Vantiq);
      if (!bars[k] || !sites[k]->Window()) {
        std::fprintf(stderr, "vantiq-bench: the control did not start in place\n");
        return 1;
      }
      Require(bars[k]->put_Shadow(k ? VARIANT_TRUE : VARIANT_FALSE), "put_Shadow");
    }
    Site* site = sites[0];
    const ComPtr<_Vantiq>& bar = bars[0];
    const HWND ours = site->Window();
    const HWND themed = SystemBar(frame.Hwnd(), 30 + 2 * size.height, size, false);
    const HWND classic = SystemBar(frame.Hwnd(), 40 + 3 * size.height, size, true);
    if (!themed || !classic) {
      std::fprintf(stderr, "vantiq-bench: no common-controls progress bar\n");
      return 1;
    }
    // A classic bar that still holds a theme would time the themed drawing twice.
    if (GetWindowTheme(classic)) {
      std::fprintf(stderr, "vantiq-bench: the classic bar kept its theme after SetWindowTheme\n");
      return 1;
    }
    if (styles && !GetWindowTheme(themed))
      std::printf("WARNING: the themed bar %dx%d has no theme: its figures are the classic bar's\n", size.width,
                  size.height);
    frame.PumpMessages();

    const auto setPos = [](HWND system) {
      return [system](int i) {
        SendMessageW(system, PBM_SETPOS, static_cast<WPARAM>(ValueAt(i)), 0);
        UpdateWindow(system);
      };
    };
    const auto setValue = [](const ComPtr<_Vantiq>& control, HWND window) {
      return [&control, window](int i) {
        control->put_value(ValueAt(i));
        UpdateWindow(window);
      };
    };
    for (const Look& look : kLooks) {
      const bool againstClassic = look.style != eProgSystem;
      for (const ComPtr<_Vantiq>& control : bars) {
        Require(control->put_style(look.style), "put_style");
        Require(control->put_value(50), "put_value");
      }
      frame.PumpMessages();
      std::vector<Step> sides{setValue(bars[0], ours), setValue(bars[1], sites[1]->Window()), setPos(themed)};
      if (againstClassic) sides.push_back(setPos(classic));
      const std::vector<double> m = CompareAll(rounds, updates, sides);
      char name[64];
      std::snprintf(name, sizeof name, "%dx%d %s", size.width, size.height, look.name);
      const double against = againstClassic ? m[3] : m[2];
      plain.push_back(Row{name, m[0], againstClassic, against, m[2]});
      shadowed.push_back(Row{name, m[1], againstClassic, against, m[2]});
    }
    frame.Remove(sites[1]);

    // A paint with nothing changed: the flat look at 42 %, caption on, no shadow.
    Require(bar->put_style(eProgStandard), "put_style");
    Require(bar->put_Shadow(VARIANT_FALSE), "put_Shadow");
    Require(bar->put_value(42), "put_value");
    DestroyWindow(themed);
    DestroyWindow(classic);
    BlitWindow blit(frame.Hwnd(), 10, 20 + size.height, size.width, size.height);
    frame.PumpMessages();
    const Pair paint = Compare(
        rounds, updates * 4, [&](int) { Repaint(ours); }, [&](int) { Repaint(blit.Hwnd()); });
    // WM_PAINT sent straight to both: the skip path and its copy against the copy alone,
    // with the same message and BeginPaint around them.
    const Pair sent = Compare(
        rounds, updates * 4, [&](int) { SendMessageW(ours, WM_PAINT, 0, 0); },
        [&](int) { SendMessageW(blit.Hwnd(), WM_PAINT, 0, 0); });
    const Pair bare = Compare(
        rounds, updates * 4, [&](int) { SendMessageW(ours, WM_PAINT, 0, 0); }, [&](int) { blit.Copy(); });
    const std::string name = std::to_string(size.width) + "x" + std::to_string(size.height);
    char line[320];
    std::snprintf(line, sizeof line,
                  "%-26s %12.1f %12.1f %8.2f\n%-26s %12.1f %12.1f %8.2f\n%-26s %12.1f %12.1f %8.2f\n",
                  (name + " invalidated").c_str(), paint.ours, paint.theirs, paint.ours / paint.theirs,
                  (name + " WM_PAINT").c_str(), sent.ours, sent.theirs, sent.ours / sent.theirs,
                  (name + " WM_PAINT / BitBlt").c_str(), bare.ours, bare.theirs, bare.ours / bare.theirs);
    unchanged.push_back(line);
    frame.Remove(site);
  }
  PrintRows("value update", plain);
  std::printf("\n");
  PrintRows("with the shadow", shadowed);
  std::printf("\n%-26s", "shadow adds (Vantiq)");
  for (const Size& size : kSizes)
    std::printf(" %9s", (std::to_string(size.width) + "x" + std::to_string(size.height)).c_str());
  std::printf("\n");
  for (std::size_t l = 0; l < std::size(kLooks); ++l) {
    std::printf("%-26s", kLooks[l].name);
    for (std::size_t z = 0; z < std::size(kSizes); ++z) {
      const std::size_t i = z * std::size(kLooks) + l;
      std::printf(" %7.0f %%", (shadowed[i].ours / plain[i].ours - 1) * 100);
    }
    std::printf("\n");
  }
  std::printf("\n%-26s %12s %12s %8s\n", "unchanged paint (us)", "Vantiq", "copy only", "ratio");
  for (const std::string& line : unchanged) std::printf("%s", line.c_str());
  return 0;
}

// --- Memory ------------------------------------------------------------------------

struct Usage {
  long long runtime = 0;  // bytes the control's module holds from the C runtime
  long long gdi = 0;   // GDI objects of the process
  long long commit = 0;
  long long workingSet = 0;
};

Usage Measure() {
  Usage u;
  u.runtime = vantiq::bench::RuntimeAllocations::Bytes();
  u.gdi = vantiq::tools::LiveGdiObjects();
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    u.commit = static_cast<long long>(counters.PagefileUsage);
    u.workingSet = static_cast<long long>(counters.WorkingSetSize);
  }
  return u;
}

int Memory(ControlLibrary& library) {
  ComPtr<IClassFactory> factory;
  if (FAILED(library.GetClassFactory(CLSID_Vantiq, factory))) return 1;
  vantiq::bench::RuntimeAllocations counted(GetModuleHandleW(L"VantiqCtl.dll"));
  if (!counted.Complete()) std::fprintf(stderr, "vantiq-bench: the control's allocations are not counted\n");
  constexpr int kControls = 16;
  std::printf("\n%-26s %9s %9s %11s %11s %11s\n", "memory per control (B)", "runtime", "GDI objs", "commit",
              "working set", "back buffer");
  const auto row = [&](const std::string& what, const Usage& from, const Usage& to, long long buffer) {
    std::printf("%-26s %9lld %9.1f %11lld %11lld %11lld\n", what.c_str(), (to.runtime - from.runtime) / kControls,
                static_cast<double>(to.gdi - from.gdi) / kControls, (to.commit - from.commit) / kControls,
                (to.workingSet - from.workingSet) / kControls, buffer);
  };
  {
    // The COM object and the core behind it, without a site or a window.
    ComPtr<IUnknown> warm;
    factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(warm.Put()));
    const Usage before = Measure();
    std::vector<ComPtr<IUnknown>> objects(kControls);
    for (auto& object : objects)
      factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(object.Put()));
    row("object alone", before, Measure(), 0);
  }
  Frame frame(640, 40 * kControls / 2 + 40, L"vantiq-bench memory");
  std::vector<std::string> allocations;
  for (const Size& size : kSizes) {
    // One control first, so that what every control shares (the type library, the
    // window class, the theme) is loaded before counting.
    Site* first = frame.Add(factory.Get(), RECT{0, 0, size.width, size.height});
    first->Put(L"Shadow", true);
    frame.PumpMessages();
    const Usage before = Measure();
    std::vector<Site*> sites;
    for (int i = 0; i < kControls; ++i) {
      const int y = 40 + (i / 2) * (size.height + 4);
      const int x = (i % 2) * (size.width / 2 + 8);
      Site* site = frame.Add(factory.Get(), RECT{x, y, x + size.width, y + size.height});
      site->Put(L"Value", 50.0);
      sites.push_back(site);
    }
    frame.PumpMessages();
    const Usage plain = Measure();
    for (Site* site : sites) site->Put(L"Shadow", true);
    frame.PumpMessages();
    const Usage shadowed = Measure();
    const std::string name = std::to_string(size.width) + "x" + std::to_string(size.height);
    row(name + " in place", before, plain, 4LL * size.width * size.height);
    row(name + " + shadow", plain, shadowed, 0);
    // What an update allocates from the C runtime, with and without the shadow.
    ComPtr<_Vantiq> bar = sites[0]->As<_Vantiq>(IID__Vantiq);
    constexpr int kUpdates = 500;
    double perUpdate[2] = {0, 0};
    for (const bool shadow : {true, false}) {
      if (!bar) break;
      bar->put_Shadow(shadow ? VARIANT_TRUE : VARIANT_FALSE);
      const long long start = vantiq::bench::RuntimeAllocations::Allocations();
      for (int i = 0; i < kUpdates; ++i) bar->put_value(ValueAt(i));
      perUpdate[shadow] =
          static_cast<double>(vantiq::bench::RuntimeAllocations::Allocations() - start) / kUpdates;
    }
    allocations.push_back(name + ": " + std::to_string(perUpdate[0]).substr(0, 4) + " without the shadow, " +
                          std::to_string(perUpdate[1]).substr(0, 4) + " with it");
    for (Site* site : sites) frame.Remove(site);
    frame.Remove(first);
    frame.PumpMessages();
  }
  std::printf("(runtime: what the control's module holds from the C runtime; in place: in the container's\n"
              " site, with its window; back buffer: a screen-compatible bitmap at 32 bits)\n");
  std::printf("\nC runtime allocations per value update\n");
  for (const std::string& line : allocations) std::printf("%s\n", line.c_str());
  return 0;
}

std::wstring Beside(const wchar_t* file) {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, n);
  dir.resize(dir.find_last_of(L"\\/") + 1);
  return dir + file;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 15, updates = 100;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--updates") == 0) updates = std::max(1, std::atoi(argv[i + 1]));
  }
  if (FAILED(OleInitialize(nullptr))) return 1;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  int rc;
  {
    ControlLibrary library(Beside(L"VantiqCtl.dll"));
    if (!library.Loaded()) {
      std::fprintf(stderr, "vantiq-bench: VantiqCtl.dll not found beside the program\n");
      rc = 1;
    } else {
      std::printf("%d rounds of %d updates, medians\n\n", rounds, updates);
      rc = Speed(library, rounds, updates);
      if (rc == 0) rc = Memory(library);
    }
  }
  OleUninitialize();
  return rc;
}
