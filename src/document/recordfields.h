// Offsets of the record fields that the document layer itself reads or
// writes; the other bytes of a record belong to the layers that edit it.
#pragma once

namespace tarn::document::field {

constexpr int kSubtype = 4;
constexpr int kPageBgImage = 85;
constexpr int kPageTextColour = 89;
constexpr int kPageLinkColour = 93;
constexpr int kPageVisitedColour = 97;
constexpr int kPageBgColour = 101;
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
constexpr int kFileRevision = 89;       // kinds 1..3
constexpr int kImageRevision = 77;      // kinds 5, 6
constexpr int kImageWidth = 85;
constexpr int kImageHeight = 87;
constexpr int kImageFileName = 94;      // string[75]
constexpr int kImageTransparency = 170;
constexpr int kImageZones = 182;
constexpr int kImageClickOrigin = 662;
constexpr int kImageLastByte = 666;
constexpr int kProgramFileName = 81;    // string[127]
constexpr int kFrameDescStart = 101;
constexpr int kFrameWriterValue = 97;
constexpr int kTableCells81 = 81;
constexpr int kTableLength16 = 85;
constexpr int kShortValue = 5;
constexpr int kSpecialWindow = 19;
constexpr int kPlacedZones = 73;
constexpr int kButtonLink = 181;
constexpr int kZoneCount = 30;
constexpr int kZoneSize = 16;
constexpr int kImageName = 5;            // string[71]
constexpr int kImageSubtype = 4;
constexpr int kImageLength = 174;
constexpr int kImageZonesBytes = 480;
constexpr int kPageTitle = 5;            // string[71]
constexpr int kPageBrowseGroup = 77;
constexpr int kPageBrowseNumber = 79;
constexpr int kPageKeywords = 105;       // 20 keyword indexes
constexpr int kPlacedImage = 0;
constexpr int kPlacedImage2 = 5;
constexpr int kPlacedImage3 = 9;
constexpr int kPlacedNaturalWidth = 15;
constexpr int kPlacedNaturalHeight = 17;
constexpr int kPlacedWidth = 19;
constexpr int kPlacedHeight = 21;
constexpr int kPlacedAltText = 28;       // string[32]
constexpr int kLinkUrl = 5;              // string[127]
constexpr int kStyleName = 5;            // string[32]
constexpr int kStyleFont = 39;           // string[32]
constexpr int kStyleSize = 72;
constexpr int kStyleDefinition = 72;     // 43 bytes compared by SameContent
constexpr int kStyleDefinitionBytes = 43;
constexpr int kStyleSpace86 = 86;
constexpr int kStyleSpace88 = 88;

// Links, anchors, keywords and the fields the reference bookkeeping reads.
constexpr int kPageFrameMap = 81;        // index of the page's kind 9 frame map, -1 none
constexpr int kPageKeywordSlots = 20;
constexpr int kPageHtmlName = 247;       // string[40], the additional HTML name
constexpr int kPageHtmlNameCapacity = 40;
constexpr int kLinkUrlCapacity = 127;
constexpr int kSpecialAnchor = 9;        // anchor number in the target page, -1 none
constexpr int kSpecialTarget = 13;       // ObjectId
constexpr int kSpecialTargetKind = 17;   // 0 a page, 1 a frame set
constexpr int kSpecialAction = 18;       // window action
constexpr int kSpecialWindowCapacity = 33;
constexpr int kWindowDescriptionSize = 22;
constexpr int kKeywordText = 0;          // string[79]
constexpr int kEmbeddedFileName = 5;     // kinds 2 and 3, string[79]
constexpr int kObjectName = 17;          // kinds 12, 13 and 20..23
constexpr int kFieldValue = 97;          // kind 20, string[79]; kind 22 the caption
constexpr int kFieldHasValue = 180;
constexpr int kFrameTarget = 108;        // kind 20 subtype 18: page shown
constexpr int kFrameImage = 112;         // kind 20 subtype 18: image index
constexpr int kButtonImage = 177;
constexpr int kMediaReference = 17;      // kind 24: embedded file or prototype
constexpr int kMediaAltImage = 21;
constexpr int kMediaWidth = 33;
constexpr int kMediaHeight = 35;
constexpr int kMediaPercent = 37;
constexpr int kDataImage = 47;           // kind 13: image index
constexpr int kDataObjects = 51;         // kind 13: four ObjectIds of kind 11 objects

}  // namespace tarn::document::field
