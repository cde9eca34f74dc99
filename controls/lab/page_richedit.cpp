// Page "richedit": the rich text control as an editor and as a viewer.
//   Rtf1      an editor (border, not read-only); Rtf1Echo shows GetRichText()
//             after every change and when the editor loses the focus.
//   Rtf2      a viewer (read-only, no border) like the setup's product text,
//             holding a web and a mail address; Rtf2Echo shows the last OnLink
//             text.
//   btnFields, btnEditFields  load Rtf1 with fields and let the page, as the
//             fields' host, rename them (see AddFields); Rtf1Picture draws the
//             first picture of the stored text.
//   chkReadOnly  switches Rtf1 to read-only and back; chkReadOnlyEcho shows
//             what the host reads back: read-only and the two bars' settings.
//   btnReload loads Rtf1 again with its own GetRichText().
//   Rtf1SelectEcho shows the field names OnSelectObject last reported for
//             Rtf1's selection, a comma between them; F10 in Rtf1 asks the
//             page for a new field, which it makes a "Customer" field.
// The inner rich edit windows carry the names Rtf1RichEdit and Rtf2RichEdit, so
// a test can type into and click on the text itself.
#include <algorithm>

#include "controls/lab/lab_page.h"
#include "controls/basics/pbutton.h"
#include "controls/basics/pcheckbox.h"
#include "controls/rich/prichedit.h"
#include "controls/rich/prichedit_bars.h"
#include "ui/gdi_canvas.h"
#include "win/wide.h"

namespace orvalis::lab {
namespace {

// Three centred lines; the web address is the middle one, so a click at the
// viewer's centre lands on it.
constexpr char kViewerText[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20\\qc "
    "Mail info@orvalis.example\\par "
    "www.orvalis.example/notes\\par "
    "Orvalis controls\\par}";

// A 48 x 24 JPEG image, red on the left, blue on the right.
constexpr char kFieldJpeg[] =
    "FFD8FFE000104A46494600010100000100010000FFDB0043000D090A0B0A080D0B0A0B0E0E0D0F13201513121213271C1E17"
    "202E2931302E292D2C333A4A3E333646372C2D405741464C4E525352323E5A615A50604A51524FFFDB0043010E0E0E131113"
    "261515264F352D354F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F"
    "4F4F4F4F4F4F4F4FFFC00011080018003003011100021101031101FFC4001600010101000000000000000000000000000005"
    "06FFC40014100100000000000000000000000000000000FFC400160101010100000000000000000000000000000705FFC400"
    "14110100000000000000000000000000000000FFDA000C03010002110311003F00CFB1949000425892A0005D475550004258"
    "92A0005D47555000425892A0007FFFD9";

// The first picture of a stored text, drawn as a host that reads the text
// back would draw it (Wine's rich edit window paints no embedded pictures).
class PictureEcho : public ui::WinControl {
 public:
  void Show(const std::string& rtf) {
    const std::optional<controls::PictureSpan> span = controls::FindPicture(rtf, 0);
    metafile_ = span ? controls::MetafileFromPicture(rtf, *span) : win::unique_henhmetafile();
    Invalidate();
  }

 protected:
  void Paint(ui::Canvas& canvas) override {
    auto* gdi = dynamic_cast<ui::GdiCanvas*>(&canvas);
    if (!gdi || !metafile_) return;
    const RECT area{0, 0, ClientSize().cx, ClientSize().cy};
    ::PlayEnhMetaFile(gdi->dc(), metafile_.get(), &area);
  }

 private:
  win::unique_henhmetafile metafile_;
};

class RichEditPage : public LabPage {
 public:
  ui::Size ClientSize() const override { return {900, 400}; }

  void Build(LabHost& host) override {
    host_ = &host;

    // The editor. Settings and handlers of the editor's commands and fields
    // belong here, next to the ones below.
    host.AddCaption("Rtf1", 16, 12, 200);
    editor_ = &host.Add<controls::PRichEdit>("Rtf1", 16, 30, 660, 200);
    editor_->RichEdit().SetName("Rtf1RichEdit");
    editor_->SetLanguage(host.Language());
    editor_->SetBorderStyle(ui::BorderStyle::Single);
    editor_->SetReadOnly(false);
    // Every bar and button of the editor commands (the tool bar is "Rtf1ToolBar").
    editor_->SetShowToolBar(true);
    editor_->SetShowTabBar(true);
    editor_->SetShowMenu(true);
    editor_->SetShowPrint(true);
    editor_->SetShowFind(true);
    editor_->SetRichFormat(true);
    editor_->SetShowInsertObject(true);
    editor_->SetUseOle(true);
    if (controls::RichToolBar* bar = editor_->ToolBar()) bar->SetName("Rtf1ToolBar");
    editor_->OnChange = [this](controls::PRichEdit& rtf) { host_->Echo("Rtf1", rtf.GetRichText()); };
    // The inner window's focus events come out as the control's own.
    editor_->OnExit = [this](ui::Control&) { host_->Echo("Rtf1", editor_->GetRichText()); };
    host.AddEcho("Rtf1", 690, 30, 194, 22);
    AddFields(host);
    auto& reload = host.Add<controls::PButton>("btnReload", 690, 204, 194, 26);
    reload.SetCaption(host.Language() == "NLD" ? "Opnieuw laden" : "Reload");
    reload.OnClick = [this](ui::Control&) {
      const std::string rtf = editor_->GetRichText();
      editor_->SetRichText(rtf);
      host_->Echo("Rtf1", editor_->GetRichText());
    };
    auto& readOnly = host.Add<controls::PCheckBox>("chkReadOnly", 690, 304, 194, 22);
    readOnly.SetCaption(host.Language() == "NLD" ? "Alleen lezen" : "Read-only");
    readOnly.OnClick = [this, &readOnly](ui::Control&) {
      editor_->SetReadOnly(readOnly.Checked());
      EchoReadOnly();
    };
    host.AddEcho("chkReadOnly", 690, 328, 194, 22);

    // The viewer, set up as the setup's main dialog sets up its product text.
    host.AddCaption("Rtf2", 16, 250, 200);
    viewer_ = &host.Add<controls::PRichEdit>("Rtf2", 16, 268, 400, 100);
    viewer_->RichEdit().SetName("Rtf2RichEdit");
    viewer_->SetLanguage(host.Language());
    viewer_->SetBorderStyle(ui::BorderStyle::None);
    viewer_->SetReadOnly(true);
    viewer_->OnLink = [this](controls::PRichEdit&, const std::string& link, int) { host_->Echo("Rtf2", link); };
    host.AddEcho("Rtf2", 690, 268, 194, 22);
  }

  void Shown(LabHost& host) override {
    viewer_->SetRichText(kViewerText);
    viewer_->Fit();
    host.Echo("Rtf1", editor_->GetRichText());
    host.Echo("Rtf2", "");
    EchoReadOnly();
  }

 private:
  // Rtf1's fields, drawn by this page as a host draws them. btnFields loads a
  // document with an image field and the fields A and B; btnEditFields lets the
  // host edit the fields of the whole text (each name N becomes N2).
  void AddFields(LabHost& host) {
    editor_->FieldList = {"Customer", "Period", "Amount"};
    editor_->OnGetField = [](controls::PRichEdit&, const std::string& createdBy, const std::string& name,
                             win::unique_henhmetafile& emf) {
      // The page-break marker stays text: the page draws only its own fields.
      if (name != controls::kPageBreakName) emf = FieldPicture(createdBy, name);
    };
    editor_->SetOnFieldEdit([](controls::PRichEdit&, int, int, std::string& object, bool& ret) {
      if (object == controls::kNewFieldName) {
        object = "Customer";
      } else {
        std::string renamed;
        for (std::size_t from = 0;;) {
          const std::size_t end = std::min(object.find('\n', from), object.size());
          renamed.append(object, from, end - from);
          renamed += '2';
          if (end == object.size()) break;
          renamed += '\n';
          from = end + 1;
        }
        object = renamed;
      }
      ret = true;
    });
    editor_->OnFieldHint = [](controls::PRichEdit&, const std::string& name, std::string& hint) {
      hint = "Field " + name;
    };
    editor_->OnSelectObject = [this](controls::PRichEdit&, const std::string& names) {
      std::string shown = names;
      std::replace(shown.begin(), shown.end(), '\n', ',');
      host_->Echo("Rtf1Select", shown);
    };
    host.AddEcho("Rtf1Select", 690, 236, 194, 22);
    const bool dutch = host.Language() == "NLD";
    auto& load = host.Add<controls::PButton>("btnFields", 690, 64, 194, 26);
    load.SetCaption(dutch ? "Velden laden" : "Load fields");
    load.OnClick = [this](ui::Control&) {
      editor_->SetRichText(std::string("{\\rtf1 \\protect [JPEGPICT:") + kFieldJpeg +
                           "]\\protect0  \\protect [A]\\protect0  \\protect [B]\\protect0 }");
      const std::string stored = editor_->GetRichText();
      host_->Echo("Rtf1", stored);
      picture_->Show(stored);
    };
    host.AddCaption("Rtf1Picture", 690, 130, 194);
    picture_ = &host.Add<PictureEcho>("Rtf1Picture", 690, 148, 96, 48);
    auto& edit = host.Add<controls::PButton>("btnEditFields", 690, 96, 194, 26);
    edit.SetCaption(dutch ? "Velden bewerken" : "Edit fields");
    edit.OnClick = [this](ui::Control&) {
      editor_->SetSelStart(0);
      editor_->SetSelLength(int(editor_->GetText().size()));
      (void)editor_->FieldEdit(2, 2, false);
      const std::string stored = editor_->GetRichText();
      host_->Echo("Rtf1", stored);
      picture_->Show(stored);
    };
  }

  // A framed box with the field's name: the tag as author, the name as description.
  static win::unique_henhmetafile FieldPicture(const std::string& createdBy, const std::string& name) {
    const std::wstring wideName = win::Wide(name);
    const std::wstring label = win::Wide(createdBy) + L'\0' + wideName + L'\0';
    win::window_dc screen(nullptr);
    SIZE text{};
    ::GetTextExtentPoint32W(screen.get(), wideName.c_str(), int(wideName.size()), &text);
    const int w = text.cx + 8, h = text.cy + 4;
    const RECT frame{0, 0, ::MulDiv(w, 2540, ::GetDeviceCaps(screen.get(), LOGPIXELSX)),
                     ::MulDiv(h, 2540, ::GetDeviceCaps(screen.get(), LOGPIXELSY))};
    HDC dc = ::CreateEnhMetaFileW(screen.get(), nullptr, &frame, label.c_str());
    if (!dc) return {};
    ::Rectangle(dc, 0, 0, w, h);
    ::TextOutW(dc, 4, 2, wideName.c_str(), int(wideName.size()));
    return win::unique_henhmetafile(::CloseEnhMetaFile(dc));
  }

  void EchoReadOnly() {
    host_->Echo("chkReadOnly", std::string("readonly=") + (editor_->GetReadOnly() ? "1" : "0") +
                                   " toolbar=" + (editor_->GetShowToolBar() ? "1" : "0") +
                                   " tabbar=" + (editor_->GetShowTabBar() ? "1" : "0"));
  }

  PictureEcho* picture_ = nullptr;
  LabHost* host_ = nullptr;
  controls::PRichEdit* editor_ = nullptr;
  controls::PRichEdit* viewer_ = nullptr;
};

}  // namespace

std::unique_ptr<LabPage> MakeRichEditPage() { return std::make_unique<RichEditPage>(); }

}  // namespace orvalis::lab
