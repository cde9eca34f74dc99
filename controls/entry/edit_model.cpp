// The shared text-and-selection state of the data-entry edits.
#include "controls/entry/edit_model.h"

#include <algorithm>
#include <utility>

namespace orvalis::controls {

void EditText::SetText(std::string text) {
  text_ = std::move(text);
  SetCaret(text_.size());
}

void EditText::Select(std::size_t anchor, std::size_t caret) {
  anchor_ = std::min(anchor, text_.size());
  caret_ = std::min(caret, text_.size());
}

std::string EditText::WithoutSelection() const {
  std::string s = text_;
  s.erase(SelStart(), SelEnd() - SelStart());
  return s;
}

void EditText::DeleteSelection() { Erase(SelStart(), SelEnd() - SelStart()); }

void EditText::Insert(std::size_t pos, std::string_view s) {
  pos = std::min(pos, text_.size());
  text_.insert(pos, s);
  SetCaret(pos + s.size());
}

void EditText::Erase(std::size_t pos, std::size_t count) {
  pos = std::min(pos, text_.size());
  text_.erase(pos, count);
  SetCaret(pos);
}

}  // namespace orvalis::controls
