// Deterministic stand-ins for the platform, used by tests and by the
// headless tools: recorded messages with scripted answers, fixed font
// metrics, an in-memory clipboard and a fixed machine.
#pragma once

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/messages.h"
#include "platform/system.h"
#include "platform/textmeasurer.h"

namespace tarn::platform::testing {

class RecordingMessages : public Messages {
 public:
  struct Entry {
    std::string kind;  // "information", "warning", "error", "question"
    std::string text;
  };
  void Information(std::string_view text) override;
  void Warning(std::string_view text) override;
  void Error(std::string_view text) override;
  Answer Ask(std::string_view question, bool withCancel) override;

  // Answers given to questions in order; when none are left, defaultAnswer.
  std::deque<Answer> answers;
  Answer defaultAnswer = Answer::No;
  std::vector<Entry> entries;

  bool Saw(std::string_view text) const;
  void Clear() { entries.clear(); }
};

// Every character is 8 pixels wide times size / 12; height is 16 times size / 12.
class FixedTextMeasurer : public TextMeasurer {
 public:
  static constexpr int kLargestSize = 32767;
  FontMetrics Metrics(const FontRequest& font) override;
  int TextWidth(const FontRequest& font, std::string_view text) override;
  bool Kerns() const override { return false; }
};

class MemoryClipboard : public Clipboard {
 public:
  void Set(const ClipboardData& data) override { m_data = data; }
  ClipboardData Get() override { return m_data; }
  const ClipboardData& Data() const { return m_data; }

 private:
  ClipboardData m_data;
};

class FixedSystemInfo : public SystemInfo {
 public:
  explicit FixedSystemInfo(std::filesystem::path temp = "/tmp") : m_temp(std::move(temp)) {}
  std::string UserName() override { return userName; }
  int ScreenPixelsPerInch() override { return 96; }
  std::filesystem::path TempPath() override { return m_temp; }
  std::string userName = "Tester";

 private:
  std::filesystem::path m_temp;
};

}  // namespace tarn::platform::testing
