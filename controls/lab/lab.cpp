// The control lab: one page of the control package on a window captioned
// "Orvalis controls", used as a host would use it, with echo boxes of what the
// host reads back. For trying controls by hand and for end-to-end tests:
//   orvalis-controls.exe [--page NAME] [--lang NLD|ENU] [--pos X,Y]
// --page picks a page (the first without it), --lang the language of every
// control (ENU by default), --pos the window's top-left corner on the screen.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "controls/lab/lab_page.h"
#include "core/text.h"
#include "ui/application.h"
#include "win/wide.h"

namespace {

using namespace orvalis;

struct Options {
  std::string page;
  std::string language = "ENU";
  bool positioned = false;
  int x = 0;
  int y = 0;
  bool valid = true;
};

Options ParseArguments() {
  Options o;
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) {
    const std::wstring key = argv[i];
    if (i + 1 >= argc) {
      o.valid = false;
      break;
    }
    const std::string value = win::Narrow(argv[++i]);
    if (key == L"--page") {
      o.page = value;
    } else if (key == L"--lang") {
      o.language = UpperCase(value) == "NLD" ? "NLD" : "ENU";
    } else if (key == L"--pos") {
      o.positioned = std::sscanf(value.c_str(), "%d,%d", &o.x, &o.y) == 2;
      o.valid = o.valid && o.positioned;
    } else {
      o.valid = false;
    }
  }
  ::LocalFree(argv);
  return o;
}

const lab::PageEntry* FindPage(const std::string& name) {
  auto pages = lab::Pages();
  if (name.empty()) return pages.empty() ? nullptr : &pages.front();
  for (const auto& entry : pages)
    if (SameText(entry.name, name)) return &entry;
  return nullptr;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const Options options = ParseArguments();
  const lab::PageEntry* entry = FindPage(options.page);
  if (!options.valid || entry == nullptr) return 2;

  ui::Application::Initialize();
  ui::Application::SetTitle("Orvalis controls");
  lab::LabHost host(options.language);
  std::unique_ptr<lab::LabPage> page = entry->make();
  try {
    ui::Form& form = host.Form();
    const ui::Size size = page->ClientSize();
    form.SetClientSize(size.cx, size.cy);
    form.SetBounds(options.positioned ? options.x : 40, options.positioned ? options.y : 40, form.Width(),
                   form.Height());
    page->Build(host);
    host.Loaded();
    form.OnClose = [](ui::Form&) { ::PostQuitMessage(0); };
    form.Show();
    page->Shown(host);
  } catch (...) {
    return 1;
  }
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
