// The state stack of HTML import; see ht2state.h.
#include "convert/ht2state.h"

namespace tarn::convert {

THt2StateList::THt2StateList(int elementCount) : m_open(static_cast<std::size_t>(elementCount)) {
  m_states.emplace_back();
}

bool THt2StateList::Push(int element, Ht2Opened opened) {
  if (m_states.size() > kDeepest || element < 0 || static_cast<std::size_t>(element) >= m_open.size()) return false;
  ++m_version;
  m_states.push_back(m_states.back());
  THt2State& s = m_states.back();
  s.element = element;
  s.opened = opened;
  const int depth = Depth();
  m_open[static_cast<std::size_t>(element)].push_back(depth);
  if (opened == Ht2Opened::Table) m_tables.push_back(depth);
  if (opened == Ht2Opened::Cell) m_cells.push_back(depth);
  return true;
}

void THt2StateList::PopOne() {
  ++m_version;
  const THt2State& s = m_states.back();
  m_open[static_cast<std::size_t>(s.element)].pop_back();
  if (s.opened == Ht2Opened::Table) m_tables.pop_back();
  if (s.opened == Ht2Opened::Cell) m_cells.pop_back();
  m_states.pop_back();
}

void THt2StateList::PopAbove(int depth) {
  while (Depth() > depth && Depth() > 0) PopOne();
}

bool THt2StateList::PopTo(int element) {
  if (element < 0 || static_cast<std::size_t>(element) >= m_open.size()) return false;
  const std::vector<int>& open = m_open[static_cast<std::size_t>(element)];
  if (open.empty()) return false;
  const int at = open.back();
  const Ht2Opened kind = m_states[static_cast<std::size_t>(at)].opened;
  int fence = 0;
  if (kind != Ht2Opened::Table) {
    if (!m_tables.empty()) fence = m_tables.back();
    if (kind != Ht2Opened::Cell && !m_cells.empty() && m_cells.back() > fence) fence = m_cells.back();
  }
  if (at < fence) return false;
  PopAbove(at - 1);
  return true;
}

int THt2StateList::InnermostCellAbove(int depth) const {
  return !m_cells.empty() && m_cells.back() > depth ? m_cells.back() : -1;
}

}  // namespace tarn::convert
