// The choice control's layout arithmetic and its selection rules.
#include "controls/lists/pchoice_model.h"

#include <algorithm>
#include <cmath>

namespace orvalis::controls {

bool OtherFillsHeight(OType type) { return type == OType::otPMemo || type == OType::otPRichEdit; }

int ScaleTo(int units96, int dpi) {
  const long long scaled = static_cast<long long>(units96) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96));
}

int ChoiceAutoHeight(int lines, bool horizontal, int currentHeight, int dpi) {
  return horizontal ? currentHeight : ScaleTo(20 * lines + 1, dpi);
}

ChoiceLayout LayoutChoice(const ChoiceLayoutInput& in) {
  ChoiceLayout out;
  const int n = in.lines;
  if (n <= 0) return out;
  out.buttons.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    ChoiceRect r;
    if (in.horizontal) {
      r.width = in.width / n;
      r.left = in.inverted ? in.width - in.width * (i + 1) / n : in.width * i / n;
    } else {
      r.width = in.width;
      r.top = ScaleTo(20 * (in.inverted ? n - 1 - i : i) + 1, in.dpi);
    }
    r.height = in.buttonHeight;
    out.buttons.push_back(r);
  }
  if (!in.hasOther) return out;

  out.hasOther = true;
  ChoiceRect& last = out.buttons.back();
  const int w = in.lastTextWidth;
  if (in.width - last.left - w - 30 >= 20) {
    out.otherBeside = true;
    out.other.left = last.left + w + 29;
    out.other.top = last.top;
    last.width = w + 28;
  } else {
    out.other.left = last.left + 19;
    out.other.top = last.top + last.height + 2;
  }
  // A narrow or short control leaves no room: the editor shrinks to nothing
  // rather than getting a negative size.
  out.other.width = std::max(0, in.width - out.other.left);
  out.other.height =
      OtherFillsHeight(in.otherType) ? std::max(0, in.height - out.other.top) : ScaleTo(21, in.dpi);
  out.otherVisible = in.otherVisible;
  return out;
}

double OtherNumberValue(std::string_view text, char decimalSign) {
  const std::size_t dp = text.find(decimalSign);
  double v = 0;
  int fraction = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') continue;
    v = v * 10 + (text[i] - '0');
    if (dp != std::string_view::npos && i > dp) ++fraction;
  }
  const std::size_t first = text.find_first_not_of(' ');
  if (first != std::string_view::npos && text[first] == '-') v = -v;
  return v / std::pow(10.0, fraction);
}

std::string OtherDateDigits(std::string_view text) {
  std::string digits;
  std::string part;
  int separators = 0;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      part += c;
    } else if ((c == '-' || c == '/') && separators < 2) {
      // Day and month before a separator take a leading zero when short.
      digits += part.size() == 1 ? "0" + part : part;
      part.clear();
      ++separators;
    }
  }
  return digits + part;
}

bool ChoiceModel::Delete(std::intptr_t tag) {
  const auto it = std::find_if(lines_.begin(), lines_.end(), [tag](const ChoiceLine& l) { return l.tag == tag; });
  if (it == lines_.end()) return false;
  const int index = static_cast<int>(it - lines_.begin());
  lines_.erase(it);
  if (index < listIndex_) {
    --listIndex_;
  } else if (index == listIndex_) {
    listIndex_ = -1;
  }
  return true;
}

int ChoiceModel::CheckedIndex() const {
  return listIndex_ >= 0 && listIndex_ < static_cast<int>(lines_.size()) ? listIndex_ : -1;
}

bool ChoiceModel::OtherVisible() const {
  return otherIsActive_ && !lines_.empty() && listIndex_ == static_cast<int>(lines_.size()) - 1;
}

void ChoiceModel::Click(int index) {
  if (index < 0 || index >= static_cast<int>(lines_.size()) || index == listIndex_) return;
  listIndex_ = index;
  if (OnChange) OnChange(*this);
}

void ChoiceModel::OtherEdited(std::string text) {
  otherText_ = std::move(text);
  if (OnChange) OnChange(*this);
}

}  // namespace orvalis::controls
