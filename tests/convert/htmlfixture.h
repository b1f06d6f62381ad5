// A small hypertext built in code for the HTML converter's tests, and the
// helpers that read what the converter wrote.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/compose.h"
#include "convert/golden.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"
#include "richtext/styles.h"

namespace tarn::convert::testing {

// Compares a written file with its golden copy under tests/data/golden/html.
inline void ExpectGolden(const std::string& name, const std::string& actual) {
  ExpectGolden(std::filesystem::path(TARN_TEST_DATA) / "golden" / "html", name, actual);
}

inline std::string Tag(document::ObjectId id) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "<$%08x>", static_cast<unsigned>(id));
  return buf;
}

// An extra block: 32-bit L, L bytes of reference data, then the text.
inline std::string ExtraBlock(const std::string& text, const std::string& references = {}) {
  std::string block(4, '\0');
  block[0] = static_cast<char>(references.size());
  return block + references + text;
}

class HtmlFixture {
 public:
  HtmlFixture() : set(std::make_unique<document::TAEHset>(env.Services())) {
    app::Compose(*set);
    set->SetExpPrefix("site");
    set->SetBackup(false);
    html.SetLinkedAEHset(set.get());
    html.ExportPath = env.Path("out");
  }

  document::TAEHoggetto* Page(const std::string& title, const std::string& markup) {
    auto page = set->NewObject(document::testoHtml);
    page->SetName(title);
    page->SetContent(markup + std::string(1, '\0'));
    return set->Register(std::move(page));
  }

  document::TAEHoggetto* Object(int kind, int subtype) {
    auto object = set->NewObject(kind);
    object->SetSubtype(subtype);
    return set->Register(std::move(object));
  }

  // A special link of subtype 1 to the target with the window action.
  document::TAEHoggetto* Special(int subtype, document::ObjectId target = -1, int action = 0, int anchor = -1,
                                 const std::string& window = "Kr") {
    document::TAEHoggetto* link = Object(document::speclink, subtype);
    link->SetI32(document::field::kSpecialTarget, target);
    link->SetU8(document::field::kSpecialTargetKind, 1);
    link->SetU8(document::field::kSpecialAction, static_cast<std::uint8_t>(action));
    link->SetI32(document::field::kSpecialAnchor, anchor);
    link->SetStr(document::field::kSpecialWindow, document::field::kSpecialWindowCapacity, window);
    return link;
  }

  document::TAEHoggetto* Anchor(int number) {
    document::TAEHoggetto* anchor = Object(document::shortObj, 14);
    anchor->SetI32(document::field::kShortValue, number);
    return anchor;
  }

  // The body text of a page as WriteBody writes it in the mode.
  std::string Body(document::TAEHoggetto& page, int mode = kTextOnly) {
    std::string out;
    html.WriteBody(out, mode, page);
    return out;
  }

  std::string Read(const std::string& name) const { return tarn::testing::ReadFile(env.Path("out") / name); }

  // The written file with the scratch folder's name replaced, so that the
  // page markers read the same on every machine.
  std::string Written(const std::string& name) const {
    std::string text = Read(name);
    const std::string dir = env.Dir().string();
    for (std::size_t at = text.find(dir); at != std::string::npos; at = text.find(dir, at)) text.replace(at, dir.size(), "$DIR");
    return text;
  }

  tarn::testing::TestEnv env;
  std::unique_ptr<document::TAEHset> set;
  TAEHtoHtml html;
};

}  // namespace tarn::convert::testing
