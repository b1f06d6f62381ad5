// Offsets of the fields of the object records, and the values of their
// fields that code tests for, one section per record kind: a field is named
// here once and everywhere else by its name. Fields not named here are kept
// byte for byte. The capacities are those of short strings (a length byte
// and at most that many characters).
#pragma once

#include <cstdint>
#include <string_view>

namespace tarn::document::field {

// ---- Every kind ----
constexpr int kContentOffset = 0;  // where the content block starts, for kinds that have one
constexpr int kSubtype = 4;        // also the free marker; kind 4 has none
// The subtypes of a free and of a new record of kinds 8, 10..13, 16..24
// (the other kinds have their own below).
constexpr std::uint8_t kObjectFree = 0;
constexpr std::uint8_t kObjectNew = 1;

// ---- Kind 0, page ----
constexpr int kPageTitle = 5;
constexpr int kPageTitleCapacity = 71;
constexpr int kPageBrowseGroup = 77;
constexpr int kPageBrowseNumber = 79;
constexpr int kPageFrameMap = 81;        // index of the page's kind 9 frame map, -1 none
constexpr int kPageBgImage = 85;
constexpr int kPageTextColour = 89;
constexpr int kPageLinkColour = 93;
constexpr int kPageVisitedColour = 97;
constexpr int kPageBgColour = 101;
constexpr int kPageKeywords = 105;       // 20 keyword indexes
constexpr int kPageKeywordSlots = 20;
constexpr int kPageBrowseOut = 189;
constexpr int kPageLanguage = 191;
constexpr int kPageGeneration = 195;
constexpr int kPageRevision = 196;
constexpr int kPageZero200 = 200;
constexpr int kPageSlideDelay = 221;
constexpr int kPage223 = 223;
constexpr int kPageSlideTarget = 227;
constexpr int kPageHeaderChoice = 231;
constexpr int kPageFooterChoice = 235;
constexpr int kPageHtmlName = 247;       // the additional HTML name
constexpr int kPageHtmlNameCapacity = 40;
constexpr std::uint8_t kPageInUse = 0;
constexpr std::uint8_t kPageFree = 3;
constexpr int kPageShorterSize = 242;    // written by early releases

// ---- Kind 1, link ----
constexpr int kLinkUrl = 5;
constexpr int kLinkUrlCapacity = 127;
constexpr std::uint8_t kLinkNew = 4;
constexpr std::uint8_t kLinkFree = 5;
constexpr std::uint8_t kLinkInternal = 6;  // "tarn:"
constexpr std::uint8_t kLinkWeb = 7;       // "http:"
constexpr std::uint8_t kLinkMail = 8;      // "mailto:"

// ---- Kinds 2 and 3, embedded file ----
constexpr int kEmbeddedFileName = 5;
constexpr int kEmbeddedFileNameCapacity = 79;
constexpr int kFileRevision = 89;       // also kind 1
constexpr std::uint8_t kEmbeddedInUse = 4;
constexpr std::uint8_t kEmbeddedFree = 5;
constexpr int kEmbeddedShorterSize = 92;

// ---- Kind 4, keyword ----
constexpr int kKeywordText = 0;
constexpr int kKeywordCapacity = 79;
constexpr std::string_view kFreeKeyword = "-";

// ---- Kinds 5 and 6, image ----
constexpr int kImageName = 5;
constexpr int kImageNameCapacity = 71;
constexpr int kImageRevision = 77;
constexpr int kImageWidth = 85;
constexpr int kImageHeight = 87;
constexpr int kImageFileName = 94;
constexpr int kImageFileNameCapacity = 75;
constexpr int kImageTransparency = 170;
constexpr int kImageLength = 174;
constexpr int kImageZones = 182;
constexpr int kImageZonesBytes = 480;
constexpr int kImageClickOrigin = 662;
constexpr int kImageLastByte = 666;
constexpr std::uint8_t kImageGif = 0;
constexpr std::uint8_t kImageFree = 3;
constexpr int kImageShorterSize = 666;

// ---- Kind 7, program ----
constexpr int kProgramName = 5;
constexpr int kProgramNameCapacity = 75;
constexpr int kProgramFileName = 81;
constexpr int kProgramFileNameCapacity = 127;
constexpr std::uint8_t kProgramFree = 1;

// ---- Kind 8, table ----
constexpr int kTableColumnKinds = 5;     // one byte per column: 0 percent, 1 pixels, 2 free
constexpr int kTablePercentWidth = 55;   // 1: the width is a percentage
constexpr int kTablePixelWidth = 56;     // 16-bit
constexpr int kTableExtraOffset = 58;
constexpr int kTableStyle = 66;          // the new-table dialog's style, 0..11
constexpr int kTableCells81 = 81;
constexpr int kTableLength16 = 85;
constexpr int kTable88 = 88;
constexpr int kTableWidthPercent = 89;
constexpr int kTablePadding = 90;
constexpr int kTableSpacing = 91;
constexpr int kTableBorder = 92;
constexpr int kTableRows = 93;
constexpr int kTableColumns = 94;
constexpr int kTableAlignment = 95;
constexpr int kTableVerticalAlignment = 96;
constexpr int kTableColumnSizes = 97;    // 16-bit per column
constexpr int kTableZero197 = 197;
constexpr int kTableZero201 = 201;
constexpr int kTableZero205 = 205;
constexpr int kTableBackground = 207;    // the table box's background, encoded as a cell's
constexpr int kTableLightFrame = 211;
constexpr int kTableDarkFrame = 215;
constexpr int kTableForm = 219;          // 2; 1 for a record upgraded from the shorter form
constexpr int kTableShorterSize = 219;   // records of this size or smaller have the shorter form
constexpr std::uint8_t kTableNew = 2;
constexpr int kMaxTableRows = 255;
constexpr int kMaxTableColumns = 50;
// The width kinds of a column.
constexpr std::uint8_t kColumnPercent = 0;
constexpr std::uint8_t kColumnPixels = 1;
constexpr std::uint8_t kColumnFree = 2;
// A background value (of the table or of a cell in the content data) from
// this one on names an image by its low 24 bits; below it is a colour, -1
// transparent.
constexpr std::int32_t kBackgroundImage = 0x03000000;

// ---- Kind 9, frame set (frame map) ----
constexpr int kFrameMapName = 5;
constexpr int kFrameMapNameCapacity = 79;
constexpr int kFrameRecordSizeField = 89;  // record size used
constexpr int kFrameWriterValue = 97;
constexpr int kFrameDescStart = 101;
constexpr std::uint8_t kFrameMapFree = 1;
constexpr std::uint8_t kFrameMapNew = 2;

// ---- Kind 10, special link ----
constexpr int kSpecialAnchor = 9;        // anchor number in the target page, -1 none
constexpr int kSpecialTarget = 13;       // ObjectId
constexpr int kSpecialTargetKind = 17;   // 0 a page, 1 a frame set
constexpr int kSpecialAction = 18;       // window action
constexpr int kSpecialWindow = 19;
constexpr int kSpecialWindowCapacity = 33;
constexpr int kWindowDescriptionSize = 22;  // the content: a window's size, place and switches

// ---- Kind 11, short object ----
constexpr int kShortValue = 5;           // an anchor number or a referenced ObjectId
constexpr std::uint8_t kShortComment = 10;   // its text in the content data
constexpr std::uint8_t kShortRawHtml = 11;    // its text in the extra data
constexpr std::uint8_t kShortLauncher = 13;   // a script that opens or closes a window (a special link)
constexpr std::uint8_t kShortAnchor = 14;
constexpr std::uint8_t kShortMarker = 15;
constexpr std::uint8_t kShortParameter = 27;

// ---- Kinds 12, 13 and 20..23: named objects ----
constexpr int kObjectName = 17;
constexpr int kPrototypeNameCapacity = 40;   // kind 12
constexpr int kDataSourceNameCapacity = 15;  // kind 13
constexpr int kFormNameCapacity = 79;        // kinds 20..22
constexpr int kFormStartNameCapacity = 255;  // kind 23: the action
constexpr int kFormEncoding = 273;           // kind 23, after the action
constexpr int kFormEncodingCapacity = 79;
// Kind 23 subtypes: how the form is sent.
constexpr std::uint8_t kFormGet = 1;
constexpr std::uint8_t kFormPost = 2;
constexpr std::uint8_t kFormMail = 4;        // the action is a mail address

// ---- Kind 13, data source ----
constexpr int kData46 = 46;
constexpr int kDataImage = 47;           // image index
constexpr int kDataObjects = 51;         // ObjectIds of kind 11 objects
constexpr int kDataObjectCount = 4;
constexpr std::uint8_t kDataSourceNew = 7;

// ---- Kind 16, placed image ----
constexpr int kPlacedImage = 0;
constexpr int kPlacedImage2 = 5;          // the low-resolution image, negative none
constexpr int kPlacedImage3 = 9;          // the roll-over image, negative none
constexpr int kPlacedAlignment = 13;     // 0 left, 1 right, 2 centre, 3 top, 4 middle, 5 bottom
constexpr int kPlaced14 = 14;
constexpr int kPlacedNaturalWidth = 15;
constexpr int kPlacedNaturalHeight = 17;
constexpr int kPlacedWidth = 19;
constexpr int kPlacedHeight = 21;
constexpr int kPlaced23 = 23;
constexpr int kPlacedAltText = 28;
constexpr int kPlacedAltTextCapacity = 32;
constexpr int kPlacedZones = 73;
constexpr int kZoneCount = 30;           // also the image's zones
constexpr int kZoneSize = 16;
// A zone entry: the link's ObjectId (-1 a free entry, 0 a zone without
// link), 4 bytes of 0, then left, top, width and height (16-bit, pixels
// from the image's corner).
constexpr int kZoneLeft = 8;
constexpr int kZoneTop = 10;
constexpr int kZoneWidth = 12;
constexpr int kZoneHeight = 14;

// ---- Kind 17, paragraph style ----
namespace style {
constexpr int kName = 5;
constexpr int kNameCapacity = 32;
constexpr int kFace = 39;
constexpr int kFaceCapacity = 32;
constexpr int kSize = 72;                // 16-bit
constexpr int kColour = 74;              // 32-bit
constexpr int kStyleBits = 78;
constexpr int kLinkSize = 79;            // 16-bit, -1 = the text's size
constexpr int kLinkColour = 81;          // 32-bit
constexpr int kLinkStyle = 85;
constexpr int kLeftMargin = 86;          // 16-bit pixels
constexpr int kRightMargin = 88;
constexpr int kSpaceBefore = 90;
constexpr int kSpaceAfter = 92;
constexpr int kLineHeight = 94;
constexpr int kAutomaticLineHeight = -32000;
constexpr int kIndent = 96;
constexpr int kUnit = 98;
constexpr int kAlignment = 99;
constexpr int kListKind = 100;
constexpr int kPByte = 101;
constexpr int kPosition = 102;
// What SameContent compares: the definition from the size on.
constexpr int kDefinition = kSize;
constexpr int kDefinitionBytes = 43;
constexpr std::uint8_t kInUse = 1;      // (0: free)
// The style bits (also of format tags and links).
constexpr std::uint8_t kBold = 1;
constexpr std::uint8_t kItalic = 2;
constexpr std::uint8_t kUnderline = 4;
constexpr std::uint8_t kStrikeout = 8;
// The list kinds.
constexpr std::uint8_t kListNone = 0;
constexpr std::uint8_t kListNumbered = 6;
constexpr std::uint8_t kListBullet = 10;
}  // namespace style

// ---- Kinds 20..24: form objects and multimedia ----
constexpr int kFieldValue = 97;          // kind 20; kind 22 the caption
constexpr int kFieldValueCapacity = 79;
constexpr int kFieldColumns = 177;       // kinds 20 and 21, a memo's columns
constexpr int kFieldRows = 178;          // a memo's rows
constexpr int kFieldSize = 179;          // an edit's width in characters, a list's rows
constexpr int kFieldHasValue = 180;
constexpr int kFieldChecked = 181;       // a check box or radio button checked at first
constexpr int kFieldMultiple = 182;      // a list with multiple selection
// Kind 20 subtypes.
constexpr std::uint8_t kFieldEdit = 1;
constexpr std::uint8_t kFieldPassword = 2;
constexpr std::uint8_t kFieldFile = 3;
constexpr std::uint8_t kFieldMemo = 4;
constexpr std::uint8_t kFieldHidden = 5;
constexpr std::uint8_t kFieldRadio = 6;
constexpr std::uint8_t kFieldCheckBox = 7;
constexpr std::uint8_t kFieldList = 8;
constexpr std::uint8_t kFieldCombo = 9;
constexpr std::uint8_t kFloatingFrame = 18;  // kind 20 subtype
constexpr int kFrameTarget = 108;        // kind 20 subtype 18: page shown
constexpr int kFrameImage = 112;         // kind 20 subtype 18: image index
constexpr int kFrameShowNested = 116;    // 1: the page is shown with its frame set
// The floating frame's HTML attributes: where the window, scrolling and
// margins of the frame element are kept (bytes the value field leaves free
// for this subtype).
constexpr int kFrameLinkTarget = 117;    // 0 _top, 1 _self, 2 _parent, 3 _blank
constexpr int kFrameScrolling = 118;     // 0 no, 1 yes
constexpr int kFrameNoExtra = 119;       // 1: the extra attributes are not written
constexpr int kFrameBorderColour = 120;  // 32-bit
constexpr int kFrameMarginHeight = 124;  // 16-bit
constexpr int kFrameMarginWidth = 126;   // 16-bit
constexpr int kFrameAutoJump = 177;
constexpr int kFramePercent = 178;       // sizes in percent
constexpr int kFrameHeight = 180;        // 16-bit
constexpr int kFrameWidth = 182;         // 16-bit
constexpr int kButtonImage = 177;        // kind 22
constexpr int kButtonLink = 181;         // kind 22: a special link
constexpr std::uint8_t kButtonSubmit = 1;
constexpr std::uint8_t kButtonImageButton = 2;
constexpr std::uint8_t kButtonReset = 3;
constexpr int kButtonNaturalWidth = 186;   // kind 22, 16-bit: -1 in a record upgraded from the shorter form
constexpr int kButtonNaturalHeight = 188;
constexpr int kButtonWidth = 190;          // the display size
constexpr int kButtonHeight = 192;
constexpr int kButtonFullSize = 195;     // a kind 22 record shorter than this has the shorter form
constexpr int kMediaReference = 17;      // kind 24: embedded file or prototype
constexpr int kMediaAltImage = 21;
constexpr int kMediaHideButtons = 25;     // 1: no buttons, played in a loop in the background
constexpr int kMediaRepetitions = 27;     // signed: -1 for ever
constexpr int kMediaRepetitionsLeft = 31; // 16-bit
constexpr int kMediaWidth = 33;
constexpr int kMediaHeight = 35;
constexpr int kMediaPercent = 37;
constexpr std::uint8_t kMediaLastSound = 2;  // subtypes up to this one are sounds, the others videos
constexpr std::uint8_t kMediaReferenced = 5;
constexpr std::uint8_t kMediaCustom = 6;     // an instance of a custom prototype

}  // namespace tarn::document::field
