// The page view's model; see aehpage.h.
#include "page/aehpage.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "base/cp1252.h"
#include "document/aehpicture.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "platform/messages.h"
#include "richtext/documenthost.h"
#include "search/spellthread.h"

namespace tarn::page {
using namespace document;
using namespace document::field;
namespace {

constexpr int kStopAttempts = 41;
constexpr int kStopWait = 50;
constexpr std::size_t kMaxCellDepth = 32;

constexpr std::string_view kCommitWithoutBox =
    "Internal error!\rIt may be possible to use \"Save as...\" to save your work. You should save and exit from "
    "the program.\rPlease report this condition to the program's maker.";

bool IsWordBoundary(unsigned char c) {
  return (c >= 32 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126);
}

}  // namespace

// ---- The box without a display ----

SectionObjects::SectionObjects(const WorkingCopy& copy, richtext::TextHost* host, platform::TextMeasurer* measurer) {
  auto add = [this, host, measurer](richtext::Origin origin, const WorkingCopy* section) {
    if (section == nullptr) return;
    richtext::PageObjects& objects = m_sections[static_cast<std::size_t>(origin)];
    objects.SetTableLayout(host, measurer);
    for (const WorkingEntry& entry : section->objects) objects.Add(entry.copy.get());
  };
  add(richtext::Origin::Header, copy.header.get());
  add(richtext::Origin::Text, &copy);
  add(richtext::Origin::Footer, copy.footer.get());
}

richtext::EmbeddedObject* SectionObjects::Find(std::int32_t identifier) {
  return m_sections[static_cast<std::size_t>(m_current)].Find(identifier);
}

PlainTextBox::PlainTextBox(TAEHset& set, WorkingCopy& copy)
    : m_host(std::make_unique<richtext::DocumentHost>(set, set.Services().measurer, set.Services().messages)),
      m_objects(copy, m_host.get(), set.Services().measurer) {
  m_host->objectLookup = [this](std::int32_t id) { return m_objects.Find(id); };
  if (copy.header) ReadSection(*copy.header, richtext::Origin::Header);
  m_headerCount = static_cast<int>(m_text.paragraphs.size());
  ReadSection(copy, richtext::Origin::Text);
  // A text always has a paragraph for the caret.
  if (static_cast<int>(m_text.paragraphs.size()) == m_headerCount) {
    richtext::MarkupStream empty(kEmptyPageMarkup);
    richtext::ReadText(m_text, empty, *m_host);
  }
  const auto beforeFooter = static_cast<int>(m_text.paragraphs.size());
  if (copy.footer) ReadSection(*copy.footer, richtext::Origin::Footer);
  m_footerCount = static_cast<int>(m_text.paragraphs.size()) - beforeFooter;
}

PlainTextBox::~PlainTextBox() = default;

void PlainTextBox::ReadSection(const WorkingCopy& section, richtext::Origin origin) {
  m_objects.SetSection(origin);
  const std::string markup = section.Markup();
  richtext::MarkupStream stream(markup);
  richtext::ReadText(m_text, stream, *m_host, origin);
}

std::string PlainTextBox::SaveText() {
  std::string out;
  const int end = static_cast<int>(m_text.paragraphs.size()) - m_footerCount;
  for (int i = m_headerCount; i < end; ++i) {
    richtext::WriteWholeParagraph(*m_text.paragraphs[static_cast<std::size_t>(i)], out, richtext::WriteMode::Store);
  }
  out.push_back('\0');
  return out;
}

void PlainTextBox::Select(richtext::RichText& box, int paragraph, int from, int to) {
  selected = {&box, paragraph, from, to};
}

void PlainTextBox::RedrawParagraph(richtext::RichText& box, int paragraph) { redrawn.emplace_back(&box, paragraph); }

std::unique_ptr<PageTextBox> PageHost::MakeTextBox(TAEHpage& view, WorkingCopy& copy) {
  return std::make_unique<PlainTextBox>(view.Host().LinkedAEHset(), copy);
}

// ---- Paragraph iterator ----

richtext::RichText* TAEHpar::BoxAt(std::size_t depth) const {
  richtext::RichText* box = &m_root;
  for (std::size_t d = 0; d < depth; ++d) {
    const Level& level = m_levels[d];
    if (level.paragraph < 0 || static_cast<std::size_t>(level.paragraph) >= box->paragraphs.size()) return nullptr;
    const richtext::TAEHparag& p = *box->paragraphs[static_cast<std::size_t>(level.paragraph)];
    if (level.object < 0 || static_cast<std::size_t>(level.object) >= p.objects.size()) return nullptr;
    richtext::EmbeddedObject* table = p.objects[static_cast<std::size_t>(level.object)];
    if (table == nullptr || !table->IsTable() || table->Columns() <= 0) return nullptr;
    box = table->Cell(level.cell / table->Columns(), level.cell % table->Columns());
    if (box == nullptr) return nullptr;
  }
  return box;
}

int TAEHpar::LimitAt(std::size_t depth) const {
  if (depth == 0) return std::min(m_last, static_cast<int>(m_root.paragraphs.size()));
  const richtext::RichText* box = BoxAt(depth);
  return box != nullptr ? static_cast<int>(box->paragraphs.size()) : 0;
}

richtext::RichText* TAEHpar::CurrentBox() const {
  return m_levels.empty() ? nullptr : BoxAt(m_levels.size() - 1);
}

richtext::TAEHparag* TAEHpar::Current() const {
  richtext::RichText* box = CurrentBox();
  if (box == nullptr) return nullptr;
  const int index = m_levels.back().paragraph;
  if (index < 0 || index >= LimitAt(m_levels.size() - 1)) return nullptr;
  return box->paragraphs[static_cast<std::size_t>(index)].get();
}

bool TAEHpar::DescendFrom(std::size_t depth, int object, int cell) {
  if (depth + 1 >= kMaxCellDepth) return false;
  richtext::RichText* box = BoxAt(depth);
  Level& level = m_levels[depth];
  if (box == nullptr || level.paragraph < 0 || static_cast<std::size_t>(level.paragraph) >= box->paragraphs.size()) {
    return false;
  }
  const richtext::TAEHparag& p = *box->paragraphs[static_cast<std::size_t>(level.paragraph)];
  for (int o = std::max(0, object); static_cast<std::size_t>(o) < p.objects.size(); ++o) {
    richtext::EmbeddedObject* table = p.objects[static_cast<std::size_t>(o)];
    if (table == nullptr || !table->IsTable() || table->Columns() <= 0) continue;
    const int cells = table->Rows() * table->Columns();
    for (int c = o == object ? std::max(0, cell) : 0; c < cells; ++c) {
      const richtext::RichText* text = table->Cell(c / table->Columns(), c % table->Columns());
      if (text == nullptr || text->paragraphs.empty()) continue;
      level.object = o;
      level.cell = c;
      m_levels.push_back({0, -1, -1});
      return true;
    }
  }
  return false;
}

bool TAEHpar::Next() {
  if (m_levels.empty()) {
    m_levels.push_back({m_first, -1, -1});
    if (m_first < LimitAt(0)) return true;
    m_levels.back().paragraph = LimitAt(0);
    return false;
  }
  if (!Valid()) return false;
  if (DescendFrom(m_levels.size() - 1, 0, 0)) return true;
  while (true) {
    Level& level = m_levels.back();
    ++level.paragraph;
    if (level.paragraph < LimitAt(m_levels.size() - 1)) return true;
    if (m_levels.size() == 1) return false;
    m_levels.pop_back();
    Level& parent = m_levels.back();
    if (DescendFrom(m_levels.size() - 1, parent.object, parent.cell + 1)) return true;
    parent.object = -1;
    parent.cell = -1;
  }
}

// ---- The page view ----

struct TAEHpage::SpellSession {
  TAEHpage* page = nullptr;
  int mode = 0;
  std::unique_ptr<TAEHpar> root;
  richtext::TAEHparag* current = nullptr;
  richtext::RichText* currentBox = nullptr;
  int currentIndex = -1;
};

TAEHpage::TAEHpage(PageHost& host) : m_host(host) {}

TAEHpage::~TAEHpage() {
  StopSpellThread();
  if (m_spell) m_spell->page = nullptr;
  m_spellThread.reset();
}

int TAEHpage::PageNumber() const {
  if (m_stored != nullptr) return m_storedIndex;
  if (m_committedPage != nullptr) return m_committedPage->Index();
  return -1;
}

bool TAEHpage::Modified() const { return m_modified || (m_box != nullptr && m_box->Modified()); }

TAEHtesto* TAEHpage::ShowPage(TAEHtesto* page) {
  StopSpellThread();
  m_host.RegisterPageView(*this);
  TAEHset& set = m_host.LinkedAEHset();
  m_controls.Reset();
  m_box.reset();
  m_search.reset();
  m_committed = false;
  m_committedPage = nullptr;
  m_modified = false;
  if (page != nullptr && page->IsRegistered()) {
    EnsureCurrentMarkup(set, *page);
    m_working = MakeWorkingCopy(set, *page, true);
    m_stored = page;
    m_storedIndex = page->Index();
    m_newPage = false;
  } else {
    m_working = MakeNewPage(set);
    m_stored = nullptr;
    m_storedIndex = -1;
    m_newPage = true;
  }
  m_box = m_host.MakeTextBox(*this, *m_working);
  if (m_box) m_box->SetReadOnly(m_readOnly);
  NumberControls();
  StartSpellCheck(0);
  return m_working->page.get();
}

void TAEHpage::NumberControls() {
  m_controls.Reset();
  m_controls.Register(m_box ? m_box->UndoBox() : nullptr);
  // The placed objects' numbers are taken, whether or not they have a
  // screen object yet.
  const auto objects = m_working ? static_cast<int>(m_working->objects.size()) : 0;
  if (objects > 0) m_controls.Put(nullptr, objects);
}

TAEHtesto* TAEHpage::ShowUnregistered(const TAEHtesto& page) {
  ShowPage(nullptr);
  m_box.reset();
  m_working = MakeWorkingCopy(m_host.LinkedAEHset(), page, false);
  m_box = m_host.MakeTextBox(*this, *m_working);
  if (m_box) m_box->SetReadOnly(m_readOnly);
  NumberControls();
  return m_working->page.get();
}

void TAEHpage::CommitPage() {
  StopSpellThread();
  if (m_committed || !m_working) return;
  m_committed = true;
  TAEHset& set = m_host.LinkedAEHset();
  // Writing back a page nobody changed is no change of the hypertext: a
  // hypertext that was only read must not ask to be saved.
  const bool setWasModified = set.IsModified();
  std::int64_t index = -1;
  if (m_stored != nullptr) {
    // The page was replaced in the container meanwhile: its slot is no
    // longer ours to write.
    if (set.GetObject(testoHtml, m_storedIndex) != m_stored) return;
    if (m_stored->IsRegistered()) {
      m_stored->Clear();
      index = m_storedIndex;
    }
  }
  TAEHtesto& working = *m_working->page;
  std::string markup;
  if (m_box == nullptr) {
    set.Services().messages->Error(kCommitWithoutBox);
    // The stored page is cleared already, so the working markup is resolved
    // all the same: its local numbers would otherwise name nothing.
    markup = working.Markup();
  } else {
    markup = m_box->SaveText();
  }
  markup = ResolveWorkingCopy(set, *m_working, markup);
  working.SetContent(markup);
  working.SetU8(kPageGeneration, 2);
  const bool modified = Modified();
  if (modified && working.GetRevision() < set.Revision()) working.SetRevision(set.Revision());
  if (working.Title() == "Untitled") working.SetStr(kPageTitle, kPageTitleCapacity, TitleFromText(markup));
  std::unique_ptr<TAEHoggetto> owned(m_working->page.release());
  TAEHtesto* registered = &working;
  if (set.RegisterObject(owned, index) >= 0) {
    m_committedPage = registered;
    m_stored = registered;
    m_storedIndex = registered->Index();
  } else {
    m_working->page.reset(static_cast<TAEHtesto*>(owned.release()));
  }
  if (modified) {
    m_host.PageViewModified();
  } else {
    set.SetModified(setWasModified);
  }
}

void TAEHpage::ClosePage() {
  StopSpellThread();
  m_search.reset();
  m_box.reset();
  // Header and footer copies, unregistered objects left over and an
  // uncommitted working page all go with the working copy.
  m_working.reset();
  m_stored = nullptr;
  m_storedIndex = -1;
  m_committedPage = nullptr;
  m_controls.Reset();
  // The steps were made for the page that is gone.
  if (document::UndoStore* undo = m_host.LinkedAEHset().Undo()) undo->Clear();
}

// ---- Anchors ----

std::unique_ptr<TAEHpar> TAEHpage::OwnParagraphs() {
  if (!m_box) return nullptr;
  richtext::RichText& text = m_box->Text();
  const int last = static_cast<int>(text.paragraphs.size()) - m_box->FooterCount();
  return std::make_unique<TAEHpar>(text, m_box->HeaderCount(), last);
}

std::vector<TAEHpage::AnchorPlace> TAEHpage::Anchors() {
  std::vector<AnchorPlace> anchors;
  auto walk = OwnParagraphs();
  if (!walk || !m_working) return anchors;
  while (walk->Next()) {
    const richtext::TAEHparag& p = *walk->Current();
    for (int c = 0; c < p.Length(); ++c) {
      const std::int32_t o = p.infos[static_cast<std::size_t>(c)].object;
      if (o < 0 || static_cast<std::size_t>(o) >= p.objects.size() || p.objects[static_cast<std::size_t>(o)] == nullptr) {
        continue;
      }
      const TAEHoggetto* record = m_working->Object(p.objects[static_cast<std::size_t>(o)]->Identifier());
      if (record == nullptr || record->Kind() != shortObj || record->Subtype() != kShortAnchor) continue;
      anchors.push_back({record->I32(kShortValue), walk->CurrentBox(), walk->CurrentIndex(), c});
    }
  }
  return anchors;
}

bool TAEHpage::GoToAnchor(int number) {
  for (const AnchorPlace& anchor : Anchors()) {
    if (anchor.number != number) continue;
    m_box->Select(*anchor.box, anchor.paragraph, anchor.character, anchor.character);
    return true;
  }
  if (!m_readOnly) m_host.LinkedAEHset().Services().messages->Warning("Anchor not found: a" + std::to_string(number));
  return false;
}

int TAEHpage::NextAnchorNumber() {
  const auto anchors = Anchors();
  if (anchors.empty()) return 0;
  int highest = anchors.front().number;
  for (const AnchorPlace& anchor : anchors) highest = std::max(highest, anchor.number);
  return highest + 1;
}

// ---- Search ----

void TAEHpage::StartSearch() {
  m_search = OwnParagraphs();
  m_lastHit = -1;
}

bool TAEHpage::FindNext(std::string_view text) {
  if (!m_search || text.empty()) return false;
  const int options = m_host.SearchOptions();
  const bool matchCase = (options & kMatchCase) != 0;
  const bool wholeWord = (options & kWholeWord) != 0;
  const std::string wanted = matchCase ? std::string(text) : base::LowerCase(text);
  while (true) {
    if (!m_search->Valid()) {
      if (!m_search->Next()) return false;
      m_lastHit = -1;
    }
    const richtext::TAEHparag& p = *m_search->Current();
    const std::string haystack = matchCase ? p.text : base::LowerCase(p.text);
    std::size_t from = static_cast<std::size_t>(m_lastHit + 1);
    while (from <= haystack.size()) {
      const std::size_t hit = haystack.find(wanted, from);
      if (hit == std::string::npos) break;
      const std::size_t after = hit + wanted.size();
      const bool whole = (hit == 0 || IsWordBoundary(static_cast<unsigned char>(haystack[hit - 1]))) &&
                         (after >= haystack.size() || IsWordBoundary(static_cast<unsigned char>(haystack[after])));
      if (!wholeWord || whole) {
        m_lastHit = static_cast<int>(hit);
        m_box->Select(*m_search->CurrentBox(), m_search->CurrentIndex(), static_cast<int>(hit),
                      static_cast<int>(after));
        return true;
      }
      from = hit + 1;
    }
    if (!m_search->Next()) return false;
    m_lastHit = -1;
  }
}

// ---- Background spell check ----

void TAEHpage::StartSpellCheck(int mode) {
  m_spellTimerTag = mode;
  if (OnSpellTimer) OnSpellTimer(true);
}

void TAEHpage::SpellTimerFired() {
  if (m_spellTimerTag == -1) return;
  const int mode = m_spellTimerTag;
  m_spellTimerTag = -1;
  if (OnSpellTimer) OnSpellTimer(false);
  if (!m_box) return;
  StopSpellThread();
  search::SpellEngine* engine = m_host.SpellChecker();
  platform::EventLoop* ui = m_host.Dispatcher();
  if (!m_host.AutoSpellCheck() || m_host.IsReadOnly() || engine == nullptr || ui == nullptr || !engine->IsOpen()) {
    return;
  }
  m_spellThread.reset();
  m_spell = std::make_shared<SpellSession>();
  m_spell->page = this;
  m_spell->mode = mode;
  m_spell->root = OwnParagraphs();
  m_spellFinished = false;
  // Each callback finds the page through the session, which forgets the
  // page when the check is stopped: calls still queued then do nothing.
  std::shared_ptr<SpellSession> session = m_spell;
  search::SpellCallbacks callbacks;
  callbacks.nextText = [session] { return session->page ? session->page->NextSpellText() : std::string(); };
  callbacks.error = [session](int, int offset, int length) {
    if (session->page) session->page->SpellError(offset, length);
  };
  callbacks.paragraphDone = [session] {
    if (session->page) session->page->SpellParagraphDone();
  };
  callbacks.finished = [session] {
    if (session->page) session->page->SpellFinished();
  };
  m_spellThread = std::make_unique<search::TKrSpellThread>(*engine, *ui, std::move(callbacks));
}

std::string TAEHpage::NextSpellText() {
  SpellSession& s = *m_spell;
  while (s.root && s.root->Next()) {
    richtext::TAEHparag* p = s.root->Current();
    // An empty paragraph has nothing to check; handing its empty text to the
    // thread would end the check of the whole page there.
    if (p == nullptr || p->text.empty()) continue;
    if (s.mode != 0 || p->spellingMarks.empty()) {
      p->spellingMarks.assign(p->text.size(), ' ');
      s.current = p;
      s.currentBox = s.root->CurrentBox();
      s.currentIndex = s.root->CurrentIndex();
      return p->text;
    }
  }
  s.current = nullptr;
  return {};
}

void TAEHpage::SpellError(int offset, int length) {
  richtext::TAEHparag* p = m_spell->current;
  // The paragraph may have been edited while the thread ran.
  if (p == nullptr || m_spell->root == nullptr || m_spell->root->Current() != p) return;
  if (p->spellingMarks.size() != p->text.size()) p->spellingMarks.assign(p->text.size(), ' ');
  for (int i = std::max(0, offset); i < offset + length && static_cast<std::size_t>(i) < p->spellingMarks.size(); ++i) {
    p->spellingMarks[static_cast<std::size_t>(i)] = '!';
  }
}

void TAEHpage::SpellParagraphDone() {
  richtext::TAEHparag* p = m_spell->current;
  if (p == nullptr || m_spell->root == nullptr || m_spell->root->Current() != p || !m_box) return;
  if (p->spellingMarks != " ") m_box->RedrawParagraph(*m_spell->currentBox, m_spell->currentIndex);
}

void TAEHpage::SpellFinished() {
  m_spell->root.reset();
  m_spell->current = nullptr;
  m_spellFinished = true;
}

void TAEHpage::StopSpellThread() {
  if (m_spellTimerTag != -1) {
    m_spellTimerTag = -1;
    if (OnSpellTimer) OnSpellTimer(false);
  }
  if (!m_spellThread) return;
  platform::EventLoop* ui = m_host.Dispatcher();
  for (int i = 0; i < kStopAttempts && !m_spellFinished; ++i) {
    m_spellThread->Terminate();
    std::this_thread::sleep_for(std::chrono::milliseconds(kStopWait));
    if (ui != nullptr) ui->ProcessEvents();
  }
  // Whatever is still queued for this check finds no page.
  if (m_spell) m_spell->page = nullptr;
  m_spell.reset();
  m_spellThread.reset();
  m_spellFinished = true;
}

// ---- Modes ----

void TAEHpage::ApplyScrollMode() {
  if (!m_readOnly) {
    m_horizontalBar = m_verticalBar = true;
    return;
  }
  if (m_scrollMode == 0 || m_scrollMode == 1) m_horizontalBar = m_verticalBar = false;
  if (m_scrollMode == 2 || m_scrollMode == 3) m_horizontalBar = m_verticalBar = true;
}

void TAEHpage::SetReadOnly(bool on) {
  m_readOnly = on;
  if (m_box) m_box->SetReadOnly(on);
  ApplyScrollMode();
}

void TAEHpage::SetScrollMode(int mode) {
  m_scrollMode = mode;
  ApplyScrollMode();
}

void TAEHpage::SetFrameMode(bool on) {
  m_frameMode = on;
  if (on) {
    m_border = false;
    m_verticalRange = 0;
    SetReadOnly(true);
  }
}

void TAEHpage::Scrolled() {
  if (m_box) m_box->HideCaret();
}

// ---- Background ----

void PaintBackground(platform::Canvas& canvas, const platform::Rect& clip, std::uint32_t colour,
                     const TAEHpicture* picture) {
  const bool drawable = picture != nullptr && !picture->Bitmap().Empty();
  if (!drawable) {
    canvas.FillRect(clip, colour);
    return;
  }
  const base::Bitmap& bitmap = picture->Bitmap();
  const bool opaque = !bitmap.transparent && picture->Format() != ImageFormat::Wmf &&
                      picture->Format() != ImageFormat::Emf;
  if (!opaque) canvas.FillRect(clip, colour);
  const int w = bitmap.width;
  const int h = bitmap.height;
  // The greatest multiples of the tile size not above the clip's corner,
  // also for negative coordinates.
  auto floorTo = [](int v, int step) { return (v >= 0 ? v / step : -((-v + step - 1) / step)) * step; };
  for (int y = floorTo(clip.top, h); y < clip.bottom; y += h) {
    for (int x = floorTo(clip.left, w); x < clip.right; x += w) canvas.DrawImage({x, y, x + w, y + h}, bitmap);
  }
}

void PaintPageBackground(platform::Canvas& canvas, const platform::Rect& clip, TAEHoggetto& page) {
  const auto colour = static_cast<std::uint32_t>(page.I32(kPageBgColour));
  TAEHpicture* picture = nullptr;
  if (TAEHset* set = page.Owner(); set != nullptr && page.I32(kPageBgImage) >= 0) {
    if (TAEHoggetto* image = set->GetObject(immagine, page.I32(kPageBgImage)); image != nullptr && !image->IsFree()) {
      picture = image->GetPicture();
    }
  }
  PaintBackground(canvas, clip, colour, picture);
}

}  // namespace tarn::page
