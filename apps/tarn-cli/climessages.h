// Messages of the command-line tool: printed on standard error in UTF-8;
// questions get the answer chosen on the command line.
#pragma once

#include <map>
#include <string>

#include "platform/messages.h"

namespace tarn::cli {

class CliMessages : public platform::Messages {
 public:
  void Information(std::string_view text) override;
  void Warning(std::string_view text) override;
  void Error(std::string_view text) override;
  platform::Answer Ask(std::string_view question, bool withCancel) override;

  platform::Answer answer = platform::Answer::No;
  // A question asked again (a retry after a failure) is answered Yes at most
  // this many times; then No, so that a failure that lasts ends the command.
  static constexpr int kMaxYes = 3;

 private:
  std::map<std::string, int> m_yesGiven;
};

}  // namespace tarn::cli
