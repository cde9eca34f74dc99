// The masked, date, number and postcode edits as a host reaches them through
// the loaded module: each property read back as set and seen in the field,
// typed characters and leaving the field reaching the change events.
#include "host_window.h"

#include <cstring>
#include <vector>

namespace orvalis::capi_test {
namespace {

using EntryTest = HostTest;

// ---------------------------------------------------------------- PEdit

TEST_F(EntryTest, MaskedEditTakesTypedCharactersUnderItsMask) {
  OrvalisControl* edit = Make(api.PEdit_Create, "Masked", 8, 8, 160, 22);
  ASSERT_NE(edit, nullptr);
  Recorder changes;
  api.PEdit_SetOnChange(edit, Record, &changes);
  const struct {
    const char* format;
    const char* typed;
    const char* value;
  } cases[] = {
      {"0000 AA", "1234ab", "1234 AB"},  // the literal filled in, letters upper-cased
      {"0000 AA", "12x34", "1234"},      // a misfit refused
      {"aa-00", "Xb12", "xb-12"},        // lower-cased
      {"aa", "\xC3\xA9", ""},             // the mask's letters are A to Z: "é" is refused
      {"", "vr\xC3\xBD", "vr\xC3\xBD"},    // no mask: free input
  };
  for (const auto& c : cases) {
    api.PEdit_SetFormat(edit, c.format);
    EXPECT_EQ(Read(api.PEdit_GetFormat, edit), c.format);
    api.PEdit_SetValue(edit, "");
    api.PControl_SetFocus(edit);
    changes.calls = 0;
    Type(Window(edit), c.typed);
    EXPECT_EQ(Read(api.PEdit_GetValue, edit), c.value) << c.typed;
    EXPECT_EQ(WindowText(Window(edit)), c.value) << c.typed;
    EXPECT_EQ(changes.calls > 0, *c.value != '\0') << c.typed;
    if (changes.calls) {
      EXPECT_EQ(changes.control, edit);
    }
    api.PEdit_SetValue(edit, "");  // an incomplete text would be complained about on leaving
    ::SetFocus(nullptr);
  }
  api.PEdit_SetFormat(edit, "");
  api.PEdit_SetValue(edit, "Stra\xC3\x9F" "e");
  EXPECT_EQ(Read(api.PEdit_GetValue, edit), "Stra\xC3\x9F" "e");
  EXPECT_EQ(WindowText(Window(edit)), "Stra\xC3\x9F" "e");
  api.PEdit_SetOnChange(edit, nullptr, nullptr);
  changes.calls = 0;
  api.PControl_SetFocus(edit);
  Type(Window(edit), "x");
  EXPECT_EQ(changes.calls, 0) << "removed";
}

TEST_F(EntryTest, MaskedEditChangeOnExitAndFirstCapitalWaitForLeaving) {
  OrvalisControl* edit = Make(api.PEdit_Create, "Masked", 8, 8, 160, 22);
  ASSERT_NE(edit, nullptr);
  Recorder changes;
  api.PEdit_SetOnChange(edit, Record, &changes);
  EXPECT_EQ(api.PEdit_GetChangeOnExit(edit), 0);
  EXPECT_EQ(api.PEdit_GetFirstCapital(edit), 0);
  api.PEdit_SetChangeOnExit(edit, 1);
  api.PEdit_SetFirstCapital(edit, 1);
  EXPECT_EQ(api.PEdit_GetChangeOnExit(edit), 1);
  EXPECT_EQ(api.PEdit_GetFirstCapital(edit), 1);
  Click(Window(edit), 5, 5);
  Type(Window(edit), "\xC3\xA9\xC3\xA9n");  // "één"
  EXPECT_EQ(changes.calls, 0) << "held back while in the field";
  Click(Elsewhere(), 5, 5);
  EXPECT_TRUE(WaitFor([&] { return changes.calls == 1; })) << "reported on leaving";
  EXPECT_EQ(Read(api.PEdit_GetValue, edit), "\xC3\x89\xC3\xA9n") << "the first letter upper-cased on leaving";
  api.PEdit_SetChangeOnExit(edit, 0);
  api.PEdit_SetFirstCapital(edit, 0);
  EXPECT_EQ(api.PEdit_GetChangeOnExit(edit), 0);
  EXPECT_EQ(api.PEdit_GetFirstCapital(edit), 0);
  api.PEdit_SetValue(edit, "");
  changes.calls = 0;
  Click(Window(edit), 5, 5);
  Type(Window(edit), "ab");
  EXPECT_EQ(changes.calls, 2) << "every change at once";
  Click(Elsewhere(), 5, 5);
  Pump();
  EXPECT_EQ(Read(api.PEdit_GetValue, edit), "ab");
}

// The text of the message box a call shows, answered with OK.
std::string MessageOf(HWND box) {
  const std::string text = WindowText(::GetDlgItem(box, 0xFFFF));
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  return text;
}

TEST_F(EntryTest, MaskedEditComplainsInItsLanguageAndAutoHintShowsTheText) {
  OrvalisControl* edit = Make(api.PEdit_Create, "Masked", 8, 8, 160, 22);
  ASSERT_NE(edit, nullptr);
  api.PEdit_SetFormat(edit, "0000 AA");
  const struct {
    const char* language;
    const char* starts;
  } cases[] = {{"NLD", "De invoer voldoet niet"}, {"ENU", "The entry does not match"}};
  for (const auto& c : cases) {
    api.PEdit_SetLanguage(edit, c.language);
    api.PEdit_SetValue(edit, "");
    Click(Window(edit), 5, 5);
    Type(Window(edit), "12");
    std::string complaint;
    const bool shown = AnswerDialog([&] { Click(Elsewhere(), 5, 5); WaitFor([&] { return !complaint.empty(); }); },
                                    [&](HWND box) { complaint = MessageOf(box); });
    EXPECT_TRUE(shown) << c.language << ": leaving an incomplete field shows a message";
    EXPECT_EQ(complaint.rfind(c.starts, 0), 0u) << c.language << ": " << complaint;
    EXPECT_TRUE(WaitFor([&] { return ::GetFocus() == Window(edit); })) << "the focus goes back to the field";
  }

  api.PEdit_SetFormat(edit, "");
  api.PEdit_SetValue(edit, "Lange naam die niet past");
  EXPECT_EQ(api.PEdit_GetAutoHint(edit), 0);
  api.PEdit_SetAutoHint(edit, 1);
  EXPECT_EQ(api.PEdit_GetAutoHint(edit), 1);
  EXPECT_EQ(HintOf(Window(edit)), "(no tool)");
  ::PostMessageW(Window(edit), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(WaitFor([&] { return HintOf(Window(edit)) == "Lange naam die niet past"; }))
      << "the field's text becomes its hint under the mouse";
}

// ---------------------------------------------------------------- PDateEdit

// 12 March 2014 is day 41710 counted from 30 December 1899.
constexpr double k12March2014 = 41710;

TEST_F(EntryTest, DateEditShowsReadsAndStepsDates) {
  OrvalisControl* date = Make(api.PDateEdit_Create, "Date", 8, 8, 120, 22);
  ASSERT_NE(date, nullptr);
  Recorder changes;
  api.PDateEdit_SetOnChange(date, Record, &changes);
  api.PDateEdit_SetDate(date, k12March2014 + 0.5);
  EXPECT_DOUBLE_EQ(api.PDateEdit_GetDate(date), k12March2014 + 0.5) << "the time of day is kept";
  EXPECT_EQ(WindowText(Window(date)), "12-03-2014");
  EXPECT_EQ(changes.calls, 0) << "the host's own value raises nothing";

  api.PDateEdit_SetStartDate(date, k12March2014 - 10);
  api.PDateEdit_SetEndDate(date, k12March2014 + 10);
  EXPECT_DOUBLE_EQ(api.PDateEdit_GetStartDate(date), k12March2014 - 10);
  EXPECT_DOUBLE_EQ(api.PDateEdit_GetEndDate(date), k12March2014 + 10);
  const struct {
    double from;
    const char* key;
    double to;
  } steps[] = {
      {k12March2014, ">", k12March2014 + 1},
      {k12March2014, "<", k12March2014 - 1},
      {0, ">", k12March2014 - 10},  // an empty field steps to the start date ...
      {0, "<", k12March2014 + 10},  // ... or back to the end date
  };
  for (const auto& s : steps) {
    api.PDateEdit_SetDate(date, s.from);
    api.PControl_SetFocus(date);
    changes.calls = 0;
    Type(Window(date), s.key);
    EXPECT_DOUBLE_EQ(api.PDateEdit_GetDate(date), s.to) << s.from << " " << s.key;
    EXPECT_EQ(changes.calls, 1) << s.from << " " << s.key;
    EXPECT_EQ(changes.control, date);
  }

  api.PDateEdit_SetDate(date, 0);
  Click(Window(date), 5, 5);
  Type(Window(date), "12032014");
  Click(Elsewhere(), 5, 5);
  EXPECT_TRUE(WaitFor([&] { return api.PDateEdit_GetDate(date) == k12March2014; }));
  EXPECT_EQ(WindowText(Window(date)), "12-03-2014");
}

TEST_F(EntryTest, DateEditChangeOnExitAndTheCalendar) {
  OrvalisControl* date = Make(api.PDateEdit_Create, "Date", 8, 8, 120, 22);
  ASSERT_NE(date, nullptr);
  Recorder changes;
  api.PDateEdit_SetOnChange(date, Record, &changes);
  EXPECT_EQ(api.PDateEdit_GetChangeOnExit(date), 0);
  api.PDateEdit_SetChangeOnExit(date, 1);
  EXPECT_EQ(api.PDateEdit_GetChangeOnExit(date), 1);
  api.PDateEdit_SetDate(date, k12March2014);
  api.PControl_SetFocus(date);
  Type(Window(date), ">>");
  EXPECT_EQ(changes.calls, 0) << "held back";
  Click(Elsewhere(), 5, 5);
  EXPECT_TRUE(WaitFor([&] { return changes.calls == 1; })) << "one report on leaving";
  EXPECT_DOUBLE_EQ(api.PDateEdit_GetDate(date), k12March2014 + 2);
  api.PDateEdit_SetChangeOnExit(date, 0);

  // The calendar opens below the field on the field's date; the user moves a
  // day on and takes it with Enter.
  api.PDateEdit_DoDatePick(date);
  HWND popup = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (popup = [&] {
                                      for (HWND w : TopWindows())
                                        if (FindByName(w, "DateCalendar")) return w;
                                      return HWND(nullptr);
                                    }()) != nullptr; }))
      << "the calendar shows";
  RECT field{}, below{};
  ::GetWindowRect(Window(date), &field);
  ::GetWindowRect(popup, &below);
  EXPECT_EQ(below.top, field.bottom);
  EXPECT_EQ(::GetFocus(), FindByName(popup, "DateCalendar"));
  changes.calls = 0;
  Press(VK_RIGHT);
  Press(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return changes.calls == 1; }));
  EXPECT_DOUBLE_EQ(api.PDateEdit_GetDate(date), k12March2014 + 3);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(popup); })) << "the calendar closes after the choice";
  api.PDateEdit_SetOnChange(date, nullptr, nullptr);
  api.PControl_SetFocus(date);
  Type(Window(date), ">");
  EXPECT_EQ(changes.calls, 1) << "removed";
}

// ---------------------------------------------------------------- PNumEdit

TEST_F(EntryTest, NumberEditPropertiesShapeTheShownNumber) {
  const struct {
    const char* what;
    std::function<void(OrvalisControl*)> set;
    double value;
    const char* shown;  // outside the field
  } cases[] = {
      {"grouped by the thousands sign", [](OrvalisControl*) {}, 1234567, "1.234.567"},
      {"decimals trimmed", [](OrvalisControl* n) { api.PNumEdit_SetDecimalLen(n, 2); }, 1234.5, "1.234,5"},
      {"decimals displayed",
       [](OrvalisControl* n) {
         api.PNumEdit_SetDecimalLen(n, 2);
         api.PNumEdit_SetDisplayDecimals(n, 1);
       },
       1234.5, "1.234,50"},
      {"other signs",
       [](OrvalisControl* n) {
         api.PNumEdit_SetDecimalLen(n, 2);
         api.PNumEdit_SetDecimalSign(n, '.');
         api.PNumEdit_SetThousandSign(n, ',');
       },
       -1234.5, "-1,234.5"},
      {"no thousands sign",
       [](OrvalisControl* n) {
         api.PNumEdit_SetThousandSign(n, 0);
       },
       1234567, "1234567"},
      {"a suffix after a blank", [](OrvalisControl* n) { api.PNumEdit_SetSuffix(n, "\xE2\x82\xAC"); }, 12, "12 \xE2\x82\xAC"},
      {"zero shown", [](OrvalisControl*) {}, 0, "0"},
      {"zero left empty", [](OrvalisControl* n) { api.PNumEdit_SetMinimalZero(n, 0); }, 0, ""},
      {"hexadecimal", [](OrvalisControl* n) { api.PNumEdit_SetType(n, 3); }, 255, "FF"},
  };
  for (const auto& c : cases) {
    OrvalisControl* number = Make(api.PNumEdit_Create, "Number", 8, 8, 160, 22);
    ASSERT_NE(number, nullptr);
    c.set(number);
    api.PNumEdit_SetValue(number, c.value);
    EXPECT_DOUBLE_EQ(api.PNumEdit_GetValue(number), c.value) << c.what;
    EXPECT_EQ(WindowText(Window(number)), c.shown) << c.what;
    Destroy(number);
  }
}

TEST_F(EntryTest, NumberEditGettersReadBackTheSetters) {
  OrvalisControl* n = Make(api.PNumEdit_Create, "Number", 8, 8, 160, 22);
  ASSERT_NE(n, nullptr);
  const struct {
    const char* what;
    std::function<void(int)> set;
    std::function<int()> get;
    int before, after;
  } cases[] = {
      {"type", [&](int v) { api.PNumEdit_SetType(n, v); }, [&] { return api.PNumEdit_GetType(n); }, 0, 1},
      {"type percentage", [&](int v) { api.PNumEdit_SetType(n, v); }, [&] { return api.PNumEdit_GetType(n); }, 1, 2},
      {"decimal sign", [&](int v) { api.PNumEdit_SetDecimalSign(n, v); }, [&] { return api.PNumEdit_GetDecimalSign(n); },
       ',', '.'},
      {"thousands sign", [&](int v) { api.PNumEdit_SetThousandSign(n, v); },
       [&] { return api.PNumEdit_GetThousandSign(n); }, '.', '\''},
      {"no thousands sign", [&](int v) { api.PNumEdit_SetThousandSign(n, v); },
       [&] { return api.PNumEdit_GetThousandSign(n); }, '\'', 0},
      {"negative key", [&](int v) { api.PNumEdit_SetNegSign(n, v); }, [&] { return api.PNumEdit_GetNegSign(n); }, '-',
       'm'},
      {"length", [&](int v) { api.PNumEdit_SetLength(n, v); }, [&] { return api.PNumEdit_GetLength(n); }, 8, 3},
      {"may be negative", [&](int v) { api.PNumEdit_SetMayNegative(n, v); },
       [&] { return api.PNumEdit_GetMayNegative(n); }, 1, 0},
      {"decimals", [&](int v) { api.PNumEdit_SetDecimalLen(n, v); }, [&] { return api.PNumEdit_GetDecimalLen(n); }, 0, 4},
      {"display decimals", [&](int v) { api.PNumEdit_SetDisplayDecimals(n, v); },
       [&] { return api.PNumEdit_GetDisplayDecimals(n); }, 0, 1},
      {"minimal zero", [&](int v) { api.PNumEdit_SetMinimalZero(n, v); },
       [&] { return api.PNumEdit_GetMinimalZero(n); }, 1, 0},
      {"change on exit", [&](int v) { api.PNumEdit_SetChangeOnExit(n, v); },
       [&] { return api.PNumEdit_GetChangeOnExit(n); }, 0, 1},
      {"alignment", [&](int v) { api.PNumEdit_SetAlignment(n, v); }, [&] { return api.PNumEdit_GetAlignment(n); },
       ES_RIGHT, ES_CENTER},
      {"a sign that is no ASCII is refused", [&](int v) { api.PNumEdit_SetDecimalSign(n, v); },
       [&] { return api.PNumEdit_GetDecimalSign(n); }, '.', '.'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.get(), c.before) << c.what;
    c.set(std::strcmp(c.what, "a sign that is no ASCII is refused") == 0 ? 0xE9 : c.after);
    EXPECT_EQ(c.get(), c.after) << c.what;
  }
  // The alignment is the EDIT's own style.
  const LONG style = ::GetWindowLongW(Window(n), GWL_STYLE);
  EXPECT_EQ(style & (ES_CENTER | ES_RIGHT), ES_CENTER);
  api.PNumEdit_SetAlignment(n, ES_LEFT);
  EXPECT_EQ(::GetWindowLongW(Window(n), GWL_STYLE) & (ES_CENTER | ES_RIGHT), ES_LEFT);

  api.PNumEdit_SetPrefix(n, "EUR \xE2\x82\xAC");
  EXPECT_EQ(Read(api.PNumEdit_GetPrefix, n), "EUR \xE2\x82\xAC");
  api.PNumEdit_SetSuffix(n, "st\xC3\xBCk");
  EXPECT_EQ(Read(api.PNumEdit_GetSuffix, n), "st\xC3\xBCk");
  // The prefix is a label at the field's left, shown only outside the field.
  HWND label = FindByClass(Window(n), L"STATIC");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(WindowText(label), "EUR \xE2\x82\xAC");
  EXPECT_TRUE(::IsWindowVisible(label));
}

TEST_F(EntryTest, NumberEditTypedKeysFollowLengthSignAndChangeOnExit) {
  const struct {
    const char* what;
    std::function<void(OrvalisControl*)> set;
    const char* typed;
    double value;
  } cases[] = {
      {"digits", [](OrvalisControl*) {}, "1234", 1234},
      {"the length limits the integer digits", [](OrvalisControl* n) { api.PNumEdit_SetLength(n, 3); }, "12345", 123},
      {"the sign key", [](OrvalisControl*) {}, "5-", -5},
      {"no negative numbers", [](OrvalisControl* n) { api.PNumEdit_SetMayNegative(n, 0); }, "5-", 5},
      {"another sign key", [](OrvalisControl* n) { api.PNumEdit_SetNegSign(n, 'm'); }, "5m", -5},
      {"the decimal sign", [](OrvalisControl* n) { api.PNumEdit_SetDecimalLen(n, 2); }, "3,25", 3.25},
      {"hexadecimal digits", [](OrvalisControl* n) { api.PNumEdit_SetType(n, 3); }, "1f", 31},
  };
  for (const auto& c : cases) {
    OrvalisControl* number = Make(api.PNumEdit_Create, "Number", 8, 8, 160, 22);
    ASSERT_NE(number, nullptr);
    Recorder changes;
    api.PNumEdit_SetOnChange(number, Record, &changes);
    c.set(number);
    api.PControl_SetFocus(number);
    Type(Window(number), c.typed);
    EXPECT_DOUBLE_EQ(api.PNumEdit_GetValue(number), c.value) << c.what;
    EXPECT_GT(changes.calls, 0) << c.what;
    EXPECT_EQ(changes.control, number) << c.what;
    Destroy(number);
  }

  OrvalisControl* number = Make(api.PNumEdit_Create, "Number", 8, 8, 160, 22);
  ASSERT_NE(number, nullptr);
  Recorder changes;
  api.PNumEdit_SetOnChange(number, Record, &changes);
  api.PNumEdit_SetChangeOnExit(number, 1);
  Click(Window(number), 5, 5);
  Press(VK_END);
  Type(Window(number), "42");
  EXPECT_EQ(changes.calls, 0) << "held back";
  Click(Elsewhere(), 5, 5);
  EXPECT_TRUE(WaitFor([&] { return changes.calls == 1; }));
  EXPECT_DOUBLE_EQ(api.PNumEdit_GetValue(number), 42);
  api.PNumEdit_SetOnChange(number, nullptr, nullptr);
  api.PNumEdit_SetChangeOnExit(number, 0);
  api.PControl_SetFocus(number);
  Type(Window(number), "7");
  EXPECT_EQ(changes.calls, 1) << "removed";
}

// The keys a host hears before the number edit's own rules, with the state of
// Shift, Alt and Ctrl; a key set to 0 is swallowed. The wheel's distance too.
struct Keys {
  std::vector<unsigned> keys;
  std::vector<unsigned> shifts;
  unsigned swallow = 0;
};
void ORVALIS_CALL RecordKey(void* context, OrvalisControl*, unsigned* key, unsigned shift) {
  auto& k = *static_cast<Keys*>(context);
  k.keys.push_back(*key);
  k.shifts.push_back(shift);
  if (*key == k.swallow) *key = 0;
}

TEST_F(EntryTest, NumberEditReportsKeysBeforeItsRulesAndTheWheel) {
  OrvalisControl* number = Make(api.PNumEdit_Create, "Number", 8, 8, 120, 22);
  ASSERT_NE(number, nullptr);
  api.PNumEdit_SetValue(number, 4567);
  Keys keys;
  keys.swallow = VK_DELETE;
  api.PNumEdit_SetOnKeyDown(number, RecordKey, &keys);
  Click(Window(number), 5, 5);
  Press(VK_HOME);
  const std::string shown = WindowText(Window(number));
  Press(VK_DELETE);
  EXPECT_EQ(WindowText(Window(number)), shown) << "the host swallowed Delete";
  Press(VK_END, false, true);
  Press(VK_HOME, true, false);
  // Shift and Ctrl are keys of their own too, held while the next one comes.
  EXPECT_EQ(keys.keys, (std::vector<unsigned>{VK_HOME, VK_DELETE, VK_SHIFT, VK_END, VK_CONTROL, VK_HOME}));
  EXPECT_EQ(keys.shifts, (std::vector<unsigned>{0, 0, 1, 1, 4, 4}));

  keys.swallow = 0;
  Press(VK_DELETE);
  EXPECT_EQ(WindowText(Window(number)), shown.substr(1)) << "Delete taken by the edit";

  Recorder wheel;
  api.PNumEdit_SetOnMouseWheel(number, RecordValue, &wheel);
  Wheel(Window(number), -120);
  ASSERT_TRUE(WaitFor([&] { return wheel.calls == 1; }));
  EXPECT_EQ(wheel.value, -120);
  EXPECT_EQ(wheel.control, number);

  const std::size_t heard = keys.keys.size();
  api.PNumEdit_SetOnKeyDown(number, nullptr, nullptr);
  api.PNumEdit_SetOnMouseWheel(number, nullptr, nullptr);
  Press(VK_HOME);
  Wheel(Window(number), 120);
  Pump();
  EXPECT_EQ(keys.keys.size(), heard) << "removed";
  EXPECT_EQ(wheel.calls, 1) << "removed";
}

// ---------------------------------------------------------------- PZipEdit

TEST_F(EntryTest, PostcodeEditShowsCodesAndReportsChanges) {
  OrvalisControl* zip = Make(api.PZipEdit_Create, "Postcode", 8, 8, 120, 22);
  ASSERT_NE(zip, nullptr);
  const struct {
    const char* set;
    const char* value;
  } cases[] = {{"1234AB", "1234 AB"}, {"1234 ab", "1234 AB"}, {"12", "12"}, {"\xC3\xA9t\xC3\xA9", ""}, {"", ""}};
  for (const auto& c : cases) {
    api.PZipEdit_SetValue(zip, c.set);
    EXPECT_EQ(Read(api.PZipEdit_GetValue, zip), c.value) << c.set;
    EXPECT_EQ(WindowText(Window(zip)), c.value) << c.set;
  }
  Recorder changes;
  api.PZipEdit_SetOnChange(zip, Record, &changes);
  EXPECT_EQ(api.PZipEdit_GetChangeOnExit(zip), 0);
  api.PZipEdit_SetChangeOnExit(zip, 1);
  EXPECT_EQ(api.PZipEdit_GetChangeOnExit(zip), 1);
  Click(Window(zip), 5, 5);
  Type(Window(zip), "1234ab");
  EXPECT_EQ(changes.calls, 0) << "held back";
  Click(Elsewhere(), 5, 5);
  EXPECT_TRUE(WaitFor([&] { return changes.calls == 1; }));
  EXPECT_EQ(changes.control, zip);
  EXPECT_EQ(Read(api.PZipEdit_GetValue, zip), "1234 AB");
  api.PZipEdit_SetChangeOnExit(zip, 0);
  EXPECT_EQ(api.PZipEdit_GetChangeOnExit(zip), 0);
}

}  // namespace
}  // namespace orvalis::capi_test
