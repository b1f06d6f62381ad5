// A hypertext with a link of every kind, for the navigation tests and for
// trying the main window by hand: page, address, e-mail, another
// hypertext, a program, an embedded file, and special links to anchors,
// windows, a pop-up and the next page; twenty pages in all, so that the
// go-to menus fill up. Beside it, a second hypertext for the link to
// another file.
#pragma once

#include <filesystem>
#include <string>

namespace tarn::testing {

struct NavigationFiles {
  std::filesystem::path main;   // "navigation.aeh"
  std::filesystem::path other;  // "other.aeh", linked from the cover
};

// The links of the cover, in text order, by the words that carry them.
inline constexpr const char* kPageLinkText = "Links page";
inline constexpr const char* kAddressLinkText = "example site";
inline constexpr const char* kMailLinkText = "write to us";
inline constexpr const char* kOtherLinkText = "other book";
inline constexpr const char* kNextLinkText = "next page";
inline constexpr const char* kJumpLinkText = "far anchor";
inline constexpr const char* kWindowLinkText = "side window";
inline constexpr const char* kPopupLinkText = "pop-up";
inline constexpr const char* kFileLinkText = "notes file";
inline constexpr const char* kProgramLinkText = "run editor";
inline constexpr const char* kCloseLinkText = "close side";

inline constexpr int kNavigationPages = 20;
// The page with the far anchor (a5), and the anchor's number.
inline constexpr int kFarPage = 3;
inline constexpr int kFarAnchor = 5;
// The page "Anchors": a link at its top to anchor a3 at its bottom.
inline constexpr int kAnchorsPage = 2;
inline constexpr int kNearAnchor = 3;
inline constexpr const char* kNearAnchorLinkText = "to the end";
// The page whose header is another page and whose next slide is set.
inline constexpr int kSlidePage = 4;
inline constexpr int kSlideHeader = 5;
inline constexpr int kSlideTarget = 6;
// The registry value the program link names, below the settings' root.
inline constexpr const char* kProgramLinkValue = "\\SOFTWARE\\LF\\Tarn3.0proE\\navtest\\editor";

NavigationFiles WriteNavigationHypertexts(const std::filesystem::path& folder);

}  // namespace tarn::testing
