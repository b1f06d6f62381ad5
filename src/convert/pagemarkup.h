// The markup of a page as a converter walks it: converted first when the
// page still holds the older text form, kept alive for the walk (a page
// pulled in by a reference may replace its own content meanwhile), and cut
// at its byte 0.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tarn::document {
class TAEHoggetto;
}

namespace tarn::convert {

class PageMarkup {
 public:
  explicit PageMarkup(document::TAEHoggetto& page);
  std::string_view Text() const { return m_text; }

 private:
  std::shared_ptr<const std::string> m_keep;
  std::string m_copy;
  std::string_view m_text;
};

}  // namespace tarn::convert
