/*
 * The Orvalis control package for host programs: a flat C interface over the
 * package's controls, exported by OrvalisControls.dll (link with its import
 * library) and by the setup executable.
 *
 * Conventions
 * - Every control is an opaque OrvalisControl handle made by Class_Create on
 *   a window of the host and released with PControl_Destroy. A call with a
 *   null handle, or a handle of another class, does nothing and returns its
 *   neutral result (0, 0.0 or a null handle); so does a call that fails.
 * - Texts are UTF-8, passed as NUL-terminated strings. A text is read into the
 *   caller's buffer: the call returns the text's length in bytes (without the
 *   NUL) and copies as much as fits, always NUL-terminated when size > 0. Ask
 *   with size 0 for the length first when the text can be long.
 * - Flags are ints: 0 is false, anything else true. Colours are 0x00BBGGRR,
 *   or 0x80000000 + a system colour index.
 * - Events are C callbacks with a context pointer the host chooses; a null
 *   callback removes the event. Callbacks run on the thread of the host's
 *   window, inside its message loop.
 * - Every function uses the C calling convention.
 */
#ifndef ORVALIS_CONTROLS_H
#define ORVALIS_CONTROLS_H

#include <stdint.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(ORVALIS_CONTROLS_BUILD)
#define ORVALIS_API __declspec(dllexport)
#elif defined(ORVALIS_CONTROLS_STATIC)
#define ORVALIS_API
#else
#define ORVALIS_API __declspec(dllimport)
#endif
#define ORVALIS_CALL __cdecl

typedef struct OrvalisControl OrvalisControl;
/* A variable of a formula, lent to the host during its OnEditVar event. */
typedef struct OrvalisVar OrvalisVar;
/* An item of a tree view; it belongs to its tree and lives as long as it. */
typedef struct OrvalisTreeItem OrvalisTreeItem;

/* The control the event is about, and the host's context pointer. */
typedef void(ORVALIS_CALL* OrvalisEvent)(void* context, OrvalisControl* control);
/* A link clicked in a rich text control: its text and the number of its
   entry in the link list (0 for a web or mail address). */
typedef void(ORVALIS_CALL* OrvalisLinkEvent)(void* context, OrvalisControl* control, const char* link, int object);
/* A formula editor asks the host for a new variable (edit 0) or to edit one
   (edit 1), with the screen position for the host's editor; the host fills
   or changes `var` and returns 1, or returns 0 to refuse. */
typedef int(ORVALIS_CALL* OrvalisEditVarEvent)(void* context, OrvalisControl* control, OrvalisVar* var, int edit,
                                               int left, int top);
/* An item's check box of a check list was clicked. */
typedef void(ORVALIS_CALL* OrvalisItemEvent)(void* context, OrvalisControl* control, int index);
/* A mouse wheel turned over a panel or a number edit: the distance, positive
   away from the user. */
typedef void(ORVALIS_CALL* OrvalisWheelEvent)(void* context, OrvalisControl* control, int delta);
/* A key pressed in a control, before the control's own rules: the host may set
   *key to 0 to swallow it. shift holds 1 (Shift), 2 (Alt) and 4 (Ctrl). */
typedef void(ORVALIS_CALL* OrvalisKeyEvent)(void* context, OrvalisControl* control, unsigned* key, unsigned shift);
/* A text a control reports, such as the field names of a selection (LF
   between them). */
typedef void(ORVALIS_CALL* OrvalisTextEvent)(void* context, OrvalisControl* control, const char* text);
/* A rich text control asks the host to draw the field `name`: the host returns
   a new enhanced metafile, which the control takes over (and deletes), or
   null for no picture. The control labels the picture with the field's name,
   so that the stored text keeps the field. */
typedef HENHMETAFILE(ORVALIS_CALL* OrvalisFieldEvent)(void* context, OrvalisControl* control, const char* name);

/* The settings key: controls that keep settings per user (the colour dialog's
   custom colours, the editor's background) keep them under
   HKEY_CURRENT_USER\Software\Orvalis\<key>\Settings. It is "XXX" until a
   host names its own, which it does once, before it shows such a control. A
   null or empty key, or one holding a backslash, leaves it as it was. */
ORVALIS_API void ORVALIS_CALL Orvalis_SetProductKey(const char* key);
ORVALIS_API int ORVALIS_CALL Orvalis_GetProductKey(char* buffer, int size);

/* Colour selection: shows the colour dialog seeded with *colour; 1 and the
   chosen colour in *colour when the user confirms, else 0. The first
   argument is ignored. */
ORVALIS_API int ORVALIS_CALL Color_Select(void* ignored, uint32_t* colour, int flags);

/* ---- Every control ---------------------------------------------------- */
ORVALIS_API void ORVALIS_CALL PControl_Destroy(OrvalisControl* control);
ORVALIS_API HWND ORVALIS_CALL PControl_Handle(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PControl_SetBounds(OrvalisControl* control, int x, int y, int width, int height);
ORVALIS_API int ORVALIS_CALL PControl_GetVisible(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PControl_SetVisible(OrvalisControl* control, int visible);
ORVALIS_API int ORVALIS_CALL PControl_GetEnabled(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PControl_SetEnabled(OrvalisControl* control, int enabled);
ORVALIS_API int ORVALIS_CALL PControl_GetFocused(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PControl_SetFocus(OrvalisControl* control);
/* The window text: the caption of buttons, labels and panels, the shown text of edits. */
ORVALIS_API int ORVALIS_CALL PControl_GetText(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PControl_SetText(OrvalisControl* control, const char* text);
ORVALIS_API int ORVALIS_CALL PControl_GetName(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PControl_SetHint(OrvalisControl* control, const char* hint);
ORVALIS_API void ORVALIS_CALL PControl_SetShowHint(OrvalisControl* control, int show);
ORVALIS_API uint32_t ORVALIS_CALL PControl_GetColor(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PControl_SetColor(OrvalisControl* control, uint32_t colour);
ORVALIS_API void ORVALIS_CALL PControl_SetFont(OrvalisControl* control, const char* face, int points, int bold, int italic);
ORVALIS_API void ORVALIS_CALL PControl_SetOnClick(OrvalisControl* control, OrvalisEvent event, void* context);
/* The focus arrives and leaves; the date and postcode edits raise neither,
   their own handling of the focus takes the place of these events. */
ORVALIS_API void ORVALIS_CALL PControl_SetOnEnter(OrvalisControl* control, OrvalisEvent event, void* context);
ORVALIS_API void ORVALIS_CALL PControl_SetOnExit(OrvalisControl* control, OrvalisEvent event, void* context);

/* ---- PPanel: the themed panel ---------------------------------------- */
ORVALIS_API OrvalisControl* ORVALIS_CALL PPanel_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API void ORVALIS_CALL PPanel_SetCaption(OrvalisControl* control, const char* caption);
/* 0 left, 1 right, 2 centre */
ORVALIS_API void ORVALIS_CALL PPanel_SetAlignment(OrvalisControl* control, int alignment);
ORVALIS_API void ORVALIS_CALL PPanel_SetNailSize(OrvalisControl* control, int value);
ORVALIS_API void ORVALIS_CALL PPanel_SetNailColor(OrvalisControl* control, uint32_t colour);
ORVALIS_API void ORVALIS_CALL PPanel_SetBoxHeight(OrvalisControl* control, int value);
ORVALIS_API void ORVALIS_CALL PPanel_SetShadowWidth(OrvalisControl* control, int value);
ORVALIS_API void ORVALIS_CALL PPanel_SetBorderSize(OrvalisControl* control, int value);
ORVALIS_API void ORVALIS_CALL PPanel_SetPanelColor(OrvalisControl* control, uint32_t colour);
ORVALIS_API void ORVALIS_CALL PPanel_SetPanelPenColor(OrvalisControl* control, uint32_t colour);
ORVALIS_API void ORVALIS_CALL PPanel_SetShadowColor(OrvalisControl* control, uint32_t colour);
ORVALIS_API void ORVALIS_CALL PPanel_SetShadowPenColor(OrvalisControl* control, uint32_t colour);
ORVALIS_API void ORVALIS_CALL PPanel_SetGradient1Color(OrvalisControl* control, uint32_t colour);
ORVALIS_API void ORVALIS_CALL PPanel_SetGradient2Color(OrvalisControl* control, uint32_t colour);
ORVALIS_API void ORVALIS_CALL PPanel_SetGradient1Pos(OrvalisControl* control, int value);
ORVALIS_API void ORVALIS_CALL PPanel_SetGradient2Pos(OrvalisControl* control, int value);
ORVALIS_API void ORVALIS_CALL PPanel_SetGradientWidth(OrvalisControl* control, int value);
ORVALIS_API void ORVALIS_CALL PPanel_SetGradientSize(OrvalisControl* control, int value);
ORVALIS_API void ORVALIS_CALL PPanel_SetGradientPositions(OrvalisControl* control, int value);
ORVALIS_API void ORVALIS_CALL PPanel_SetDrawMode(OrvalisControl* control, int mode);
ORVALIS_API void ORVALIS_CALL PPanel_SetThemeClass(OrvalisControl* control, const char* themeClass);
ORVALIS_API void ORVALIS_CALL PPanel_SetThemePart(OrvalisControl* control, int part);
ORVALIS_API void ORVALIS_CALL PPanel_SetThemeState(OrvalisControl* control, int state);
ORVALIS_API void ORVALIS_CALL PPanel_LoadTheme(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PPanel_SetOnMouseWheel(OrvalisControl* control, OrvalisWheelEvent event, void* context);

/* ---- PParent, PGroupBox, PMemo: plain containers and texts ------------ */
ORVALIS_API OrvalisControl* ORVALIS_CALL PParent_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API OrvalisControl* ORVALIS_CALL PGroupBox_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API OrvalisControl* ORVALIS_CALL PMemo_Create(HWND parent, const char* name, int x, int y, int width, int height);

/* ---- PButton, PBitBtn: push buttons ----------------------------------- */
ORVALIS_API OrvalisControl* ORVALIS_CALL PButton_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API void ORVALIS_CALL PButton_SetCaption(OrvalisControl* control, const char* caption);
ORVALIS_API OrvalisControl* ORVALIS_CALL PBitBtn_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API int ORVALIS_CALL PBitBtn_GetCaption(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PBitBtn_SetCaption(OrvalisControl* control, const char* caption);
ORVALIS_API int ORVALIS_CALL PBitBtn_GetGrayed(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PBitBtn_SetGrayed(OrvalisControl* control, int grayed);
ORVALIS_API int ORVALIS_CALL PBitBtn_GetButtonState(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PBitBtn_LoadTheme(OrvalisControl* control);

/* ---- PImgBtn: the image button ---------------------------------------- */
/* Glyph kinds for PImgBtn_SetGlyph. */
enum {
  PImgBtn_Glyph = 0,
  PImgBtn_GlyphDisabled = 1,
  PImgBtn_GlyphUp = 2,
  PImgBtn_GlyphDown = 3,
  PImgBtn_GlyphFocus = 4,
  PImgBtn_AltGlyphUp = 5,
  PImgBtn_AltGlyphDown = 6
};
ORVALIS_API OrvalisControl* ORVALIS_CALL PImgBtn_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API int ORVALIS_CALL PImgBtn_GetText(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PImgBtn_SetText(OrvalisControl* control, const char* caption);
/* width × height pixels, rows from the top, each 0x00BBGGRR. */
ORVALIS_API void ORVALIS_CALL PImgBtn_SetGlyph(OrvalisControl* control, int kind, int width, int height, const uint32_t* pixels);
ORVALIS_API void ORVALIS_CALL PImgBtn_SetAlt(OrvalisControl* control, int alternate);
/* 0 none, 1 total, 2 centre */
ORVALIS_API void ORVALIS_CALL PImgBtn_SetStretchMode(OrvalisControl* control, int mode);
ORVALIS_API void ORVALIS_CALL PImgBtn_SetTransparent(OrvalisControl* control, int transparent);
/* 0 automatic, 1 fixed colour */
ORVALIS_API void ORVALIS_CALL PImgBtn_SetTransparentMode(OrvalisControl* control, int mode);
ORVALIS_API void ORVALIS_CALL PImgBtn_SetTransparentColor(OrvalisControl* control, uint32_t colour);
ORVALIS_API void ORVALIS_CALL PImgBtn_SetAlignment(OrvalisControl* control, int alignment);
ORVALIS_API void ORVALIS_CALL PImgBtn_SetThemeClass(OrvalisControl* control, const char* themeClass);
ORVALIS_API void ORVALIS_CALL PImgBtn_SetThemePart(OrvalisControl* control, int part);
ORVALIS_API void ORVALIS_CALL PImgBtn_LoadTheme(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PImgBtn_GetPressed(OrvalisControl* control);

/* ---- PCheckBox, PRadioButton ------------------------------------------ */
ORVALIS_API OrvalisControl* ORVALIS_CALL PCheckBox_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API void ORVALIS_CALL PCheckBox_SetCaption(OrvalisControl* control, const char* caption);
ORVALIS_API int ORVALIS_CALL PCheckBox_GetChecked(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PCheckBox_SetChecked(OrvalisControl* control, int checked);
ORVALIS_API void ORVALIS_CALL PCheckBox_SetAlignment(OrvalisControl* control, int alignment);
ORVALIS_API void ORVALIS_CALL PCheckBox_LoadTheme(OrvalisControl* control);
ORVALIS_API OrvalisControl* ORVALIS_CALL PRadioButton_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API void ORVALIS_CALL PRadioButton_SetCaption(OrvalisControl* control, const char* caption);
ORVALIS_API int ORVALIS_CALL PRadioButton_GetChecked(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRadioButton_SetChecked(OrvalisControl* control, int checked);
ORVALIS_API void ORVALIS_CALL PRadioButton_LoadTheme(OrvalisControl* control);

/* ---- PLabel ------------------------------------------------------------ */
ORVALIS_API OrvalisControl* ORVALIS_CALL PLabel_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API void ORVALIS_CALL PLabel_SetCaption(OrvalisControl* control, const char* caption);
ORVALIS_API void ORVALIS_CALL PLabel_SetWordWrap(OrvalisControl* control, int wrap);
ORVALIS_API void ORVALIS_CALL PLabel_SetAlignment(OrvalisControl* control, int alignment);
/* A label with a link opens it when clicked. */
ORVALIS_API int ORVALIS_CALL PLabel_GetLink(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PLabel_SetLink(OrvalisControl* control, const char* link);

/* ---- PRichEdit: the rich text viewer and editor ----------------------- */
ORVALIS_API OrvalisControl* ORVALIS_CALL PRichEdit_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetVersion(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetText(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetText(OrvalisControl* control, const char* text);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetRichText(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetRichText(OrvalisControl* control, const char* rtf);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetHtml(OrvalisControl* control, char* buffer, int size);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetRTFSel(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PRichEdit_DelSel(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PRichEdit_RealHeight(OrvalisControl* control, int width);
ORVALIS_API void ORVALIS_CALL PRichEdit_Fit(OrvalisControl* control);
/* Words that count as links, with the number OnLink gets for each. */
ORVALIS_API void ORVALIS_CALL PRichEdit_ClearLinkList(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_AddLink(OrvalisControl* control, const char* word, int object);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetReadOnly(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetReadOnly(OrvalisControl* control, int readOnly);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetZoom(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetZoom(OrvalisControl* control, int zoom);
ORVALIS_API uint32_t ORVALIS_CALL PRichEdit_GetColor(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetColor(OrvalisControl* control, uint32_t colour);
/* 0 none, 1 single */
ORVALIS_API int ORVALIS_CALL PRichEdit_GetBorderStyle(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetBorderStyle(OrvalisControl* control, int style);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetTabStop(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetTabStop(OrvalisControl* control, int tabStop);
/* "NLD" Dutch, anything else English */
ORVALIS_API int ORVALIS_CALL PRichEdit_GetLanguage(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetLanguage(OrvalisControl* control, const char* language);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetShowLinks(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetShowLinks(OrvalisControl* control, int show);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetRichFormat(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetRichFormat(OrvalisControl* control, int rich);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetSelStart(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetSelStart(OrvalisControl* control, int start);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetSelLength(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetSelLength(OrvalisControl* control, int length);
ORVALIS_API void ORVALIS_CALL PRichEdit_Focus(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetShowToolBar(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetShowToolBar(OrvalisControl* control, int show);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetShowTabBar(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetShowTabBar(OrvalisControl* control, int show);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetShowZoom(OrvalisControl* control, int show);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetShowPrint(OrvalisControl* control, int show);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetShowFind(OrvalisControl* control, int show);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetShowMenu(OrvalisControl* control, int show);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetShowInsertObject(OrvalisControl* control, int show);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetUseOle(OrvalisControl* control, int use);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetAutoHideBars(OrvalisControl* control, int autoHide);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetMaxLines(OrvalisControl* control, int maxLines);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetMaxLineLength(OrvalisControl* control, int maxLineLength);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetContextHelp(OrvalisControl* control, const char* help);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetMaxLength(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetMaxLength(OrvalisControl* control, int length);
/* 0 none, 1 horizontal, 2 vertical, 3 both */
ORVALIS_API int ORVALIS_CALL PRichEdit_GetScrollBars(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetScrollBars(OrvalisControl* control, int bars);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetWordWrap(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetWordWrap(OrvalisControl* control, int wrap);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetWantReturns(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetWantReturns(OrvalisControl* control, int want);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickUndo(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickCut(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickCopy(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickPaste(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickBold(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickItalic(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickUnderline(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickStrikeOut(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickNumbering(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickAlignLeft(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickAlignCenter(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickAlignRight(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickAlignJustify(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickTextColor(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickFind(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickPrint(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickNewField(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_ClickInsertObject(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetNumbering(OrvalisControl* control, int style);
/* PFA_LEFT, PFA_RIGHT, PFA_CENTER, PFA_JUSTIFY */
ORVALIS_API void ORVALIS_CALL PRichEdit_SetAlignment(OrvalisControl* control, int alignment);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetLineSpacing(OrvalisControl* control, int rule, int value);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetSelectionFont(OrvalisControl* control, const char* face, int points);
ORVALIS_API int ORVALIS_CALL PRichEdit_Print(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PRichEdit_FindNext(OrvalisControl* control, const char* text, int matchCase, int up);
/* Plain text at the caret, in the caret's format when keepFormat. */
ORVALIS_API int ORVALIS_CALL PRichEdit_Insert(OrvalisControl* control, const char* text, int keepFormat);
ORVALIS_API void ORVALIS_CALL PRichEdit_InsertFile(OrvalisControl* control, const char* fileName);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetField(OrvalisControl* control, const char* name, char* buffer, int size);
ORVALIS_API int ORVALIS_CALL PRichEdit_IsField(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PRichEdit_GetHasFileLinks(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_UpdateFileLinks(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetOnLink(OrvalisControl* control, OrvalisLinkEvent event, void* context);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetOnChange(OrvalisControl* control, OrvalisEvent event, void* context);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetOnSelectionChange(OrvalisControl* control, OrvalisEvent event, void* context);
ORVALIS_API void ORVALIS_CALL PRichEdit_SetOnDblClick(OrvalisControl* control, OrvalisEvent event, void* context);
/* After every selection change: the names of the field pictures in the selection. */
ORVALIS_API void ORVALIS_CALL PRichEdit_SetOnSelectObject(OrvalisControl* control, OrvalisTextEvent event, void* context);
/* The host draws fields; with it, "JPEGPICT:" fields show their images too.
   Without it, field markers of a loaded text are dropped. */
ORVALIS_API void ORVALIS_CALL PRichEdit_SetOnGetField(OrvalisControl* control, OrvalisFieldEvent event, void* context);

/* ---- PEdit: the masked edit ------------------------------------------- */
ORVALIS_API OrvalisControl* ORVALIS_CALL PEdit_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API int ORVALIS_CALL PEdit_GetFormat(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PEdit_SetFormat(OrvalisControl* control, const char* format);
ORVALIS_API int ORVALIS_CALL PEdit_GetValue(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PEdit_SetValue(OrvalisControl* control, const char* text);
ORVALIS_API int ORVALIS_CALL PEdit_GetChangeOnExit(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PEdit_SetChangeOnExit(OrvalisControl* control, int onExit);
ORVALIS_API int ORVALIS_CALL PEdit_GetFirstCapital(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PEdit_SetFirstCapital(OrvalisControl* control, int firstCapital);
ORVALIS_API int ORVALIS_CALL PEdit_GetAutoHint(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PEdit_SetAutoHint(OrvalisControl* control, int autoHint);
ORVALIS_API void ORVALIS_CALL PEdit_SetLanguage(OrvalisControl* control, const char* language);
ORVALIS_API void ORVALIS_CALL PEdit_SetOnChange(OrvalisControl* control, OrvalisEvent event, void* context);

/* ---- PDateEdit: dates as day numbers (0 = 30 December 1899) ----------- */
ORVALIS_API OrvalisControl* ORVALIS_CALL PDateEdit_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API double ORVALIS_CALL PDateEdit_GetDate(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PDateEdit_SetDate(OrvalisControl* control, double date);
ORVALIS_API double ORVALIS_CALL PDateEdit_GetStartDate(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PDateEdit_SetStartDate(OrvalisControl* control, double date);
ORVALIS_API double ORVALIS_CALL PDateEdit_GetEndDate(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PDateEdit_SetEndDate(OrvalisControl* control, double date);
ORVALIS_API int ORVALIS_CALL PDateEdit_GetChangeOnExit(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PDateEdit_SetChangeOnExit(OrvalisControl* control, int onExit);
/* Opens the calendar below the field. */
ORVALIS_API void ORVALIS_CALL PDateEdit_DoDatePick(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PDateEdit_SetOnChange(OrvalisControl* control, OrvalisEvent event, void* context);

/* ---- PNumEdit: the number edit ---------------------------------------- */
ORVALIS_API OrvalisControl* ORVALIS_CALL PNumEdit_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API double ORVALIS_CALL PNumEdit_GetValue(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetValue(OrvalisControl* control, double value);
/* 0 numeric, 1 currency, 2 percentage, 3 hexadecimal */
ORVALIS_API int ORVALIS_CALL PNumEdit_GetType(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetType(OrvalisControl* control, int type);
ORVALIS_API int ORVALIS_CALL PNumEdit_GetDecimalSign(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetDecimalSign(OrvalisControl* control, int sign);
ORVALIS_API int ORVALIS_CALL PNumEdit_GetThousandSign(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetThousandSign(OrvalisControl* control, int sign);
ORVALIS_API int ORVALIS_CALL PNumEdit_GetNegSign(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetNegSign(OrvalisControl* control, int sign);
ORVALIS_API int ORVALIS_CALL PNumEdit_GetPrefix(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetPrefix(OrvalisControl* control, const char* prefix);
ORVALIS_API int ORVALIS_CALL PNumEdit_GetSuffix(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetSuffix(OrvalisControl* control, const char* suffix);
ORVALIS_API int ORVALIS_CALL PNumEdit_GetLength(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetLength(OrvalisControl* control, int length);
ORVALIS_API int ORVALIS_CALL PNumEdit_GetMayNegative(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetMayNegative(OrvalisControl* control, int mayNegative);
ORVALIS_API int ORVALIS_CALL PNumEdit_GetDecimalLen(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetDecimalLen(OrvalisControl* control, int decimals);
ORVALIS_API int ORVALIS_CALL PNumEdit_GetDisplayDecimals(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetDisplayDecimals(OrvalisControl* control, int display);
ORVALIS_API int ORVALIS_CALL PNumEdit_GetMinimalZero(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetMinimalZero(OrvalisControl* control, int minimalZero);
ORVALIS_API int ORVALIS_CALL PNumEdit_GetChangeOnExit(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetChangeOnExit(OrvalisControl* control, int onExit);
/* ES_LEFT, ES_RIGHT or ES_CENTER */
ORVALIS_API int ORVALIS_CALL PNumEdit_GetAlignment(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetAlignment(OrvalisControl* control, int alignment);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetOnChange(OrvalisControl* control, OrvalisEvent event, void* context);
/* Keys pressed in the field, those a dialog takes for itself (Tab, Enter) too. */
ORVALIS_API void ORVALIS_CALL PNumEdit_SetOnKeyDown(OrvalisControl* control, OrvalisKeyEvent event, void* context);
ORVALIS_API void ORVALIS_CALL PNumEdit_SetOnMouseWheel(OrvalisControl* control, OrvalisWheelEvent event, void* context);

/* ---- PZipEdit: the postcode edit -------------------------------------- */
ORVALIS_API OrvalisControl* ORVALIS_CALL PZipEdit_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API int ORVALIS_CALL PZipEdit_GetValue(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PZipEdit_SetValue(OrvalisControl* control, const char* postcode);
ORVALIS_API int ORVALIS_CALL PZipEdit_GetChangeOnExit(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PZipEdit_SetChangeOnExit(OrvalisControl* control, int onExit);
ORVALIS_API void ORVALIS_CALL PZipEdit_SetOnChange(OrvalisControl* control, OrvalisEvent event, void* context);

/* ---- PChoice: radio buttons from lines, with an optional "other" editor - */
/* Kinds of the "other" editor. */
enum {
  PChoice_OtherPCurrEdit = 0,
  PChoice_OtherPDateEdit = 1,
  PChoice_OtherPEdit = 2,
  PChoice_OtherPMemo = 3,
  PChoice_OtherPNumEdit = 4,
  PChoice_OtherPPercEdit = 5,
  PChoice_OtherPRichEdit = 6,
  PChoice_OtherPZipEdit = 7
};
ORVALIS_API OrvalisControl* ORVALIS_CALL PChoice_Create(HWND parent, const char* name, int x, int y, int width, int height);
/* One choice per line of `lines` (separated by line feeds), each with tag 0. */
ORVALIS_API void ORVALIS_CALL PChoice_SetLines(OrvalisControl* control, const char* lines);
ORVALIS_API void ORVALIS_CALL PChoice_AddLine(OrvalisControl* control, const char* text, intptr_t tag);
ORVALIS_API int ORVALIS_CALL PChoice_GetLineCount(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PChoice_GetLine(OrvalisControl* control, int index, char* buffer, int size);
/* Removes the first line with this tag. */
ORVALIS_API void ORVALIS_CALL PChoice_Delete(OrvalisControl* control, intptr_t tag);
ORVALIS_API void ORVALIS_CALL PChoice_Refresh(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PChoice_GetAutoHeight(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PChoice_Fit(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PChoice_GetListIndex(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PChoice_SetListIndex(OrvalisControl* control, int index);
ORVALIS_API int ORVALIS_CALL PChoice_GetOtherIsActive(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PChoice_SetOtherIsActive(OrvalisControl* control, int active);
ORVALIS_API int ORVALIS_CALL PChoice_GetOtherType(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PChoice_SetOtherType(OrvalisControl* control, int type);
ORVALIS_API int ORVALIS_CALL PChoice_GetOtherText(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PChoice_SetOtherText(OrvalisControl* control, const char* text);
ORVALIS_API int ORVALIS_CALL PChoice_GetInvertedList(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PChoice_SetInvertedList(OrvalisControl* control, int inverted);
ORVALIS_API int ORVALIS_CALL PChoice_GetHorizontal(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PChoice_SetHorizontal(OrvalisControl* control, int horizontal);
ORVALIS_API int ORVALIS_CALL PChoice_GetAutoAlign(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PChoice_SetAutoAlign(OrvalisControl* control, int align);
ORVALIS_API uint32_t ORVALIS_CALL PChoice_GetTextColor(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PChoice_SetTextColor(OrvalisControl* control, uint32_t colour);
ORVALIS_API void ORVALIS_CALL PChoice_SetOnChange(OrvalisControl* control, OrvalisEvent event, void* context);

/* ---- PLineEdit: the formula editor ------------------------------------ */
ORVALIS_API OrvalisControl* ORVALIS_CALL PLineEdit_Create(HWND parent, const char* name, int x, int y, int width, int height);
/* The stored form of the formula. */
ORVALIS_API int ORVALIS_CALL PLineEdit_GetText(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PLineEdit_SetText(OrvalisControl* control, const char* stored);
/* 0 indicator, 1 column definition; stored for the host */
ORVALIS_API int ORVALIS_CALL PLineEdit_GetType(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PLineEdit_SetType(OrvalisControl* control, int type);
/* The named constants the formula can use, in braces. */
ORVALIS_API void ORVALIS_CALL PLineEdit_ClearConstList(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PLineEdit_AddConst(OrvalisControl* control, const char* name);
ORVALIS_API void ORVALIS_CALL PLineEdit_InsertConst(OrvalisControl* control, int index);
ORVALIS_API int ORVALIS_CALL PLineEdit_GetLocked(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PLineEdit_SetLocked(OrvalisControl* control, int locked);
ORVALIS_API int ORVALIS_CALL PLineEdit_GetSelStart(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PLineEdit_SetSelStart(OrvalisControl* control, int start);
ORVALIS_API int ORVALIS_CALL PLineEdit_GetSelLength(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PLineEdit_SetSelLength(OrvalisControl* control, int length);
ORVALIS_API void ORVALIS_CALL PLineEdit_DeletePos(OrvalisControl* control, int position);
ORVALIS_API int ORVALIS_CALL PLineEdit_CanEdit(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PLineEdit_Display(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PLineEdit_CheckScrolling(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PLineEdit_SetOnChange(OrvalisControl* control, OrvalisEvent event, void* context);
ORVALIS_API void ORVALIS_CALL PLineEdit_SetOnEditVar(OrvalisControl* control, OrvalisEditVarEvent event, void* context);
/* The variable of an OnEditVar event: 0 ordinary, 1 text variable. */
ORVALIS_API int ORVALIS_CALL PVar_GetKind(OrvalisVar* var);
ORVALIS_API void ORVALIS_CALL PVar_SetKind(OrvalisVar* var, int kind);
ORVALIS_API int ORVALIS_CALL PVar_GetCaption(OrvalisVar* var, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PVar_SetCaption(OrvalisVar* var, const char* caption);
ORVALIS_API int ORVALIS_CALL PVar_GetHint(OrvalisVar* var, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PVar_SetHint(OrvalisVar* var, const char* hint);
ORVALIS_API int ORVALIS_CALL PVar_GetTextValue(OrvalisVar* var, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PVar_SetTextValue(OrvalisVar* var, const char* text);
ORVALIS_API int ORVALIS_CALL PVar_GetItemCount(OrvalisVar* var);
ORVALIS_API int ORVALIS_CALL PVar_GetItem(OrvalisVar* var, int index, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PVar_AddItem(OrvalisVar* var, const char* item);
ORVALIS_API void ORVALIS_CALL PVar_ClearItems(OrvalisVar* var);

/* ---- PComboBox: the drop-down list with tags, data and hints ---------- */
ORVALIS_API OrvalisControl* ORVALIS_CALL PComboBox_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API int ORVALIS_CALL PComboBox_GetCount(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PComboBox_GetItem(OrvalisControl* control, int index, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PComboBox_Add(OrvalisControl* control, const char* caption, int data);
/* 0 when the tag is taken already. */
ORVALIS_API int ORVALIS_CALL PComboBox_AddTag(OrvalisControl* control, const char* caption, const char* tag, const char* hint);
ORVALIS_API int ORVALIS_CALL PComboBox_InsertTag(OrvalisControl* control, int index, const char* caption, const char* tag,
                                                 const char* hint);
ORVALIS_API int ORVALIS_CALL PComboBox_DeleteData(OrvalisControl* control, int data);
ORVALIS_API int ORVALIS_CALL PComboBox_DeleteTag(OrvalisControl* control, const char* tag);
ORVALIS_API int ORVALIS_CALL PComboBox_RenameData(OrvalisControl* control, int data, const char* caption);
ORVALIS_API int ORVALIS_CALL PComboBox_RenameTag(OrvalisControl* control, const char* tag, const char* caption);
/* The tag or hint lists as one text, entries separated by line feeds. */
ORVALIS_API void ORVALIS_CALL PComboBox_SetTagList(OrvalisControl* control, const char* tags);
ORVALIS_API void ORVALIS_CALL PComboBox_SetHintList(OrvalisControl* control, const char* hints);
/* The selected item's tag; selecting by tag ignores case and matches whole tags. */
ORVALIS_API int ORVALIS_CALL PComboBox_GetTag(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PComboBox_SetTag(OrvalisControl* control, const char* tag);
ORVALIS_API int ORVALIS_CALL PComboBox_GetData(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PComboBox_SetData(OrvalisControl* control, int data);
ORVALIS_API int ORVALIS_CALL PComboBox_GetPItemIndex(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PComboBox_SetPItemIndex(OrvalisControl* control, int index);
ORVALIS_API void ORVALIS_CALL PComboBox_Clear(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PComboBox_SetOnChange(OrvalisControl* control, OrvalisEvent event, void* context);

/* ---- PCheckListBox: the check list read and written as tags ----------- */
ORVALIS_API OrvalisControl* ORVALIS_CALL PCheckListBox_Create(HWND parent, const char* name, int x, int y, int width, int height);
ORVALIS_API int ORVALIS_CALL PCheckListBox_GetItemCount(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PCheckListBox_Add(OrvalisControl* control, const char* caption);
ORVALIS_API int ORVALIS_CALL PCheckListBox_AddTag(OrvalisControl* control, const char* caption, const char* tag);
ORVALIS_API void ORVALIS_CALL PCheckListBox_Clear(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PCheckListBox_GetChecked(OrvalisControl* control, int index);
ORVALIS_API void ORVALIS_CALL PCheckListBox_SetChecked(OrvalisControl* control, int index, int checked);
/* The checked items' tags, separated by line feeds; setting checks exactly those. */
ORVALIS_API int ORVALIS_CALL PCheckListBox_GetTags(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PCheckListBox_SetTags(OrvalisControl* control, const char* tags);
ORVALIS_API void ORVALIS_CALL PCheckListBox_LoadTheme(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PCheckListBox_SetOnClickCheck(OrvalisControl* control, OrvalisItemEvent event, void* context);

/* ---- PTreeView: the tree of items with tags and data ------------------ */
/* Looks: 0 dynamic, 1 as a tree, 2 no tree lines, 3 no root lines */
ORVALIS_API OrvalisControl* ORVALIS_CALL PTreeView_Create(HWND parent, const char* name, int x, int y, int width, int height);
/* The invisible root; the host adds the top items to it. */
ORVALIS_API OrvalisTreeItem* ORVALIS_CALL PTreeView_GetRoot(OrvalisControl* control);
/* Makes the nodes of the item's children: call with the root after filling. */
ORVALIS_API void ORVALIS_CALL PTreeView_CreateNodes(OrvalisControl* control, OrvalisTreeItem* item);
ORVALIS_API void ORVALIS_CALL PTreeView_Expand(OrvalisControl* control, OrvalisTreeItem* item);
ORVALIS_API void ORVALIS_CALL PTreeView_Collapse(OrvalisControl* control, OrvalisTreeItem* item);
ORVALIS_API void ORVALIS_CALL PTreeView_FullCollapse(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PTreeView_Clear(OrvalisControl* control);
ORVALIS_API OrvalisTreeItem* ORVALIS_CALL PTreeView_GetSelectedItem(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PTreeView_SetSelectedItem(OrvalisControl* control, OrvalisTreeItem* item);
ORVALIS_API int ORVALIS_CALL PTreeView_GetTag(OrvalisControl* control, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PTreeView_SetTag(OrvalisControl* control, const char* tag);
ORVALIS_API int ORVALIS_CALL PTreeView_GetData(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PTreeView_SetData(OrvalisControl* control, int data);
ORVALIS_API int ORVALIS_CALL PTreeView_GetHasTag(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PTreeView_GetText(OrvalisControl* control, char* buffer, int size);
ORVALIS_API int ORVALIS_CALL PTreeView_GetSelCount(OrvalisControl* control);
ORVALIS_API int ORVALIS_CALL PTreeView_GetSelItem(OrvalisControl* control, int index);
/* Every tagged item's tag, separated by line feeds. */
ORVALIS_API int ORVALIS_CALL PTreeView_GetTags(OrvalisControl* control, char* buffer, int size);
ORVALIS_API int ORVALIS_CALL PTreeView_GetTreeOption(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PTreeView_SetTreeOption(OrvalisControl* control, int option);
ORVALIS_API int ORVALIS_CALL PTreeView_GetAsTree(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PTreeView_SetAsTree(OrvalisControl* control, int asTree);
ORVALIS_API int ORVALIS_CALL PTreeView_GetMultiSelect(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PTreeView_SetMultiSelect(OrvalisControl* control, int on);
ORVALIS_API int ORVALIS_CALL PTreeView_GetNeedTag(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PTreeView_SetNeedTag(OrvalisControl* control, int on);
ORVALIS_API int ORVALIS_CALL PTreeView_GetNoDblClick(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PTreeView_SetNoDblClick(OrvalisControl* control, int on);
ORVALIS_API int ORVALIS_CALL PTreeView_GetOrgFullCollapse(OrvalisControl* control);
ORVALIS_API void ORVALIS_CALL PTreeView_SetOrgFullCollapse(OrvalisControl* control, int on);
ORVALIS_API void ORVALIS_CALL PTreeView_SetOnChanged(OrvalisControl* control, OrvalisEvent event, void* context);
ORVALIS_API void ORVALIS_CALL PTreeView_SetOnDblClick(OrvalisControl* control, OrvalisEvent event, void* context);
ORVALIS_API OrvalisTreeItem* ORVALIS_CALL PTreeItem_AddChild(OrvalisTreeItem* item, const char* text, int data);
ORVALIS_API int ORVALIS_CALL PTreeItem_GetChildCount(OrvalisTreeItem* item);
ORVALIS_API OrvalisTreeItem* ORVALIS_CALL PTreeItem_GetChild(OrvalisTreeItem* item, int index);
ORVALIS_API OrvalisTreeItem* ORVALIS_CALL PTreeItem_GetParent(OrvalisTreeItem* item);
ORVALIS_API int ORVALIS_CALL PTreeItem_GetText(OrvalisTreeItem* item, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PTreeItem_SetText(OrvalisTreeItem* item, const char* text);
ORVALIS_API int ORVALIS_CALL PTreeItem_GetData(OrvalisTreeItem* item);
ORVALIS_API void ORVALIS_CALL PTreeItem_SetData(OrvalisTreeItem* item, int data);
ORVALIS_API int ORVALIS_CALL PTreeItem_GetTag(OrvalisTreeItem* item, char* buffer, int size);
ORVALIS_API void ORVALIS_CALL PTreeItem_SetTag(OrvalisTreeItem* item, const char* tag);
ORVALIS_API void ORVALIS_CALL PTreeItem_SetImages(OrvalisTreeItem* item, int image, int selectedImage);

#ifdef __cplusplus
}
#endif

#endif /* ORVALIS_CONTROLS_H */
