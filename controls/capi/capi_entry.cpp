// The C interface of the masked, date, number and postcode edits.
#include "controls/capi/capi.h"
#include "controls/entry/pdateedit.h"
#include "controls/entry/pedit.h"
#include "controls/entry/pnumedit.h"
#include "controls/entry/pzipedit.h"

using namespace orvalis::controls;
using orvalis::capi::In;

namespace {

// A sign character from the host: one byte of ASCII, or the control keeps its own.
template <typename Set>
void Sign(int value, Set set) {
  if (value > 0 && value < 0x80) set(char(value));
}

}  // namespace

extern "C" {

ORVALIS_CREATE(PEdit)
ORVALIS_TEXT_GETTER(PEdit, GetFormat, c.GetFormat())
ORVALIS_SETTER(PEdit, SetFormat, const char*, In(value))
ORVALIS_TEXT_GETTER(PEdit, GetValue, c.GetValue())
ORVALIS_SETTER(PEdit, SetValue, const char*, In(value))
ORVALIS_GETTER(PEdit, GetChangeOnExit, int, c.GetChangeOnExit())
ORVALIS_SETTER(PEdit, SetChangeOnExit, int, value != 0)
ORVALIS_GETTER(PEdit, GetFirstCapital, int, c.GetFirstCapital())
ORVALIS_SETTER(PEdit, SetFirstCapital, int, value != 0)
ORVALIS_GETTER(PEdit, GetAutoHint, int, c.GetAutoHint())
ORVALIS_SETTER(PEdit, SetAutoHint, int, value != 0)
ORVALIS_SETTER(PEdit, SetLanguage, const char*, std::string(In(value)))
ORVALIS_EVENT(PEdit, OnChange)

ORVALIS_CREATE(PDateEdit)
ORVALIS_GETTER(PDateEdit, GetDate, double, c.GetDate())
ORVALIS_SETTER(PDateEdit, SetDate, double, value)
ORVALIS_GETTER(PDateEdit, GetStartDate, double, c.GetStartDate())
ORVALIS_SETTER(PDateEdit, SetStartDate, double, value)
ORVALIS_GETTER(PDateEdit, GetEndDate, double, c.GetEndDate())
ORVALIS_SETTER(PDateEdit, SetEndDate, double, value)
ORVALIS_GETTER(PDateEdit, GetChangeOnExit, int, c.GetChangeOnExit())
ORVALIS_SETTER(PDateEdit, SetChangeOnExit, int, value != 0)
ORVALIS_COMMAND(PDateEdit, DoDatePick)
ORVALIS_EVENT(PDateEdit, OnChange)

ORVALIS_CREATE(PNumEdit)
ORVALIS_GETTER(PNumEdit, GetValue, double, c.GetValue())
ORVALIS_SETTER(PNumEdit, SetValue, double, value)
ORVALIS_GETTER(PNumEdit, GetType, int, c.GetType())
ORVALIS_SETTER(PNumEdit, SetType, int, static_cast<PNumEdit_Type>(value >= 0 && value <= 3 ? value : 0))
ORVALIS_GETTER(PNumEdit, GetDecimalSign, int, static_cast<unsigned char>(c.GetDecimalSign()))
ORVALIS_GETTER(PNumEdit, GetThousandSign, int, static_cast<unsigned char>(c.GetThousandSign()))
ORVALIS_GETTER(PNumEdit, GetNegSign, int, static_cast<unsigned char>(c.GetNegSign()))
ORVALIS_API void ORVALIS_CALL PNumEdit_SetDecimalSign(OrvalisControl* control, int sign) {
  orvalis::capi::Do<PNumEdit>(__func__, control, [&](PNumEdit& c) { Sign(sign, [&](char s) { c.SetDecimalSign(s); }); });
}
// The thousands sign may also be 0: no separator, as GetThousandSign reports it.
ORVALIS_API void ORVALIS_CALL PNumEdit_SetThousandSign(OrvalisControl* control, int sign) {
  orvalis::capi::Do<PNumEdit>(__func__, control, [&](PNumEdit& c) {
    if (sign == 0) c.SetThousandSign('\0');
    Sign(sign, [&](char s) { c.SetThousandSign(s); });
  });
}
ORVALIS_API void ORVALIS_CALL PNumEdit_SetNegSign(OrvalisControl* control, int sign) {
  orvalis::capi::Do<PNumEdit>(__func__, control, [&](PNumEdit& c) { Sign(sign, [&](char s) { c.SetNegSign(s); }); });
}
ORVALIS_TEXT_GETTER(PNumEdit, GetPrefix, c.GetPrefix())
ORVALIS_SETTER(PNumEdit, SetPrefix, const char*, std::string(In(value)))
ORVALIS_TEXT_GETTER(PNumEdit, GetSuffix, c.GetSuffix())
ORVALIS_SETTER(PNumEdit, SetSuffix, const char*, std::string(In(value)))
ORVALIS_GETTER(PNumEdit, GetLength, int, c.GetLength())
ORVALIS_SETTER(PNumEdit, SetLength, int, value)
ORVALIS_GETTER(PNumEdit, GetMayNegative, int, c.GetMayNegative())
ORVALIS_SETTER(PNumEdit, SetMayNegative, int, value != 0)
ORVALIS_GETTER(PNumEdit, GetDecimalLen, int, c.GetDecimalLen())
ORVALIS_SETTER(PNumEdit, SetDecimalLen, int, value)
ORVALIS_GETTER(PNumEdit, GetDisplayDecimals, int, c.GetDisplayDecimals())
ORVALIS_SETTER(PNumEdit, SetDisplayDecimals, int, value != 0)
ORVALIS_GETTER(PNumEdit, GetMinimalZero, int, c.GetMinimalZero())
ORVALIS_SETTER(PNumEdit, SetMinimalZero, int, value != 0)
ORVALIS_GETTER(PNumEdit, GetChangeOnExit, int, c.GetChangeOnExit())
ORVALIS_SETTER(PNumEdit, SetChangeOnExit, int, value != 0)
ORVALIS_GETTER(PNumEdit, GetAlignment, int, c.GetAlignment())
ORVALIS_SETTER(PNumEdit, SetAlignment, int, DWORD(value))
ORVALIS_EVENT(PNumEdit, OnChange)
ORVALIS_API void ORVALIS_CALL PNumEdit_SetOnKeyDown(OrvalisControl* control, OrvalisKeyEvent event, void* context) {
  orvalis::capi::Do<PNumEdit>(__func__, control, [&](PNumEdit& c) {
    c.OnKeyDown = nullptr;
    if (event) c.OnKeyDown = [=](PNumEdit&, unsigned& key, unsigned shift) { event(context, control, &key, shift); };
  });
}
ORVALIS_API void ORVALIS_CALL PNumEdit_SetOnMouseWheel(OrvalisControl* control, OrvalisWheelEvent event,
                                                      void* context) {
  orvalis::capi::Do<PNumEdit>(__func__, control, [&](PNumEdit& c) {
    c.OnMouseWheel = nullptr;
    if (event) c.OnMouseWheel = [=](PNumEdit&, int delta) { event(context, control, delta); };
  });
}

ORVALIS_CREATE(PZipEdit)
ORVALIS_TEXT_GETTER(PZipEdit, GetValue, c.GetValue())
ORVALIS_SETTER(PZipEdit, SetValue, const char*, std::string(In(value)))
ORVALIS_GETTER(PZipEdit, GetChangeOnExit, int, c.GetChangeOnExit())
ORVALIS_SETTER(PZipEdit, SetChangeOnExit, int, value != 0)
ORVALIS_EVENT(PZipEdit, OnChange)

}  // extern "C"
