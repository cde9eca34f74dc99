// The table of the lab's pages: one entry a page.
#include "controls/lab/lab_page.h"

namespace orvalis::lab {

std::span<const PageEntry> Pages() {
  static constexpr PageEntry kPages[] = {
      {"color", MakeColorPage},
      {"richedit", MakeRichEditPage},
      {"masked", MakeMaskedPage},
      {"date", MakeDatePage},
      {"number", MakeNumberPage},
      {"postcode", MakePostcodePage},
      {"formula", MakeFormulaPage},
      {"choice", MakeChoicePage},
      {"tagged", MakeTaggedPage},
      {"tree", MakeTreePage},
  };
  return kPages;
}

}  // namespace orvalis::lab
