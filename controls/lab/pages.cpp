// The table of the lab's pages: one entry a page.
#include "controls/lab/lab_page.h"

#include <array>

namespace orvalis::lab {

std::span<const PageEntry> Pages() {
  static constexpr std::array<PageEntry, 2> kPages = {{
      {"color", MakeColorPage},
      {"richedit", MakeRichEditPage},
  }};
  return kPages;
}

}  // namespace orvalis::lab
