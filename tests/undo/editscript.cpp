// Edits, undos and redos chosen by bytes; see editscript.h.
#include "undo/editscript.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "document/recordfields.h"
#include "undo/undoworld.h"

namespace tarn::testing {
namespace {

using richtext::CharPos;

class Bytes {
 public:
  explicit Bytes(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
  bool AtEnd() const { return m_at >= m_bytes.size(); }
  int Next() { return AtEnd() ? 0 : m_bytes[m_at++]; }

 private:
  std::span<const std::uint8_t> m_bytes;
  std::size_t m_at = 0;
};

// A page with a format, a link, a table and an anchor.
std::string SamplePage(document::TAEHset& set) {
  const std::int32_t link = set.Register(set.NewLink("http://example.com/"))->GetId();
  auto table = set.NewObject(document::tabellaHtml);
  table->SetU8(document::field::kTableRows, 1);
  table->SetU8(document::field::kTableColumns, 2);
  const std::int32_t tableId = set.Register(std::move(table))->GetId();
  auto anchor = set.NewObject(document::shortObj);
  anchor->SetSubtype(document::field::kShortAnchor);
  const std::int32_t anchorId = set.Register(std::move(anchor))->GetId();
  auto tag = [](std::int32_t id) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "<$%08x>", static_cast<unsigned>(id));
    return std::string(buf);
  };
  return "<Z S0 >Hello <Y y1 >bold<Y > world<Z S0 A2 >centred " + tag(link) + "linked<%> text<Z S0 >" + tag(tableId) +
         "<Z S1 >c1<T><Z S1 >c2<T><Z S0 >an " + tag(anchorId) + "anchor<Z S0 >last line of the page";
}

class Script {
 public:
  Script() : m_page(w.AddPage(SamplePage(w.set))) {
    w.set.SetUndoDeep(1000000);
    w.Show(m_page);
    w.set.OnUndoChanged = [this] { Observe(); };
  }
  ~Script() { w.set.OnUndoChanged = nullptr; }

  std::string Run(Bytes& in) {
    for (int step = 0; !in.AtEnd(); ++step) {
      const int op = in.Next() % 20;
      Operate(op, in);
      if (!m_failure.empty()) return Describe(step, op);
      Check();
      if (!m_failure.empty()) return Describe(step, op);
    }
    return {};
  }

 private:
  std::string Describe(int step, int op) const {
    return m_failure + " (operation " + std::to_string(step) + ", kind " + std::to_string(op) + ")";
  }

  richtext::BoxText& Text() { return w.Text(); }
  richtext::TAEHTextAttributes& Commands() { return w.Commands(); }

  // A step was recorded (not while one is applied): the text it was
  // recorded from is the text its undo must give back.
  void Observe() {
    undo::TAEHundoList* list = undo::UndoListOf(w.set);
    if (list == nullptr) return;
    const int count = list->UndoCount();
    if (!list->Applying() && count > m_count) {
      m_undo.push_back(w.Shown());
      m_redo.clear();
    }
    m_count = count;
  }

  CharPos Position(Bytes& in) {
    const int first = Text().FirstOwn();
    const int paragraph = first + in.Next() % (Text().LastOwn() - first + 1);
    return {paragraph, in.Next() % (Text().Paragraph(paragraph).Length() + 1)};
  }

  std::string Word(Bytes& in) {
    static constexpr char kLetters[] = "ab \"'<&\xE9\x93z";
    std::string word;
    const int length = in.Next() % 4;
    for (int i = 0; i < length; ++i) word += kLetters[in.Next() % (sizeof kLetters - 1)];
    return word;
  }

  // One step back (kUndo) or forward: the text must be the one seen before
  // the step was taken the other way.
  void Take(int direction) {
    const bool undo = direction == undo::kUndo;
    if (undo ? !w.List().CanUndo() : !w.List().CanRedo()) return;
    std::vector<std::string>& from = undo ? m_undo : m_redo;
    std::vector<std::string>& to = undo ? m_redo : m_undo;
    const std::string expected = from.back();
    from.pop_back();
    to.push_back(w.Shown());
    if (undo) {
      w.List().Undo();
    } else {
      w.List().Redo();
    }
    if (w.Shown() != expected) {
      m_failure = std::string(undo ? "undo" : "redo") + " gave\n  " + w.Shown() + "\ninstead of\n  " + expected;
    }
  }

  void Operate(int op, Bytes& in) {
    switch (op) {
      case 0:
      case 1: {
        Commands().EndRuns();
        Text().SetCaret(Position(in));
        Text().ClearSelection();
        break;
      }
      case 2: {
        Commands().EndRuns();
        const CharPos a = Position(in);
        Text().SelectRange(a, Position(in));
        break;
      }
      case 3:
      case 4:
      case 5: Commands().TypeChar(static_cast<unsigned char>(32 + in.Next() % 224)); break;
      case 6: Commands().SplitParagraph(); break;
      case 7: Commands().DeleteNext(); break;
      case 8: Commands().DeletePrevious(); break;
      case 9:
        if (Text().HasSelection()) Commands().DeleteSelection();
        break;
      case 10: {
        if (!Text().HasSelection()) break;
        const std::string container = Commands().WriteContainer(false);
        Text().SetCaret(Position(in));
        Text().ClearSelection();
        Commands().InsertContainer(container, richtext::kCaptionClipboard);
        break;
      }
      case 11: Commands().InsertText(Word(in) + (in.Next() % 2 ? "\r\n" : "") + Word(in)); break;
      case 12: w.Box().ParaCommands().SetAlignment(static_cast<std::uint8_t>(in.Next() % 3)); break;
      case 13:
        if (Text().HasSelection()) Commands().ReplaceSelection(Word(in));
        break;
      case 14:
      case 15:
      case 16: Take(undo::kUndo); break;
      case 17: Take(undo::kRedo); break;
      case 18: {
        // Several steps at once, as from the drop-down list.
        const int count = 1 + in.Next() % 4;
        for (int i = 0; i < count && m_failure.empty(); ++i) Take(undo::kUndo);
        break;
      }
      case 19: {
        if (in.Next() % 4 != 0) break;
        const std::string shown = Seen();
        w.CommitAndReload();
        m_undo.clear();
        m_redo.clear();
        if (Seen() != shown) m_failure = "written back and shown again:\n  " + Seen() + "\ninstead of\n  " + shown;
        if (w.List().CanUndo() || w.List().CanRedo()) m_failure = "steps outlived their page";
        break;
      }
    }
  }

  // The text as the author sees it: the page's local numbers of objects
  // and links (which a page shown again hands out afresh, in the order of
  // the text) stand for what they name.
  std::string Seen() {
    std::string text = w.Shown();
    const page::WorkingCopy* copy = w.View().Working();
    std::string out;
    std::size_t at = 0;
    for (std::size_t tag = text.find("<$"); tag != std::string::npos; tag = text.find("<$", at)) {
      out.append(text, at, tag - at);
      at = std::min(text.size(), tag + 11);
      const auto value = static_cast<std::uint32_t>(std::stoul(text.substr(tag + 2, 8), nullptr, 16));
      const document::TAEHoggetto* record = nullptr;
      if ((value >> 24) == richtext::kLocalObjectKind) record = copy->Object(static_cast<int>(value & 0xFFFFFF));
      if ((value >> 24) == richtext::kLocalLinkKind) record = copy->Link(static_cast<std::int32_t>(value));
      out += record != nullptr ? "<object " + std::to_string(record->Kind()) + " " + record->GetCaption() + ">"
                               : text.substr(tag, 11);
    }
    out.append(text, at);
    return out;
  }

  // The stacks match the model, the caret and selection lie in the text,
  // and the layout is the one a full layout makes.
  void Check() {
    if (static_cast<int>(m_undo.size()) != w.List().UndoCount() ||
        static_cast<int>(m_redo.size()) != w.List().RedoCount()) {
      m_failure = "the stacks hold " + std::to_string(w.List().UndoCount()) + " and " +
                  std::to_string(w.List().RedoCount()) + " steps";
      return;
    }
    richtext::BoxText& text = Text();
    for (const CharPos pos : {text.Caret(), text.Anchor(), text.ActiveEnd()}) {
      if (pos.paragraph < text.FirstOwn() || pos.paragraph > text.LastOwn() || pos.character < 0 ||
          pos.character > text.Paragraph(pos.paragraph).Length()) {
        m_failure = "a position outside the text";
        return;
      }
    }
    std::vector<std::pair<int, int>> laid;
    for (int i = 0; i < text.ParagraphCount(); ++i) laid.emplace_back(text.Paragraph(i).top, text.Paragraph(i).bottom);
    text.LayoutAll();
    for (int i = 0; i < text.ParagraphCount(); ++i) {
      if (laid[static_cast<std::size_t>(i)] != std::make_pair(text.Paragraph(i).top, text.Paragraph(i).bottom)) {
        m_failure = "paragraph " + std::to_string(i) + " was at " + std::to_string(laid[static_cast<std::size_t>(i)].first) +
                    ".." + std::to_string(laid[static_cast<std::size_t>(i)].second) + ", a full layout puts it at " +
                    std::to_string(text.Paragraph(i).top) + ".." + std::to_string(text.Paragraph(i).bottom) + ": " +
                    w.Shown();
        return;
      }
    }
  }

  UndoWorld w;
  int m_page;
  int m_count = 0;
  std::vector<std::string> m_undo;
  std::vector<std::string> m_redo;
  std::string m_failure;
};

}  // namespace

std::string EditScript::Run(std::span<const std::uint8_t> bytes) {
  Bytes in(bytes);
  Script script;
  return script.Run(in);
}

}  // namespace tarn::testing
