// A hypertext shown in a frame set whose page views get editable boxes
// without a display, with the undo list the program installs: the world in
// which the undo tests, the randomized edit scripts and the benchmark edit.
#pragma once

#include <memory>
#include <string>

#include "app/compose.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "platform/testing/testplatform.h"
#include "objects/frameset.h"
#include "page/editbox.h"
#include "platform/testing/manualeventloop.h"
#include "undo/aehundolist.h"

namespace tarn::testing {

class UndoWorld {
 public:
  // Deterministic services; no folders are made (fuzzing makes many worlds).
  struct Env {
    platform::Services Services() { return {&messages, nullptr, &measurer, &clipboard}; }
    platform::testing::RecordingMessages messages;
    platform::testing::FixedTextMeasurer measurer;
    platform::testing::MemoryClipboard clipboard;
  };

  static constexpr int kBoxWidth = 400;

  UndoWorld() : set(env.Services()), frames(env.messages) {
    app::Compose(set);
    set.SetUndoDeep(20);
    frames.BoxFactory = [this](page::TAEHpage&, page::WorkingCopy& copy) -> std::unique_ptr<page::PageTextBox> {
      return std::make_unique<page::EditBox>(set, copy, env.measurer, kBoxWidth);
    };
    frames.SetLinkedAEHset(&set);
    frames.SetEventLoop(&loop);
    frames.ClientArea = {0, 0, 600, 600};
    frames.SaveOnExit = true;
  }
  ~UndoWorld() { frames.SetLinkedAEHset(nullptr); }

  // A new stored page with the markup (without its closing byte 0).
  int AddPage(const std::string& markup) {
    auto page = set.NewObject(document::testoHtml);
    page->SetContent(markup + std::string(1, '\0'));
    return set.Register(std::move(page))->Index();
  }
  void Show(int page) { frames.SetMainPageNumber(page); }
  page::TAEHpage& View(int leaf = 0) {
    return *frames.Views().at(static_cast<std::size_t>(leaf));
  }
  page::EditBox& Box(int leaf = 0) { return *static_cast<page::EditBox*>(View(leaf).Box()); }
  richtext::BoxText& Text(int leaf = 0) { return Box(leaf).Box(); }
  richtext::TAEHTextAttributes& Commands(int leaf = 0) { return Box(leaf).TextCommands(); }
  undo::TAEHundoList& List() { return *undo::UndoListOf(set); }
  // The box's own text as it would be stored, without its byte 0.
  std::string Shown(int leaf = 0) {
    std::string text = Box(leaf).SaveText();
    text.pop_back();
    return text;
  }
  // The stored page's markup without its byte 0.
  std::string Stored(int page) {
    std::string text = static_cast<document::TAEHtesto*>(set.GetObject(document::testoHtml, page))->Markup();
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
  }
  // Writes the shown page back and shows it again (the undo list is
  // emptied on the way, as closing a page does).
  void CommitAndReload() {
    const int page = frames.ReleasePage();
    frames.RestorePage(page);
  }

  Env env;
  document::TAEHset set;
  platform::testing::ManualEventLoop loop;
  objects::TAEHCustomFrameSet frames;
};

}  // namespace tarn::testing
