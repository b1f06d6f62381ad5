// The page setup; see pagesetupdialog.h.
#include "print/pagesetupdialog.h"

#include <array>
#include <cmath>
#include <optional>

#include "platform/filesettings.h"
#include "platform/messages.h"
#include "platform/printer.h"
#include "platform/registry.h"
#include "platform/settings.h"

namespace tarn::print {
namespace {

using platform::DeviceMode;

constexpr double kHundredthsPerInch = 2540.0;

// The device fields of a profile, by their stored names, in the order they
// are read.
struct ModeField {
  std::string_view name;
  int DeviceMode::*field;
};
constexpr std::array<ModeField, 10> kModeFields{{
    {"dmPaperSize", &DeviceMode::paperSize},
    {"dmPaperLength", &DeviceMode::paperLength},
    {"dmPaperWidth", &DeviceMode::paperWidth},
    {"dmOrientation", &DeviceMode::orientation},
    {"dmScale", &DeviceMode::scale},
    {"dmCopies", &DeviceMode::copies},
    {"dmDefaultSource", &DeviceMode::defaultSource},
    {"dmPrintQuality", &DeviceMode::printQuality},
    {"dmColor", &DeviceMode::color},
    {"dmDuplex", &DeviceMode::duplex},
}};
constexpr std::string_view kSaved = "PrnParsSaved";

}  // namespace

TPageSetupDialog::TPageSetupDialog(platform::Printer& printer, platform::Settings& settings,
                                   platform::Messages& messages)
    : m_printer(printer), m_settings(settings), m_messages(messages) {}

void TPageSetupDialog::SetOptions(TPageSetupFlags options) {
  const TPageSetupFlags old = m_options;
  // The printer's own minimum margins and the author's exclude each other,
  // unless both were on already.
  if ((options & poDefaultMinMargins) && !(old & poDefaultMinMargins) && !(old & poMinMargins)) {
    options &= ~static_cast<TPageSetupFlags>(poMinMargins);
  }
  if ((options & poMinMargins) && !(old & poMinMargins) && !(old & poDefaultMinMargins)) {
    options &= ~static_cast<TPageSetupFlags>(poDefaultMinMargins);
  }
  // One unit: the one set now wins.
  if ((options & poHundredthsOfMillimeters) && (options & poThousandthsOfInches)) {
    options &= (old & poHundredthsOfMillimeters) ? ~static_cast<TPageSetupFlags>(poHundredthsOfMillimeters)
                                                 : ~static_cast<TPageSetupFlags>(poThousandthsOfInches);
  }
  m_options = options;
}

// The left margin must lie strictly inside its minimum; the others may
// equal theirs.
void TPageSetupDialog::SetMarginLeft(int value) {
  if (value > m_minLeft) m_marginLeft = value;
}
void TPageSetupDialog::SetMarginTop(int value) {
  if (value >= m_minTop) m_marginTop = value;
}
void TPageSetupDialog::SetMarginRight(int value) {
  if (value >= m_minRight) m_marginRight = value;
}
void TPageSetupDialog::SetMarginBottom(int value) {
  if (value >= m_minBottom) m_marginBottom = value;
}
void TPageSetupDialog::SetMinMarginLeft(int value) {
  if (value <= m_marginLeft) m_minLeft = value;
}
void TPageSetupDialog::SetMinMarginTop(int value) {
  if (value <= m_marginTop) m_minTop = value;
}
void TPageSetupDialog::SetMinMarginRight(int value) {
  if (value <= m_marginRight) m_minRight = value;
}
void TPageSetupDialog::SetMinMarginBottom(int value) {
  if (value <= m_marginBottom) m_minBottom = value;
}

void TPageSetupDialog::TakeMargins(int left, int top, int right, int bottom) {
  SetMarginLeft(left);
  SetMarginTop(top);
  SetMarginRight(right);
  SetMarginBottom(bottom);
  Refresh();
}

int TPageSetupDialog::ToHundredths(int value) const {
  if (!Has(poThousandthsOfInches)) return value;
  return static_cast<int>(std::lround(value * kHundredthsPerInch / 1000.0));
}

int TPageSetupDialog::FromHundredths(int hundredths) const {
  if (!Has(poThousandthsOfInches)) return hundredths;
  return static_cast<int>(std::lround(hundredths * 1000.0 / kHundredthsPerInch));
}

void TPageSetupDialog::SetIniSettings(std::string name) {
  m_iniSettings = std::move(name);
  if (!m_iniSettings.empty() && m_printer.HasPrinter()) LoadSettings();
}

void TPageSetupDialog::Refresh() {
  if (!m_printer.HasPrinter()) {
    m_paperWidth = m_paperHeight = 0;
    m_horizontalScale = m_verticalScale = 0;
    return;
  }
  const platform::PaperMetrics paper = m_printer.Paper();
  const int dpiX = paper.dpiX > 0 ? paper.dpiX : 96;
  const int dpiY = paper.dpiY > 0 ? paper.dpiY : 96;
  m_paperWidth = static_cast<int>(std::lround(paper.width * kHundredthsPerInch / dpiX));
  m_paperHeight = static_cast<int>(std::lround(paper.height * kHundredthsPerInch / dpiY));
  m_horizontalScale = m_paperWidth > 0 ? static_cast<float>(paper.width) / static_cast<float>(m_paperWidth) : 0.0f;
  m_verticalScale = m_paperHeight > 0 ? static_cast<float>(paper.height) / static_cast<float>(m_paperHeight) : 0.0f;
}

bool TPageSetupDialog::CheckPrinters() {
  if (m_printer.HasPrinter()) return true;
  m_messages.Error(kNoPrinters);
  return false;
}

std::string TPageSetupDialog::ProfileKey() const {
  const std::string section = std::string(kProfilePrefix) + m_iniSettings;
  if (!IniFile.empty()) return section;
  return RegString + "\\" + section;
}

void TPageSetupDialog::SaveSettings() {
  if (m_iniSettings.empty() || !m_printer.HasPrinter()) return;
  if (!IniFile.empty()) {
    platform::FileSettings ini(IniFile, &m_messages);
    SaveTo(ini, ProfileKey());
  } else {
    SaveTo(m_settings, ProfileKey());
  }
}

void TPageSetupDialog::SaveTo(platform::Settings& store, const std::string& key) {
  const platform::SettingsBatch batch(store);
  const platform::PrinterName name = m_printer.Current();
  store.Write(key, "device", name.device);
  store.Write(key, "driver", name.driver);
  store.Write(key, "port", name.port);
  const DeviceMode mode = m_printer.Mode();
  for (const ModeField& f : kModeFields) store.Write(key, f.name, std::to_string(mode.*f.field));
  store.Write(key, "Left", std::to_string(m_marginLeft));
  store.Write(key, "Right", std::to_string(m_marginRight));
  store.Write(key, "Top", std::to_string(m_marginTop));
  store.Write(key, "Bottom", std::to_string(m_marginBottom));
  store.Write(key, kSaved, "1");
}

bool TPageSetupDialog::LoadSettings() {
  if (m_iniSettings.empty() || !m_printer.HasPrinter()) return false;
  if (!IniFile.empty()) {
    platform::FileSettings ini(IniFile, &m_messages);
    return LoadFrom(ini, ProfileKey(), true);
  }
  return LoadFrom(m_settings, ProfileKey(), false);
}

// The registry profile is read value by value and the first missing value
// ends the reading, keeping what was read before it; an INI profile is read
// only once it was saved, and its missing values take defaults.
bool TPageSetupDialog::LoadFrom(platform::Settings& store, const std::string& key, bool fromIni) {
  if (fromIni && store.Read(key, kSaved).value_or("0") != "1") return false;
  auto read = [&](std::string_view name, std::string_view fallback) -> std::optional<std::string> {
    std::optional<std::string> value = store.Read(key, name);
    if (!value && fromIni) return std::string(fallback);
    return value;
  };
  bool any = false;
  DeviceMode mode = m_printer.Mode();
  bool modeRead = false;
  auto finish = [&] {
    if (modeRead) m_printer.SetMode(mode);
    Refresh();
    return any;
  };

  platform::PrinterName name;
  const std::optional<std::string> device = read("device", "");
  if (!device) return finish();
  name.device = *device;
  const std::optional<std::string> driver = read("driver", "");
  if (!driver) return finish();
  name.driver = *driver;
  const std::optional<std::string> port = read("port", "");
  if (!port) return finish();
  name.port = *port;
  any = true;
  // A printer that is gone leaves the current one in use.
  if (!name.device.empty()) m_printer.Select(name);
  mode = m_printer.Mode();

  for (const ModeField& f : kModeFields) {
    const std::optional<std::string> value = read(f.name, std::to_string(mode.*f.field));
    if (!value) return finish();
    mode.*f.field = platform::ParseNumber(*value, mode.*f.field);
    modeRead = true;
  }
  const std::string fallback = std::to_string(kDefaultMargin);
  const std::pair<std::string_view, void (TPageSetupDialog::*)(int)> margins[] = {
      {"Left", &TPageSetupDialog::SetMarginLeft},
      {"Right", &TPageSetupDialog::SetMarginRight},
      {"Top", &TPageSetupDialog::SetMarginTop},
      {"Bottom", &TPageSetupDialog::SetMarginBottom},
  };
  for (const auto& [valueName, set] : margins) {
    const std::optional<std::string> value = read(valueName, fallback);
    if (!value) return finish();
    (this->*set)(platform::ParseNumber(*value, kDefaultMargin));
  }
  return finish();
}

}  // namespace tarn::print
