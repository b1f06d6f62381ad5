// Message boxes the author sees. Core code reports through this interface;
// the window system shows boxes, the command line prints, tests record.
// All texts are cp1252.
#pragma once

#include <string_view>

namespace tarn::platform {

enum class Answer { Yes, No, Cancel };

class Messages {
 public:
  virtual ~Messages() = default;
  // Captioned "Information", "Warning!" and "Error!" with the matching icons.
  virtual void Information(std::string_view text) = 0;
  virtual void Warning(std::string_view text) = 0;
  virtual void Error(std::string_view text) = 0;
  // A Yes/No question (Yes/No/Cancel when withCancel) captioned with the
  // application title.
  virtual Answer Ask(std::string_view question, bool withCancel = false) = 0;
};

}  // namespace tarn::platform
