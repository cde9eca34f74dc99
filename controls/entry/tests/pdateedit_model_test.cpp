// Date edit rules driven by key scripts: typed and pasted digits, separators,
// "<" and ">", Escape, the text on entry and exit, and the calendar's choices.
#include "controls/entry/pdateedit_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace orvalis::controls {
namespace {

// "dd-mm-yyyy" as a day number.
double Day(std::string_view text) {
  const auto n = DayNumber(std::stoi(std::string(text.substr(6))), std::stoi(std::string(text.substr(3, 2))),
                           std::stoi(std::string(text.substr(0, 2))));
  EXPECT_TRUE(n.has_value()) << text;
  return n.value_or(0);
}

struct Outcome {
  std::string text;
  int selStart, selEnd;
  std::string date;  // as dd-mm-yyyy, empty for none
  int changes;
};

// Every character of `script` is a WM_CHAR, except commands in braces: {in},
// {out}, {sel:a,b}, {paste:...}, {cut}, {clear}, {del} (the Delete key), and
// {date:dd-mm-yyyy} and {start:dd-mm-yyyy} set by the host.
Outcome Run(PDateEditModel& m, std::string_view script) {
  Outcome o{"", 0, 0, "", 0};
  m.OnChange = [&] { ++o.changes; };
  for (std::size_t i = 0; i < script.size(); ++i) {
    if (script[i] != '{') {
      m.KeyPress(static_cast<unsigned char>(script[i]));
      continue;
    }
    const auto close = script.find('}', i);
    const std::string_view cmd = script.substr(i + 1, close - i - 1);
    i = close;
    const auto colon = cmd.find(':');
    const std::string_view name = cmd.substr(0, colon);
    const std::string_view arg = colon == std::string_view::npos ? "" : cmd.substr(colon + 1);
    if (name == "in") {
      m.Enter();
    } else if (name == "out") {
      m.Exit();
    } else if (name == "sel") {
      const auto comma = arg.find(',');
      const int a = std::stoi(std::string(arg.substr(0, comma)));
      m.SetSelection(a, comma == std::string_view::npos ? a : std::stoi(std::string(arg.substr(comma + 1))));
    } else if (name == "paste") {
      m.Paste(arg);
    } else if (name == "cut") {
      (void)m.Cut();
    } else if (name == "clear") {
      m.Clear();
    } else if (name == "del") {
      EXPECT_EQ(m.KeyDown(46), DateKeyAction::Consumed);
    } else if (name == "date") {
      m.SetDate(Day(arg));
    } else if (name == "start") {
      m.SetStartDate(Day(arg));
    } else {
      ADD_FAILURE() << "unknown command " << name;
    }
  }
  o.text = m.Text();
  o.selStart = m.SelStart();
  o.selEnd = m.SelEnd();
  o.date = DateText(m.Date(), false);
  return o;
}

struct Case {
  const char* script;
  Outcome expected;
};

void Check(const Case& c) {
  PDateEditModel m;
  const Outcome o = Run(m, c.script);
  EXPECT_EQ(o.text, c.expected.text) << c.script;
  EXPECT_EQ(o.selStart, c.expected.selStart) << c.script;
  EXPECT_EQ(o.selEnd, c.expected.selEnd) << c.script;
  EXPECT_EQ(o.date, c.expected.date) << c.script;
  EXPECT_EQ(o.changes, c.expected.changes) << c.script;
}

TEST(DateEdit, TypedDigitsParseIntoTheDate) {
  const Case cases[] = {
      {"{in}120314", {"120314", 6, 6, "12-03-2014", 1}},
      {"{in}120351", {"120351", 6, 6, "12-03-1951", 1}},
      {"{in}120350", {"120350", 6, 6, "12-03-2050", 1}},
      {"{in}5-3-2014", {"05032014", 8, 8, "05-03-2014", 3}},  // 050320 and 0503201 pass by
      {"{in}5/3/2014", {"05032014", 8, 8, "05-03-2014", 3}},
      {"{in}5032014", {"5032014", 7, 7, "05-03-2014", 1}},
      {"{in}050320141", {"05032014", 8, 8, "05-03-2014", 3}},  // a ninth digit is refused
      {"{in}290200", {"290200", 6, 6, "29-02-2000", 1}},
      {"{in}290219", {"290219", 6, 6, "", 0}},               // no such day
      {"{in}0503", {"0503", 4, 4, "", 0}},
      {"{in}05x03\r", {"0503", 4, 4, "", 0}},                  // other keys are ignored
      {"{in}12-", {"12", 2, 2, "", 0}},                        // a separator after two digits
      {"{in}5{sel:0}-", {"5", 0, 0, "", 0}},                   // not at the end
      {"{date:05-03-2014}{in}{sel:0,2}1", {"1032014", 1, 1, "01-03-2014", 1}},  // a digit replaces the selection
  };
  for (const auto& c : cases) Check(c);
}

TEST(DateEdit, EnteringShowsDigitsSelectedAndLeavingShowsHyphens) {
  const Case cases[] = {
      {"{date:05-03-2014}", {"05-03-2014", 0, 0, "05-03-2014", 0}},
      {"{date:05-03-2014}{in}", {"05032014", 0, 8, "05-03-2014", 0}},
      {"{date:05-03-2014}{in}{out}", {"05-03-2014", 0, 0, "05-03-2014", 0}},
      {"{in}120314{out}", {"12-03-2014", 0, 0, "12-03-2014", 1}},
      {"{in}0503{out}", {"", 0, 0, "", 0}},                      // incomplete: becomes empty
      {"{in}31022014{out}", {"", 0, 0, "", 2}},                  // 3102201 is 3 October 2201
      {"{in}05030800{out}{in}", {"05030800", 0, 8, "05-03-0800", 3}},
  };
  for (const auto& c : cases) Check(c);
}

TEST(DateEdit, StepKeysMoveByOneDay) {
  const Case cases[] = {
      {"{in}>", {"", 0, 0, "", 0}},
      {"{in}<", {"", 0, 0, "", 0}},
      {"{start:01-04-2020}{in}>", {"01042020", 0, 0, "01-04-2020", 1}},
      {"{start:01-04-2020}{in}<", {"", 0, 0, "", 0}},  // "<" takes the end date
      {"{date:31-01-2014}{in}>", {"01022014", 0, 0, "01-02-2014", 1}},
      {"{date:28-02-2016}{in}>>", {"01032016", 0, 0, "01-03-2016", 2}},
      {"{date:01-01-2014}{in}<", {"31122013", 0, 0, "31-12-2013", 1}},
      {"{date:31-12-9999}{in}>", {"31129999", 0, 8, "31-12-9999", 0}},  // the last day stays
  };
  for (const auto& c : cases) Check(c);
}

TEST(DateEdit, EscapeRestoresTheEntryDateWithOneChangeEvent) {
  const Case cases[] = {
      {"{date:05-03-2014}{in}010101\x1b", {"05032014", 0, 8, "05-03-2014", 3}},
      {"{date:05-03-2014}{in}>\x1b", {"05032014", 0, 8, "05-03-2014", 2}},
      {"{date:05-03-2014}{in}\b\x1b", {"05032014", 0, 8, "05-03-2014", 2}},
      {"{date:05-03-2014}{in}\x1b", {"05032014", 0, 8, "05-03-2014", 0}},  // unchanged
      {"{in}0503\x1b", {"0503", 4, 4, "", 0}},  // the date did not change: the text stays
  };
  for (const auto& c : cases) Check(c);
}

TEST(DateEdit, BackspaceDeleteAndTheClipboardMarkTheTextEdited) {
  const Case cases[] = {
      {"{in}12\b", {"1", 1, 1, "", 0}},
      {"{in}\b", {"", 0, 0, "", 0}},
      {"{date:05-03-2014}{in}\b", {"", 0, 0, "", 1}},  // the selection goes
      {"{in}1203141{sel:7}\b", {"120314", 6, 6, "12-03-2014", 3}},
      {"{in}1203201{sel:0}{del}", {"203201", 0, 0, "", 2}},
      {"{in}120314{sel:6}{del}", {"120314", 6, 6, "12-03-2014", 1}},  // nothing after the caret
      {"{date:05-03-2014}{in}{sel:0,2}{cut}", {"032014", 0, 0, "", 1}},
      {"{date:05-03-2014}{in}{sel:2,3}{clear}", {"0532014", 2, 2, "", 1}},
      {"{date:05-03-2014}{in}{sel:3}{cut}{clear}", {"05032014", 3, 3, "05-03-2014", 0}},
  };
  for (const auto& c : cases) Check(c);
}

TEST(DateEdit, PasteKeepsOnlyTheDigitsThatFit) {
  const Case cases[] = {
      {"{in}{paste:1a2b0314x}", {"120314", 6, 6, "12-03-2014", 1}},
      {"{in}{paste:5-3-2014}", {"05032014", 8, 8, "05-03-2014", 1}},
      {"{in}{paste:123456789}", {"12345678", 8, 8, "", 0}},
      {"{date:05-03-2014}{in}{sel:0,2}{paste:12}", {"12032014", 2, 2, "12-03-2014", 1}},
      {"{date:05-03-2014}{in}{paste:07-04-2015}", {"07042015", 8, 8, "07-04-2015", 1}},
      {"{date:05-03-2014}{in}{sel:8}{paste:1}", {"05032014", 8, 8, "05-03-2014", 0}},
      // A key that leaves the text as it was leaves no change pending for the
      // paste after it: the paste ends where the date was, so nothing is reported.
      {"{in}20321{sel:1,0}2{paste:21}", {"2210321", 3, 3, "", 0}},
  };
  for (const auto& c : cases) Check(c);
}

TEST(DateEdit, DayNumbersFollowTheCalendar) {
  const struct {
    int year, month, day, number;
  } cases[] = {
      {1899, 12, 30, 0}, {1899, 12, 31, 1},  {1900, 1, 1, 2},    {1900, 3, 1, 61},
      {2000, 1, 1, 36526}, {2014, 3, 12, 41710}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DayNumber(c.year, c.month, c.day), c.number) << c.year << "-" << c.month << "-" << c.day;
    const CalendarDay back = DayOfNumber(c.number);
    EXPECT_EQ(back.year * 10000 + back.month * 100 + back.day, c.year * 10000 + c.month * 100 + c.day);
  }
  for (const auto& [y, m, d] : {std::tuple{2019, 2, 29}, {2014, 4, 31}, {2014, 13, 1}, {0, 1, 1}, {10000, 1, 1}})
    EXPECT_FALSE(DayNumber(y, m, d).has_value()) << y << "-" << m << "-" << d;
  EXPECT_EQ(DateText(41710.75, false), "12-03-2014") << "the time is not shown";
  EXPECT_EQ(DateText(0.5, true), "") << "day 0 is no date";
  EXPECT_EQ(DateText(1e12, false), "") << "beyond the calendar";
}

TEST(DateEdit, SetDateTakesDaysFromZeroOnAndRaisesNoEvent) {
  PDateEditModel m;
  int changes = 0;
  m.OnChange = [&] { ++changes; };
  const struct {
    double value, expected;
  } cases[] = {{41710, 41710}, {-3, 41710}, {1e12, 41710}, {std::nan(""), 41710}, {-0.5, -0.5}, {0, 0}};
  for (const auto& c : cases) {
    m.SetDate(c.value);
    EXPECT_EQ(m.Date(), c.expected) << c.value;
  }
  EXPECT_EQ(changes, 0);
}

TEST(DateEdit, CalendarOpensOnTheDateAndAPickedDayCloses) {
  PDateEditModel m;
  int changes = 0;
  m.OnChange = [&] { ++changes; };
  EXPECT_EQ(m.CalendarStart(45000), 45000) << "today";
  m.SetStartDate(40000);
  EXPECT_EQ(m.CalendarStart(45000), 40000);
  m.SetDate(41710);
  EXPECT_EQ(m.CalendarStart(45000), 41710);
  EXPECT_EQ(m.KeyDown(115), DateKeyAction::OpenCalendar);
  EXPECT_EQ(m.KeyDown(37), DateKeyAction::PassOn);

  EXPECT_FALSE(m.CalendarClick(41710)) << "the same day keeps the pop-up open";
  EXPECT_FALSE(m.CalendarClick(0));
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(m.CalendarClick(41711));
  EXPECT_EQ(m.Date(), 41711);
  EXPECT_EQ(m.Text(), "13-03-2014");
  EXPECT_EQ(changes, 1);

  const struct {
    int key;
    double date;
    bool pick, close;
  } keys[] = {{37, 99, false, false}, {39, 101, false, false}, {38, 93, false, false}, {40, 107, false, false},
              {13, 100, true, true},  {27, 100, false, true},  {115, 100, false, true}, {65, 100, false, false}};
  for (const auto& k : keys) {
    const CalendarKeyResult r = PDateEditModel::CalendarKey(k.key, 100);
    EXPECT_EQ(r.date, k.date) << k.key;
    EXPECT_EQ(r.pick, k.pick) << k.key;
    EXPECT_EQ(r.close, k.close) << k.key;
  }
}

TEST(DateEdit, OnlyTheClipboardKeysPassOn) {
  PDateEditModel m;
  for (const char32_t key : {3, 22, 24}) EXPECT_FALSE(m.KeyPress(key)) << static_cast<int>(key);
  for (const char32_t key : {U'1', U'a', U'\r', U'\t'}) EXPECT_TRUE(m.KeyPress(key)) << static_cast<int>(key);
  m.SetSelection(0, 1);
  EXPECT_EQ(m.Copy(), "1");
  m.SetSelection(1, 1);
  EXPECT_FALSE(m.Copy().has_value());
}

}  // namespace
}  // namespace orvalis::controls

namespace orvalis::controls {
namespace {

TEST(DateEdit, ChangeOnExitReportsOnceWhenTheFieldIsLeft) {
  const struct {
    const char* script;
    int changes;
  } cases[] = {
      {"{in}120314", 0},                      // typing waits
      {"{in}120314{out}", 1},                 // leaving reports it
      {"{in}120314{out}{in}{out}", 1},        // unchanged since the report
      {"{date:05-03-2014}{in}{out}", 0},      // the host's value is no change
      {"{date:05-03-2014}{in}>{out}", 1},     // a step
      {"{date:05-03-2014}{in}>\x1b{out}", 0}, // Escape took the step back
  };
  for (const auto& c : cases) {
    PDateEditModel m;
    m.SetChangeOnExit(true);
    EXPECT_EQ(controls::Run(m, c.script).changes, c.changes) << c.script;
  }
}

}  // namespace
}  // namespace orvalis::controls
