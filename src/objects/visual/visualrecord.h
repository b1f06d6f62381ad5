// What the screen objects of a page (pictures, form controls, buttons,
// multimedia, floating frames, marker glyphs) read from and write to their
// records without a display: which screen class a record gets, its size,
// the values of form controls, the click-zone table of a placed image and
// the size changes a resize writes back. The widgets, the printer and
// `tarn-cli render` share these rules.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/placedrecords.h"

namespace tarn::document {
class TAEHoggetto;
class TAEHset;
}  // namespace tarn::document

namespace tarn::objects::visual {

using document::TAEHoggetto;

// The screen class a record is shown with; None: no screen object.
enum class VisualClass {
  None,
  Image,       // TMyyImage
  BelPanel,    // TMyyBelPanel: a marker glyph
  InizioForm,  // TMyyInizioForm: the form-start glyph
  Button,      // TMyyButton
  Multimedia,  // TMyyMultimedia
  Edit,        // TMyyEdit
  Memo,        // TMyyMemo
  RadioButton, // TMyyRadioButton
  CheckBox,    // TMyyCheckBox
  ListBox,     // TMyyListBox
  ComboBox,    // TMyyComboBox
  Floating,    // TMyyFloating
};

VisualClass ClassOf(int kind, int subtype);
VisualClass ClassOf(const TAEHoggetto& record);
// The class's name as the code calls it ("TMyyImage", ...).
std::string_view ClassName(VisualClass visual);
// The undo caption of a modification, and of a resize ("" when the class
// does not resize with a step of its own).
std::string_view UndoCaption(VisualClass visual);
std::string_view ResizeCaption(VisualClass visual);
// Whether the author can resize it with the handles.
bool Resizable(const TAEHoggetto& record);

// Sizes of the controls a form shows, in the editor's window font: the
// letter "h", the paragraph-style box, a list item and the reference list
// box; the multimedia player; glyphs and check marks.
inline constexpr int kLetterWidth = 6;
inline constexpr int kStyleBoxHeight = 21;
inline constexpr int kListItemHeight = 13;
inline constexpr int kListBoxWidth = 121;
inline constexpr int kPlayerWidth = 253;
inline constexpr int kPlayerHeight = 30;
inline constexpr int kGlyphSize = 18;
inline constexpr int kCheckSize = 13;
inline constexpr int kDefaultObjectSize = 100;
// A screen object before its record sizes it.
inline constexpr int kCreatedSize = 105;
// Sizes that a damaged record cannot push beyond.
inline constexpr int kMaxObjectSize = 8000;

// The size an object takes on screen. A percent width is relative to the
// width available on its line; a percent height to the container's height.
struct ScreenSize {
  int width = kDefaultObjectSize;
  int height = kDefaultObjectSize;
  int percentWidth = -1;   // of the available width, when set
  int percentHeight = -1;  // of the container height, when set
};
ScreenSize ObjectScreenSize(const TAEHoggetto& record);
// The size in pixels, percentages resolved (an unknown available width or
// container height counts as 100 pixels), clamped to 1..kMaxObjectSize.
struct PixelSize {
  int width = 0;
  int height = 0;
};
PixelSize ResolveSize(const ScreenSize& size, int availableWidth, int containerHeight);

// ---- Placed images ----

// The display size of a placed image; a picture whose natural size differs
// from the stored one resets both (the picture was replaced since).
// Without a picture, the stored display size, or 100 for a zero value.
PixelSize ImageDisplaySize(TAEHoggetto& placed);
// Zoom to a percentage of the picture's natural size (100 x 100 without one).
void ZoomImage(TAEHoggetto& placed, int percent);
// A resize: stores the new display size and scales every zone by the
// ratio of the new to the old size, in integer steps of 1/1000.
void ResizeImage(TAEHoggetto& placed, int width, int height);

// ---- Click zones ----

struct Zone {
  document::ObjectId link = 0;  // 0: no link
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};
// The zones in use, from entry 0 (the topmost) on.
std::vector<Zone> ReadZones(const TAEHoggetto& placed);
// Writes the zones to entries 0, 1, ...; the rest become free. A table
// holds 30: zones beyond are not written.
void WriteZones(TAEHoggetto& placed, const std::vector<Zone>& zones);
// One entry as the clipboard carries it (16 bytes), and back.
std::string ZoneEntryBytes(const Zone& zone);
bool ZoneFromEntryBytes(std::string_view bytes, Zone& zone);
// The clipboard format of a zone: the value 2, then its entry.
std::string ZoneClipboardBytes(const Zone& zone);
bool ZoneFromClipboardBytes(std::string_view bytes, Zone& zone);
// Where a new zone goes for a mouse-down point on an image: a point beyond
// the image comes back 10 pixels inside its edge.
Zone NewZoneAt(int x, int y, int imageWidth, int imageHeight);
// The new coordinate of a zone edge when the image goes from `from` to
// `to` pixels.
int ScaleCoordinate(int value, int to, int from);

// ---- Form controls ----

// The value of a control as the form sends it, from its record.
// Check boxes and radio buttons: the value at 97 when checked.
std::string CheckedValue(const TAEHoggetto& field, bool checked);
// The item a list or combo box selects at first: the last flagged one
// (-1 for a list without any; a combo box then selects item 0).
int InitialSelection(const std::vector<document::ListItem>& items, bool combo);
bool ItemFlagged(const document::ListItem& item);
// The value line of item i, "" when there is none.
std::string ItemValue(const std::vector<document::ListItem>& items, int index);

// ---- Marker glyphs ----

struct Glyph {
  std::string_view name;  // "" when the panel shows a coloured square
  int width = kGlyphSize;
};
// The glyph of a label panel (kinds 11, 20 subtype 5, 21 subtypes 11 and
// 12, 23) and of a data-source marker (kind 24 subtype 7, kind 13).
Glyph GlyphOf(const TAEHoggetto& record);

// ---- Floating frames ----

// The page a floating frame shows, or -1.
int FloatingPage(const TAEHoggetto& frame);
// Stores a resize of a floating frame (percentages when the frame is sized
// in percent).
void ResizeFloating(TAEHoggetto& frame, int width, int height, int availableWidth, int containerHeight);

// ---- Buttons and multimedia ----

void ResizeButton(TAEHoggetto& button, int width, int height);
void ResizeMultimedia(TAEHoggetto& media, int width, int height, int availableWidth, int containerHeight);

// The caption shown for an object that has no picture to show: the name
// of the picture file, or of the object.
std::string PlaceholderName(const TAEHoggetto& record);

}  // namespace tarn::objects::visual
