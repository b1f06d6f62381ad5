// The page setup: the printer in use, its paper and the margins, with the
// printer profile stored in the settings (or an INI file) and the values
// derived from the paper that printing converts with. Showing the dialog is
// the window's (print/ui); everything it then applies is here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarn::platform {
class Messages;
class Printer;
class Settings;
}  // namespace tarn::platform

namespace tarn::print {

// The options, one bit each, in their published order.
enum TPageSetupFlag : std::uint32_t {
  poDefaultMinMargins = 1u << 0,
  poDisableMargins = 1u << 1,
  poMargins = 1u << 2,
  poMinMargins = 1u << 3,
  poDisableOrientation = 1u << 4,
  poDisablePaper = 1u << 5,
  poDisablePrinter = 1u << 6,
  poHundredthsOfMillimeters = 1u << 7,
  poThousandthsOfInches = 1u << 8,
};
using TPageSetupFlags = std::uint32_t;

inline constexpr std::string_view kNoPrinters =
    "No printers available in Windows.\rPlease exit from the application and use Control Panel in order to add "
    "printers.";
inline constexpr std::string_view kProfilePrefix = "PrnSettings_";
// The main window's profile.
inline constexpr std::string_view kMainRegString = "\\Software\\LF\\printerProfiles";
inline constexpr std::string_view kMainIniSettings = "PrinterSettings1";
inline constexpr int kDefaultMargin = 2500;

class TPageSetupDialog {
 public:
  // A new component: options poDefaultMinMargins, poMargins, poMinMargins
  // and poHundredthsOfMillimeters, no margins.
  TPageSetupDialog(platform::Printer& printer, platform::Settings& settings, platform::Messages& messages);

  TPageSetupFlags Options() const { return m_options; }
  void SetOptions(TPageSetupFlags options);
  bool Has(TPageSetupFlag flag) const { return (m_options & flag) != 0; }

  // Margins in the unit the options choose. A value that breaks the rules
  // (a margin not above its left minimum, or below another minimum; a
  // minimum above its margin) leaves the property as it was.
  int MarginLeft() const { return m_marginLeft; }
  int MarginTop() const { return m_marginTop; }
  int MarginRight() const { return m_marginRight; }
  int MarginBottom() const { return m_marginBottom; }
  int MinMarginLeft() const { return m_minLeft; }
  int MinMarginTop() const { return m_minTop; }
  int MinMarginRight() const { return m_minRight; }
  int MinMarginBottom() const { return m_minBottom; }
  void SetMarginLeft(int value);
  void SetMarginTop(int value);
  void SetMarginRight(int value);
  void SetMarginBottom(int value);
  void SetMinMarginLeft(int value);
  void SetMinMarginTop(int value);
  void SetMinMarginRight(int value);
  void SetMinMarginBottom(int value);
  // All four margins through the rules, as the dialog hands them back.
  void TakeMargins(int left, int top, int right, int bottom);

  // The margins in hundredths of a millimetre whatever the unit.
  int LeftHundredths() const { return ToHundredths(m_marginLeft); }
  int TopHundredths() const { return ToHundredths(m_marginTop); }
  int RightHundredths() const { return ToHundredths(m_marginRight); }
  int BottomHundredths() const { return ToHundredths(m_marginBottom); }
  // A length in hundredths of a millimetre in the unit the options choose.
  int FromHundredths(int hundredths) const;

  std::string IniFile;
  std::string RegString;
  const std::string& IniSettings() const { return m_iniSettings; }
  // Names the stored profile and loads it (when a printer exists).
  void SetIniSettings(std::string name);

  // Derived from the current printer's paper, recomputed after every change
  // of printer or margins: the paper in hundredths of a millimetre and the
  // printer pixels per hundredth of a millimetre.
  int PaperWidth() const { return m_paperWidth; }
  int PaperHeight() const { return m_paperHeight; }
  float HorizontalScale() const { return m_horizontalScale; }
  float VerticalScale() const { return m_verticalScale; }

  // Takes the current printer's paper without showing anything.
  void Refresh();
  // Whether there is a printer; without one the author is told and the
  // caller stops.
  bool CheckPrinters();
  // Writes the profile: the printer, its device settings and the margins.
  void SaveSettings();
  // Reads the profile; false when nothing was read.
  bool LoadSettings();

  platform::Printer& PrinterObject() { return m_printer; }
  platform::Messages& MessagesObject() { return m_messages; }
  // The key (or INI section) of the profile.
  std::string ProfileKey() const;

 private:
  int ToHundredths(int value) const;
  bool LoadFrom(platform::Settings& store, const std::string& key, bool fromIni);
  void SaveTo(platform::Settings& store, const std::string& key);

  platform::Printer& m_printer;
  platform::Settings& m_settings;
  platform::Messages& m_messages;
  TPageSetupFlags m_options = poDefaultMinMargins | poMargins | poMinMargins | poHundredthsOfMillimeters;
  int m_marginLeft = 0;
  int m_marginTop = 0;
  int m_marginRight = 0;
  int m_marginBottom = 0;
  int m_minLeft = 0;
  int m_minTop = 0;
  int m_minRight = 0;
  int m_minBottom = 0;
  std::string m_iniSettings;
  int m_paperWidth = 0;
  int m_paperHeight = 0;
  float m_horizontalScale = 0;
  float m_verticalScale = 0;
};

}  // namespace tarn::print
