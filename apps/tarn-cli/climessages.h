// Messages of the command-line tool: printed on standard error in UTF-8;
// questions get the answer chosen on the command line.
#pragma once

#include "platform/messages.h"

namespace tarn::cli {

class CliMessages : public platform::Messages {
 public:
  void Information(std::string_view text) override;
  void Warning(std::string_view text) override;
  void Error(std::string_view text) override;
  platform::Answer Ask(std::string_view question, bool withCancel) override;

  platform::Answer answer = platform::Answer::No;
};

}  // namespace tarn::cli
