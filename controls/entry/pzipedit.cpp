// The postcode edit's window: the model's text in a plain EDIT.
#include "controls/entry/pzipedit.h"

namespace orvalis::controls {

PZipEdit::PZipEdit() {
  SetSize(Width(), 21);
  model_.OnChange = [this](ZipEditModel&) {
    if (OnChange) OnChange(*this);
  };
}

void PZipEdit::Loaded() {
  model_.FormatValue();
  Show();
  EntryEdit::Loaded();
}

}  // namespace orvalis::controls
