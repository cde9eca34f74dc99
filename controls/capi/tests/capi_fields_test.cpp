// A document with picture fields through the C interface, as a host program
// loads and stores it: the host draws the fields, the control decodes the
// JPEG field itself, and the stored text holds the picture and both fields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#define ORVALIS_CONTROLS_STATIC  // linked in, not imported
#include "orvalis_controls.h"

#include "controls/rich/tests/jpeg_samples.h"
#include "core/hex.h"

namespace {

struct Host {
  std::vector<std::string> drawn;
  std::string selected = "(nothing)";
};

// The host's picture of a field: a box, with no label of its own.
HENHMETAFILE ORVALIS_CALL DrawField(void* context, OrvalisControl*, const char* name) {
  static_cast<Host*>(context)->drawn.push_back(name);
  RECT frame{0, 0, 1200, 400};
  HDC recording = ::CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
  ::Rectangle(recording, 0, 0, 40, 14);
  return ::CloseEnhMetaFile(recording);
}

void ORVALIS_CALL SelectObject(void* context, OrvalisControl*, const char* names) {
  static_cast<Host*>(context)->selected = names;
}

std::string RichText(OrvalisControl* rtf) {
  std::string text(std::size_t(PRichEdit_GetRichText(rtf, nullptr, 0)), '\0');
  (void)PRichEdit_GetRichText(rtf, text.data(), int(text.size()) + 1);
  return text;
}

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(CInterfaceFields, ADocumentWithPictureFieldsLoadsAndStoresAsInTheLab) {
  HWND window = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                                  nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  OrvalisControl* rtf = PRichEdit_Create(window, "Rtf1", 8, 8, 360, 120);
  ASSERT_NE(rtf, nullptr);
  Host host;
  PRichEdit_SetOnGetField(rtf, DrawField, &host);
  PRichEdit_SetOnSelectObject(rtf, SelectObject, &host);
  const std::string jpeg = orvalis::BytesToHex(orvalis::controls::test::MakeJpeg(48, 24));
  const std::string document = "{\\rtf1 \\protect [JPEGPICT:" + jpeg + "]\\protect0  \\protect [A]\\protect0  "
                               "\\protect [B]\\protect0 }";
  PRichEdit_SetRichText(rtf, document.c_str());
  EXPECT_EQ(host.drawn, (std::vector<std::string>{"A", "B"})) << "the JPEG field needs no host";

  const std::string stored = RichText(rtf);
  EXPECT_EQ(Count(stored, "{\\pict"), 1) << "the image, kept as a picture";
  EXPECT_EQ(Count(stored, "\\protect [A]\\protect0"), 1) << stored.substr(0, 200);
  EXPECT_EQ(Count(stored, "\\protect [B]\\protect0"), 1);

  PRichEdit_SetSelStart(rtf, 0);
  PRichEdit_SetSelLength(rtf, 100);
  EXPECT_EQ(host.selected, "A\nB");

  // Stored and loaded again, the text is the same.
  host.drawn.clear();
  PRichEdit_SetRichText(rtf, stored.c_str());
  EXPECT_EQ(RichText(rtf), stored);
  EXPECT_EQ(host.drawn, (std::vector<std::string>{"A", "B"}));

  PRichEdit_SetOnGetField(rtf, nullptr, nullptr);
  PControl_Destroy(rtf);
  ::DestroyWindow(window);
}

}  // namespace
