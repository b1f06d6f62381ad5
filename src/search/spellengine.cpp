// Installed dictionaries and the table of language numbers.
#include "search/spellengine.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace tarn::search {

namespace {

struct Language {
  std::string_view locale;
  int id;
  std::string_view name;
  int charset;
};

// The languages a spelling dictionary commonly exists for, with the
// language numbers documents and options store.
constexpr Language kLanguages[] = {
    {"it_IT", 1040, "Italian (Italy)", 0},           {"it_CH", 2064, "Italian (Switzerland)", 0},
    {"en_US", 1033, "English (United States)", 0},   {"en_GB", 2057, "English (United Kingdom)", 0},
    {"en_AU", 3081, "English (Australia)", 0},       {"en_CA", 4105, "English (Canada)", 0},
    {"en_ZA", 7177, "English (South Africa)", 0},    {"de_DE", 1031, "German (Germany)", 0},
    {"de_AT", 3079, "German (Austria)", 0},          {"de_CH", 2055, "German (Switzerland)", 0},
    {"fr_FR", 1036, "French (France)", 0},           {"fr_BE", 2060, "French (Belgium)", 0},
    {"fr_CA", 3084, "French (Canada)", 0},           {"fr_CH", 4108, "French (Switzerland)", 0},
    {"es_ES", 3082, "Spanish (Spain)", 0},           {"es_MX", 2058, "Spanish (Mexico)", 0},
    {"pt_PT", 2070, "Portuguese (Portugal)", 0},     {"pt_BR", 1046, "Portuguese (Brazil)", 0},
    {"nl_NL", 1043, "Dutch (Netherlands)", 0},       {"da_DK", 1030, "Danish (Denmark)", 0},
    {"sv_SE", 1053, "Swedish (Sweden)", 0},          {"nb_NO", 1044, "Norwegian Bokmal (Norway)", 0},
    {"nn_NO", 2068, "Norwegian Nynorsk (Norway)", 0}, {"fi_FI", 1035, "Finnish (Finland)", 0},
    {"ca_ES", 1027, "Catalan (Spain)", 0},           {"pl_PL", 1045, "Polish (Poland)", 238},
    {"cs_CZ", 1029, "Czech (Czech Republic)", 238},  {"sk_SK", 1051, "Slovak (Slovakia)", 238},
    {"hu_HU", 1038, "Hungarian (Hungary)", 238},     {"sl_SI", 1060, "Slovenian (Slovenia)", 238},
    {"hr_HR", 1050, "Croatian (Croatia)", 238},      {"ro_RO", 1048, "Romanian (Romania)", 238},
    {"ru_RU", 1049, "Russian (Russia)", 204},        {"uk_UA", 1058, "Ukrainian (Ukraine)", 204},
    {"bg_BG", 1026, "Bulgarian (Bulgaria)", 204},    {"el_GR", 1032, "Greek (Greece)", 161},
    {"tr_TR", 1055, "Turkish (Turkey)", 162},        {"he_IL", 1037, "Hebrew (Israel)", 177},
    {"ar", 1025, "Arabic", 178},                     {"lt_LT", 1063, "Lithuanian (Lithuania)", 186},
    {"lv_LV", 1062, "Latvian (Latvia)", 186},        {"et_EE", 1061, "Estonian (Estonia)", 186},
    {"vi_VN", 1066, "Vietnamese (Vietnam)", 163},
};

const Language* ByLocale(std::string_view locale) {
  for (const Language& l : kLanguages) {
    if (l.locale == locale) return &l;
  }
  return nullptr;
}

const Language* ById(int id) {
  for (const Language& l : kLanguages) {
    if (l.id == id) return &l;
  }
  return nullptr;
}

}  // namespace

int LanguageIdOf(std::string_view locale) {
  const Language* l = ByLocale(locale);
  return l != nullptr ? l->id : 0;
}

std::string LocaleOfLanguage(int id) {
  const Language* l = ById(id);
  return l != nullptr ? std::string(l->locale) : std::string();
}

std::string LanguageName(std::string_view locale) {
  const Language* l = ByLocale(locale);
  return l != nullptr ? std::string(l->name) : std::string(locale);
}

std::string LanguageName(int id) {
  const Language* l = ById(id);
  return l != nullptr ? std::string(l->name) : std::to_string(id);
}

int LanguageCharset(int id) {
  const Language* l = ById(id);
  return l != nullptr ? l->charset : 0;
}

std::vector<std::filesystem::path> DictionaryFolders() {
  std::vector<std::filesystem::path> folders;
  if (const char* own = std::getenv("TARN_HUNSPELL_PATH"); own != nullptr && *own != '\0') {
    std::string_view list(own);
    while (!list.empty()) {
      const std::size_t colon = list.find(':');
      if (colon != 0) folders.emplace_back(std::string(list.substr(0, colon)));
      if (colon == std::string_view::npos) break;
      list.remove_prefix(colon + 1);
    }
    return folders;
  }
  folders.emplace_back("/usr/share/hunspell");
  return folders;
}

std::vector<DictionaryInfo> FindDictionaries(const std::vector<std::filesystem::path>& folders) {
  std::vector<DictionaryInfo> found;
  std::set<std::string> seen;
  for (const auto& folder : folders) {
    std::error_code ec;
    std::vector<DictionaryInfo> here;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      const std::filesystem::path& path = entry.path();
      if (path.extension() != ".aff") continue;
      std::filesystem::path dic = path;
      dic.replace_extension(".dic");
      if (!std::filesystem::is_regular_file(dic, ec)) continue;
      const std::string locale = path.stem().string();
      // Hyphenation and thesaurus files share the folder on some systems.
      if (locale.starts_with("hyph_") || locale.starts_with("th_")) continue;
      here.push_back({locale, LanguageIdOf(locale), LanguageName(locale), path, dic});
    }
    std::sort(here.begin(), here.end(), [](const auto& x, const auto& y) { return x.locale < y.locale; });
    for (auto& d : here) {
      if (seen.insert(d.locale).second) found.push_back(std::move(d));
    }
  }
  return found;
}

}  // namespace tarn::search
